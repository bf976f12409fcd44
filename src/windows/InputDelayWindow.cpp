#include "windows/InputDelayWindow.h"

#include "core/FloatParam.h"
#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/DelayUnits.h"
#include "device/InputChansLinked.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/QM7DelayGraph.h"
#include "widgets/XComboBox.h"
#include "widgets/XSlider.h"
#include "windows/CompareOverlay.h"
#include "windows/DelaySliderStyle.h"
#include "windows/DelayUnitControls.h"
#include "windows/DistanceMirrors.h"
#include "windows/EditorWindows.h"
#include "windows/InputParameterLinkWindow.h"
#include "windows/LocalParamDesc.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);

constexpr const char* kUnitsPath = "global\\InDelayUnits";
constexpr const char* kTemperaturePath = "global\\temp";
constexpr const char* kTempUnitsPath = "global\\TempUnits";
constexpr const char* kConfigPath = "preset\\currentconfig";

/** Input B's name, field and bypass stand this far right of input A's; its slider this far lower. */
constexpr int32_t kInputBShift = 390;
constexpr int32_t kSliderPitch = 169;

/** Local first ids by distance unit, and the distance unit of each delay-field unit (1..5). */
constexpr int32_t kFirstIds[DistanceMirrors::kUnitCount] = {
    InputDelayWindow::kCmId, InputDelayWindow::kMtrId, InputDelayWindow::kInchId, InputDelayWindow::kFtId,
    InputDelayWindow::kMicroSecId};
constexpr int32_t kFieldMirror[InputDelayWindow::kUnitCount] = {-1,
                                                                DistanceMirrors::kMicroseconds,
                                                                DistanceMirrors::kFeet,
                                                                DistanceMirrors::kInches,
                                                                DistanceMirrors::kMetres,
                                                                DistanceMirrors::kCentimetres};

InputDelayWindow* liveWindow = nullptr;

bool DistanceVeto(XParam* param, double* value, int32_t unit, int32_t phase)
{
    constexpr int32_t kChangePhase = 1;
    if (phase != kChangePhase)
        return true;
    if (liveWindow == nullptr || param == nullptr || value == nullptr)
        return false;
    return liveWindow->ApplyDistanceEntry(param, value, unit);
}

constexpr DistanceMirrors::Exts kDistanceExts = DistanceMirrors::MakeExts(&DistanceVeto);

std::vector<XParamDesc> LocalRows()
{
    auto row = [](const char* name, double min, double max, uint32_t steps, int32_t id, int32_t unit)
    {
        constexpr int32_t kPlain = 0;
        XParamDesc desc = LocalParamDesc(name, kPlain, min, max, 0, steps, id);
        desc.ext = &kDistanceExts[static_cast<size_t>(unit)];
        return desc;
    };
    std::vector<XParamDesc> rows{
        row("delayCmIn[2]", -8000, 30000, 38001, InputDelayWindow::kCmId, DistanceMirrors::kCentimetres),
        row("delayMtrIn[2]", -80, 300, 38001, InputDelayWindow::kMtrId, DistanceMirrors::kMetres),
        row("delayInchIn[2]", -3600, 14000, 17601, InputDelayWindow::kInchId, DistanceMirrors::kInches),
        row("delayFtIn[2]", -300, 1200, 150001, InputDelayWindow::kFtId, DistanceMirrors::kFeet),
        row("delayMicroSecIn[2]", -200000, 700000, 45001, InputDelayWindow::kMicroSecId,
            DistanceMirrors::kMicroseconds),
    };
    XParamDesc end;
    end.Init();
    rows.push_back(end);
    return rows;
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

// Shared parameters -----------------------------------------------------------------------------------

int32_t InputDelayWindow::LinkStateFor(bool inputsLinked, bool delayLinked)
{
    if (inputsLinked)
        return kLinkStateInputsLinked;
    return delayLinked ? kLinkStateDelayLinked : kLinkStateUnlinked;
}

FloatParam& InputDelayWindow::GetDelayLinkFlag()
{
    static FloatParam flag(LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 0, 2));
    return flag;
}

FloatParam& InputDelayWindow::GetLinkState()
{
    static FloatParam state(LocalParamDesc(nullptr, XParamDesc::kTypeInteger, 0, 2, 0, 3));
    return state;
}

