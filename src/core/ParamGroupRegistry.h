#pragma once

#include "core/XRegistry.h"

#include <cstdint>

class XApplication;
class XParamGroup;

/** The process's registry of parameter groups by lower-cased backslash path. Filled on the
    application's thread at start-up; it takes no lock. Groups are not owned. */
XRegistry<XParamGroup>& GetParamGroupRegistry();

/** Formats the path (printf rules, at most 1023 characters), lower-cases it and registers group
    there: 0, or 0x80000001 for a null group, a malformed path, a path that is taken or one that
    runs through a registered group. */
int32_t RegisterParamGroupPath(XRegistry<XParamGroup>& registry, XParamGroup* group, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

/** Registers group in the process's group registry at the formatted path and, whatever that gave,
    adds it to the application's preferences document (XPrefDoc::AddGroup; the application gets an
    XPrefDoc when it has no preferences document yet). 0x80000001 for a null group, else 0. */
int32_t RegisterParamGroup(XApplication* application, XParamGroup* group, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
