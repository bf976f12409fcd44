#include "windows/GEQFilterPanel.h"

#include "core/XParam.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "gui/XButton.h"

GEQFader::GEQFader(const XRect& frame, const char* trackImage, const char* knobImage)
    : XSlider(frame, "", true, trackImage, knobImage)
{
}

float GEQFader::PointToNormalised(const XPoint& point)
{
    const float position = XSlider::PointToNormalised(point);
    return position > 0.0f && position < 1.0f ? position + kTruncationGuard : position;
}

GEQFilterPanel::GEQFilterPanel(int32_t inputIndex, int32_t bandIndex) : input(inputIndex), band(bandIndex)
{
    name.Format("GEQ%c%d", 'A' + inputIndex, bandIndex + 1);
    SetTransparent(true);
}

GEQFilterPanel::~GEQFilterPanel() = default;

XParam* GEQFilterPanel::GetInputParam(int32_t id) const
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

void GEQFilterPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (built)
        return;
    built = true;

    XString handlerName;
    handlerName.Format("input%dfader", input);
    fader = new GEQFader(kFaderFrame, kTrackImage, kKnobImage);
    fader->SetName(handlerName);
    if (XParam* gain = GetInputParam(kGainFirstId + band))
        fader->SetPot(gain);
    AddChild(fader);

    handlerName.Format("input%dbypass", input);
    bypassLed = new XButton(XRect(kLedAt.x, kLedAt.y, kLedAt.x, kLedAt.y),
                            GetInputParam(kBypassFirstId + band), kLedOnImage, kLedOffImage);
    bypassLed->SetName(handlerName);
    AddChild(bypassLed);
}