// Construction ----------------------------------------------------------------------------------------

InputDelayWindow::InputDelayWindow() : InputDelayWindow({GetInputChannel(0), GetInputChannel(1)}) {}

InputDelayWindow::InputDelayWindow(const std::array<XParamGroup*, kInputCount>& inputGroups)
    : SubWindow("Input Delay", "InputDelay\\InputDelayBG.png", EditorWindows::kInputDelayParamId),
      inputs(inputGroups)
{
    liveWindow = this;
    const std::vector<XParamDesc> rows = LocalRows();
    localGroup.AddParams(rows.data(), "InputDelay");

    for (int32_t a = 0; a < kInputCount; ++a)
        if (XParam* delay = GetInputParam(a, kDelayTimeId))
            delay->AddWatcher(this, kDelayKey + a, true);
    if (XParam* temperature = Find(kTemperaturePath))
        temperature->AddWatcher(this, kTemperatureKey, true);
    if (XParam* units = Find(kUnitsPath))
        units->AddWatcher(this, kUnitsKey, true);
    if (XParam* config = Find(kConfigPath))
        config->AddWatcher(this, kConfigKey, true);
    GetDelayLinkFlag();
    GetLinkState();
}

InputDelayWindow::~InputDelayWindow()
{
    XParam::ForgetWatcher(this);
    if (liveWindow == this)
        liveWindow = nullptr;
}

XParam* InputDelayWindow::GetInputParam(int32_t input, int32_t id) const
{
    if (input < 0 || input >= kInputCount || inputs[static_cast<size_t>(input)] == nullptr)
        return nullptr;
    return inputs[static_cast<size_t>(input)]->GetParam(id);
}

XParam* InputDelayWindow::GetLocalParam(int32_t id) const
{
    return id >= 0 && id < kLocalCount ? localGroup.GetParam(id) : nullptr;
}

XSlider* InputDelayWindow::GetSlider(int32_t input) const
{
    return input >= 0 && input < kInputCount ? sliders[static_cast<size_t>(input)] : nullptr;
}

XComboBox* InputDelayWindow::GetDelayBox(int32_t input, int32_t unit) const
{
    if (input < 0 || input >= kInputCount || unit < 0 || unit >= kUnitCount)
        return nullptr;
    return delayBoxes[static_cast<size_t>(input)][static_cast<size_t>(unit)];
}

XButton* InputDelayWindow::GetBypassButton(int32_t input) const
{
    return input >= 0 && input < kInputCount ? bypassButtons[static_cast<size_t>(input)] : nullptr;
}

XButton* InputDelayWindow::GetLinkButton(int32_t state) const
{
    return state >= 0 && state < static_cast<int32_t>(linkButtons.size())
               ? linkButtons[static_cast<size_t>(state)]
               : nullptr;
}

// Content ---------------------------------------------------------------------------------------------

void InputDelayWindow::BuildContent()
{
    sliderStyle = std::make_unique<DelaySliderStyle>();
    BuildLinkControls();

    // The scale lies under the knobs' centres: a 46-pixel knob on the 643-pixel track travels 597
    // pixels, centre from column 23 (-200 ms) to 620 (700 ms); at 597 pixels per 900 ms delay 0
    // falls on column 156, with no further offset.
    graph = new QM7DelayGraph(XRect(145, 53, 788, 418), 156, Find(kUnitsPath));
    graph->SetScale(597, 900.0);
    AddChild(graph);
    for (int32_t a = 0; a < kInputCount; ++a)
        BuildInputControls(a);
    for (const char* path : {kUnitsPath, kTempUnitsPath})
        if (XParam* param = Find(path))
            param->Notify(kValueSet);

    compareCover = CompareOverlay::Add(*this);
}

