#include "windows/ChannelEqWindow.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelLinking.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/QM7EQView.h"
#include "widgets/TabButton.h"
#include "widgets/XEQViewBg.h"
#include "windows/ChannelPanel.h"
#include "windows/EditorWindows.h"
#include "windows/LocalParamDesc.h"
#include "windows/SharedWindowState.h"

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);
constexpr int32_t kOutputs = ChannelEqWindow::kOutputCount;
constexpr int32_t kBands = ChannelEqWindow::kBandCount;

constexpr const char* kColorWords[kOutputs] = {"red", "yellow", "blue", "magenta", "green", "purple"};
constexpr const char* kTabBarFormat = "ChannelEq\\ChannelEqTabBar%s.png";
constexpr const char* kLitTabFormat = "ChannelEq\\ChannelEqTab%s.png";
constexpr const char* kDimTab = "ChannelEq\\ChannelEqTabDim.png";

// Frames in the window's content.
const XRect kTabBarFrame(12, 39, 792, 52);
constexpr int32_t kTabLeft = 16;
constexpr int32_t kTabPitch = 87;
constexpr int32_t kTabWidth = 85;
constexpr int32_t kTabTop = 18;
constexpr int32_t kTabBottom = 43;
const XRect kTabLabelRect(0, 1, 85, 25);
const XRGB kTabLitLabelColor{20, 20, 20, 255};
const XRect kEqOnFrame(560, 9, 676, 37);
const XRect kEqFlatFrame(676, 9, 792, 37);
const XRect kPanelFrame(15, 398, 787, 557);
const XRect kGraphFrame(41, 58, 779, 370);
const XRect kRangeButtonFrame(15, 54, 15, 54);

const XRGB kCenterLineColor{50, 55, 53, 255};
const XRGB kFocusBallColor{0, 204, 0, 240};
constexpr uint32_t kBallRadiusOn = 4;
constexpr uint32_t kLineWidthOn = 2;
constexpr uint32_t kLineWidthOff = 1;

const XRGB kCoverColor{178, 178, 178, 255};
constexpr int32_t kCoverJustification = 8;
constexpr int32_t kLockedMode = 1;

int32_t IntegerOf(const XParam* param, int32_t fallback)
{
    return param != nullptr ? static_cast<int32_t>(param->GetValue()) : fallback;
}

XParam* OutputParam(int32_t output, int32_t id)
{
    ChannelOutput* channel = GetOutputChannel(output);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

XString Formatted(const char* format, const char* word)
{
    XString text;
    text.Format(format, word);
    return text;
}

/** The band or output added to a family key, or -1 when key is not of the family. */
int32_t IndexInFamily(int32_t key, int32_t familyKey, int32_t count)
{
    const int32_t index = key - familyKey;
    return index >= 0 && index < count ? index : -1;
}
} // namespace

ChannelEqWindow::ChannelEqWindow() : SubWindow(kTitle, kBackground, EditorWindows::kOutputEqParamId)
{
    SharedWindowState& state = SharedWindowState::Instance();
    for (int32_t output = 0; output < kOutputs; ++output)
    {
        for (int32_t band = 0; band < kBands; ++band)
        {
            if (XParam* type = OutputParam(output, kTypeId + band))
                type->AddWatcher(this, kTypeKey + band, true);
            if (XParam* slope = OutputParam(output, kSlopeId + band))
                slope->AddWatcher(this, kSlopeKey + band, true);
            state.ChannelEqQShown(output, band)->SetValue(0, true);
        }
    }

    state.CurActiveChannel().AddWatcher(this, kChannelKey, true);
    const XParamDesc range = LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2);
    dbRange.SetDesc(&range);
    dbRange.AddWatcher(this, kRangeKey, true);
    const XParamDesc colour =
        LocalParamDesc("CurActiveColor", XParamDesc::kTypeInteger, 0, kOutputs - 1, 0, kOutputs);
    curActiveColor.SetDesc(&colour);
    const XParamDesc enable = LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 1, 2);
    eqEnable.SetDesc(&enable);

    for (int32_t output = 0; output < kOutputs; ++output)
        state.ChannelEqFocusBand(output)->AddWatcher(this, kFocusKey + output, true);

    // The draw types exist now: the type rule runs for every band.
    for (int32_t output = 0; output < kOutputs; ++output)
        for (int32_t band = 0; band < kBands; ++band)
            if (XParam* type = OutputParam(output, kTypeId + band))
                type->Notify(kValueSet);

    if (XParam* lockMode = FindParam("%s", kLockModePath))
        lockMode->AddWatcher(this, kLockModeKey, false);
}

ChannelEqWindow::~ChannelEqWindow()
{
    XParam::ForgetWatcher(this);
}

