#include "windows/OutputPanel.h"

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "widgets/XLEDMeter.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"
#include "windows/OutputParamIds.h"

namespace
{
using namespace OutputParamIds;

constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);

constexpr const char* kColourBlocks[OutputPanel::kColourCount] = {
    "colorblocks\\red.png",     "colorblocks\\yellow.png", "colorblocks\\blue.png",
    "colorblocks\\magenta.png", "colorblocks\\green.png",  "colorblocks\\purple.png",
};

/** The level meter: green up to -1 dB, yellow at 0 dB, the red "OL" lit by the output's own meter. */
constexpr float kLevelThresholds[OutputPanel::kMeterSegments] = {-15, -12, -9, -6, -3, -1, 0, 0};
constexpr const char* kLevelLabels = "-15,-12,-9,-6,-3,-1,0,OL";
constexpr int32_t kYellowSegment = 6;
constexpr int32_t kOverloadSegment = 7;
constexpr double kOverloadLevel = 0.0;

/** The gain-reduction meter: lit segments are dim, so the unlit (yellow) ones show the reduction. */
constexpr float kReductionThresholds[OutputPanel::kMeterSegments] = {-30, -20, -15, -12, -9, -6, -3, -1};
constexpr const char* kReductionLabels = "-30,-20,-15,-12,-9,-6,-3,-1";

constexpr int32_t kMeterSpacing = 3;
constexpr uint8_t kMeterLabelGrey = 200;

XFont* Font(const char* name)
{
    return XFont::GetNamedFont(XString(name), false);
}

XRGB Colour(const char* name)
{
    return GetColorDictionary().GetColor(name);
}

/** A limiter value box: the 65-pixel field with the large spinner, its text one pixel lower. */
XComboBox* MakeLimiterBox(const XRect& frame, XParam* param)
{
    auto* box = new XComboBox(frame, param, "widget\\SpinnerTextField65.png", "widget\\SpinnerLarge.png",
                              "widget\\SpinnerLargeUp.png", "widget\\SpinnerLargeDown.png");
    box->SetFont(Font("small"));
    box->SetBackColor(Colour("widgetBack"));
    box->SetTextColor(Colour("widgetText"));
    box->InsetTextRect(0, 1, 0, 1);
    box->SetJustification(XView::kJustifyCentred);
    return box;
}

XPict* MakePicture(int32_t left, int32_t top, const char* image)
{
    return new XPict(XRect(left, top, left, top), nullptr, image, true);
}
} // namespace

OutputPanel::OutputPanel(int32_t outputIn) : output(outputIn)
{
    SetTransparent(true);
}

OutputPanel::~OutputPanel() = default;

XPict* OutputPanel::GetColourBlock(int32_t colour) const
{
    return colour >= 0 && colour < kColourCount ? colourBlocks[static_cast<size_t>(colour)] : nullptr;
}

void OutputPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (!built)
    {
        built = true;
        Build();
    }
}

void OutputPanel::Build()
{
    AddChild(MakePicture(0, 0, "output\\outputPanelBg.png"));

    label = new XText(XRect(20, 0, 123, 22), OutputParam(output, kLabel), Colour("windowText"),
                      Font("dialogLabel"), kJustifyCentred);
    AddChild(label);

    XParam* colour = FindParam("preset\\ColorChan%d", output + 1);
    for (int32_t k = 0; k < kColourCount; ++k)
    {
        XPict* block = MakePicture(7, 5, kColourBlocks[k]);
        if (colour != nullptr)
            block->SetShowParam(colour, k);
        AddChild(block);
        colourBlocks[static_cast<size_t>(k)] = block;
    }
    if (colour != nullptr)
        colour->Notify(kValueSet);

    XParam* gain = OutputParam(output, kOutputGain);
    gainFader = new XSlider(XRect(24, 59, 47, 191), nullptr, true, "output\\outFaderTrackBig.png",
                            "output\\faderSlider.png");
    gainFader->SetFocusKnobImage("output\\faderSlider_focus.png");
    gainFader->SetPot(gain);
    AddChild(gainFader);

    AddChild(new XPict(XRect(14, 204, 56, 224), nullptr, "widget\\TextFieldShortFat.png", false));
    gainField = new XTextEditView(XRect(16, 206, 54, 222));
    gainField->SetFont(Font("small"));
    gainField->SetBackColor(Colour("widgetBack"));
    gainField->SetTextColor(Colour("widgetText"));
    gainField->SetJustification(kJustifyCentred);
    gainField->SetPot(gain);
    gainField->SetClickOnlyFocuses(true);
    AddChild(gainField);

    BuildMeters();

    muteButton = new XButton(XRect(70, 203, 70, 203), OutputParam(output, kOutputMute),
                             "output\\outButtonMute.png", "output\\outButtonMuteLit.png");
    AddChild(muteButton);

    BuildLimiter();
}

