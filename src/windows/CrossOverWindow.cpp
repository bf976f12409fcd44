#include "windows/CrossOverWindow.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XProperty.h"
#include "core/XVariant.h"
#include "device/ChannelLinking.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XEQView.h"
#include "widgets/XEQViewBg.h"
#include "windows/DistanceMirrors.h"
#include "windows/EditorWindows.h"
#include "windows/LocalParamDesc.h"
#include "windows/OutputParamIds.h"
#include "windows/XOverPanel.h"

#include <cmath>
#include <vector>

namespace
{
using namespace OutputParamIds;

constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);

constexpr const char* kLockPath = "QM7\\lockUIForEditCompare";
constexpr const char* kListenModePath = "global\\ListenMode";
constexpr const char* kUsbActivePath = "QM7\\usbActive";
constexpr const char* kDelayUnitsPath = "global\\XOverDelayUnits";
constexpr const char* kTemperaturePath = "global\\temp";
constexpr const char* kCurrentConfigPath = "preset\\CurrentConfig";
constexpr const char* kColourFormat = "preset\\ColorChan%d";

const XRGB kCompareGrey(178, 178, 178, 255);
constexpr const char* kCompareModeTip = "Compare Mode";
constexpr int32_t kUpperCoverBottom = 562;
constexpr int32_t kLowerCoverTop = 600;
constexpr int32_t kJustifyTop = 8;

/** The strips: left of the first, their spacing, and their size. */
constexpr int32_t kPanelLeft = 13;
constexpr int32_t kPanelStep = 131;
constexpr int32_t kPanelTop = 229;
constexpr int32_t kPanelWidth = 129;
constexpr int32_t kPanelBottom = 595;

/** The mirrors' first ids by unit (the veto's user word). */
constexpr int32_t kMirrorUnitCount = DistanceMirrors::kUnitCount;
constexpr int32_t kMirrorFirstIds[kMirrorUnitCount] = {
    CrossOverWindow::kDelayCmId, CrossOverWindow::kDelayMtId, CrossOverWindow::kDelayInId,
    CrossOverWindow::kDelayFtId, CrossOverWindow::kDelayMicrosecId};

/** The window whose mirrors the veto callbacks serve. */
CrossOverWindow* liveWindow = nullptr;

bool DelayMirrorVeto(XParam* param, double* value, int32_t user, int32_t phase);

constexpr DistanceMirrors::Exts kMirrorExts = DistanceMirrors::MakeExts(&DelayMirrorVeto);

/** The crossover group's rows, each expanding to outputs 1..6, ended by an empty record. */
std::vector<XParamDesc> LocalRows()
{
    constexpr int32_t kNumber = 0;
    auto row = [](const char* name, int32_t type, double min, double max, double def, uint32_t steps,
                  int32_t id, const XParamDescExt* ext)
    {
        XParamDesc desc = LocalParamDesc(name, type, min, max, def, steps, id);
        desc.ext = ext;
        return desc;
    };
    std::vector<XParamDesc> rows{
        row("HPFTypeCh[6]", XParamDesc::kTypeInteger, 0, 28, 3, 29, CrossOverWindow::kHpfTypeId, nullptr),
        row("HPFQCh[6]", kNumber, 0.4, 20, 1, 197, CrossOverWindow::kHpfQId, nullptr),
        row("LPFTypeCh[6]", XParamDesc::kTypeInteger, 0, 28, 3, 29, CrossOverWindow::kLpfTypeId, nullptr),
        row("LPFQCh[6]", kNumber, 0.4, 20, 1, 197, CrossOverWindow::kLpfQId, nullptr),
        // Steps of 1 us, 0.1 cm, 0.01 m, 0.1 in and 0.01 ft for the spinners.
        row("delayMicrosecCh[6]", kNumber, -200000, 680000, 0, 880001, CrossOverWindow::kDelayMicrosecId,
            &kMirrorExts[DistanceMirrors::kMicroseconds]),
        row("delayCmCh[6]", kNumber, -800, 3000, 0, 38001, CrossOverWindow::kDelayCmId,
            &kMirrorExts[DistanceMirrors::kCentimetres]),
        row("delayMtCh[6]", kNumber, -80, 300, 0, 38001, CrossOverWindow::kDelayMtId,
            &kMirrorExts[DistanceMirrors::kMetres]),
        row("delayInCh[6]", kNumber, -3600, 14000, 0, 176001, CrossOverWindow::kDelayInId,
            &kMirrorExts[DistanceMirrors::kInches]),
        row("delayFtCh[6]", kNumber, -300, 1200, 0, 150001, CrossOverWindow::kDelayFtId,
            &kMirrorExts[DistanceMirrors::kFeet]),
    };
    XParamDesc end;
    end.Init();
    rows.push_back(end);
    return rows;
}

