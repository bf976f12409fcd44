#include "app/QM7Panel.h"

#include "core/FloatParam.h"
#include "core/IAppServices.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "widgets/XLCDView.h"
#include "widgets/XLEDMeter.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"

#include <cmath>
#include <iterator>

namespace
{
/** The strips: the first one's frame, and the step from one to the next (its width plus one). */
constexpr XRect kFirstChannelFrame{494, 3, 578, 144};
constexpr int32_t kChannelStep = 85;

/** The input meters: A's frame, B's offset to the right of it, and their scale. */
constexpr XRect kInputMeterFrame{60, 28, 94, 142};
constexpr int32_t kInputMeterStep = 36;
constexpr int32_t kMeterSegments = 8;
constexpr float kInputLevels[kMeterSegments] = {-52, -42, -34, -28, -22, -19, -16, -1};
constexpr const char* kInputLabels = "-30,-20,-12,-6,0,+3,+6,Clip";
constexpr const char* kInputLedDim = "Device\\deviceLedDim.png";
constexpr const char* kInputLedGreen = "Device\\deviceLedGreen.png";
constexpr const char* kInputLedYellow = "Device\\deviceLedYellow.png";
constexpr const char* kInputLedRed = "Device\\deviceLedRed.png";
/** The top two segments of every meter: yellow, then red. */
constexpr int32_t kYellowSegment = 6;
constexpr int32_t kRedSegment = 7;

constexpr XPoint kUsbIndicatorAt{10, 80};
constexpr const char* kUsbImage = "Device\\usb2.png";

/** A strip's parts, in strip coordinates; those at the bottom count up from its height. */
constexpr XRect kNameBackFrame{2, 0, 82, 20};
constexpr XRect kNameFieldFrame{4, 2, 80, 18};
constexpr XRect kFaderFrame{44, 24, 78, 111};
constexpr XRect kChannelMeterFrame{6, 27, 38, 111};
constexpr int32_t kGainLeft = 44;
constexpr int32_t kGainRight = 78;
constexpr int32_t kGainBackHeight = 23;
/** The gain field lies inside its background by this much; the mute button sits left of it. */
constexpr int32_t kFieldInset = 2;
constexpr int32_t kMuteShift = 39;

constexpr float kChannelLevels[kMeterSegments] = {-15, -12, -9, -6, -3, -1, 0, 0};
constexpr const char* kChannelLabels = "-15,-12,-9,-6,-3,-1,Lim,Clip";
/** "Lim" lights while the gain reduction is below this, "Clip" while the output meter reaches it. */
constexpr double kLimitThreshold = 0.0;
constexpr double kClipThreshold = 0.0;

const XRGB kBlack(0, 0, 0, 255);
const XRGB kWhite(255, 255, 255, 255);

XRect Offset(const XRect& rect, int32_t dx, int32_t dy)
{
    return XRect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}

XRect Inset(const XRect& rect, int32_t by)
{
    return XRect(rect.left + by, rect.top + by, rect.right - by, rect.bottom - by);
}

XParam* InputMeterParam(int32_t input)
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(ChannelParamTables::kInputMeterId) : nullptr;
}
} // namespace

XString GetSourceName(double value)
{
    static const char* const kNames[] = {"Source| Input 1", "Source| Input 2", "Source| Input 1+2"};
    const double index = std::trunc(value);
    return XString(index >= 0.0 && index < static_cast<double>(std::size(kNames))
                       ? kNames[static_cast<int>(index)]
                       : kNames[0]);
}

// Local parameters ---------------------------------------------------------------------------------

XParam* QM7Panel::LocalParams::Get(int32_t id)
{
    if (XParam* param = group.GetParam(id))
        return param;
    std::unique_ptr<FloatParam>& standIn = standIns[id];
    if (standIn == nullptr)
        standIn = std::make_unique<FloatParam>();
    return standIn.get();
}

// The panel ----------------------------------------------------------------------------------------

QM7Panel::QM7Panel(const XRect& frame, XImage* image)
    : XView(frame), lcdView(std::make_unique<XLCDView>()), displayImage(image),
      pendingDisplayPicture(std::make_unique<XPict>())
{
    displayPicture = pendingDisplayPicture.get();
    for (int32_t index = 0; index < kChannelCount; ++index)
    {
        pendingChannels[index] = std::make_unique<Channel>(index);
        channels[index] = pendingChannels[index].get();
    }
}

QM7Panel::~QM7Panel() = default;

QM7Panel::Channel* QM7Panel::GetChannel(int32_t index) const
{
    return channels[index >= 0 && index < kChannelCount ? index : 0];
}

XParam* QM7Panel::GetLocalParam(int32_t id)
{
    return localParams.Get(id);
}

XLEDMeter* QM7Panel::GetInputMeter(int32_t input) const
{
    return input >= 0 && input < static_cast<int32_t>(inputMeters.size()) ? inputMeters[input] : nullptr;
}

