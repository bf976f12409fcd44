#include "core/XABGroup.h"

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XSmartLock.h"

XABGroup::XABGroup(const char* name) : XParamGroup(name) {}

XABGroup::~XABGroup()
{
    // Stops watching the selector without touching it: it may be gone already.
    XParam::ForgetWatcher(this);
    selector.store(nullptr);
}

void XABGroup::SetSelector(FloatParam* newSelector)
{
    if (newSelector == nullptr)
        return;
    FloatParam* none = nullptr;
    if (!selector.compare_exchange_strong(none, newSelector))
        return;
    {
        XSmartLock hold(GetParamLock());
        const auto count = static_cast<size_t>(CountParams());
        if (snapshotA.size() < count)
        {
            snapshotA.assign(count, 0.0);
            snapshotB.assign(count, 0.0);
            ResetSnapshots();
        }
    }
    newSelector->AddWatcher(this, kSelectorKey, true);
}

void XABGroup::ResetSnapshots()
{
    XSmartLock hold(GetParamLock());
    for (size_t i = 0; i < snapshotA.size(); ++i)
    {
        XParam* param = GetParamAt(static_cast<int32_t>(i));
        snapshotA[i] = snapshotB[i] = param != nullptr ? param->GetDefault() : 0.0;
    }
}

void XABGroup::CopyValuesToSnapshots()
{
    XSmartLock hold(GetParamLock());
    for (size_t i = 0; i < snapshotA.size(); ++i)
    {
        XParam* param = GetParamAt(static_cast<int32_t>(i));
        snapshotA[i] = snapshotB[i] = param != nullptr ? param->GetValue() : 0.0;
    }
}

int32_t XABGroup::GetSnapshotSize() const
{
    XSmartLock hold(GetParamLock());
    return static_cast<int32_t>(snapshotA.size());
}

namespace
{
thread_local bool loadingSnapshot = false;
} // namespace

bool XABGroup::IsLoadingSnapshot()
{
    return loadingSnapshot;
}

void XABGroup::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    HandleParamEvent(code, param, key);
}

void XABGroup::HandleParamEvent(int32_t code, XParam* source, int32_t key)
{
    if (source == nullptr || source != selector.load())
        return;
    if (code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
    {
        selector.store(nullptr);
        return;
    }
    if (!IsValueChangeCode(code))
        return;

    XSmartLock hold(GetParamLock());
    const int32_t count = CountParams();
    if (static_cast<size_t>(count) != snapshotA.size())
        return;
    const bool selectsA = source->GetValue() == 0.0;
    std::vector<double>& save = selectsA ? snapshotB : snapshotA;
    const std::vector<double>& load = selectsA ? snapshotA : snapshotB;
    // The whole side is saved before anything is loaded: a loaded value's edit callback may change
    // another parameter of the group (a new threshold clears the amplifier choice), which must not
    // reach the side being saved.
    auto switchable = [this](int32_t i)
    {
        XParam* param = GetParamAt(i);
        return param != nullptr && param->GetType() != XParamDesc::kTypeText ? param : nullptr;
    };
    for (int32_t i = 0; i < count; ++i)
        if (XParam* param = switchable(i))
            save[static_cast<size_t>(i)] = param->GetValue();
    loadingSnapshot = true;
    for (int32_t i = 0; i < count; ++i)
        if (XParam* param = switchable(i))
            param->ChangeValue(load[static_cast<size_t>(i)], true);
    loadingSnapshot = false;
}