void InputDelayWindow::BuildLinkControls()
{
    XParam* linkWindowParam = GetAppServices().GetParam(kLinkWindowParamId);
    linkWindow = new InputParameterLinkWindow(InputParameterLinkWindow::kInputDelayRegion, linkWindowParam,
                                              &GetDelayLinkFlag());
    AddChild(linkWindow);

    AddDelayUnitControls(*this, Find(kUnitsPath), Find(kTempUnitsPath), 562);

    // One of three buttons at one place, each opening the linking window.
    XParam* inputsLinked = Find(InputChansLinked::kPath);
    struct LinkButton
    {
        int32_t state;
        const char* off;
        const char* on;
    };
    static constexpr LinkButton kButtons[] = {
        {kLinkStateInputsLinked, "buttons\\inputsLinkedLit.png", "buttons\\inputsLinkedLit.png"},
        {kLinkStateDelayLinked, "buttons\\InputDelayLink.png", "buttons\\InputDelayLinkDim.png"},
        {kLinkStateUnlinked, "buttons\\InputDelayUnlink.png", "buttons\\InputDelayUnlinkdim.png"},
    };
    for (const LinkButton& spec : kButtons)
    {
        auto* button = new XButton(XRect(240, 17, 240, 17), linkWindowParam, spec.off, spec.on);
        if (spec.state == kLinkStateInputsLinked)
        {
            if (inputsLinked != nullptr)
                button->SetShowParam(inputsLinked, 1);
        }
        else
        {
            button->SetShowParam(&GetLinkState(), spec.state);
        }
        AddChild(button);
        linkButtons[static_cast<size_t>(spec.state)] = button;
    }
    GetLinkState().Notify(kValueSet);
    if (inputsLinked != nullptr)
    {
        inputsLinked->Notify(kValueSet);
        inputsLinked->AddWatcher(this, kInputsLinkedKey, true);
    }
    GetDelayLinkFlag().AddWatcher(this, kLinkFlagKey, true);
    if (linkWindowParam != nullptr)
        linkWindowParam->AddWatcher(this, kLinkWindowKey, true);
}

void InputDelayWindow::BuildInputControls(int32_t a)
{
    static constexpr const char* kKnobs[kInputCount] = {"InputDelay\\SpeakerOrange.png",
                                                        "InputDelay\\SpeakerCyan.png"};
    static constexpr const char* kNames[kInputCount] = {"Input A", "Input B"};
    const int32_t top = 140 + a * kSliderPitch;
    const int32_t shift = a * kInputBShift;

    auto* slider = new XSlider(XRect(145, top, 788, top + 54), nullptr, true,
                               "InputDelay\\SliderTrackSingle.png", kKnobs[a]);
    slider->SetPot(GetInputParam(a, kDelayTimeId));
    slider->SetStyle(sliderStyle.get());
    AddChild(slider);
    sliders[static_cast<size_t>(a)] = slider;

    AddChild(new XText(XRect(167 + shift, 424, 269 + shift, 447), kNames[a], Colour("windowText"),
                       Font("dialogLabel"), kJustifyLeft));

    XParam* units = Find(kUnitsPath);
    for (int32_t unit = 0; unit < kUnitCount; ++unit)
    {
        const int32_t mirror = kFieldMirror[unit];
        XParam* param = mirror < 0 ? GetInputParam(a, kDelayTimeId) : GetLocalParam(kFirstIds[mirror] + a);
        auto* box = new XComboBox(XRect(153 + shift, 478, 269 + shift, 503), param,
                                  "widget\\TextFieldLarge.png", "widget\\SpinnerLarge.png",
                                  "widget\\SpinnerLargeUp.png", "widget\\SpinnerLargeDown.png");
        box->SetFont(Font(unit == 0 ? "small" : "medium"));
        box->SetBackColor(Colour("widgetBack"));
        box->SetTextColor(Colour("widgetText"));
        if (units != nullptr)
            box->SetShowParam(units, unit);
        AddChild(box);
        WidenDelayFieldToSpinner(*box);
        delayBoxes[static_cast<size_t>(a)][static_cast<size_t>(unit)] = box;
    }

    auto* bypass = new XButton(XRect(279 + shift, 482, 279 + shift, 482), GetInputParam(a, kDelayBypassId),
                               "buttons\\bypassDim.png", "buttons\\bypassLit.png");
    AddChild(bypass);
    bypassButtons[static_cast<size_t>(a)] = bypass;
}

// Reactions -------------------------------------------------------------------------------------------

void InputDelayWindow::UpdateDistanceParams(XParam* source, int32_t input, double ms)
{
    for (int32_t unit = 0; unit < DistanceMirrors::kUnitCount; ++unit)
    {
        XParam* mirror = GetLocalParam(kFirstIds[unit] + input);
        if (mirror != nullptr && mirror != source && mirror != mirrorInEntry)
            mirror->SetValue(DistanceMirrors::FromMs(unit, ms), true);
    }
}

