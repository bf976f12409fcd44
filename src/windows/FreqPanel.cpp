#include "windows/FreqPanel.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XProperty.h"
#include "core/XString.h"
#include "core/XVariant.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/XEQView.h"
#include "widgets/XEQViewBg.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"
#include "windows/FreqResponseWindow.h"
#include "windows/LocalParamDesc.h"
#include "windows/MasterGraphicEqWindow.h"
#include "windows/OutputParamIds.h"
#include "windows/SharedWindowState.h"

namespace
{
using namespace OutputParamIds;

constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);

// Output parameters by id.
constexpr int32_t kSource = ChannelParamTables::kOutputSourceId;
constexpr int32_t kFirstBandType = ChannelParamTables::kOutputTypeFirstId;
constexpr int32_t kFirstBandGain = ChannelParamTables::kOutputGainFirstId;
constexpr int32_t kFirstBandFreq = ChannelParamTables::kOutputFreqFirstId;
constexpr int32_t kFirstBandQ = ChannelParamTables::kOutputQFirstId;
constexpr int32_t kFirstBandBypass = ChannelParamTables::kOutputBypassFirstId;
constexpr int32_t kChannelEqBypass = ChannelParamTables::kChannelEqBypassId;

// Input parameters by id: the high-pass filter, then bands 1..9.
constexpr int32_t kInputFirstGain = ChannelParamTables::kInputGainFirstId;
constexpr int32_t kInputFirstFreq = ChannelParamTables::kInputFreqFirstId;
constexpr int32_t kInputFirstQ = ChannelParamTables::kInputQFirstId;
constexpr int32_t kInputFirstBypass = ChannelParamTables::kInputBypassFirstId;
constexpr int32_t kPeqAllBypass = ChannelParamTables::kPeqAllBypassId;
constexpr int32_t kFirstGeqGain = ChannelParamTables::kGeqGainFirstId;
constexpr int32_t kGeqAllBypass = ChannelParamTables::kGeqAllBypassId;

constexpr XRect kGraphRect{49, 3, 651, 70};
/** The gain entry under the fader: 37 pixels wide, so that "-94.5" fits in the "small" font; centred
    where a 25-pixel field (659..684) would be, clear of the graph and of the mute above. */
constexpr XRect kGainFieldRect{653, 70, 690, 89};

/** The level meter, as the limiters window's. */
constexpr int32_t kMeterSegments = 8;
constexpr float kLevelThresholds[kMeterSegments] = {-15, -12, -9, -6, -3, -1, 0, 0};
constexpr int32_t kYellowSegment = 6;
constexpr int32_t kOverloadSegment = 7;
constexpr uint8_t kMeterLabelGrey = 200;

XParam* InputParam(int32_t input, int32_t id)
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

bool IsBypassed(const XParam* blockBypass)
{
    return blockBypass != nullptr && blockBypass->GetValue() == 1.0;
}

// The draw parameters read 1 (not drawn) while their block is bypassed.
double OutputBandDrawValue(XParam*, double stored, int32_t output)
{
    return IsBypassed(OutputParam(output, kChannelEqBypass)) ? 1.0 : stored;
}

double GraphicBandDrawValue(XParam*, double stored, int32_t input)
{
    return IsBypassed(InputParam(input, kGeqAllBypass)) ? 1.0 : stored;
}

double ParametricBandDrawValue(XParam*, double stored, int32_t input)
{
    return IsBypassed(InputParam(input, kPeqAllBypass)) ? 1.0 : stored;
}

void DescribeDraw(FloatParam& param, const char* name, ParamValueMapCallback map, int32_t user)
{
    const XParamDesc desc = LocalParamDesc(name, XParamDesc::kTypeInteger, 0, 1, 0, 2);
    param.SetDesc(&desc);
    param.SetValue(0, false);
    param.SetValueMapCallback(map, user);
}

/** A family member's index (key - base) when it lies in 0..count - 1, else -1. */
int32_t FamilyIndex(int32_t key, int32_t base, int32_t count)
{
    const int32_t index = key - base;
    return index >= 0 && index < count ? index : -1;
}

void SetProperty(XView& view, const char* name, const XVariant& value)
{
    if (XProperty* property = view.FindProperty(name))
        property->SetFromVariant(value);
}

XFont* Font(const char* name)
{
    return XFont::GetNamedFont(XString(name), false);
}