const EqBandRules& ChannelEqWindow::Rules()
{
    static const EqBandRules rules(EqBandRules::QPolicy::WideForPeakingOnly);
    return rules;
}

EqBandRules::Band ChannelEqWindow::BandOf(int32_t output, int32_t band)
{
    EqBandRules::Band params;
    if (output < 0 || output >= kOutputs || band < 0 || band >= kBands)
        return params;
    params.type = OutputParam(output, kTypeId + band);
    params.gain = OutputParam(output, kGainId + band);
    params.q = OutputParam(output, kQId + band);
    params.slope = OutputParam(output, kSlopeId + band);
    params.drawType = SharedWindowState::Instance().DrawType(output, band);
    params.qShown = SharedWindowState::Instance().ChannelEqQShown(output, band);
    return params;
}

int32_t ChannelEqWindow::ColorIndexOf(int32_t output)
{
    const int32_t index = IntegerOf(FindParam(kColorParamFormat, output + 1), 0);
    return index >= 0 && index < kOutputs ? index : 0;
}

XRGB ChannelEqWindow::OutputColor(int32_t index)
{
    XString name;
    name.Format("outputColor%d", index + 1);
    return GetColorDictionary().GetColor(name.CStr());
}

const char* ChannelEqWindow::ColorWord(int32_t index)
{
    return index >= 0 && index < kOutputs ? kColorWords[index] : kColorWords[0];
}

TabButton* ChannelEqWindow::GetTab(int32_t output) const
{
    return output >= 0 && output < kOutputs ? tabs[output] : nullptr;
}

ChannelPanel* ChannelEqWindow::GetPanel(int32_t output) const
{
    return output >= 0 && output < kOutputs ? panels[output] : nullptr;
}

XButton* ChannelEqWindow::GetEqOnButton(int32_t output) const
{
    return output >= 0 && output < kOutputs ? eqOnButtons[output] : nullptr;
}

// Content -------------------------------------------------------------------------------------------

void ChannelEqWindow::BuildContent()
{
    ShowWaitCursor();
    SharedWindowState& state = SharedWindowState::Instance();
    for (int32_t index = 0; index < kOutputs; ++index)
    {
        auto* bar = new XPict(XRect(kTabBarFrame.left, kTabBarFrame.top, kTabBarFrame.left, kTabBarFrame.top),
                              nullptr, Formatted(kTabBarFormat, kColorWords[index]).CStr(), true);
        bar->SetShowParam(&curActiveColor, index);
        AddChild(bar);
    }
    curActiveColor.Notify(kValueSet);

    BuildTabs();
    for (int32_t output = 0; output < kOutputs; ++output)
        if (XParam* label = OutputParam(output, kLabelId))
            label->AddWatcher(this, kLabelKey, true);
    if (XParam* config = FindParam("%s", kConfigPath))
        config->AddWatcher(this, kConfigKey, true);

    for (int32_t output = 0; output < kOutputs; ++output)
    {
        XParam* bypass = OutputParam(output, kEqBypassId);
        if (bypass == nullptr)
            continue;
        bypass->AddWatcher(this, kEqBypassKey + output, true);
        auto* button = new XButton(kEqOnFrame, bypass, "InputParametricEq\\eqOnLit.png",
                                   "InputParametricEq\\EqOffDim.png");
        button->SetShowParam(&state.CurActiveChannel(), output);
        AddChild(button);
        eqOnButtons[output] = button;
    }

    eqFlatButton =
        new XButton(kEqFlatFrame, nullptr, "InputParametricEq\\eqFlat.png", "InputParametricEq\\eqFlat.png");
    eqFlatButton->GetClickedSignal().Connect([this] { OnEqFlat(); });
    AddChild(eqFlatButton);

    for (int32_t output = 0; output < kOutputs; ++output)
    {
        auto* panel = new ChannelPanel(output, state.DrawTypeGroup(output));
        panel->SetFrame(kPanelFrame);
        panel->SetShowParam(&state.CurActiveChannel(), output);
        AddChild(panel);
        panels[output] = panel;
    }

    AddChild(new XEQViewBg(kGraphFrame));
    eqEnable.SetMin(0);
    eqEnable.SetMax(1);
    eqEnable.SetValue(1, false);
    BuildEqView();

    rangeButton = new XButton(kRangeButtonFrame, &dbRange, "buttons\\btnEqRange24Large.png",
                              "buttons\\btnEqRange12Large.png");
    rangeButton->SetTooltipText("dB range toggle");
    XView::EnableTooltips(true);
    AddChild(rangeButton);

    for (int32_t output = 0; output < kOutputs; ++output)
        for (int32_t band = 0; band < kBands; ++band)
            if (XParam* type = OutputParam(output, kTypeId + band))
                type->Notify(kValueSet);
    state.CurActiveChannel().Notify(kValueSet);
    state.ChannelEqFocusBand(0)->Notify(kValueSet);

    BuildCompareCovers();
    if (XParam* lockMode = FindParam("%s", kLockModePath))
        lockMode->Notify(kRefresh);
    HideWaitCursor();
}

