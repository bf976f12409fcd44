#pragma once

#include "core/XString.h"

/** What the core needs to know of the running application: its maker, name and version, for the
    log header and the settings folder. The application object implements it and registers itself
    with SetAppIdentity for its lifetime; until then there is none. */
class IAppIdentity
{
public:
    virtual ~IAppIdentity() = default;

    virtual XString GetVendorName() = 0;
    virtual XString GetAppName() = 0;
    virtual XString GetVersionString() = 0;
};

/** Registers the application (null to unregister); the caller keeps ownership. Thread-safe. */
void SetAppIdentity(IAppIdentity* identity);
/** The registered application, or null. */
IAppIdentity* GetAppIdentity();
