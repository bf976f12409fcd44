#include "core/XLiveParamSet.h"

#include "core/XSmartLock.h"

XLiveParamSet& XLiveParamSet::Get()
{
    // Never destroyed: parameters and loopers may outlive static destruction order.
    static auto* set = new XLiveParamSet();
    return *set;
}

void XLiveParamSet::Add(const XParam* param)
{
    if (param == nullptr)
        return;
    XSmartLock hold(lock);
    params.insert(param);
}

void XLiveParamSet::Remove(const XParam* param)
{
    XSmartLock hold(lock);
    params.erase(param);
}

bool XLiveParamSet::Contains(const XParam* param) const
{
    XSmartLock hold(lock);
    return params.count(param) != 0;
}

int32_t XLiveParamSet::GetCount() const
{
    XSmartLock hold(lock);
    return static_cast<int32_t>(params.size());
}
