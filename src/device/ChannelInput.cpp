#include "device/ChannelInput.h"

#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamCallbacks.h"
#include "device/ChannelParamTables.h"

namespace
{
/** The key under which band views watch the mask. */
constexpr int32_t kBandWatchKey = 0;
} // namespace

ChannelInput::ChannelInput(const XString& name) : XABGroup(name.CStr())
{
    AddParams(InputChannelParamTable, name.CStr());
    XParam* mask = GetParam(ChannelParamTables::kGeqBandBypassId);
    for (int32_t band = 0; band < ChannelParamCallbacks::kGeqBandCount; ++band)
    {
        XParam* view = GetParam(ChannelParamTables::kGeqBypassFirstId + band);
        if (view == nullptr || view->GetDesc() == nullptr)
            continue;
        XParamDesc desc = *view->GetDesc();
        XParamDescExt ext = *desc.ext;
        ext.vetoUser = band;
        ext.valueMapUser = band;
        desc.ext = &ext;
        view->SetDesc(&desc);
        if (mask != nullptr)
            mask->AddWatcher(view, kBandWatchKey, true);
    }
    ChannelLists::Inputs().Append(this);
}

ChannelInput::~ChannelInput()
{
    ChannelLists::Inputs().Remove(this);
}
