#include "windows/MasterGraphicEqWindow.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamCallbacks.h"
#include "device/IDeviceRequests.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "platform/PlatformClock.h"
#include "widgets/XEQView.h"
#include "widgets/XEQViewBg.h"
#include "windows/DelaySliderStyle.h"
#include "windows/EditorWindows.h"
#include "windows/GEQFilterPanel.h"
#include "windows/InputParameterLinkWindow.h"
#include "windows/LocalParamDesc.h"

#include <cmath>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kInputs = MasterGraphicEqWindow::kInputCount;
constexpr int32_t kGraphicBands = MasterGraphicEqWindow::kGraphicBandCount;
constexpr int32_t kPeqBands = MasterGraphicEqWindow::kParametricBandCount;
constexpr int32_t kLinkedByConfig = 2;
constexpr int32_t kLinkedByUser = 1;

// Frames in the window's content (left, top, right, bottom; a point alone: the picture's size).
const XRect kGraphFrame(38, 54, 778, 366);
constexpr int32_t kLabelBandTop = 9;
constexpr int32_t kLabelBandBottom = 25;
constexpr int32_t kStripLeft = 39;
constexpr int32_t kStripPitch = 24;
constexpr int32_t kStripTop = 430;
constexpr int32_t kStripBottom = 656;
const XRect kLinkButtonAt(274, 14, 274, 14);
const XRect kTabBarAt(13, 38, 13, 38);
const XRect kTabFrames[kInputs] = {XRect(20, 16, 135, 41), XRect(140, 16, 255, 41)};
const XRect kRangeButtonAt(13, 51, 13, 51);
const XRect kEqOnFrame(560, 9, 676, 37);
const XRect kEqFlatFrame(676, 9, 792, 37);
const XRect kShowPeqFrame(444, 9, 560, 37);

constexpr const char* kInputsLinkedImage = "buttons\\inputsLinkedLit.png";
constexpr const char* kLinkImage = "buttons\\InputGEQLink.png";
constexpr const char* kLinkLitImage = "buttons\\InputGEQLinkDim.png";
constexpr const char* kUnlinkImage = "buttons\\InputGEQUnlink.png";
constexpr const char* kUnlinkLitImage = "buttons\\InputGEQUnlinkdim.png";
constexpr const char* kTabBarImages[kInputs] = {"InputParametricEq\\InputTabBarOrange.png",
                                                "InputParametricEq\\InputEqTabBarCyan.png"};
constexpr const char* kTabDimImage = "InputParametricEq\\InputEqTabGrey.png";
constexpr const char* kTabLitImages[kInputs] = {"InputParametricEq\\InputEqTabOrange.png",
                                                "InputParametricEq\\InputEqTabCyan.png"};
constexpr const char* kTabLabels[kInputs] = {"INPUT A", "INPUT B"};
const XRect kTabLabelRect(0, 1, 115, 25);
constexpr const char* kInputColourNames[kInputs] = {"inputA", "inputB"};

const XRGB kCoverColor{178, 178, 178, 255};
constexpr int32_t kCoverJustification = 8;

// Brightness of the views' colours, in percent.
constexpr double kBallPercent = 80.0;
constexpr double kDraggedPercent = 150.0;
constexpr double kOffPercent = 50.0;
constexpr double kOtherOnPercent = 80.0;
constexpr double kOtherOffPercent = 20.0;

/** The channel frequencies' text: "20 Hz", "1.25 kHz". */
const XParamDescExt kFrequencyExt = []
{
    XParamDescExt ext;
    ext.textCallback = FrequencyText;
    return ext;
}();

XParam* InputParam(int32_t input, int32_t id)
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

bool IsOn(const XParam* bypass)
{
    return bypass == nullptr || bypass->GetValue() == 0.0;
}

XRGB InputColour(int32_t input)
{
    return GetColorDictionary().GetColor(kInputColourNames[input == 0 ? 0 : 1]);
}

