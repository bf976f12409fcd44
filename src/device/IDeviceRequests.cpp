#include "device/IDeviceRequests.h"

#include "device/DeviceJobLink.h"

#include <atomic>

namespace
{
std::atomic<IDeviceRequests*> registeredRequests{nullptr};
}

void SetDeviceRequests(IDeviceRequests* requests)
{
    registeredRequests.store(requests, std::memory_order_release);
}

IDeviceRequests& GetDeviceRequests()
{
    static DeviceJobLink withoutUnit(nullptr);
    IDeviceRequests* requests = registeredRequests.load(std::memory_order_acquire);
    return requests != nullptr ? *requests : withoutUnit;
}