bool DelayMirrorVeto(XParam* param, double* value, int32_t user, int32_t phase)
{
    constexpr int32_t kChangePhase = 1;
    if (phase != kChangePhase)
        return true;
    if (liveWindow == nullptr || param == nullptr || value == nullptr)
        return false;
    return liveWindow->ApplyMirrorEntry(param, value, user);
}

bool IsFlagsOrRefresh(int32_t code)
{
    const auto what = static_cast<uint32_t>(code);
    return what == XMsgCode::kParamFlagsChanged || what == XMsgCode::kRefresh;
}

/** Output index 0..5 of a key of a per-output family (base + index); -1 when key is not one. */
int32_t FamilyIndex(int32_t key, int32_t base)
{
    const int32_t index = key - base;
    return index >= 0 && index < CrossOverWindow::kOutputCount ? index : -1;
}

void SetProperty(XEQView& view, const char* name, const XVariant& value)
{
    if (XProperty* property = view.FindProperty(name))
        property->SetFromVariant(value);
}
} // namespace

// Filter types ----------------------------------------------------------------------------------------

CrossOverWindow::CurveFilter CrossOverWindow::CurveFilterFor(int32_t unitCode, bool highPass)
{
    // Second-order sections with the Q that the 12 dB types carry, for codes 2..9.
    static constexpr double kSecondOrderQ[] = {0.5, 0.6, 0.7, 0.8, 1.0, 1.2, 1.5, 2.0};
    // High-pass view types of the named filters, codes 10..17; each low pass is one less.
    static constexpr int32_t kNamedHighPass[] = {16, 14, 18, 20, 22, 24, 26, 28};
    constexpr int32_t kLowShelf = 0;
    constexpr int32_t kFirstOrderHighPass = 8;
    constexpr int32_t kSecondOrderHighPass = 4;
    const int32_t lowPassShift = highPass ? 0 : 1;

    if (unitCode == 0)
        return {kLowShelf, 1.0};
    if (unitCode == 1)
        return {kFirstOrderHighPass - lowPassShift, 1.0};
    if (unitCode >= 2 && unitCode <= 9)
        return {kSecondOrderHighPass - lowPassShift, kSecondOrderQ[unitCode - 2]};
    if (unitCode >= 10 && unitCode <= 17)
        return {kNamedHighPass[unitCode - 10] - lowPassShift, 1.0};
    return {kSecondOrderHighPass - lowPassShift, 1.0};
}

// Construction ----------------------------------------------------------------------------------------