XRGB Colour(const char* name)
{
    return GetColorDictionary().GetColor(name);
}

} // namespace

FreqPanel::FreqPanel(FreqResponseWindow& windowIn, int32_t outputIn) : window(windowIn), output(outputIn)
{
    BuildDrawParams();
    WatchBypasses();
    SetTransparent(true);
}

FreqPanel::~FreqPanel()
{
    XParam::ForgetWatcher(this);
}

FloatParam* FreqPanel::OutputBandDraw(int32_t band)
{
    return band >= 0 && band < kOutputBandCount ? &outputDraw[static_cast<size_t>(band)] : nullptr;
}

FloatParam* FreqPanel::GraphicBandDraw(int32_t input, int32_t band)
{
    if (input < 0 || input >= kInputCount || band < 0 || band >= kGraphicBandCount)
        return nullptr;
    return &graphicDraw[static_cast<size_t>(input)][static_cast<size_t>(band)];
}

FloatParam* FreqPanel::ParametricBandDraw(int32_t input, int32_t band)
{
    if (input < 0 || input >= kInputCount || band < 0 || band >= kPeqDrawCount)
        return nullptr;
    return &parametricDraw[static_cast<size_t>(input)][static_cast<size_t>(band)];
}

void FreqPanel::BuildDrawParams()
{
    for (int32_t m = 0; m < kOutputBandCount; ++m)
        DescribeDraw(*OutputBandDraw(m), nullptr, &OutputBandDrawValue, output);
    XString name;
    for (int32_t n = 0; n < kInputCount; ++n)
    {
        for (int32_t k = 0; k < kGraphicBandCount; ++k)
        {
            name.Format("outCh%d_inCh%d_GEQband%d", output, n, k);
            DescribeDraw(*GraphicBandDraw(n, k), name.CStr(), &GraphicBandDrawValue, n);
        }
        for (int32_t k = 0; k < kPeqDrawCount; ++k)
        {
            name.Format("outCh%d_inCh%d_PEQband%d", output, n, k);
            DescribeDraw(*ParametricBandDraw(n, k), name.CStr(), &ParametricBandDrawValue, n);
        }
    }
}

void FreqPanel::WatchBypasses()
{
    auto watch = [this](XParam* param, int32_t key)
    {
        if (param != nullptr)
            param->AddWatcher(this, key, true);
    };
    watch(OutputParam(output, kChannelEqBypass), kChannelEqBypassKey);
    for (int32_t m = 0; m < kOutputBandCount; ++m)
        watch(OutputParam(output, kFirstBandBypass + m), kBandBypassKey + m);
    for (int32_t n = 0; n < kInputCount; ++n)
    {
        watch(InputParam(n, kGeqAllBypass), kGeqAllBypassKey + n);
        for (int32_t k = 0; k < kGraphicBandCount; ++k)
            watch(InputParam(n, ChannelParamTables::kGeqBypassFirstId + k),
                  kGeqBandBypassKey + kGraphicBandCount * n + k);
    }
    for (int32_t n = 0; n < kInputCount; ++n)
    {
        watch(InputParam(n, kPeqAllBypass), kPeqAllBypassKey + n);
        for (int32_t k = 0; k < FreqResponseWindow::kInputPeqBandCount; ++k)
            watch(InputParam(n, kInputFirstBypass + k), kPeqBandBypassKey + kPeqDrawCount * n + k);
    }
    // Not told at once: each strip's notification would give the views built so far the toggle's
    // range while the later ones keep the range they are built with.
    window.RangeToggle().AddWatcher(this, kRangeKey, false);
}

void FreqPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (!built)
    {
        built = true;
        Build();
    }
}

