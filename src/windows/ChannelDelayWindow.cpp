#include "windows/ChannelDelayWindow.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelParamTables.h"
#include "device/DelayUnits.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/QM7DelayGraph.h"
#include "widgets/XComboBox.h"
#include "widgets/XSlider.h"
#include "windows/CompareOverlay.h"
#include "windows/DelayPanel.h"
#include "windows/DelaySliderStyle.h"
#include "windows/DelayTotals.h"
#include "windows/DelayUnitControls.h"
#include "windows/DistanceMirrors.h"
#include "windows/EditorWindows.h"
#include "windows/LocalParamDesc.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);

constexpr const char* kUnitsPath = "global\\OutDelayUnits";
constexpr const char* kTemperaturePath = "global\\temp";
constexpr const char* kTempUnitsPath = "global\\TempUnits";
constexpr const char* kConfigPath = "preset\\currentconfig";
constexpr const char* kColourFormat = "preset\\ColorChan%d";
constexpr int32_t kLabelId = ChannelParamTables::kOutputLabelId;

constexpr int32_t kRowPitch = 56;

/** The distance mirrors' units, in the order of their id rows. */
constexpr int32_t kCentimetres = DistanceMirrors::kCentimetres;
constexpr int32_t kDistanceUnitCount = DistanceMirrors::kUnitCount;
/** The first local id of each distance unit's row. */
constexpr int32_t kDistanceFirstIds[kDistanceUnitCount] = {
    ChannelDelayWindow::kCmId, ChannelDelayWindow::kMtId, ChannelDelayWindow::kInId,
    ChannelDelayWindow::kFtId, ChannelDelayWindow::kMicrosecId};

ChannelDelayWindow* liveWindow = nullptr;

bool DistanceVeto(XParam* param, double* value, int32_t user, int32_t phase)
{
    constexpr int32_t kChangePhase = 1;
    if (phase != kChangePhase)
        return true;
    if (liveWindow != nullptr && param != nullptr && value != nullptr)
        liveWindow->ApplyDistanceEntry(param, *value, user);
    return false;
}

double TotalDelayValueMap(XParam*, double, int32_t output)
{
    return GetTotalOutputDelay(output);
}

XString TotalDelayText(XParam*, double value, int32_t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", value);
    return XString(text);
}

constexpr DistanceMirrors::Exts kDistanceExts = DistanceMirrors::MakeExts(&DistanceVeto);

std::vector<XParamDesc> LocalRows()
{
    auto row = [](const char* name, int32_t type, double min, double max, uint32_t steps, int32_t id,
                  const XParamDescExt* ext)
    {
        XParamDesc desc = LocalParamDesc(name, type, min, max, 0, steps, id);
        desc.ext = ext;
        return desc;
    };
    constexpr int32_t kPlain = 0;
    std::vector<XParamDesc> rows{
        row("delayCmCh[6]", kPlain, -8000, 30000, 38001, ChannelDelayWindow::kCmId,
            &kDistanceExts[DistanceMirrors::kCentimetres]),
        row("delayMtCh[6]", kPlain, -80, 300, 38001, ChannelDelayWindow::kMtId,
            &kDistanceExts[DistanceMirrors::kMetres]),
        row("delayInCh[6]", kPlain, -3600, 14000, 17601, ChannelDelayWindow::kInId,
            &kDistanceExts[DistanceMirrors::kInches]),
        row("delayFtCh[6]", kPlain, -300, 1200, 150001, ChannelDelayWindow::kFtId,
            &kDistanceExts[DistanceMirrors::kFeet]),
        row("delayMicrosecCh[6]", kPlain, -200000, 680000, 44001, ChannelDelayWindow::kMicrosecId,
            &kDistanceExts[DistanceMirrors::kMicroseconds]),
        row("kTotalDelayOutput[6]", XParamDesc::kTypeMilliseconds, 0, 900, 150001,
            ChannelDelayWindow::kTotalId, nullptr),
    };
    XParamDesc end;
    end.Init();
    rows.push_back(end);
    return rows;
}

/** index 0..count-1 of a key of a family (base + index); -1 otherwise. */
int32_t FamilyIndex(int32_t key, int32_t base, int32_t count)
{
    const int32_t index = key - base;
    return index >= 0 && index < count ? index : -1;
}