CrossOverWindow::CrossOverWindow()
    : SubWindow("Crossover", "xover\\CrossoverBg.png", EditorWindows::kCrossoverParamId),
      rangeToggleParam(LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2)),
      constantOn(LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 1, 2)),
      zeroGain(LocalParamDesc(nullptr, XParamDesc::kTypeGain, -15, 15, 0, 31))
{
    liveWindow = this;
    const std::vector<XParamDesc> rows = LocalRows();
    crossoverGroup.AddParams(rows.data(), "crossover");

    if (XParam* config = FindParam("%s", kCurrentConfigPath))
        config->AddWatcher(this, kConfigKey, true);
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* gain = OutputParam(i, kOutputGain))
            gain->AddWatcher(this, kGainKey + i, true);
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* type = OutputParam(i, kHipassTypeQ))
            type->AddWatcher(this, kHpfTypeKey + i, true);
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* type = OutputParam(i, kLopassTypeQ))
            type->AddWatcher(this, kLpfTypeKey + i, true);
    for (int32_t i = 0; i < kOutputCount; ++i)
        for (int32_t id : {kHipassFreq, kLopassFreq})
            if (XParam* frequency = OutputParam(i, id))
                frequency->AddWatcher(this, kFreqKey, true);
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* delay = OutputParam(i, kXoverDelayTime))
            delay->AddWatcher(this, kDelayKey + i, false);
    if (XParam* units = FindParam("%s", kDelayUnitsPath))
        units->AddWatcher(this, kDelayUnitsKey, false);

    constantOn.SetValue(1.0, false);
    zeroGain.SetValue(0.0, false);

    if (XParam* temperature = FindParam("%s", kTemperaturePath))
        temperature->AddWatcher(this, kTemperatureKey, true);

    // The lock follows the connection and the listen mode: either one re-notifies its watchers
    // (the compare covers of every window). Watching once, whatever windows came before.
    if (XParam* lock = FindParam("%s", kLockPath))
    {
        for (const char* path : {kListenModePath, kUsbActivePath})
        {
            if (XParam* source = FindParam("%s", path))
            {
                source->RemoveWatcher(lock);
                source->AddWatcher(lock, 0, true);
            }
        }
        lock->AddWatcher(this, kLockKey, true);
    }
}

CrossOverWindow::~CrossOverWindow()
{
    XParam::ForgetWatcher(this);
    if (liveWindow == this)
        liveWindow = nullptr;
}

XParam* CrossOverWindow::GetLocalParam(int32_t id) const
{
    return id >= kHpfTypeId && id <= kLastLocalId ? crossoverGroup.GetParam(id) : nullptr;
}

XEQView* CrossOverWindow::GetCurve(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? curves[static_cast<size_t>(output)] : nullptr;
}

XOverPanel* CrossOverWindow::GetPanel(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? panels[static_cast<size_t>(output)] : nullptr;
}

XText* CrossOverWindow::GetCompareCover(int32_t index) const
{
    return index >= 0 && index < static_cast<int32_t>(compareCovers.size())
               ? compareCovers[static_cast<size_t>(index)]
               : nullptr;
}

// Content ---------------------------------------------------------------------------------------------

void CrossOverWindow::BuildContent()
{
    ShowWaitCursor();
    AddOutputPanels();

    auto* background = new XEQViewBg(kGraphRect);
    background->OffsetLabelBand(-2);
    AddChild(background);
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        XEQView* curve = MakeCurve(i);
        AddChild(curve);
        curves[static_cast<size_t>(i)] = curve;
    }

    rangeToggle = new XButton(XRect(11, 7, 11, 7), &rangeToggleParam, "buttons\\btnEqRange24Medium.png",
                              "buttons\\btnEqRange12Medium.png");
    rangeToggle->SetTooltipText(XString("dB range toggle"));
    rangeToggle->GetClickedSignal().Connect([this] { ToggleDbRange(); });
    AddChild(rangeToggle);

    AddDelayUnitsMenu();
    UpdateCurveColours();
    AddCompareCovers();
    HideWaitCursor();
}

void CrossOverWindow::AddOutputPanels()
{
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        auto* panel = new XOverPanel(i + 1);
        const int32_t left = kPanelLeft + kPanelStep * i;
        panel->SetFrame(XRect(left, kPanelTop, left + kPanelWidth, kPanelBottom));
        AddChild(panel);
        panels[static_cast<size_t>(i)] = panel;
    }
}

XEQView* CrossOverWindow::MakeCurve(int32_t output)
{
    auto* curve = new XEQView(kGraphRect);
    curve->SetNumBands(2);
    curve->SetTransparent(true);
    SetProperty(*curve, "BallRadius", XVariant(static_cast<uint32_t>(0)));
    SetProperty(*curve, "LineWidth", XVariant(static_cast<uint32_t>(2)));
    curve->BindEnableParam(&constantOn);
    curve->SetHighlightSelectedBand(true);
    curve->BindOffsetParam(OutputParam(output, kOutputGain));
    curve->BindEnableParam(OutputParam(output, kOutputMute));
    curve->SetEnablePolarity(0);
    curve->SetDisplayRange(kInitialRange);
    const struct
    {
        int32_t frequencyId;
        int32_t qId;
        int32_t typeId;
    } sides[2] = {{kHipassFreq, kHpfQId, kHpfTypeId}, {kLopassFreq, kLpfQId, kLpfTypeId}};
    for (int32_t band = 0; band < 2; ++band)
    {
        curve->BindBandParam(XEQView::kBandGain, &zeroGain, band);
        curve->BindBandParam(XEQView::kBandFrequency, OutputParam(output, sides[band].frequencyId), band);
        curve->BindBandParam(XEQView::kBandQ, GetLocalParam(sides[band].qId + output), band);
        curve->BindBandParam(XEQView::kBandType, GetLocalParam(sides[band].typeId + output), band);
        curve->BindBandParam(XEQView::kBandOn, &constantOn, band);
    }
    return curve;
}

