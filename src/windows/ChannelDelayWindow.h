#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XParamGroup.h"
#include "windows/DelayLinkGroup.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>
#include <memory>

class DelayPanel;
class DelaySliderStyle;
class QM7DelayGraph;
class XButton;
class XPict;
class XSlider;
class XText;

/** The "Output Delay" window: per output a slider row (output 6 at the top) and a panel with the
    delay in the unit of "global\OutDelayUnits", the output's total delay, and five check boxes that
    link runs of adjacent outputs into at most three groups whose delays move together.

    The window keeps its own parameters ("OutputDelay\...", transient, never sent): per output the
    delay as a distance in cm, m, in, ft and us at the speed of sound of global\Temp (an entry sets
    the delay and is itself refused, so the field shows the distance recomputed from the delay), and
    the output's total delay (computed at each read). Only a temperature the user changes recomputes
    the delays from the metre distances; one that arrives from the unit keeps the delays, so that a
    bulk receive never sends stale delays back.

    One output delay window exists in the program (the mirrors' callbacks reach the live one); the
    application creates it hidden, and it builds its content on its first show. GUI thread only. */
class ChannelDelayWindow final : public SubWindow
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kGroupCount = 3;
    static constexpr int32_t kCheckCount = 5;
    /** Local ids: the first of each row of six, + output index. */
    static constexpr int32_t kCmId = 0;
    static constexpr int32_t kMtId = 6;
    static constexpr int32_t kInId = 12;
    static constexpr int32_t kFtId = 18;
    static constexpr int32_t kMicrosecId = 24;
    static constexpr int32_t kTotalId = 30;
    /** The delay's lock flag (front-panel lock). */
    static constexpr int32_t kLockFlag = 0x80;

    // Watcher keys.
    static constexpr int32_t kAlignKey = static_cast<int32_t>(FourCharCode("algn"));
    static constexpr int32_t kCheckKey = static_cast<int32_t>(FourCharCode("chk "));
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));
    static constexpr int32_t kBypassKey = static_cast<int32_t>(FourCharCode("dbp "));
    static constexpr int32_t kDelayKey = static_cast<int32_t>(FourCharCode("dtm "));
    static constexpr int32_t kUnitsKey = static_cast<int32_t>(FourCharCode("dunt"));
    static constexpr int32_t kLinkKey = static_cast<int32_t>(FourCharCode("link"));
    static constexpr int32_t kTemperatureKey = static_cast<int32_t>(FourCharCode("tpch"));
    static constexpr int32_t kTempUnitsKey = static_cast<int32_t>(FourCharCode("tunt"));

    /** Whether check k (0..4) is shown in configuration config (0..6); false outside the table. */
    static bool IsCheckShown(int32_t config, int32_t check);

    ChannelDelayWindow();
    ~ChannelDelayWindow() override;

    /** Once the content is built: clears the five checks from the top down (so the groups). */
    void ResetCheckParams();
    /** Sets the output's distances (all but source) from ms, then re-reads its total. */
    void UpdateDistanceParams(XParam* source, int32_t output, double ms);
    /** Clears the checks beside locked delays, then forms the groups from the runs still ticked. */
    void RebuildLinkGroups();
    /** Each output slider's knob shows the output's colour. */
    void UpdateSpeakerColours();
    /** From a distance's veto: the delay of the output the mirror stands for. */
    void ApplyDistanceEntry(XParam* mirror, double value, int32_t unit);

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "ChannelDelayWindow"; }

    /** A local parameter by id (0..35); null outside. */
    XParam* GetLocalParam(int32_t id) const;
    FloatParam* GetCheckParam(int32_t check) const;
    FloatParam* GetLinkParam(int32_t group) const;
    const DelayLinkGroup& GetLinkGroup(int32_t group) const { return groups[static_cast<size_t>(group)]; }
    XSlider* GetOutputSlider(int32_t output) const;
    XButton* GetCheckBox(int32_t check) const;
    XPict* GetCheckLine(int32_t check) const;
    DelayPanel* GetPanel(int32_t output) const;
    QM7DelayGraph* GetGraph() const { return graph; }
    /** The grey cover over the content in compare mode; null before the first show. */
    XText* GetCompareCover() const { return compareCover; }

protected:
    void BuildContent() override;

private:
    // BuildContent's steps, in the order the views stack.
    void AddOutputLabels();
    /** The connecting lines, then the check boxes above them. */
    void AddCheckBoxes();
    void AddOutputSliders();
    /** Each link group's slider and panel, hidden until the group forms. */
    void AddLinkGroupViews();
    /** Each output's total delay on its field picture. */
    void AddTotalFields();
    void AddDelayPanels();

    /** ParamChanged's reactions to a changed value, and to changed flags (a delay's lock). */
    void ValueChanged(int32_t code, XParam* param, int32_t key);
    void FlagsChanged(XParam* param, int32_t key);
    /** The user's temperature: each delay from its distance in metres at the new speed of sound. */
    void SetDelaysFromMetres();
    /** The unit's temperature: each output's distances from its delay. */
    void SetDistancesFromDelays();

    void UpdateCheckVisibility();
    void ClearChecksBeside(int32_t output);
    void NotifyTotals();

    XParamGroup localGroup;
    std::array<DelayLinkGroup, kGroupCount> groups;
    std::array<std::unique_ptr<FloatParam>, kGroupCount> linkParams;
    std::array<std::unique_ptr<FloatParam>, kCheckCount> checkParams;
    std::unique_ptr<DelaySliderStyle> sliderStyle;
    bool rebuilding = false;
    std::array<XSlider*, kOutputCount> sliders{};   // child views
    std::array<XButton*, kCheckCount> checkBoxes{}; // child views
    std::array<XPict*, kCheckCount> checkLines{};   // child views
    std::array<DelayPanel*, kOutputCount> panels{}; // child views
    QM7DelayGraph* graph = nullptr;                 // child view
    XText* compareCover = nullptr;                  // child view
};

/** Sets the output's delay to ms as a user change (clamped by the parameter) and notifies it when
    it changed; false when the delay is missing. Always false otherwise too: the distance that
    asked keeps its value only through the delay's notification. */
bool SetOutputDelayFromDistance(XParam* source, int32_t output, double ms);