void QM7Panel::ApplyStyle()
{
    XView::ApplyStyle();
    SetResizeMask(0);
    if (built)
        return;
    built = true;

    auto* unit = new XPict(XRect(), "", kUnitImage, true);
    AddChild(unit);
    const XRect frame = GetFrame();
    SetFrame(XRect(frame.left, frame.top, frame.left + unit->GetWidth(), frame.top + unit->GetHeight()));

    displayPicture->SetFrame(kDisplayFrame);
    AddChild(pendingDisplayPicture.release());
    displayPicture->SetResampling(XCanvas::Resampling::kNearest);
    displayPicture->SetBorrowedImage(displayImage, false);

    for (int32_t index = 0; index < kChannelCount; ++index)
    {
        channels[index]->SetFrame(Offset(kFirstChannelFrame, kChannelStep * index, 0));
        AddChild(pendingChannels[index].release());
    }

    for (int32_t input = 0; input < static_cast<int32_t>(inputMeters.size()); ++input)
    {
        // Input A's labels lie left of its LEDs, input B's right of them.
        const bool labelsLeft = input == 0;
        auto* meter = new XLEDMeter(Offset(kInputMeterFrame, kInputMeterStep * input, 0), kMeterSegments,
                                    kInputLedDim, kInputLedGreen, InputMeterParam(input), labelsLeft);
        meter->SetLevels(kInputLevels, kMeterSegments);
        meter->SetSegmentImage(kInputLedYellow, kYellowSegment);
        meter->SetSegmentImage(kInputLedRed, kRedSegment);
        meter->SetSegmentLabels(kInputLabels);
        AddChild(meter);
        inputMeters[input] = meter;
    }

    usbIndicator =
        new XPict(XRect(kUsbIndicatorAt.x, kUsbIndicatorAt.y, kUsbIndicatorAt.x, kUsbIndicatorAt.y), "",
                  kUsbImage, true);
    // Adding it shows or hides it for the parameter's current value.
    usbIndicator->SetShowParam(GetAppServices().GetParam(GlobalParamTables::kUsbActiveId), 1);
    AddChild(usbIndicator);
}

// A channel strip ----------------------------------------------------------------------------------

QM7Panel::Channel::Channel(int32_t channelIndex) : index(channelIndex)
{
    SetTransparent(true);
}

QM7Panel::Channel::~Channel() = default;

XParam* QM7Panel::Channel::GetOutputParam(int32_t id) const
{
    ChannelOutput* output = GetOutputChannel(index);
    return output != nullptr ? output->GetParam(id) : nullptr;
}

XParam* QM7Panel::Channel::GetLocalParam(int32_t id)
{
    return localParams.Get(id);
}

void QM7Panel::Channel::ApplyStyle()
{
    XView::ApplyStyle();
    if (built)
        return;
    built = true;
    const int32_t h = GetHeight();

    AddChild(new XPict(kNameBackFrame, "", "Device\\deviceLableBg.png", true));

    nameField = new XTextEditView(kNameFieldFrame);
    nameField->SetPot(GetOutputParam(ChannelParamTables::kOutputLabelId));
    nameField->SetForeColor(kBlack);
    nameField->SetBackColor(kWhite);
    nameField->SetJustification(kJustifyCentred);
    AddChild(nameField);

    fader = new XSlider(kFaderFrame, "", true, "Device\\deviceFaderBg.png", "Device\\deviceFaderSlider.png");
    fader->SetPot(GetOutputParam(ChannelParamTables::kOutputGainId));
    fader->SetFocusKnobImage("Device\\deviceFaderSlider_focus.png");
    AddChild(fader);

    const XRect gainBack(kGainLeft, h - kGainBackHeight, kGainRight, h);
    AddChild(new XPict(gainBack, "", "Device\\deviceFieldBg.png", true));

    const XRect gainFrame = Inset(gainBack, kFieldInset);
    gainField = new XTextEditView(gainFrame);
    if (XFont* small = XFont::FindNamedFont("small", false))
        gainField->SetFont(small);
    gainField->SetBackColor(GetColorDictionary().GetColor("widgetBack"));
    gainField->SetForeColor(GetColorDictionary().GetColor("widgetText"));
    gainField->SetPot(GetOutputParam(ChannelParamTables::kOutputGainId));
    gainField->SetClickOnlyFocuses(true);
    AddChild(gainField);

    meter = new XQM7FrontPanelLEDMeter(kChannelMeterFrame, kMeterSegments, "Device\\deviceLedSmallDim.png",
                                       "Device\\deviceLedSmallGreen.png",
                                       GetOutputParam(ChannelParamTables::kGuiMeterId));
    meter->SetLevels(kChannelLevels, kMeterSegments);
    meter->SetSegmentImage("Device\\deviceLedSmallYellowLit.png", kYellowSegment);
    meter->SetSegmentImage("Device\\deviceLedSmallRedLit.png", kRedSegment);
    meter->SetSegmentLabels(kChannelLabels);
    meter->SetLowIndicator(kYellowSegment, GetOutputParam(ChannelParamTables::kGainReductionId),
                           kLimitThreshold);
    meter->SetIndicator(kRedSegment, GetOutputParam(ChannelParamTables::kOutputMeterId), kClipThreshold);
    AddChild(meter);

    muteButton =
        new XButton(Offset(gainFrame, -kMuteShift, 0), GetOutputParam(ChannelParamTables::kOutputMuteId),
                    "Device\\deviceButtonMute.png", "Device\\deviceButtonMuteLit.png", nullptr);
    AddChild(muteButton);
}
