#include "windows/InputPEQWindow.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/InputChansLinked.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/QM7EQView.h"
#include "widgets/XEQViewBg.h"
#include "windows/EditorWindows.h"
#include "windows/InputParameterLinkWindow.h"
#include "windows/LocalParamDesc.h"
#include "windows/PEQFilterPanel.h"
#include "windows/SharedWindowState.h"

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);
constexpr int32_t kInputs = InputPEQWindow::kInputCount;
constexpr int32_t kBands = InputPEQWindow::kBandCount;

// Frames in the window's content.
const XRect kTabBarFrame(13, 38, 793, 51);
const XRect kTabFrames[kInputs] = {XRect(20, 16, 135, 41), XRect(140, 16, 255, 41)};
const char* const kTabCaptions[kInputs] = {"INPUT A", "INPUT B"};
const char* const kTabLitImages[kInputs] = {"InputParametricEq\\InputEqTabOrange.png",
                                            "InputParametricEq\\InputEqTabCyan.png"};
constexpr const char* kTabImage = "InputParametricEq\\InputEqTabGrey.png";
const char* const kTabBarImages[kInputs] = {"InputParametricEq\\InputTabBarOrange.png",
                                            "InputParametricEq\\InputEqTabBarCyan.png"};
const XRect kGraphFrame(41, 58, 779, 370);
const XPoint kRangeButtonAt(15, 54);
const XPoint kLinkIndicatorAt(274, 16);
const XRect kEqOnFrame(560, 9, 676, 37);
const XRect kEqFlatFrame(676, 9, 792, 37);
constexpr int32_t kPanelLeft = 11;
constexpr int32_t kPanelPitch = 78;
constexpr int32_t kPanelTop = 401;
constexpr int32_t kPanelBottom = 564;

const XRGB kActiveTabColor{42, 43, 45, 255};
const XRGB kInactiveTabColor{227, 227, 228, 255};
const XRGB kFocusBallColor{0, 204, 0, 240};
constexpr uint32_t kBallRadiusOn = 4;

const XRGB kCoverColor{178, 178, 178, 255};
constexpr int32_t kCoverJustification = 8;
constexpr int32_t kLockedMode = 1;

int32_t IntegerOf(const XParam* param, int32_t fallback)
{
    return param != nullptr ? static_cast<int32_t>(param->GetValue()) : fallback;
}

/** The band added to a family key, or -1 when key is not of the family. */
int32_t IndexInFamily(int32_t key, int32_t familyKey, int32_t count)
{
    const int32_t index = key - familyKey;
    return index >= 0 && index < count ? index : -1;
}

/** Whether the input's equaliser is on (PEQAllBypass 0); a missing parameter counts as on. */
bool IsEqOn(int32_t input)
{
    const XParam* bypass = InputPEQWindow::InputParam(input, InputPEQWindow::kEqBypassId);
    return bypass == nullptr || bypass->GetValue() == 0.0;
}

XParam* LinkWindowParam()
{
    return GetAppServices().GetParam(InputPEQWindow::kLinkWindowParamId);
}
} // namespace

InputPEQWindow::InputPEQWindow() : SubWindow(kTitle, kBackground, EditorWindows::kInputPeqParamId)
{
    SharedWindowState& state = SharedWindowState::Instance();
    const XParamDesc channel = LocalParamDesc("CurActiveChannel", XParamDesc::kTypeInteger, 0, 1, 0, 2);
    selectedInput.SetDesc(&channel);
    selectedInput.AddWatcher(this, kChannelKey, true);

    // "QM7\inputChansLinked" follows the edit mode and the configuration from now on.
    InputChansLinked::Install();

    const XParamDesc link = LocalParamDesc(nullptr, XParamDesc::kTypeInteger, 0, 2, 0, 3);
    linkState.SetDesc(&link);
    const XParamDesc range = LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2);
    dbRange.SetDesc(&range);
    dbRange.AddWatcher(this, kRangeKey, true);
    userLinked.SetDesc(&range);

    state.InputPeqFocusBand(0)->AddWatcher(this, kFocusAKey, true);
    state.InputPeqFocusBand(1)->AddWatcher(this, kFocusBKey, true);

    activeTabColor = kActiveTabColor;
    inactiveTabColor = kInactiveTabColor;

    for (int32_t input = 0; input < kInputs; ++input)
    {
        eqViews[input] = nullptr;
        for (int32_t band = 0; band < kBands; ++band)
        {
            if (XParam* type = InputParam(input, kTypeId + band))
                type->AddWatcher(this, kTypeKey + band, false);
            if (XParam* slope = InputParam(input, kSlopeId + band))
                slope->AddWatcher(this, kSlopeKey + band, false);
            state.InputPeqQShown(input, band)->SetValue(0, true);
        }
    }
    if (XParam* lockMode = FindParam("%s", kLockModePath))
        lockMode->AddWatcher(this, kLockModeKey, false);

    // The draw types are read by other windows before this one is shown: the type rule runs for every
    // band now.
    for (int32_t input = 0; input < kInputs; ++input)
        for (int32_t band = 0; band < kBands; ++band)
            if (XParam* type = InputParam(input, kTypeId + band))
                type->Notify(kValueSet);
}