bool InputDelayWindow::SetInputDelayFromDistance(XParam* source, int32_t input, double ms)
{
    XParam* delay = GetInputParam(input, kDelayTimeId);
    if (delay == nullptr || !std::isfinite(ms))
        return false;
    // A delay that would stay as it is (also after clamping) refuses the entry.
    const double before = delay->GetValue();
    if (std::clamp(ms, delay->GetMin(), delay->GetMax()) == before)
        return false;
    // The entry's own mirror keeps what was typed: the delay's notifications leave it alone.
    mirrorInEntry = source;
    delay->ChangeValue(ms, true);
    const bool changed = delay->GetValue() != before;
    if (changed)
    {
        delay->Notify(kValueSet);
        UpdateDistanceParams(source, input, delay->GetValue());
    }
    mirrorInEntry = nullptr;
    return changed;
}

bool InputDelayWindow::ApplyDistanceEntry(XParam* mirror, double* value, int32_t unit)
{
    if (!DistanceMirrors::IsUnit(unit) || GetLocalParam(mirror->GetId()) != mirror)
        return false;
    const int32_t input = mirror->GetId() - kFirstIds[unit];
    if (input < 0 || input >= kInputCount)
        return false;
    const double ms = DistanceMirrors::ToMs(unit, *value);
    if (!SetInputDelayFromDistance(mirror, input, ms))
        return false;
    // The delay's range clamped the entry: the field shows the distance of the delay that was set.
    const XParam* delay = GetInputParam(input, kDelayTimeId);
    if (ms < delay->GetMin() || ms > delay->GetMax())
        *value = DistanceMirrors::FromMs(unit, delay->GetValue());
    return true;
}

void InputDelayWindow::UpdateLinkState()
{
    const XParam* inputsLinked = Find(InputChansLinked::kPath);
    const bool whole = inputsLinked != nullptr && inputsLinked->GetValue() == 1.0;
    const bool delay = GetDelayLinkFlag().GetValue() == 1.0;
    GetLinkState().ChangeValue(LinkStateFor(whole, delay), true);
}

void InputDelayWindow::RecomputeDelaysFromDistances()
{
    for (int32_t a = 0; a < kInputCount; ++a)
        DistanceMirrors::SetDelayFromMetres(GetInputParam(a, kDelayTimeId), GetLocalParam(kMtrId + a));
}

void InputDelayWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && XMsgCode::IsValueChange(code))
    {
        if (key == kInputsLinkedKey || key == kLinkFlagKey)
        {
            UpdateLinkState();
        }
        else if (key == kLinkWindowKey)
        {
            if (linkWindow != nullptr && param->GetValue() == 1.0)
                linkWindow->Show();
            else if (linkWindow != nullptr)
                linkWindow->Hide();
        }
        else if (key == kTemperatureKey && code == kChangedByUser)
        {
            // Only the user's temperature moves the delays (the distances stay).
            RecomputeDelaysFromDistances();
        }
        else if (key == kTemperatureKey)
        {
            // A temperature from the unit keeps the delays the unit sent with it: the distances follow.
            for (int32_t a = 0; a < kInputCount; ++a)
                if (XParam* delay = GetInputParam(a, kDelayTimeId))
                    UpdateDistanceParams(nullptr, a, delay->GetValue());
        }
        else if (key == kUnitsKey)
        {
            for (int32_t a = 0; a < kInputCount; ++a)
                if (XParam* delay = GetInputParam(a, kDelayTimeId))
                    delay->Notify(kValueSet);
        }
        else if (const int32_t a = key - kDelayKey; a >= 0 && a < kInputCount)
        {
            UpdateDistanceParams(nullptr, a, param->GetValue());
        }
    }
    else if (param != nullptr &&
             (code == static_cast<int32_t>(XMsgCode::kParamFlagsChanged) || code == kRefresh))
    {
        if (const int32_t a = key - kDelayKey; a >= 0 && a < kInputCount)
        {
            for (int32_t first : kFirstIds)
                DistanceMirrors::TakeFlags(GetLocalParam(first + a), param);
        }
    }
    SubWindow::ParamChanged(code, param, key);
}