XParam* Find(const char* path)
{
    return FindParam("%s", path);
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

bool SetOutputDelayFromDistance(XParam*, int32_t output, double ms)
{
    XParam* delay = GetOutputDelayParam(output);
    if (delay == nullptr)
        return false;
    if (delay->ChangeValue(ms, false))
        delay->Notify(kValueSet);
    return false;
}

bool ChannelDelayWindow::IsCheckShown(int32_t config, int32_t check)
{
    static constexpr bool kShown[7][kCheckCount] = {
        {false, false, false, false, false}, {false, true, false, false, true},
        {true, true, true, false, true},     {true, true, true, true, false},
        {true, true, true, true, true},      {true, true, false, false, true},
        {true, false, true, false, true},
    };
    if (config < 0 || config >= 7 || check < 0 || check >= kCheckCount)
        return false;
    return kShown[config][check];
}

ChannelDelayWindow::ChannelDelayWindow()
    : SubWindow("Output Delay", "OutputDelay\\OutputDelayBg.png", EditorWindows::kOutputDelayParamId)
{
    liveWindow = this;
    for (auto& param : linkParams)
        param = std::make_unique<FloatParam>(
            LocalParamDesc(nullptr, XParamDesc::kTypeMilliseconds, -200, 680, 0, 44001));
    for (auto& param : checkParams)
        param = std::make_unique<FloatParam>(LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2));
    const std::vector<XParamDesc> rows = LocalRows();
    localGroup.AddParams(rows.data(), "OutputDelay");

    for (auto& check : checkParams)
        check->AddWatcher(this, kCheckKey, false);
    for (int32_t g = 0; g < kGroupCount; ++g)
    {
        linkParams[static_cast<size_t>(g)]->AddWatcher(this, kLinkKey + g, false);
        groups[static_cast<size_t>(g)].SetLinkParam(linkParams[static_cast<size_t>(g)].get());
    }
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* total = GetLocalParam(kTotalId + i))
        {
            total->SetValueMapCallback(&TotalDelayValueMap, i);
            total->SetTextCallback(&TotalDelayText, 0);
        }

    if (XParam* temperature = Find(kTemperaturePath))
        temperature->AddWatcher(this, kTemperatureKey, true);
    if (XParam* tempUnits = Find(kTempUnitsPath))
        tempUnits->AddWatcher(this, kTempUnitsKey, true);
    if (XParam* units = Find(kUnitsPath))
        units->AddWatcher(this, kUnitsKey, true);
    if (XParam* config = Find(kConfigPath))
        config->AddWatcher(this, kConfigKey, false);
    for (int32_t i = 0; i < kOutputCount; ++i)
        for (int32_t id : {DelayTotals::kAlignmentTimeId, DelayTotals::kAlignmentBypassId})
            if (XParam* param = GetOutputParamById(i, id))
                param->AddWatcher(this, kAlignKey + i, false);
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        if (XParam* delay = GetOutputDelayParam(i))
            delay->AddWatcher(this, kDelayKey + i, false);
        if (XParam* bypass = GetOutputParamById(i, DelayTotals::kDelayBypassId))
            bypass->AddWatcher(this, kBypassKey + i, false);
    }
}

ChannelDelayWindow::~ChannelDelayWindow()
{
    XParam::ForgetWatcher(this);
    if (liveWindow == this)
        liveWindow = nullptr;
}

XParam* ChannelDelayWindow::GetLocalParam(int32_t id) const
{
    return id >= kCmId && id < kTotalId + kOutputCount ? localGroup.GetParam(id) : nullptr;
}

FloatParam* ChannelDelayWindow::GetCheckParam(int32_t check) const
{
    return check >= 0 && check < kCheckCount ? checkParams[static_cast<size_t>(check)].get() : nullptr;
}

FloatParam* ChannelDelayWindow::GetLinkParam(int32_t group) const
{
    return group >= 0 && group < kGroupCount ? linkParams[static_cast<size_t>(group)].get() : nullptr;
}

XSlider* ChannelDelayWindow::GetOutputSlider(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? sliders[static_cast<size_t>(output)] : nullptr;
}

XButton* ChannelDelayWindow::GetCheckBox(int32_t check) const
{
    return check >= 0 && check < kCheckCount ? checkBoxes[static_cast<size_t>(check)] : nullptr;
}

XPict* ChannelDelayWindow::GetCheckLine(int32_t check) const
{
    return check >= 0 && check < kCheckCount ? checkLines[static_cast<size_t>(check)] : nullptr;
}

DelayPanel* ChannelDelayWindow::GetPanel(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? panels[static_cast<size_t>(output)] : nullptr;
}