/** The index added to a family key, or -1 when key is not of the family. */
int32_t IndexInFamily(int32_t key, int32_t familyKey, int32_t count)
{
    const int32_t index = key - familyKey;
    return index >= 0 && index < count ? index : -1;
}

/** The program's parameters of the window, made on first use and kept for the run. */
struct SharedParams
{
    SharedParams()
    {
        const XParamDesc frequency = []
        {
            XParamDesc desc = LocalParamDesc(nullptr, XParamDesc::kTypeFrequency, 20, 20000, 20, 256);
            desc.ext = &kFrequencyExt;
            return desc;
        }();
        for (int32_t band = 0; band < kGraphicBands; ++band)
        {
            frequencies[band].SetDesc(&frequency);
            frequencies[band].SetValue(MasterGraphicEqWindow::IsoFrequencies()[band], false);
        }
        const XParamDesc q = LocalParamDesc(nullptr, 0, MasterGraphicEqWindow::kFlatQ,
                                            MasterGraphicEqWindow::kMaxQ, MasterGraphicEqWindow::kFlatQ, 1);
        for (auto& input : qs)
            for (FloatParam& band : input)
                band.SetDesc(&q);
        const XParamDesc onOff = LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2);
        showPeq.SetDesc(&onOff);
        geqLinked.SetDesc(&onOff);
        const XParamDesc state = LocalParamDesc(nullptr, XParamDesc::kTypeInteger, 0, 2, 0, 3);
        linkState.SetDesc(&state);
    }

    std::array<FloatParam, kGraphicBands> frequencies;
    std::array<std::array<FloatParam, kGraphicBands>, kInputs> qs;
    FloatParam showPeq;
    FloatParam geqLinked;
    FloatParam linkState;
};

SharedParams& Shared()
{
    static SharedParams shared;
    return shared;
}
} // namespace

const XRGB MasterGraphicEqWindow::kActiveColor{42, 43, 45, 255};
const XRGB MasterGraphicEqWindow::kInactiveColor{227, 227, 228, 255};

const std::array<double, MasterGraphicEqWindow::kGraphicBandCount>& MasterGraphicEqWindow::IsoFrequencies()
{
    static const std::array<double, kGraphicBandCount> frequencies = {
        20,  25,   31.5, 40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
        800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};
    return frequencies;
}

FloatParam* MasterGraphicEqWindow::BandFrequency(int32_t band)
{
    return band >= 0 && band < kGraphicBands ? &Shared().frequencies[band] : nullptr;
}

FloatParam* MasterGraphicEqWindow::BandQ(int32_t input, int32_t band)
{
    if (input < 0 || input >= kInputs || band < 0 || band >= kGraphicBands)
        return nullptr;
    return &Shared().qs[input][band];
}

FloatParam& MasterGraphicEqWindow::ShowPeq()
{
    return Shared().showPeq;
}

FloatParam& MasterGraphicEqWindow::GeqLinked()
{
    return Shared().geqLinked;
}

FloatParam& MasterGraphicEqWindow::LinkState()
{
    return Shared().linkState;
}

double MasterGraphicEqWindow::PeqDrawFlagValueMap(XParam* /*param*/, double stored, int32_t input)
{
    if (ShowPeq().GetValue() == 0.0)
        return 1.0;
    const XParam* allBypass = InputParam(input, kPeqAllBypassId);
    if (allBypass != nullptr && allBypass->GetValue() > 0.0)
        return 1.0;
    return stored;
}

// Construction -----------------------------------------------------------------------------------