InputPEQWindow::~InputPEQWindow()
{
    XParam::ForgetWatcher(this);
}

const EqBandRules& InputPEQWindow::Rules()
{
    static const EqBandRules rules(EqBandRules::QPolicy::NarrowForPassesOnly);
    return rules;
}

XParam* InputPEQWindow::InputParam(int32_t input, int32_t id)
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

EqBandRules::Band InputPEQWindow::BandOf(int32_t input, int32_t band)
{
    EqBandRules::Band params;
    if (input < 0 || input >= kInputs || band < 0 || band >= kBands)
        return params;
    params.type = InputParam(input, kTypeId + band);
    params.gain = InputParam(input, kGainId + band);
    params.q = InputParam(input, kQId + band);
    params.slope = InputParam(input, kSlopeId + band);
    params.drawType = SharedWindowState::Instance().InputDrawType(input, band);
    params.qShown = SharedWindowState::Instance().InputPeqQShown(input, band);
    return params;
}

XRGB InputPEQWindow::InputColor(int32_t input)
{
    return GetColorDictionary().GetColor(input == 1 ? "inputB" : "inputA");
}

int32_t InputPEQWindow::InputOfParam(const XParam* param, int32_t id)
{
    for (int32_t input = 0; input < kInputs; ++input)
        if (param != nullptr && InputParam(input, id) == param)
            return input;
    return -1;
}

QM7EQView* InputPEQWindow::GetEqView(int32_t input) const
{
    return input >= 0 && input < kInputs ? eqViews[input] : nullptr;
}

XButton* InputPEQWindow::GetTab(int32_t input) const
{
    return input >= 0 && input < kInputs ? tabs[input] : nullptr;
}

PEQFilterPanel* InputPEQWindow::GetPanel(int32_t input, int32_t band) const
{
    return input >= 0 && input < kInputs && band >= 0 && band < kBands ? panels[input][band] : nullptr;
}

XButton* InputPEQWindow::GetEqOnButton(int32_t input) const
{
    return input >= 0 && input < kInputs ? eqOnButtons[input] : nullptr;
}

XButton* InputPEQWindow::GetLinkIndicator(int32_t state) const
{
    // Stored in the order built: configuration, user, none.
    switch (state)
    {
    case kConfigLinked:
        return linkIndicators[0];
    case kUserLinked:
        return linkIndicators[1];
    case kNotLinked:
        return linkIndicators[2];
    default:
        return nullptr;
    }
}

void InputPEQWindow::SelectChannel(uint32_t input)
{
    if (input < static_cast<uint32_t>(kInputs))
        selectedInput.ChangeValue(static_cast<double>(input), true);
}

// Content -------------------------------------------------------------------------------------------

