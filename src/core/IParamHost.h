#pragma once

/** What parameters need of the application: whether the process is shutting down (parameters then
    neither lock nor notify) and the marking of the current document as modified after a change.

    The application registers itself with SetParamHost at start-up and unregisters (null) before it
    goes; without a host, parameters read the process's shutting-down flag and mark nothing (the
    plain framework has no document). The host is called from whatever thread changes a parameter,
    so its operations must be thread-safe; the host must outlive every call (unregister it only
    while no parameter is being changed). */
class IParamHost
{
public:
    virtual ~IParamHost() = default;

    virtual bool IsShuttingDown() const = 0;
    /** Sets the modified flag of the application's current document, when there is one. */
    virtual void MarkDocumentModified() = 0;
};

/** Installs the host; null restores the default behaviour. */
void SetParamHost(IParamHost* host);
/** The installed host, or the default one; never null. */
IParamHost& GetParamHost();