void ChannelEqWindow::BuildTabs()
{
    XParam* channel = &SharedWindowState::Instance().CurActiveChannel();
    for (int32_t output = 0; output < kOutputs; ++output)
    {
        if (tabs[output] == nullptr)
        {
            const int32_t left = kTabLeft + kTabPitch * output;
            tabs[output] = new TabButton(XRect(left, kTabTop, left + kTabWidth, kTabBottom), channel, kDimTab,
                                         Formatted(kLitTabFormat, kColorWords[0]).CStr(), nullptr);
            AddChild(tabs[output]);
        }
        TabButton* tab = tabs[output];
        tab->SetLitTextColor(kTabLitLabelColor);
        tab->SetLabelRect(kTabLabelRect);
        if (XParam* label = OutputParam(output, kLabelId))
            tab->SetLabel(label->GetText(), false);
        tab->SetMatchValue(static_cast<float>(output));
    }
}

void ChannelEqWindow::BuildEqView()
{
    SharedWindowState& state = SharedWindowState::Instance();
    const XRGB colour = OutputColor(0);
    eqView = new QM7EQView(kGraphFrame);
    eqView->SetNumBands(kBands);
    eqView->BindEnableParam(&eqEnable);
    eqView->SetBallRadius(kBallRadiusOn);
    eqView->SetBallColor(XRGB::Scaled(colour, kBallPercent));
    eqView->SetCurveColor(colour);
    eqView->SetDraggedCurveColor(XRGB::Scaled(colour, kDraggedPercent));
    eqView->SetCenterLineColor(kCenterLineColor);
    eqView->SetBandOnMode(1);
    eqView->SetTransparent(true);
    eqView->SetLineWidth(kLineWidthOn);
    eqView->SetDisplayRange(dbRange.GetValue() != 0.0 ? kNarrowRangeDb : kWideRangeDb);
    eqView->SetSelectedBandParam(state.ChannelEqFocusBand(0));
    eqView->SetFocusBallColor(kFocusBallColor);
    eqView->SetHighlightSelectedBand(true);
    eqView->SetShowBandNumbers(false);
    BindBands(0);
    AddChild(eqView);
}

void ChannelEqWindow::BuildCompareCovers()
{
    XView* content = GetContentView();
    const int32_t right = content != nullptr ? content->GetWidth() : GetWidth();
    const int32_t bottom = content != nullptr ? content->GetHeight() : GetHeight();
    XParam* compareLock = FindParam("%s", kCompareLockPath);
    for (const XRect& frame :
         {XRect(550, 10, right, 35), XRect(1, 50, right, 400), XRect(1, 420, right, bottom)})
    {
        auto* cover = new XText(frame, " ", kCoverColor, XFont::GetNamedFont("dialogLabel", false),
                                kCoverJustification);
        cover->SetTransparentWithColor(true, kCoverColor);
        cover->SetTooltipText("Compare Mode");
        if (compareLock != nullptr)
            cover->SetShowParam(compareLock, 0);
        AddChild(cover);
    }
    if (compareLock != nullptr)
        compareLock->Notify(kValueSet);
}

void ChannelEqWindow::BindBands(int32_t output)
{
    if (eqView == nullptr)
        return;
    for (int32_t band = 0; band < kBands; ++band)
    {
        eqView->BindBandParam(XEQView::kBandGain, OutputParam(output, kGainId + band), band);
        eqView->BindBandParam(XEQView::kBandFrequency, OutputParam(output, kFreqId + band), band);
        eqView->BindBandParam(XEQView::kBandQ, OutputParam(output, kQId + band), band);
        eqView->BindBandParam(XEQView::kBandType, SharedWindowState::Instance().DrawType(output, band), band);
        eqView->BindBandParam(XEQView::kBandOn, OutputParam(output, kBandBypassId + band), band);
    }
}

// Changes -------------------------------------------------------------------------------------------

void ChannelEqWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (XMsgCode::IsValueChange(code) && param != nullptr)
    {
        const int32_t value = static_cast<int32_t>(param->GetValue());
        int32_t index = -1;
        if (key == kLabelKey)
        {
            const int32_t output = OutputNumberOfParam(param) - 1;
            if (TabButton* tab = GetTab(output))
            {
                tab->SetLabel(param->GetText(), false);
                tab->Invalidate();
            }
        }
        else if (key == kChannelKey)
        {
            SelectOutput(value);
        }
        else if (key == kRangeKey)
        {
            if (eqView != nullptr)
                eqView->SetDisplayRange(value != 0 ? kNarrowRangeDb : kWideRangeDb);
        }
        else if (key == kConfigKey)
        {
            ApplyTabColours();
        }
        else if ((index = IndexInFamily(key, kTypeKey, kBands)) >= 0)
        {
            const int32_t output = OutputNumberOfParam(param) - 1;
            if (output >= 0)
                Rules().ApplyType(BandOf(output, index), value);
        }
        else if ((index = IndexInFamily(key, kSlopeKey, kBands)) >= 0)
        {
            const int32_t output = OutputNumberOfParam(param) - 1;
            if (output >= 0)
                Rules().ApplySlope(BandOf(output, index), value);
        }
        else if (IndexInFamily(key, kFocusKey, kOutputs) >= 0)
        {
            if (eqView != nullptr)
            {
                eqView->SetSelectedBand(value);
                eqView->InvalidateBand(value);
                eqView->Invalidate();
            }
        }
        else if ((index = IndexInFamily(key, kEqBypassKey, kOutputs)) >= 0)
        {
            if (index == IntegerOf(&SharedWindowState::Instance().CurActiveChannel(), 0))
                ApplyGraphLook(index, value == 0);
        }
    }
    else if (code == kRefresh && key == kLockModeKey)
    {
        ApplyLockMode();
    }
    SubWindow::ParamChanged(code, param, key);
}

void ChannelEqWindow::SelectOutput(int32_t output)
{
    if (output < 0 || output >= kOutputs || eqView == nullptr)
        return;
    const XParam* bypass = OutputParam(output, kEqBypassId);
    const bool on = bypass == nullptr || bypass->GetValue() == 0.0;
    const int32_t index = ColorIndexOf(output);
    curActiveColor.ChangeValue(index, true);
    const XRGB colour = OutputColor(index);
    eqView->SetBallColor(XRGB::Scaled(colour, kBallPercent));
    eqView->SetDraggedCurveColor(XRGB::Scaled(colour, kDraggedPercent));
    ApplyGraphLook(output, on);
    BindBands(output);
    XParam* focus = SharedWindowState::Instance().ChannelEqFocusBand(output);
    eqView->SetSelectedBandParam(focus);
    focus->Notify(kValueSet);
    ApplyLockMode();
}

void ChannelEqWindow::ApplyGraphLook(int32_t output, bool on)
{
    if (output < 0 || output >= kOutputs || eqView == nullptr)
        return;
    const XRGB colour = OutputColor(ColorIndexOf(output));
    eqView->SetLineWidth(on ? kLineWidthOn : kLineWidthOff);
    eqView->SetBallRadius(on ? kBallRadiusOn : 0);
    eqView->SetCurveColor(on ? colour : XRGB::Scaled(colour, kOffCurvePercent));
    eqView->SetHilite(on);
}

void ChannelEqWindow::ApplyTabColours()
{
    for (int32_t output = 0; output < kOutputs; ++output)
        if (tabs[output] != nullptr)
            tabs[output]->SetImage(kDimTab, Formatted(kLitTabFormat, ColorWord(ColorIndexOf(output))).CStr(),
                                   nullptr);
    SharedWindowState::Instance().CurActiveChannel().Notify(kValueSet);
}

void ChannelEqWindow::ApplyLockMode()
{
    if (eqView == nullptr)
        return;
    eqView->SetHilite(IntegerOf(FindParam("%s", kLockModePath), 0) != kLockedMode);
}

// EQ Flat -------------------------------------------------------------------------------------------

bool ChannelEqWindow::IsActiveChannelFlat() const
{
    const int32_t output = IntegerOf(&SharedWindowState::Instance().CurActiveChannel(), 0);
    if (output < 0 || output >= kOutputs)
        return true;
    for (int32_t band = 0; band < kBands; ++band)
    {
        const XParam* gain = OutputParam(output, kGainId + band);
        if (gain != nullptr && gain->GetValue() != 0.0)
            return false;
    }
    return true;
}

void ChannelEqWindow::OnEqFlat()
{
    const int32_t output = IntegerOf(&SharedWindowState::Instance().CurActiveChannel(), 0);
    if (output < 0 || output >= kOutputs || IsActiveChannelFlat())
        return;
    XView* mainWindow = FindMainWindow();
    XOKCancelDialog dialog("EQ Flat", "Are you sure? All EQ settings will be lost.", mainWindow, nullptr,
                           "Yes", "No");
    if (dialog.RunModal(mainWindow, 0) != XDialog::kOK)
        return;
    for (int32_t band = 0; band < kBands; ++band)
        if (XParam* gain = OutputParam(output, kGainId + band))
            gain->ChangeValue(0, true);
}