void InputPEQWindow::BuildContent()
{
    ShowWaitCursor();
    linkWindow = new InputParameterLinkWindow(InputParameterLinkWindow::kInputPeqRegion, LinkWindowParam(),
                                              &userLinked);
    AddChild(linkWindow);

    BuildTabs();
    AddChild(new XEQViewBg(kGraphFrame));
    BuildEqView(1);
    BuildEqView(0); // A lies on top

    rangeButton = new XButton(XRect(kRangeButtonAt.x, kRangeButtonAt.y, kRangeButtonAt.x, kRangeButtonAt.y),
                              &dbRange, "buttons\\btnEqRange24Large.png", "buttons\\btnEqRange12Large.png");
    rangeButton->SetTooltipText("dB range toggle");
    XView::EnableTooltips(true);
    AddChild(rangeButton);

    BuildPanels();
    BuildLinkIndicators();
    BuildEqButtons();

    selectedInput.Notify(kValueSet);
    SharedWindowState::Instance().InputPeqFocusBand(0)->Notify(kValueSet);
    SharedWindowState::Instance().InputPeqFocusBand(1)->Notify(kValueSet);
    for (int32_t input = 0; input < kInputs; ++input)
        for (int32_t band = 0; band < kBands; ++band)
            if (XParam* type = InputParam(input, kTypeId + band))
                type->Notify(kValueSet);

    BuildCompareCovers();
    if (XParam* lockMode = FindParam("%s", kLockModePath))
        lockMode->Notify(kRefresh);
    HideWaitCursor();
}

void InputPEQWindow::BuildTabs()
{
    for (int32_t input = 0; input < kInputs; ++input)
    {
        auto* bar = new XPict(XRect(kTabBarFrame.left, kTabBarFrame.top, kTabBarFrame.left, kTabBarFrame.top),
                              nullptr, kTabBarImages[input], true);
        bar->SetShowParam(&selectedInput, input);
        AddChild(bar);
    }
    for (int32_t input = 0; input < kInputs; ++input)
    {
        auto* tab = new XButton(kTabFrames[input], &selectedInput, kTabImage, kTabLitImages[input]);
        tab->SetLabel(XString(kTabCaptions[input]), false);
        tab->SetMatchValue(static_cast<float>(input));
        AddChild(tab);
        tabs[input] = tab;
    }
}

void InputPEQWindow::BuildEqView(int32_t input)
{
    const bool front = input == 0;
    const XRGB colour = InputColor(input);
    auto* view = new QM7EQView(kGraphFrame);
    view->SetNumBands(kBands);
    view->BindEnableParam(InputParam(input, kEqBypassId));
    view->SetEnablePolarity(0); // enabled while the bypass is 0
    view->SetBallRadius(front ? kBallRadiusOn : 0);
    view->SetBallColor(XRGB::Scaled(colour, kBallPercent));
    view->SetCurveColor(colour);
    view->SetDraggedCurveColor(XRGB::Scaled(colour, kDraggedPercent));
    view->SetDrawCurveWhileDragging(false);
    view->SetCenterLine(false);
    view->SetLineWidth(front ? activeLineWidth : inactiveLineWidth);
    view->SetTransparent(true);
    view->SetBandOnMode(1);
    view->SetSelectedBandParam(SharedWindowState::Instance().InputPeqFocusBand(input));
    view->SetFocusBallColor(kFocusBallColor);
    view->SetHighlightSelectedBand(true);
    view->SetShowBandNumbers(false);
    view->SetDisplayRange(dbRange.GetValue() != 0.0 ? kNarrowRangeDb : kWideRangeDb);
    for (int32_t band = 0; band < kBands; ++band)
    {
        view->BindBandParam(XEQView::kBandGain, InputParam(input, kGainId + band), band);
        view->BindBandParam(XEQView::kBandFrequency, InputParam(input, kFreqId + band), band);
        view->BindBandParam(XEQView::kBandQ, InputParam(input, kQId + band), band);
        view->BindBandParam(XEQView::kBandType, SharedWindowState::Instance().InputDrawType(input, band),
                            band);
        view->BindBandParam(XEQView::kBandOn, InputParam(input, kBypassId + band), band);
    }
    AddChild(view);
    eqViews[input] = view;
}

void InputPEQWindow::BuildPanels()
{
    for (int32_t input = kInputs - 1; input >= 0; --input)
    {
        for (int32_t band = 0; band < kBands; ++band)
        {
            auto* panel = new PEQFilterPanel(input, band);
            const int32_t left = kPanelLeft + kPanelPitch * band;
            panel->SetFrame(XRect(left, kPanelTop, left + PEQFilterPanel::kWidth, kPanelBottom));
            panel->SetShowParam(&selectedInput, input);
            AddChild(panel);
            panels[input][band] = panel;
        }
    }
}

