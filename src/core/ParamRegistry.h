#pragma once

#include "core/XString.h"

class XParam;

/** The process-wide registry of parameter paths: every parameter that code outside its group needs
    is found by a backslash path such as "InputA\GEQBandBypass", matched without regard to case.

    Parameters enter it through XParam::SetPath and leave it when their path changes or they are
    destroyed; a path has at most one parameter, and the first to register it keeps it. The registry
    has its own lock, so look-ups may come from any thread while groups are built or destroyed; a
    parameter found is only valid while its owner keeps it. */
class ParamRegistry final
{
public:
    /** Registers param at a formatted path: false when the path is taken, runs through a registered
        parameter, is malformed (empty component) or longer than 1023 characters. */
    static bool Register(XParam* param, const XString& path);
    /** Removes path when param is registered at exactly that path; false otherwise. */
    static bool Unregister(XParam* param, const XString& path);
    /** The parameter at the path (case ignored); null for an unknown path or an inner node. */
    static XParam* Find(const char* path);

    ParamRegistry() = delete;
};

/** The parameter at the printf-style path, or null (also for a null or empty format). Formats into a
    buffer of its own call, so any thread may call it. */
XParam* FindParam(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