void CrossOverWindow::AddDelayUnitsMenu()
{
    XParam* units = FindParam("%s", kDelayUnitsPath);
    delayUnitsMenu = new XPopupMenu(XRect(660, 610, 789, 637), nullptr, nullptr);
    delayUnitsMenu->SetPot(units);
    delayUnitsMenu->SetLabelRect(XRect(1, 2, 102, 25));
    delayUnitsMenu->SetJustification(kJustifyLeft);
    const XRGB label = GetColorDictionary().GetColor("windowLabel");
    delayUnitsMenu->SetTextColors(label, label);
    delayUnitsMenu->SetArrowImage("widget\\DropDown.png", nullptr);
    delayUnitsMenu->SetTransparent(true);
    AddChild(delayUnitsMenu);
    if (units != nullptr)
        units->Notify(kValueSet);
}

void CrossOverWindow::AddCompareCovers()
{
    const int32_t right = getWidth();
    const int32_t bottom = getHeight();
    const XRect coverFrames[2] = {XRect(1, 1, right, kUpperCoverBottom),
                                  XRect(1, kLowerCoverTop, right, bottom)};
    const char* coverFonts[2] = {"dialogLabel", "medium"};
    const int32_t coverJustify[2] = {kJustifyTop, kJustifyLeft};
    XParam* lock = FindParam("%s", kLockPath);
    for (size_t c = 0; c < compareCovers.size(); ++c)
    {
        auto* cover = new XText(coverFrames[c], " ", kCompareGrey,
                                XFont::GetNamedFont(XString(coverFonts[c]), false), coverJustify[c]);
        cover->SetTransparentWithColor(true, kCompareGrey);
        if (lock != nullptr)
            cover->SetShowParam(lock, 0);
        cover->SetTooltipText(XString(kCompareModeTip));
        AddChild(cover);
        compareCovers[c] = cover;
    }
    if (lock != nullptr)
        lock->Notify(kValueSet);
}

// Reactions -------------------------------------------------------------------------------------------

void CrossOverWindow::SetCurveFilter(int32_t output, int32_t unitCode, bool highPass)
{
    const CurveFilter filter = CurveFilterFor(unitCode, highPass);
    if (XParam* type = GetLocalParam((highPass ? kHpfTypeId : kLpfTypeId) + output))
        type->ChangeValue(filter.viewType, true);
    if (XParam* q = GetLocalParam((highPass ? kHpfQId : kLpfQId) + output))
        q->ChangeValue(filter.q, true);
}

void CrossOverWindow::UpdateDelayMirrors(XParam* source, int32_t output, double ms)
{
    for (int32_t unit = 0; unit < kMirrorUnitCount; ++unit)
    {
        XParam* mirror = GetLocalParam(kMirrorFirstIds[unit] + output);
        if (mirror != nullptr && mirror != source && mirror != mirrorInEntry)
            mirror->SetValue(DistanceMirrors::FromMs(unit, ms), true);
    }
}

void CrossOverWindow::CopyToLinkedOutput(XParam* param)
{
    if (XParam* linked = LinkedOutputParam(param))
        linked->ChangeValue(param->GetValue(), true);
}