void InputPEQWindow::BuildLinkIndicators()
{
    XParam* windowParam = LinkWindowParam();
    XParam* inputsLinked = FindParam("%s", kInputsLinkedPath);
    const XRect at(kLinkIndicatorAt.x, kLinkIndicatorAt.y, kLinkIndicatorAt.x, kLinkIndicatorAt.y);

    auto* byConfig =
        new XButton(at, windowParam, "buttons\\inputsLinkedLit.png", "buttons\\inputsLinkedLit.png");
    byConfig->SetHilite(false);
    if (inputsLinked != nullptr)
        byConfig->SetShowParam(inputsLinked, 1);
    auto* byUser = new XButton(at, windowParam, "buttons\\InputPEQLink.png", "buttons\\InputPEQLinkDim.png");
    byUser->SetShowParam(&linkState, kUserLinked);
    auto* none =
        new XButton(at, windowParam, "buttons\\InputPEQUnlink.png", "buttons\\InputPEQUnlinkdim.png");
    none->SetShowParam(&linkState, kNotLinked);
    linkIndicators = {byConfig, byUser, none};
    for (XButton* indicator : linkIndicators)
        AddChild(indicator);

    linkState.Notify(kValueSet);
    if (inputsLinked != nullptr)
    {
        inputsLinked->Notify(kValueSet);
        inputsLinked->AddWatcher(this, kInputsLinkedKey, true);
    }
    userLinked.AddWatcher(this, kUserLinkedKey, true);
    if (windowParam != nullptr)
        windowParam->AddWatcher(this, kLinkWindowKey, true);
}

void InputPEQWindow::BuildEqButtons()
{
    for (int32_t input = kInputs - 1; input >= 0; --input)
    {
        XParam* bypass = FindParam(kEqBypassFormat, 'A' + input);
        if (bypass == nullptr)
            continue;
        auto* button = new XButton(kEqOnFrame, bypass, "InputParametricEq\\eqOnLit.png",
                                   "InputParametricEq\\EqOffDim.png");
        button->SetShowParam(&selectedInput, input);
        AddChild(button);
        eqOnButtons[input] = button;
    }
    for (int32_t input = 0; input < kInputs; ++input)
        if (XParam* bypass = FindParam(kEqBypassFormat, 'A' + input))
            bypass->AddWatcher(this, input == 0 ? kEqOnAKey : kEqOnBKey, true);

    eqFlatButton =
        new XButton(kEqFlatFrame, nullptr, "InputParametricEq\\eqFlat.png", "InputParametricEq\\eqFlat.png");
    eqFlatButton->GetClickedSignal().Connect([this] { OnEqFlat(); });
    AddChild(eqFlatButton);
}

void InputPEQWindow::BuildCompareCovers()
{
    XView* content = GetContentView();
    const int32_t right = content != nullptr ? content->GetWidth() : GetWidth();
    const int32_t bottom = content != nullptr ? content->GetHeight() : GetHeight();
    XParam* compareLock = FindParam("%s", kCompareLockPath);
    for (const XRect& frame : {XRect(550, 10, right, 35), XRect(1, 420, right, bottom)})
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

// Changes -------------------------------------------------------------------------------------------

void InputPEQWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (XMsgCode::IsValueChange(code) && param != nullptr)
    {
        const auto value = static_cast<int32_t>(param->GetValue());
        int32_t band = -1;
        if (key == kInputsLinkedKey || key == kUserLinkedKey)
        {
            UpdateLinkState();
        }
        else if (key == kLinkWindowKey)
        {
            if (linkWindow != nullptr)
            {
                if (value == 1)
                    linkWindow->Show();
                else
                    linkWindow->Hide();
            }
        }
        else if ((band = IndexInFamily(key, kTypeKey, kBands)) >= 0)
        {
            const int32_t input = InputOfParam(param, kTypeId + band);
            if (input >= 0)
                Rules().ApplyType(BandOf(input, band), value);
        }
        else if ((band = IndexInFamily(key, kSlopeKey, kBands)) >= 0)
        {
            const int32_t input = InputOfParam(param, kSlopeId + band);
            if (input >= 0)
                Rules().ApplySlope(BandOf(input, band), value);
        }
        else if (key == kChannelKey)
        {
            SelectInput(value);
        }
        else if (key == kRangeKey)
        {
            for (QM7EQView* view : eqViews)
                if (view != nullptr)
                    view->SetDisplayRange(value != 0 ? kNarrowRangeDb : kWideRangeDb);
        }
        else if (key == kEqOnAKey || key == kEqOnBKey)
        {
            ApplyGraphLook(key == kEqOnAKey ? 0 : 1, value == 0);
        }
        else if (key == kFocusAKey || key == kFocusBKey)
        {
            if (QM7EQView* view = eqViews[key == kFocusAKey ? 0 : 1])
            {
                view->SetSelectedBand(value);
                view->InvalidateBand(value);
                view->Invalidate();
            }
        }
    }
    else if (code == kRefresh && key == kLockModeKey)
    {
        ApplyLockMode();
    }
    SubWindow::ParamChanged(code, param, key);
}

