#include "device/ChannelTwinCopy.h"

#include "core/XParam.h"
#include "core/XParamGroup.h"

#include <memory>

namespace
{
/** Sets target's value (text parameters: its text) to that of source. */
void CopyValue(XParam* target, XParam* source, bool notify)
{
    if (source->GetValueKind() == XParam::kKindText)
        target->SetText(source->GetText().CStr(), notify);
    else
        target->SetValue(source->GetValue(), notify);
}
} // namespace

void ChannelTwinCopy::AddCopiesOf(XParamGroup& twin, const XParamGroup* live, const char* twinName)
{
    if (live == nullptr)
        return;
    const bool registerPath = twinName != nullptr && twinName[0] != 0;
    for (int32_t index = 0; index < live->CountParams(); ++index)
    {
        const XParam* original = live->GetParamAt(index);
        const XParamDesc* own = original != nullptr ? original->GetDesc() : nullptr;
        if (own == nullptr)
            continue;
        // The parameter's own copy, whose callback block carries the user words set at run time.
        const XParamDesc desc = *own;
        std::unique_ptr<XParam> copy = twin.CreateParam(&desc);
        if (copy == nullptr)
            continue;
        XParam* param = copy.release();
        twin.AddParam(param, desc.id, true);
        if (registerPath)
            param->SetPath("%s\\%s", twinName, desc.name);
    }
}

void ChannelTwinCopy::Sync(XParamGroup* live, XParamGroup* twin, bool restore, SaveTracking saveTracking)
{
    if (live == nullptr || twin == nullptr)
        return;
    for (int32_t index = 0; index < live->CountParams() && index < twin->CountParams(); ++index)
    {
        XParam* liveParam = live->GetParamAt(index);
        XParam* twinParam = twin->GetParamAt(index);
        if (liveParam == nullptr || twinParam == nullptr)
            continue;
        if (restore)
        {
            liveParam->SetChangeTracking(false);
            CopyValue(liveParam, twinParam, false);
            liveParam->SetFlags(twinParam->GetFlags());
            liveParam->SetChangeTracking(true);
            continue;
        }
        const bool trackingOff = saveTracking == SaveTracking::OffDuringCopy;
        if (trackingOff)
            twinParam->SetChangeTracking(false);
        CopyValue(twinParam, liveParam, true);
        twinParam->SetFlags(liveParam->GetFlags());
        if (trackingOff)
            twinParam->SetChangeTracking(true);
    }
}