MasterGraphicEqWindow::MasterGraphicEqWindow()
    : SubWindow(kTitle, kBackground, EditorWindows::kInputGeqParamId)
{
    const XParamDesc type = LocalParamDesc(nullptr, XParamDesc::kTypeInteger, 0, 2, kPeakingType, 3);
    bandType.SetDesc(&type);
    const XParamDesc range = LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2);
    dbRange.SetDesc(&range);
    Shared(); // the band frequencies and Qs exist from here on

    if (XParam* config = FindParam("%s", kConfigPath))
        config->AddWatcher(this, kConfigKey, true);
    const XParamDesc channel = LocalParamDesc("CurActiveChannel", XParamDesc::kTypeInteger, 0, 1, 0, 2);
    curActiveChannel.SetDesc(&channel);
    curActiveChannel.AddWatcher(this, kChannelKey, true);

    // The draw flags take their range and value map before the bypasses they mirror tell them.
    const XParamDesc flag = LocalParamDesc(nullptr, XParamDesc::kTypeInteger, 0, 1, 0, 2);
    for (int32_t input = 0; input < kInputs; ++input)
        for (FloatParam& drawFlag : drawFlags[input])
        {
            drawFlag.SetDesc(&flag);
            drawFlag.SetValueMapCallback(&PeqDrawFlagValueMap, input);
        }
    for (int32_t input = 0; input < kInputs; ++input)
    {
        if (XParam* allBypass = InputParam(input, kPeqAllBypassId))
            allBypass->AddWatcher(this, kPeqAllBypassKey + input, true);
        for (int32_t band = 0; band < kPeqBands; ++band)
            if (XParam* bypass = InputParam(input, kPeqBypassId + band))
                bypass->AddWatcher(this, kPeqBypassKey + kPeqBands * input + band, true);
        for (int32_t band = 0; band < kGraphicBands; ++band)
            if (XParam* gain = InputParam(input, kGeqGainId + band))
                gain->AddWatcher(this, kGainKey + kGraphicBands * input + band, true);
    }

    ShowPeq().AddWatcher(this, kShowPeqKey, true);
    dbRange.AddWatcher(this, kRangeKey, true);
}

MasterGraphicEqWindow::~MasterGraphicEqWindow()
{
    XParam::ForgetWatcher(this);
}

FloatParam* MasterGraphicEqWindow::GetDrawFlag(int32_t input, int32_t band)
{
    if (input < 0 || input >= kInputs || band < 0 || band >= kDrawFlagCount)
        return nullptr;
    return &drawFlags[input][band];
}

XEQView* MasterGraphicEqWindow::GetEqView(int32_t input) const
{
    return input >= 0 && input < kInputs ? views[input] : nullptr;
}

GEQFilterPanel* MasterGraphicEqWindow::GetPanel(int32_t input, int32_t band) const
{
    if (input < 0 || input >= kInputs || band < 0 || band >= kGraphicBands)
        return nullptr;
    return panels[input][band];
}

XButton* MasterGraphicEqWindow::GetTab(int32_t input) const
{
    return input >= 0 && input < kInputs ? tabs[input] : nullptr;
}

XButton* MasterGraphicEqWindow::GetEqOnButton(int32_t input) const
{
    return input >= 0 && input < kInputs ? eqOnButtons[input] : nullptr;
}

void MasterGraphicEqWindow::SelectChannel(unsigned channel)
{
    if (channel < static_cast<unsigned>(kInputs))
        curActiveChannel.ChangeValue(static_cast<double>(channel), true);
}

// Content ----------------------------------------------------------------------------------------

void MasterGraphicEqWindow::BuildContent()
{
    ShowWaitCursor();
    BuildLinkControls();
    BuildTabs();

    faderStyle = std::make_unique<DelaySliderStyle>();
    for (int32_t input = 0; input < kInputs; ++input)
        for (int32_t band = 0; band < kGraphicBands; ++band)
        {
            auto* panel = new GEQFilterPanel(input, band);
            const int32_t left = kStripLeft + kStripPitch * band;
            panel->SetFrame(XRect(left, kStripTop, left + GEQFilterPanel::kWidth, kStripBottom));
            panel->SetShowParam(&curActiveChannel, input);
            AddChild(panel);
            if (GEQFader* fader = panel->GetFader())
                fader->SetStyle(faderStyle.get());
            panels[input][band] = panel;
        }

    auto* background = new XEQViewBg(kGraphFrame);
    background->SetLabelBand(kGraphFrame.bottom + kLabelBandTop, kGraphFrame.bottom + kLabelBandBottom);
    AddChild(background);
    for (int32_t input = kInputs - 1; input >= 0; --input)
        BuildEqView(input);

    BuildButtons();
    BuildCompareCovers();
    WatchAfterBuild();
    HideWaitCursor();
}