void FreqPanel::Build()
{
    AddChild(new XPict(XRect(0, 0, 0, 0), nullptr, "FreqResp\\outputPanelBg.png", true));
    XString number;
    number.Format("text\\label%d.png", output + 1);
    AddChild(new XPict(XRect(5, 33, 5, 33), nullptr, number.CStr(), true));

    XParam* gain = OutputParam(output, kOutputGain);
    gainFader = new XSlider(XRect(660, 6, 660, 6), nullptr, true, "freqResp\\FaderTrack.png",
                            "freqResp\\faderSlider.png");
    gainFader->SetFocusKnobImage("freqResp\\faderSlider_focus.png");
    gainFader->SetPot(gain);
    AddChild(gainFader);

    gainField = new XTextEditView(kGainFieldRect);
    gainField->SetTextColor(Colour("windowText"));
    gainField->SetBackColor(XRGB(0, 0, 0, 0));
    gainField->SetJustification(kJustifyCentred);
    gainField->SetFont(Font("small"));
    gainField->SetPot(gain);
    gainField->SetClickOnlyFocuses(true);
    AddChild(gainField);

    levelMeter =
        new XQM7FrontPanelLEDMeter(XRect(753, 9, 785, 91), kMeterSegments, "block\\blockLedDim.png",
                                   "block\\blockLedGreen.png", OutputParam(output, kOutputGuiMeter), true);
    levelMeter->SetLevels(kLevelThresholds, kMeterSegments);
    levelMeter->SetSegmentImage("block\\blockLedYellow.png", kYellowSegment);
    levelMeter->SetSegmentImage("block\\blockLedRed.png", kOverloadSegment);
    levelMeter->SetSegmentLabels("-15,-12,-9,-6,-3,-1,0,OL");
    levelMeter->SetLabelColour(kMeterLabelGrey, kMeterLabelGrey, kMeterLabelGrey);
    levelMeter->SetSegmentSpacing(3);
    levelMeter->SetIndicator(kOverloadSegment, OutputParam(output, kOutputMeter), 0.0);
    AddChild(levelMeter);

    muteButton = new XButton(XRect(686, 37, 686, 37), OutputParam(output, kOutputMute),
                             "buttons\\buttonMute.png", "buttons\\buttonMuteLit.png");
    AddChild(muteButton);

    label = new XText(XRect(680, 12, 758, 31), OutputParam(output, kLabel), Colour("windowText"),
                      Font("dialogLabel"), kJustifyCentred);
    AddChild(label);

    auto* background = new XEQViewBg(kGraphRect);
    background->OffsetLabelBand(-4);
    AddChild(background);

    view = new XEQView(kGraphRect);
    ConfigureView();
    AddChild(view);
    window.SetView(output, view);

    rangeButton = new XButton(XRect(25, 3, 25, 3), &window.RangeToggle(), "buttons\\btnEqRange24Small.png",
                              "buttons\\btnEqRange12Small.png");
    rangeButton->SetTooltipText(XString("dB range toggle"));
    AddChild(rangeButton);
}

void FreqPanel::ConfigureView()
{
    const XParam* sourceParam = OutputParam(output, kSource);
    const int32_t source = sourceParam != nullptr ? static_cast<int32_t>(sourceParam->GetValue()) : 0;
    view->SetNumBands(FreqResponseWindow::kBandCount);
    SetProperty(*view, "LineWidth", XVariant(static_cast<uint32_t>(2)));
    view->SetHilite(false);
    view->SetBandOnMode(1);
    SetProperty(*view, "BallRadius", XVariant(static_cast<uint32_t>(0)));
    view->SetDisplayRange(FreqResponseWindow::kInitialRange);
    view->SetTransparent(true);
    view->BindOffsetParam(OutputParam(output, kOutputGain));
    view->BindEnableParam(OutputParam(output, kOutputMute));
    view->SetEnablePolarity(0);
    BindFixedBands();
    BindInputBands(source);
}