void OutputPanel::BuildMeters()
{
    levelMeter =
        new XQM7FrontPanelLEDMeter(XRect(58, 65, 91, 199), kMeterSegments, "block\\blockLedDim.png",
                                   "block\\blockLedGreen.png", OutputParam(output, kOutputGuiMeter), true);
    levelMeter->SetLevels(kLevelThresholds, kMeterSegments);
    levelMeter->SetSegmentImage("block\\blockLedYellow.png", kYellowSegment);
    levelMeter->SetSegmentImage("block\\blockLedRed.png", kOverloadSegment);
    levelMeter->SetSegmentLabels(kLevelLabels);
    levelMeter->SetLabelColour(kMeterLabelGrey, kMeterLabelGrey, kMeterLabelGrey);
    levelMeter->SetSegmentSpacing(kMeterSpacing);
    levelMeter->SetIndicator(kOverloadSegment, OutputParam(output, kOutputMeter), kOverloadLevel);
    AddChild(levelMeter);

    reductionMeter = new XLEDMeter(XRect(94, 65, 127, 199), kMeterSegments, "block\\blockLedYellow.png",
                                   "block\\blockLedDim.png", OutputParam(output, kGainReduction), false);
    reductionMeter->SetLevels(kReductionThresholds, kMeterSegments);
    reductionMeter->SetSegmentLabels(kReductionLabels);
    reductionMeter->SetLabelColour(kMeterLabelGrey, kMeterLabelGrey, kMeterLabelGrey);
    reductionMeter->SetSegmentSpacing(kMeterSpacing);
    AddChild(reductionMeter);
}

void OutputPanel::BuildLimiter()
{
    thresholdBox = MakeLimiterBox(XRect(20, 283, 113, 308), OutputParam(output, kLimitThreshold));
    AddChild(thresholdBox);
    // Paths are found regardless of case.
    if (XParam* units = FindParam("%s", "global\\thresholdUnits"))
        units->Notify(kValueSet);

    amplifierMenu = new XPopupMenu(XRect(18, 323, 111, 348), nullptr, nullptr);
    amplifierMenu->SetPot(OutputParam(output, kAmplifierIndex));
    amplifierMenu->SetLabelRect(XRect(0, 0, 67, 26));
    amplifierMenu->SetFont(Font("small"));
    // The skin's dark field text on the light face of the 96-pixel drop-down (its widget text is light).
    amplifierMenu->SetTextColors(Colour("fieldText"), Colour("fieldText"));
    amplifierMenu->SetJustification(kJustifyLeft);
    amplifierMenu->SetArrowImage("widget\\DropDown96.png", nullptr);
    amplifierMenu->SetTransparent(true);
    AddChild(amplifierMenu);

    releaseBox = MakeLimiterBox(XRect(20, 363, 113, 388), OutputParam(output, kLimitRelease));
    AddChild(releaseBox);

    limiterBypass = new XButton(XRect(18, 396, 18, 396), OutputParam(output, kLimitBypass),
                                "buttons\\bypassNarrowDim.png", "buttons\\bypassNarrowLit.png");
    AddChild(limiterBypass);
}