void MasterGraphicEqWindow::BuildLinkControls()
{
    XParam* linkWindowParam = GetAppServices().GetParam(kLinkWindowParamId);
    linkWindow = new InputParameterLinkWindow(InputParameterLinkWindow::kInputGeqRegion, linkWindowParam,
                                              &GeqLinked());
    AddChild(linkWindow);

    auto* linked = new XButton(kLinkButtonAt, linkWindowParam, kInputsLinkedImage, kInputsLinkedImage);
    if (XParam* inputsLinked = FindParam("%s", kInputsLinkedPath))
        linked->SetShowParam(inputsLinked, 1);
    AddChild(linked);
    auto* link = new XButton(kLinkButtonAt, linkWindowParam, kLinkImage, kLinkLitImage);
    link->SetShowParam(&LinkState(), kLinkedByUser);
    AddChild(link);
    auto* unlink = new XButton(kLinkButtonAt, linkWindowParam, kUnlinkImage, kUnlinkLitImage);
    unlink->SetShowParam(&LinkState(), 0);
    AddChild(unlink);
}

void MasterGraphicEqWindow::BuildTabs()
{
    for (int32_t input = 0; input < kInputs; ++input)
    {
        auto* bar = new XPict(kTabBarAt, nullptr, kTabBarImages[input], true);
        bar->SetShowParam(&curActiveChannel, input);
        AddChild(bar);
    }
    for (int32_t input = 0; input < kInputs; ++input)
    {
        auto* tab = new XButton(kTabFrames[input], &curActiveChannel, kTabDimImage, kTabLitImages[input]);
        tab->SetLabel(XString(kTabLabels[input]), false);
        tab->SetLabelRect(kTabLabelRect);
        tab->SetFont(XFont::GetNamedFont("smallbold", false));
        tab->SetNormalTextColor(kInactiveColor);
        tab->SetLitTextColor(kActiveColor);
        tab->SetMatchValue(static_cast<float>(input));
        AddChild(tab);
        tabs[input] = tab;
    }
}

void MasterGraphicEqWindow::BuildEqView(int32_t input)
{
    const XRGB colour = InputColour(0);
    auto* view = new XEQView(kGraphFrame);
    view->SetNumBands(kViewBandCount);
    view->BindEnableParam(InputParam(input, kGeqAllBypassId));
    view->SetEnablePolarity(0); // on while the bypass is 0
    view->SetBallColor(XRGB::Scaled(colour, kBallPercent));
    view->SetCurveColor(colour);
    view->SetDraggedCurveColor(XRGB::Scaled(colour, kDraggedPercent));
    view->SetBallRadius(0);
    view->SetLineWidth(activeLineWidth);
    view->SetBandOnMode(1);
    view->SetDisplayRange(dbRange.GetValue() != 0.0 ? kNarrowRangeDb : kWideRangeDb);
    view->SetTransparent(true);

    for (int32_t band = 0; band < kPeqBands; ++band)
    {
        view->BindBandParam(XEQView::kBandGain, InputParam(input, kPeqGainId + band), band);
        view->BindBandParam(XEQView::kBandFrequency, InputParam(input, kPeqFreqId + band), band);
        view->BindBandParam(XEQView::kBandQ, InputParam(input, kPeqQId + band), band);
        view->BindBandParam(XEQView::kBandType, FindParam(kDrawTypeFormat, 'A' + input, band + 1), band);
        view->BindBandParam(XEQView::kBandOn, &drawFlags[input][band], band);
    }
    for (int32_t band = 0; band < kGraphicBands; ++band)
    {
        const int32_t slot = kPeqBands + band;
        view->BindBandParam(XEQView::kBandGain, InputParam(input, kGeqGainId + band), slot);
        view->BindBandParam(XEQView::kBandFrequency, BandFrequency(band), slot);
        view->BindBandParam(XEQView::kBandQ, BandQ(input, band), slot);
        view->BindBandParam(XEQView::kBandType, &bandType, slot);
        view->BindBandParam(XEQView::kBandOn, InputParam(input, kGeqBypassId + band), slot);
    }
    AddChild(view);
    views[input] = view;
}