// Content ---------------------------------------------------------------------------------------------

void ChannelDelayWindow::BuildContent()
{
    ShowWaitCursor();
    sliderStyle = std::make_unique<DelaySliderStyle>();

    XParam* units = Find(kUnitsPath);
    AddDelayUnitControls(*this, units, Find(kTempUnitsPath), 542);
    AddOutputLabels();
    AddCheckBoxes();

    // The scale lies under the knobs' centres: a 46-pixel knob on the 515-pixel track travels 469
    // pixels, centre from column 23 (-200 ms) to 492 (680 ms); at 469 pixels per 880 ms delay 0
    // falls on column 130, with no further offset.
    graph = new QM7DelayGraph(XRect(145, 53, 660, 418), 130, units);
    graph->SetScale(469, 880.0);
    AddChild(graph);

    AddOutputSliders();
    AddLinkGroupViews();
    AddTotalFields();
    AddDelayPanels();
    compareCover = CompareOverlay::Add(*this);

    for (auto& group : groups)
        group.UpdateLayout();
    UpdateCheckVisibility();
    UpdateSpeakerColours();
    for (const char* path : {kUnitsPath, kTempUnitsPath})
        if (XParam* param = Find(path))
            param->Notify(kValueSet);
    HideWaitCursor();
}

void ChannelDelayWindow::AddOutputLabels()
{
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        const int32_t top = 99 + (kOutputCount - 1 - i) * kRowPitch;
        AddChild(new XText(XRect(16, top, 140, top + 16), GetOutputParamById(i, kLabelId),
                           Colour("windowText"), Font("smallbold"), kJustifyLeft));
    }
}

void ChannelDelayWindow::AddCheckBoxes()
{
    // All connecting lines first, so that no line covers a box.
    for (int32_t k = kCheckCount - 1; k >= 0; --k)
    {
        const int32_t top = 128 + (kCheckCount - 1 - k) * kRowPitch;
        auto* line =
            new XPict(XRect(75, top - 15, 75, top - 15), nullptr, "OutputDelay\\checkConnectLines.png", true);
        AddChild(line);
        checkLines[static_cast<size_t>(k)] = line;
    }
    for (int32_t k = kCheckCount - 1; k >= 0; --k)
    {
        const int32_t top = 128 + (kCheckCount - 1 - k) * kRowPitch;
        auto* box = new XButton(XRect(71, top, 71, top), checkParams[static_cast<size_t>(k)].get(),
                                "widget\\CheckboxUnchecked.png", "widget\\CheckboxChecked.png");
        AddChild(box);
        checkBoxes[static_cast<size_t>(k)] = box;
    }
}

void ChannelDelayWindow::AddOutputSliders()
{
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        const int32_t top = 84 + (kOutputCount - 1 - i) * kRowPitch;
        auto* slider = new XSlider(XRect(145, top, 660, top + 52), nullptr, true,
                                   "OutputDelay\\sliderTrackSingle.png", "OutputDelay\\SpeakerRed.png");
        slider->SetPot(GetOutputDelayParam(i));
        slider->SetStyle(sliderStyle.get());
        AddChild(slider);
        sliders[static_cast<size_t>(i)] = slider;
    }
}

void ChannelDelayWindow::AddLinkGroupViews()
{
    for (int32_t g = 0; g < kGroupCount; ++g)
    {
        auto* slider =
            new XSlider(DelayLinkGroup::kSliderBase, nullptr, true, nullptr, DelayLinkGroup::KnobImage(2));
        slider->SetPot(linkParams[static_cast<size_t>(g)].get());
        slider->SetStyle(sliderStyle.get());
        AddChild(slider);
        slider->Hide();
        auto* panel = new XPict(DelayLinkGroup::kPanelBase, nullptr, DelayLinkGroup::KnobImage(2), false);
        AddChild(panel);
        panel->Hide();
        groups[static_cast<size_t>(g)].SetViews(slider, panel);
    }
}

void ChannelDelayWindow::AddTotalFields()
{
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        const int32_t top = 94 + (kOutputCount - 1 - i) * kRowPitch;
        AddChild(
            new XPict(XRect(683, top, 772, top + 22), nullptr, "widget\\TextFieldMediumDisabled.png", false));
        auto* text = new XText(XRect(683, top, 772, top + 22), GetLocalParam(kTotalId + i),
                               Colour("widgetText"), Font("small"), kJustifyCentred);
        text->SetTransparent(true);
        AddChild(text);
    }
}

