#include "windows/SysOvvBlockPanel.h"

#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XParamGroup.h"
#include "core/XString.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XMenu.h"
#include "gui/XResourceManager.h"
#include "gui/XText.h"
#include "widgets/CopyCmd.h"
#include "widgets/PasteCmd.h"
#include "widgets/XEQView.h"
#include "widgets/XSlider.h"
#include "windows/EditorWindows.h"
#include "windows/OutputParamIds.h"
#include "windows/SharedWindowState.h"

namespace
{
using Kind = SysOvvBlockPanel::Kind;
using namespace EditorWindows;

// The output delay has a clipboard slot of its own (3): sharing the crossover's slot would offer
// the crossover's paste after a delay's copy and carry the output gain with a delay.
const SysOvvBlockPanel::BlockInfo kBlocks[] = {
    {"CopyRouting%d", "PasteRouting%d", "Copy Routing block", "Paste Routing block", "OutputRoutingCopyPaste",
     0x80000, 0, false, kConfigParamId},
    {"CopyXOver%d", "PasteXOver%d", "Copy Crossover block", "Paste Crossover block", "XOverCopyPaste",
     0x100000, 1, false, kCrossoverParamId},
    {"CopyChanEQ%d", "PasteChanEQ%d", "Copy Output EQ block", "Paste Output EQ block", "OutputEQCopyPaste",
     0x200000, 2, false, kOutputEqParamId},
    {"CopyOutputDelay%d", "PasteOutputDelay%d", "Copy Delay block", "Paste Delay block",
     "OutputDelayCopyPaste", 0x400000, 3, false, kOutputDelayParamId},
    {"CopyLimiter%d", "PasteLimiter%d", "Copy Limiter block", "Paste Limiter block", "LimiterCopyPaste",
     0x800000, 4, false, kLevelsParamId},
    {"CopyChannel%d", "PasteChannel%d", "Copy Output channel", "Paste Output channel",
     "OutputChannelCopyPaste", 0xF00000, 5, false, kFreqResponseParamId},
    {"CopyPEQ%d", "PastePEQ%d", "Copy Input PEQ block", "Paste Input PEQ block", "InputPEQCopyPaste", 0x10000,
     6, true, kInputPeqParamId},
    {"CopyGEQ%d", "PasteGEQ%d", "Copy Input GEQ block", "Paste Input GEQ block", "InputGEQCopyPaste", 0x20000,
     7, true, kInputGeqParamId},
    {"CopyInputDelay%d", "PasteInputDelay%d", "Copy Input Delay block", "Paste Input Delay block",
     "InputDelayCopyPaste", 0x40000, 8, true, kInputDelayParamId},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, true, kConfigParamId},
};

XString Formatted(const char* format, int32_t channel)
{
    XString text;
    text.Format(format, channel);
    return text;
}
} // namespace

const SysOvvBlockPanel::BlockInfo& SysOvvBlockPanel::Info(Kind kind)
{
    return kBlocks[static_cast<size_t>(kind)];
}

SysOvvBlockPanel::SysOvvBlockPanel(Kind blockKind, const XPoint& position, int32_t channelIndex,
                                   SysOvvShared& sharedState)
    : XButton(kPicture, kPicture, XRect(position.x, position.y, position.x, position.y)), shared(sharedState),
      kind(blockKind), channel(channelIndex)
{
    SetTransparent(true);
    const BlockInfo& info = Info(kind);
    if (info.copyName == nullptr)
        return;
    const XString copyName = Formatted(info.copyName, channel);
    const XString pasteName = Formatted(info.pasteName, channel);
    copyCommand =
        std::make_unique<CopyCmd>(channel, info.mask, XString(info.copyLabel), info.slot, info.input);
    pasteCommand =
        std::make_unique<PasteCmd>(channel, info.mask, XString(info.pasteLabel), info.slot, info.input);
    copyCommand->Register(copyName, XString(kCommandContext), XString(""));
    pasteCommand->Register(pasteName, XString(kCommandContext), XString(""));
    menu = std::make_unique<XMenu>(info.menuName, false);
    menu->AddCommandItem(copyName.CStr());
    menu->AddCommandItem(pasteName.CStr());
    SetContextMenu(menu.get());
}

SysOvvBlockPanel::~SysOvvBlockPanel()
{
    XParam::ForgetWatcher(this);
    SetContextMenu(nullptr);
}

void SysOvvBlockPanel::OpenBlockWindow()
{
    const BlockInfo& info = Info(kind);
    if (kind == Kind::OutputEq)
        SharedWindowState::Instance().CurActiveChannel().ChangeValue(channel, true);
    XMessage message(static_cast<uint32_t>(info.openCode));
    if (kind == Kind::InputPeq || kind == Kind::InputGeq)
        message.AddInt32(kChannelItem, channel);
    if (XApplication* application = GetApplication())
        application->PostMessage(&message);
}

void SysOvvBlockPanel::ApplyStyle()
{
    XButton::ApplyStyle();
    if (built)
        return;
    built = true;
    BuildChildren();
}

bool SysOvvBlockPanel::MouseDown(const XPoint& point, int32_t button)
{
    const bool handled = XButton::MouseDown(point, button);
    if (button == kButtonLeft)
        OpenBlockWindow();
    return handled;
}

XParam* SysOvvBlockPanel::ChannelParam(int32_t id) const
{
    if (!Info(kind).input)
        return OutputParam(channel, id);
    ChannelInput* input = GetInputChannel(channel);
    return input != nullptr ? input->GetParam(id) : nullptr;
}

XButton* SysOvvBlockPanel::AddLed(int32_t x, int32_t y, XParam* param, const char* offImage,
                                  const char* onImage, bool hilite)
{
    auto* led = new XButton(XRect(x, y, x, y), param, offImage, onImage);
    led->SetHilite(hilite);
    AddChild(led);
    return led;
}

XEQView* SysOvvBlockPanel::MakeCurve(const XRect& frame, int32_t bandCount)
{
    auto* curve = new XEQView(frame);
    curve->SetTransparent(true);
    curve->SetLineWidth(2);
    curve->SetHilite(false);
    curve->SetNumBands(bandCount);
    return curve;
}

void SysOvvBlockPanel::AddValueText(const XRect& frame, XParam* param, const XRGB& colour)
{
    auto* text =
        new XText(frame, param, colour, XFont::GetNamedFont(XString("mini"), false), kJustifyCentred);
    text->SetTransparent(true);
    AddChild(text);
}

XSlider* SysOvvBlockPanel::AddSlider(int32_t x, int32_t y, XParam* param, const char* track, const char* knob)
{
    XRect frame(x, y, x, y);
    if (XImage* picture = GetResourceManager().GetImage(XString(track)))
        frame = XRect(x, y, x + picture->GetWidth(), y + picture->GetHeight());
    auto* slider = new XSlider(frame, nullptr, true, track, knob);
    slider->SetPot(param);
    slider->SetHilite(false);
    AddChild(slider);
    return slider;
}