void InputPEQWindow::UpdateLinkState()
{
    int32_t state = kNotLinked;
    if (IntegerOf(FindParam("%s", kInputsLinkedPath), 0) == 1)
        state = kConfigLinked;
    else if (IntegerOf(&userLinked, 0) == 1)
        state = kUserLinked;
    linkState.ChangeValue(state, true);
}

void InputPEQWindow::SelectInput(int32_t input)
{
    if (input < 0 || input >= kInputs)
        return;
    const int32_t other = 1 - input;
    if (tabs[input] != nullptr)
    {
        tabs[input]->SetLitTextColor(activeTabColor);
        tabs[input]->Invalidate();
    }
    if (tabs[other] != nullptr)
    {
        tabs[other]->SetLitTextColor(inactiveTabColor);
        tabs[other]->Invalidate();
    }
    const bool onU = IsEqOn(input);
    const bool onO = IsEqOn(other);
    QM7EQView* view = eqViews[input];
    QM7EQView* behind = eqViews[other];
    if (view == nullptr || behind == nullptr)
        return;
    behind->SetLineWidth(inactiveLineWidth);
    behind->SetBallRadius(0);
    behind->SetCurveColor(XRGB::Scaled(InputColor(other), onO ? kBehindOnPercent : kOffPercent));
    view->SetLineWidth(onU ? activeLineWidth : inactiveLineWidth);
    view->SetBallRadius(onU ? kBallRadiusOn : 0);
    view->SetCurveColor(onU ? InputColor(input) : XRGB::Scaled(InputColor(input), kSelectedOffPercent));
    // The other graph goes right behind this one: the rest of the window keeps its order.
    behind->toBehind(view);
}

void InputPEQWindow::ApplyGraphLook(int32_t input, bool on)
{
    QM7EQView* view = GetEqView(input);
    if (view == nullptr)
        return;
    const XRGB colour = InputColor(input);
    view->SetLineWidth(on ? activeLineWidth : inactiveLineWidth);
    view->SetBallRadius(on ? kBallRadiusOn : 0);
    view->SetCurveColor(on ? colour : XRGB::Scaled(colour, kOffPercent));
    view->SetHilite(on);
}

void InputPEQWindow::ApplyLockMode()
{
    const bool locked = IntegerOf(FindParam("%s", kLockModePath), 0) == kLockedMode;
    for (QM7EQView* view : eqViews)
        if (view != nullptr)
            view->SetHilite(!locked);
}

// EQ Flat -------------------------------------------------------------------------------------------

bool InputPEQWindow::IsActiveInputFlat() const
{
    const int32_t input = IntegerOf(&selectedInput, 0);
    for (int32_t band = 0; band < kBands; ++band)
    {
        const XParam* gain = InputParam(input, kGainId + band);
        if (gain != nullptr && gain->GetValue() != 0.0)
            return false;
    }
    return true;
}

void InputPEQWindow::OnEqFlat()
{
    const int32_t input = IntegerOf(&selectedInput, 0);
    if (IsActiveInputFlat())
        return;
    XView* mainWindow = FindMainWindow();
    XOKCancelDialog dialog("EQ Flat", "Are you sure? All EQ settings will be lost.", mainWindow, nullptr,
                           "Yes", "No");
    if (dialog.RunModal(mainWindow, 0) != XDialog::kOK)
        return;
    for (int32_t band = 0; band < kBands; ++band)
        if (XParam* gain = InputParam(input, kGainId + band))
            gain->ChangeValue(0, true);
    // Flattening an input also bypasses its high-pass filter.
    if (XParam* hpfBypass = InputParam(input, kHpfBypassId))
        hpfBypass->ChangeValue(1, true);
}
