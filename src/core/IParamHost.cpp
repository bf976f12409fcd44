#include "core/IParamHost.h"

#include "core/ProcessState.h"

#include <atomic>

namespace
{
/** The host of the plain framework: the process flag, and no document. */
class DefaultParamHost final : public IParamHost
{
public:
    bool IsShuttingDown() const override { return ::IsShuttingDown(); }
    void MarkDocumentModified() override {}
};

DefaultParamHost defaultHost;
std::atomic<IParamHost*> installedHost{nullptr};
} // namespace

void SetParamHost(IParamHost* host)
{
    installedHost.store(host, std::memory_order_release);
}

IParamHost& GetParamHost()
{
    IParamHost* host = installedHost.load(std::memory_order_acquire);
    return host != nullptr ? *host : defaultHost;
}
