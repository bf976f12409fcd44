#include "core/DefaultAppServices.h"

#include "core/FloatParam.h"

DefaultAppServices::DefaultAppServices() = default;

DefaultAppServices::~DefaultAppServices() = default;

XParam* DefaultAppServices::GetParam(int32_t id)
{
    return DetachedParam(GroupKind::Main, id);
}

XParam* DefaultAppServices::GetPresetParam(int32_t id)
{
    return DetachedParam(GroupKind::Preset, id);
}

XParam* DefaultAppServices::GetSlaveParam(int32_t id)
{
    return DetachedParam(GroupKind::Slave, id);
}

XParam* DefaultAppServices::DetachedParam(GroupKind group, int32_t id)
{
    std::lock_guard<std::mutex> hold(detachedLock);
    std::unique_ptr<FloatParam>& slot = detached[{group, id}];
    if (slot == nullptr)
    {
        XParamDesc desc;
        desc.Init();
        desc.id = id;
        slot = std::make_unique<FloatParam>(desc);
    }
    return slot.get();
}
