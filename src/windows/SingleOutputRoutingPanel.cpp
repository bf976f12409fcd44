#include "windows/SingleOutputRoutingPanel.h"

#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/ChannelParamTables.h"
#include "gui/XPict.h"

namespace
{
constexpr int32_t kSourceId = ChannelParamTables::kOutputSourceId;
/** The pictures of the sources 0 (input A), 1 (input B) and 2 (input A+B). */
constexpr const char* kSourcePictures[] = {"block\\blockBlockRouteA.png", "block\\blockBlockRouteB.png",
                                           "block\\blockBlockRouteAB.png"};
} // namespace

SingleOutputRoutingPanel::SingleOutputRoutingPanel(const XPoint& position, int32_t channel,
                                                   SysOvvShared& shared)
    : SysOvvBlockPanel(Kind::Routing, position, channel, shared)
{
}

void SingleOutputRoutingPanel::BuildChildren()
{
    XParam* source = ChannelParam(kSourceId);
    for (int32_t value = 0; value < 3; ++value)
    {
        auto* picture = new XPict(XRect(0, 0, 0, 0), nullptr, kSourcePictures[value], true);
        if (source != nullptr)
            picture->SetShowParam(source, value);
        AddChild(picture);
    }
    if (source != nullptr)
        source->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}