void ChannelDelayWindow::AddDelayPanels()
{
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        const int32_t left = 14 + i * 129;
        auto* panel = new DelayPanel(i);
        panel->SetFrame(XRect(left, 419, left + 127, 554));
        AddChild(panel);
        panels[static_cast<size_t>(i)] = panel;
    }
}

// Reactions -------------------------------------------------------------------------------------------

void ChannelDelayWindow::ResetCheckParams()
{
    if (!IsContentBuilt())
        return;
    for (int32_t k = kCheckCount - 1; k >= 0; --k)
    {
        FloatParam& check = *checkParams[static_cast<size_t>(k)];
        check.SetValue(check.GetDefault(), false);
        check.Notify(kValueSet);
    }
}

void ChannelDelayWindow::UpdateDistanceParams(XParam* source, int32_t output, double ms)
{
    for (int32_t unit = 0; unit < kDistanceUnitCount; ++unit)
    {
        XParam* mirror = GetLocalParam(kDistanceFirstIds[unit] + output);
        if (mirror == nullptr || mirror == source)
            continue;
        if (mirror->SetValue(DistanceMirrors::FromMs(unit, ms), true) && unit == kCentimetres)
            mirror->Notify(kValueSet);
    }
    if (XParam* total = GetLocalParam(kTotalId + output))
        total->Notify(kValueSet);
}

void ChannelDelayWindow::ApplyDistanceEntry(XParam* mirror, double value, int32_t unit)
{
    if (unit < 0 || unit >= kDistanceUnitCount || GetLocalParam(mirror->GetId()) != mirror)
        return;
    const int32_t output = mirror->GetId() % kOutputCount;
    XParam* delay = GetOutputDelayParam(output);
    if (delay == nullptr)
        return;
    const double before = delay->GetValue();
    SetOutputDelayFromDistance(mirror, output, DistanceMirrors::ToMs(unit, value));
    // A delay that stays (an entry clamped to the limit already set) sends no notification: the
    // field still shows the distance of the delay, not what was typed.
    if (delay->GetValue() == before)
        mirror->Notify(kValueSet);
}

void ChannelDelayWindow::RebuildLinkGroups()
{
    if (rebuilding)
        return;
    rebuilding = true;
    // A check beside a locked delay is cleared first; its notification does not come back here.
    for (int32_t k = kCheckCount - 1; k >= 0; --k)
    {
        FloatParam& check = *checkParams[static_cast<size_t>(k)];
        if (check.GetValue() <= 0.0)
            continue;
        XParam* lower = GetOutputDelayParam(k);
        XParam* upper = GetOutputDelayParam(k + 1);
        if ((lower != nullptr && (lower->GetFlags() & kLockFlag) != 0) ||
            (upper != nullptr && (upper->GetFlags() & kLockFlag) != 0))
            check.SetValue(0.0, true);
    }
    for (auto& group : groups)
        group.Clear();
    // Runs of ticked checks from the top fill groups 0, 1, 2.
    int32_t g = 0;
    bool inRun = false;
    for (int32_t k = kCheckCount - 1; k >= 0; --k)
    {
        const bool on = checkParams[static_cast<size_t>(k)]->GetValue() > 0.0;
        if (on && g < kGroupCount)
        {
            groups[static_cast<size_t>(g)].Add(k);
            groups[static_cast<size_t>(g)].Add(k + 1);
        }
        if (!inRun && on)
            inRun = true;
        else if (inRun && !on)
        {
            inRun = false;
            ++g;
        }
    }
    rebuilding = false;
    for (auto& group : groups)
        group.UpdateLayout();
}

void ChannelDelayWindow::UpdateSpeakerColours()
{
    static constexpr const char* kSpeakers[] = {
        "OutputDelay\\Speakerred.png",   "OutputDelay\\Speakeryellow.png",
        "OutputDelay\\Speakerblue.png",  "OutputDelay\\Speakermagenta.png",
        "OutputDelay\\Speakergreen.png", "OutputDelay\\Speakerpurple.png"};
    if (!IsContentBuilt() && sliders[0] == nullptr)
        return;
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        XSlider* slider = sliders[static_cast<size_t>(i)];
        if (slider == nullptr)
            continue;
        int32_t colour = 0;
        if (XParam* index = FindParam(kColourFormat, i + 1))
            colour = static_cast<int32_t>(index->GetValue());
        slider->SetKnobImage(kSpeakers[std::clamp(colour, 0, kOutputCount - 1)]);
        slider->Invalidate();
    }
}