void CrossOverWindow::UpdateCurveColours()
{
    static constexpr const char* kColourNames[] = {"outputColor1", "outputColor2", "outputColor3",
                                                   "outputColor4", "outputColor5", "outputColor6"};
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        XEQView* curve = GetCurve(i);
        if (curve == nullptr)
            continue;
        int32_t colour = 0;
        if (XParam* index = FindParam(kColourFormat, i + 1))
            colour = TruncatedValue(index->GetValue());
        if (colour < 0 || colour >= kOutputCount)
            colour = 0;
        SetProperty(*curve, "EQCurveColor", XVariant(GetColorDictionary().GetColor(kColourNames[colour])));
        curve->Invalidate();
    }
}

void CrossOverWindow::ToggleDbRange()
{
    rangeFlag = !rangeFlag;
    for (XEQView* curve : curves)
        if (curve != nullptr)
            curve->SetDisplayRange(rangeFlag ? kWideRange : kNarrowRange);
}

bool CrossOverWindow::ApplyMirrorEntry(XParam* mirror, double* value, int32_t unit)
{
    if (unit < 0 || unit >= kMirrorUnitCount)
        return false;
    const int32_t output = mirror->GetId() - kMirrorFirstIds[unit];
    if (output < 0 || output >= kOutputCount || GetLocalParam(mirror->GetId()) != mirror)
        return false;
    XParam* delay = OutputParam(output, kXoverDelayTime);
    if (delay == nullptr)
        return false;
    // An entry that converts to the current delay (within rounding) changes nothing and is refused.
    const double ms = DistanceMirrors::ToMs(unit, *value);
    const double before = delay->GetValue();
    constexpr double kSameMs = 1e-9;
    if (std::abs(ms - before) <= kSameMs)
        return false;
    // The entry's own change of the delay leaves the edited mirror to the entry.
    mirrorInEntry = mirror;
    delay->SetValue(ms, true);
    mirrorInEntry = nullptr;
    const double set = delay->GetValue();
    if (set == before)
        return false;
    // The delay's range clamped the entry: the field shows what was set, not what was typed.
    if (std::abs(set - ms) > kSameMs)
        *value = DistanceMirrors::FromMs(unit, set);
    UpdateDelayMirrors(mirror, output, set);
    return true;
}

void CrossOverWindow::CopyDelayFlags(int32_t output)
{
    XParam* delay = OutputParam(output, kXoverDelayTime);
    if (delay == nullptr)
        return;
    for (int32_t unit = 0; unit < kMirrorUnitCount; ++unit)
    {
        if (XParam* mirror = GetLocalParam(kMirrorFirstIds[unit] + output))
        {
            mirror->SetFlags(delay->GetFlags());
            mirror->Notify(kRefresh);
        }
    }
}

void CrossOverWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && XMsgCode::IsValueChange(code))
    {
        if (const int32_t i = FamilyIndex(key, kHpfTypeKey); i >= 0)
        {
            SetCurveFilter(i, TruncatedValue(param->GetValue()), true);
            CopyToLinkedOutput(param);
        }
        else if (const int32_t j = FamilyIndex(key, kLpfTypeKey); j >= 0)
        {
            SetCurveFilter(j, TruncatedValue(param->GetValue()), false);
            CopyToLinkedOutput(param);
        }
        else if (key == kFreqKey)
        {
            CopyToLinkedOutput(param);
        }
        else if (key == kConfigKey)
        {
            UpdateCurveColours();
        }
        else if (const int32_t k = FamilyIndex(key, kDelayKey); k >= 0)
        {
            UpdateDelayMirrors(param, k, param->GetValue());
        }
        else if (key == kDelayUnitsKey)
        {
            for (int32_t o = 0; o < kOutputCount; ++o)
                if (XParam* delay = OutputParam(o, kXoverDelayTime))
                    delay->NotifyWatchers(kValueSet, this);
        }
        else if (key == kTemperatureKey)
        {
            for (int32_t o = 0; o < kOutputCount; ++o)
                if (XParam* delay = OutputParam(o, kXoverDelayTime))
                    UpdateDelayMirrors(delay, o, delay->GetValue());
        }
    }
    else if (param != nullptr && IsFlagsOrRefresh(code))
    {
        if (const int32_t k = FamilyIndex(key, kDelayKey); k >= 0)
            CopyDelayFlags(k);
    }
    SubWindow::ParamChanged(code, param, key);
}