void MasterGraphicEqWindow::BuildButtons()
{
    rangeButton = new XButton(kRangeButtonAt, &dbRange, "buttons\\btnEqRange24Large.png",
                              "buttons\\btnEqRange12Large.png");
    rangeButton->SetTooltipText("dB range toggle");
    XView::EnableTooltips(true);
    AddChild(rangeButton);

    for (int32_t input = kInputs - 1; input >= 0; --input)
    {
        auto* button = new XButton(kEqOnFrame, InputParam(input, kGeqAllBypassId),
                                   "InputParametricEq\\eqOnLit.png", "InputParametricEq\\EqOffDim.png");
        button->SetShowParam(&curActiveChannel, input);
        AddChild(button);
        eqOnButtons[input] = button;
    }

    eqFlatButton =
        new XButton(kEqFlatFrame, nullptr, "InputParametricEq\\eqFlat.png", "InputParametricEq\\eqFlat.png");
    eqFlatButton->GetClickedSignal().Connect([this] { OnEqFlat(); });
    AddChild(eqFlatButton);

    showPeqButton = new XButton(kShowPeqFrame, &ShowPeq(), "InputParametricEq\\showPEQUp.png",
                                "InputParametricEq\\showPEQDown.png");
    AddChild(showPeqButton);
}

void MasterGraphicEqWindow::BuildCompareCovers()
{
    XView* content = GetContentView();
    const int32_t right = content != nullptr ? content->GetWidth() : GetWidth();
    const int32_t bottom = content != nullptr ? content->GetHeight() : GetHeight();
    XParam* compareLock = FindParam("%s", kCompareLockPath);
    // Together they cover the window: the buttons and tabs, the graph, the faders.
    for (const XRect& frame :
         {XRect(1, 1, right, kGraphFrame.top), XRect(1, kGraphFrame.top, right, kStripTop),
          XRect(1, kStripTop, right, bottom)})
    {
        auto* cover = new XText(frame, " ", kCoverColor, XFont::GetNamedFont("dialogLabel", false),
                                kCoverJustification);
        cover->SetTransparentWithColor(true, kCoverColor);
        cover->SetTooltipText("Compare Mode");
        if (compareLock != nullptr)
            cover->SetShowParam(compareLock, 0);
        AddChild(cover);
    }
}

void MasterGraphicEqWindow::WatchAfterBuild()
{
    XParam* inputsLinked = FindParam("%s", kInputsLinkedPath);
    LinkState().Notify(kValueSet);
    if (inputsLinked != nullptr)
        inputsLinked->Notify(kValueSet);
    ShowPeq().Notify(kValueSet);
    if (XParam* compareLock = FindParam("%s", kCompareLockPath))
        compareLock->Notify(kValueSet);

    if (inputsLinked != nullptr)
        inputsLinked->AddWatcher(this, kInputsLinkedKey, true);
    GeqLinked().AddWatcher(this, kLinkFlagKey, true);
    GetAppServices().GetParam(kLinkWindowParamId)->AddWatcher(this, kLinkWindowKey, true);
    for (int32_t input = 0; input < kInputs; ++input)
        if (XParam* allBypass = InputParam(input, kGeqAllBypassId))
            allBypass->AddWatcher(this, input == 0 ? kEnableAKey : kEnableBKey, true);
    curActiveChannel.Notify(kValueSet);
}