void ChannelDelayWindow::UpdateCheckVisibility()
{
    XParam* config = Find(kConfigPath);
    const int32_t value = config != nullptr ? static_cast<int32_t>(config->GetValue()) : 0;
    for (int32_t k = 0; k < kCheckCount; ++k)
    {
        const bool shown = IsCheckShown(value, k);
        for (XView* view : {static_cast<XView*>(checkBoxes[static_cast<size_t>(k)]),
                            static_cast<XView*>(checkLines[static_cast<size_t>(k)])})
        {
            if (view == nullptr)
                continue;
            if (shown)
                view->Show();
            else
                view->Hide();
        }
    }
}

void ChannelDelayWindow::ClearChecksBeside(int32_t output)
{
    for (int32_t k : {output - 1, output})
        if (FloatParam* check = GetCheckParam(k))
            check->SetValue(0.0, true);
}

void ChannelDelayWindow::NotifyTotals()
{
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* total = GetLocalParam(kTotalId + i))
            total->Notify(kValueSet);
}

void ChannelDelayWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && XMsgCode::IsValueChange(code))
        ValueChanged(code, param, key);
    else if (param != nullptr &&
             (code == static_cast<int32_t>(XMsgCode::kParamFlagsChanged) || code == kRefresh))
        FlagsChanged(param, key);
    SubWindow::ParamChanged(code, param, key);
}

void ChannelDelayWindow::ValueChanged(int32_t code, XParam* param, int32_t key)
{
    if (const int32_t i = FamilyIndex(key, kAlignKey, kOutputCount); i >= 0)
    {
        if (XParam* total = GetLocalParam(kTotalId + i))
            total->Notify(kValueSet);
    }
    else if (key == kCheckKey)
    {
        RebuildLinkGroups();
    }
    else if (key == kConfigKey)
    {
        UpdateSpeakerColours();
        UpdateCheckVisibility();
    }
    else if (const int32_t b = FamilyIndex(key, kBypassKey, kOutputCount); b >= 0)
    {
        for (auto& group : groups)
            group.SyncBypass(b);
        NotifyTotals();
    }
    else if (const int32_t d = FamilyIndex(key, kDelayKey, kOutputCount); d >= 0)
    {
        const double ms = param->GetValue();
        for (auto& group : groups)
            group.FollowMemberDelay(d, ms);
        UpdateDistanceParams(nullptr, d, ms);
        NotifyTotals();
    }
    else if (key == kUnitsKey)
    {
        for (int32_t o = 0; o < kOutputCount; ++o)
            if (XParam* delay = GetOutputDelayParam(o))
                delay->Notify(kValueSet);
    }
    else if (const int32_t g = FamilyIndex(key, kLinkKey, kGroupCount); g >= 0)
    {
        groups[static_cast<size_t>(g)].ApplyLinkDelay();
    }
    else if (key == kTemperatureKey)
    {
        // Only the user's temperature moves the delays (the distances stay); one that arrives from
        // the unit keeps the delays the unit sent with it, and the distances follow them instead.
        if (code == kChangedByUser)
            SetDelaysFromMetres();
        else
            SetDistancesFromDelays();
    }
    else if (key == kTempUnitsKey)
    {
        // Always as a value set: a user change (1000001) of the temperature would move the delays.
        if (XParam* temperature = Find(kTemperaturePath))
            temperature->Notify(kValueSet);
    }
}

void ChannelDelayWindow::SetDelaysFromMetres()
{
    for (int32_t o = 0; o < kOutputCount; ++o)
        DistanceMirrors::SetDelayFromMetres(GetOutputDelayParam(o), GetLocalParam(kMtId + o));
}

void ChannelDelayWindow::SetDistancesFromDelays()
{
    for (int32_t o = 0; o < kOutputCount; ++o)
        if (XParam* delay = GetOutputDelayParam(o))
            UpdateDistanceParams(nullptr, o, delay->GetValue());
}

void ChannelDelayWindow::FlagsChanged(XParam* param, int32_t key)
{
    const int32_t d = FamilyIndex(key, kDelayKey, kOutputCount);
    if (d < 0 || (param->GetFlags() & kLockFlag) == 0)
        return;
    // A locked delay leaves its link groups, and its distances take its flags (so its lock).
    ClearChecksBeside(d);
    for (int32_t first : kDistanceFirstIds)
        DistanceMirrors::TakeFlags(GetLocalParam(first + d), param);
}