void FreqPanel::BindFixedBands()
{
    for (int32_t n = 0; n < kInputCount; ++n)
    {
        for (int32_t k = 0; k < FreqResponseWindow::kInputPeqBandCount; ++k)
        {
            const int32_t band = FreqResponseWindow::kInputPeqBandCount * n + k;
            view->BindBandParam(XEQView::kBandGain, InputParam(n, kInputFirstGain + k), band);
            view->BindBandParam(XEQView::kBandFrequency, InputParam(n, kInputFirstFreq + k), band);
            view->BindBandParam(XEQView::kBandQ, InputParam(n, kInputFirstQ + k), band);
            // Drawn with the shape the input's window draws (slopes and shelves), not the unit's type.
            view->BindBandParam(XEQView::kBandType, SharedWindowState::Instance().InputDrawType(n, k), band);
        }
        for (int32_t k = 0; k < kGraphicBandCount; ++k)
        {
            const int32_t band = FreqResponseWindow::kFirstGraphicBand + kGraphicBandCount * n + k;
            view->BindBandParam(XEQView::kBandGain, InputParam(n, kFirstGeqGain + k), band);
            view->BindBandParam(XEQView::kBandFrequency, MasterGraphicEqWindow::BandFrequency(k), band);
            view->BindBandParam(XEQView::kBandQ, &window.GraphicQ(), band);
            view->BindBandParam(XEQView::kBandType, &window.GraphicType(), band);
        }
    }

    const struct
    {
        int32_t band;
        int32_t frequencyId;
        const char* qPath;
        const char* typePath;
    } crossover[] = {
        {FreqResponseWindow::kHighPassBand, kHipassFreq, "crossover\\HPFQCh%d", "crossover\\HPFTypeCh%d"},
        {FreqResponseWindow::kLowPassBand, kLopassFreq, "crossover\\LPFQCh%d", "crossover\\LPFTypeCh%d"}};
    for (const auto& side : crossover)
    {
        view->BindBandParam(XEQView::kBandGain, &window.ZeroGain(), side.band);
        view->BindBandParam(XEQView::kBandFrequency, OutputParam(output, side.frequencyId), side.band);
        view->BindBandParam(XEQView::kBandQ, FindParam(side.qPath, output + 1), side.band);
        view->BindBandParam(XEQView::kBandType, FindParam(side.typePath, output + 1), side.band);
        view->BindBandParam(XEQView::kBandOn, &window.BandOn(), side.band);
    }

    for (int32_t m = 0; m < kOutputBandCount; ++m)
    {
        const int32_t band = FreqResponseWindow::kFirstOutputBand + m;
        view->BindBandParam(XEQView::kBandGain, OutputParam(output, kFirstBandGain + m), band);
        view->BindBandParam(XEQView::kBandFrequency, OutputParam(output, kFirstBandFreq + m), band);
        view->BindBandParam(XEQView::kBandQ, OutputParam(output, kFirstBandQ + m), band);
        // The output EQ window's draw type: 6 and 12 dB/oct slopes and shelves drawn as they are.
        view->BindBandParam(XEQView::kBandType, SharedWindowState::Instance().DrawType(output, m), band);
        view->BindBandParam(XEQView::kBandOn, OutputBandDraw(m), band);
    }
}

void FreqPanel::BindInputBands(int32_t source)
{
    if (view == nullptr)
        return;
    constexpr int32_t kBothInputs = 2;
    int32_t band = 0;
    for (int32_t j = 0; j < kInputCount; ++j)
    {
        const bool fed = source == j || source == kBothInputs;
        for (int32_t k = 0; k < FreqResponseWindow::kInputPeqBandCount; ++k)
            view->BindBandParam(XEQView::kBandOn, fed ? ParametricBandDraw(j, k) : &window.BandOff(), band++);
    }
    for (int32_t j = 0; j < kInputCount; ++j)
    {
        const bool fed = source == j || source == kBothInputs;
        for (int32_t k = 0; k < kGraphicBandCount; ++k)
            view->BindBandParam(XEQView::kBandOn, fed ? GraphicBandDraw(j, k) : &window.BandOff(), band++);
    }
}

void FreqPanel::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    XView::ParamChanged(code, param, key);
    const auto what = static_cast<uint32_t>(code);
    if (param == nullptr || (what != XMsgCode::kParamValueSet && what != XMsgCode::kParamChangedByUser))
        return;
    const double value = param->GetValue();
    if (key == kChannelEqBypassKey)
    {
        if (view != nullptr)
            view->InvalidateAllBands();
    }
    else if (const int32_t m = FamilyIndex(key, kBandBypassKey, kOutputBandCount); m >= 0)
    {
        OutputBandDraw(m)->ChangeValue(value, true);
    }
    else if (FamilyIndex(key, kGeqAllBypassKey, kInputCount) >= 0 ||
             FamilyIndex(key, kPeqAllBypassKey, kInputCount) >= 0)
    {
        window.InvalidateAllViews();
    }
    else if (const int32_t g = FamilyIndex(key, kGeqBandBypassKey, kInputCount * kGraphicBandCount); g >= 0)
    {
        GraphicBandDraw(g / kGraphicBandCount, g % kGraphicBandCount)->ChangeValue(value, true);
    }
    else if (const int32_t p = FamilyIndex(key, kPeqBandBypassKey, kInputCount * kPeqDrawCount); p >= 0)
    {
        ParametricBandDraw(p / kPeqDrawCount, p % kPeqDrawCount)->ChangeValue(value, true);
    }
    else if (key == kRangeKey)
    {
        window.ApplyRange();
    }
}