// Changes ----------------------------------------------------------------------------------------

void MasterGraphicEqWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (XMsgCode::IsValueChange(code))
    {
        int32_t index = -1;
        if (key == kInputsLinkedKey || key == kLinkFlagKey)
        {
            UpdateLinkState();
        }
        else if (key == kLinkWindowKey)
        {
            if (linkWindow != nullptr)
            {
                if (param != nullptr && param->GetValue() == 1.0)
                    linkWindow->Show();
                else
                    linkWindow->Hide();
            }
        }
        else if (param == nullptr)
        {
            // Every other key needs its parameter.
        }
        else if (key == kChannelKey)
        {
            ShowActiveChannel(static_cast<int32_t>(param->GetValue()));
        }
        else if (key == kRangeKey)
        {
            ApplyDisplayRange();
        }
        else if ((index = IndexInFamily(key, kGainKey, kInputs * kGraphicBands)) >= 0)
        {
            SetBandQ(index / kGraphicBands, index % kGraphicBands, param);
        }
        else if (key == kEnableAKey || key == kEnableBKey)
        {
            ShowInputEnabled(key == kEnableAKey ? 0 : 1, param->GetValue() == 0.0);
        }
        else if ((index = IndexInFamily(key, kPeqBypassKey, kInputs * kPeqBands)) >= 0)
        {
            drawFlags[index / kPeqBands][index % kPeqBands].ChangeValue(param->GetValue(), true);
        }
        else if ((index = IndexInFamily(key, kPeqAllBypassKey, kInputs)) >= 0)
        {
            for (FloatParam& flag : drawFlags[index])
                flag.Notify(kValueSet);
        }
        else if (key == kShowPeqKey)
        {
            for (XEQView* view : views)
                if (view != nullptr)
                    view->InvalidateAllBands();
            for (int32_t input = 0; input < kInputs; ++input)
            {
                if (XParam* allBypass = InputParam(input, kPeqAllBypassId))
                    allBypass->Notify(kValueSet);
                for (int32_t band = 0; band < kPeqBands; ++band)
                    if (XParam* bypass = InputParam(input, kPeqBypassId + band))
                        bypass->Notify(kValueSet);
            }
        }
    }
    SubWindow::ParamChanged(code, param, key);
}

void MasterGraphicEqWindow::UpdateLinkState()
{
    const XParam* inputsLinked = FindParam("%s", kInputsLinkedPath);
    int32_t state = 0;
    if (inputsLinked != nullptr && inputsLinked->GetValue() == 1.0)
        state = kLinkedByConfig;
    else if (GeqLinked().GetValue() == 1.0)
        state = kLinkedByUser;
    LinkState().ChangeValue(state, true);
}

void MasterGraphicEqWindow::ApplyDisplayRange()
{
    const double range = dbRange.GetValue() != 0.0 ? kNarrowRangeDb : kWideRangeDb;
    for (XEQView* view : views)
        if (view != nullptr)
            view->SetDisplayRange(range);
}

void MasterGraphicEqWindow::SetBandQ(int32_t input, int32_t band, const XParam* gain)
{
    if (FloatParam* q = BandQ(input, band))
        q->SetValue(std::fabs(gain->GetValue()) * kQPerDb + kFlatQ, true);
}

void MasterGraphicEqWindow::ShowInputEnabled(int32_t input, bool on)
{
    XEQView* view = GetEqView(input);
    if (view == nullptr)
        return;
    const XRGB colour = InputColour(input);
    view->SetLineWidth(on ? activeLineWidth : inactiveLineWidth);
    view->SetCurveColor(on ? colour : XRGB::Scaled(colour, kOffPercent));
    view->SetHilite(on);
}

void MasterGraphicEqWindow::ShowActiveChannel(int32_t active)
{
    if (active < 0 || active >= kInputs)
        return;
    const int32_t other = 1 - active;
    XEQView* activeView = views[active];
    XEQView* otherView = views[other];
    if (activeView != nullptr)
        activeView->SetMarkingColor(activeColor);
    if (otherView != nullptr)
        otherView->SetMarkingColor(inactiveColor);
    if (activeView == nullptr || otherView == nullptr)
        return;

    const bool activeOn = IsOn(InputParam(active, kGeqAllBypassId));
    const bool otherOn = IsOn(InputParam(other, kGeqAllBypassId));
    otherView->SetLineWidth(inactiveLineWidth);
    otherView->SetCurveColor(XRGB::Scaled(InputColour(other), otherOn ? kOtherOnPercent : kOtherOffPercent));
    activeView->SetLineWidth(activeOn ? activeLineWidth : inactiveLineWidth);
    const XRGB colour = InputColour(active);
    activeView->SetCurveColor(activeOn ? colour : XRGB::Scaled(colour, kOffPercent));
    // In front of the other view, yet still under the compare covers built after both.
    otherView->toBehind(activeView);
}

// EQ Flat ----------------------------------------------------------------------------------------

void MasterGraphicEqWindow::OnEqFlat()
{
    const auto input = static_cast<int32_t>(curActiveChannel.GetValue());
    if (input < 0 || input >= kInputs)
        return;
    bool flat = true;
    for (int32_t band = 0; band < kGraphicBands && flat; ++band)
    {
        const XParam* gain = InputParam(input, kGeqGainId + band);
        flat = gain == nullptr || gain->GetValue() == 0.0;
    }
    if (flat)
        return;

    UpdateLinkState();
    const bool linked = LinkState().GetValue() != 0.0;
    IDeviceRequests& requests = GetDeviceRequests();
    const bool wasSending = requests.IsSendingEnabled();
    requests.SetSendingEnabled(false);

    XView* mainWindow = FindMainWindow();
    XOKCancelDialog dialog("EQ Flat", "Are you sure? All EQ settings will be lost.", mainWindow, nullptr,
                           "Yes", "No");
    if (dialog.RunModal(mainWindow, 0) == XDialog::kOK)
        for (int32_t band = 0; band < kGraphicBands; ++band)
            FlattenBand(input, band, linked);

    requests.SetSendingEnabled(wasSending);
}

void MasterGraphicEqWindow::FlattenBand(int32_t input, int32_t band, bool toBothInputs)
{
    XParam* gain = InputParam(input, kGeqGainId + band);
    if (gain == nullptr)
        return;
    // Untracked, so that the periodic sender never sends it: it goes below, paced.
    const bool tracking = gain->IsChangeTracking();
    gain->SetChangeTracking(false);
    gain->ChangeValue(0, true);
    gain->SetChangeTracking(tracking);
    PlatformClock::Sleep(kFlatChangeWaitMs);

    IDeviceRequests& requests = GetDeviceRequests();
    if ((gain->GetFlags() & XParamDesc::kFlagCopiedToOtherInput) == 0 && !toBothInputs)
    {
        const int32_t wireId = requests.FindLiveWireId(gain);
        if (wireId >= 0)
            requests.SendParamValue(gain, wireId);
        PlatformClock::Sleep(kFlatSendWaitMs);
        return;
    }
    for (int32_t target = 0; target < kInputs; ++target)
    {
        XParam* copy = InputParam(target, kGeqGainId + band);
        if (copy != nullptr && copy != gain && copy->GetValue() != 0.0)
        {
            // The linking callback did not copy the change (Shift held): the unit gets 0 for both
            // inputs, so the editor shows 0 for both too, untracked as the band itself.
            const bool copyTracking = copy->IsChangeTracking();
            copy->SetChangeTracking(false);
            copy->SetValue(0, true);
            copy->SetChangeTracking(copyTracking);
        }
        if (copy != nullptr)
        {
            const int32_t wireId = requests.FindLiveWireId(copy);
            if (wireId >= 0)
                requests.SendParamValue(copy, wireId);
        }
        PlatformClock::Sleep(kFlatLinkedSendWaitMs);
    }
}
