#pragma once

#include "core/XMessageCodes.h"
#include "core/XParamGroup.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>
#include <memory>

class DelaySliderStyle;
class FloatParam;
class InputParameterLinkWindow;
class QM7DelayGraph;
class XButton;
class XComboBox;
class XSlider;
class XText;

/** The "Input Delay" window: per input (A, B) a slider, a field with the delay in the unit of
    "global\InDelayUnits" and a bypass button, the temperature that sets the speed of sound, and the
    buttons that open the input linking window for the delay (one of three shows, after the link
    state: inputs linked as a whole, delay linked, not linked).

    The window keeps its own parameters ("InputDelay\...", transient, never sent): per input the
    delay as a distance in cm, m, in, ft and us. An entry in one sets the delay and keeps what was
    typed while the others show the delay converted; an entry that would leave the delay as it is
    is refused, and one that the delay's range clamps shows the distance of the delay that was set.
    Only a temperature the user changes recomputes the delays from the metre distances; one that
    arrives from the unit keeps the delays, so that a bulk receive never sends stale delays back.

    The input-delay link flag and the link state are one object each for the whole program. One input
    delay window is live at a time (the mirrors' veto reaches the last one made); the application
    creates it hidden, and it builds its content on its first show. GUI thread only. */
class InputDelayWindow final : public SubWindow
{
public:
    static constexpr int32_t kInputCount = 2;
    /** Local ids: the first of each pair, + input index (0 A, 1 B). */
    static constexpr int32_t kCmId = 0;
    static constexpr int32_t kMtrId = 2;
    static constexpr int32_t kInchId = 4;
    static constexpr int32_t kFtId = 6;
    static constexpr int32_t kMicroSecId = 8;
    static constexpr int32_t kLocalCount = 10;
    /** The input group's delay and bypass ids. */
    static constexpr int32_t kDelayTimeId = ChannelParamTables::kInputDelayId;
    static constexpr int32_t kDelayBypassId = ChannelParamTables::kInputDelayBypassId;
    /** Main group id of the input linking window for the delay ("WndLinkInputDelay"). */
    static constexpr int32_t kLinkWindowParamId = GlobalParamTables::kWndLinkInputDelayId;

    /** Link states: which link button shows. */
    static constexpr int32_t kLinkStateUnlinked = 0;
    static constexpr int32_t kLinkStateDelayLinked = 1;
    static constexpr int32_t kLinkStateInputsLinked = 2;

    // Watcher keys; the three-character ones have a high byte of 0.
    static constexpr int32_t kInputsLinkedKey = ('C' << 16) | ('F' << 8) | 'C';
    static constexpr int32_t kLinkFlagKey = ('M' << 16) | ('L' << 8) | 'K';
    static constexpr int32_t kLinkWindowKey = ('I' << 16) | ('n' << 8) | 'D';
    static constexpr int32_t kTemperatureKey = static_cast<int32_t>(FourCharCode("tpch"));
    static constexpr int32_t kUnitsKey = static_cast<int32_t>(FourCharCode("dunt"));
    static constexpr int32_t kDelayKey = static_cast<int32_t>(FourCharCode("dtm "));
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));

    /** 2 while the inputs are linked as a whole, else 1 while the delay is linked, else 0. */
    static int32_t LinkStateFor(bool inputsLinked, bool delayLinked);
    /** The input-delay link flag (on/off), which the input linking window sets. */
    static FloatParam& GetDelayLinkFlag();
    /** The link state (0..2). */
    static FloatParam& GetLinkState();

    /** The window of the two live inputs. */
    InputDelayWindow();
    /** The window of these two input groups (A, B; either may be null). */
    explicit InputDelayWindow(const std::array<XParamGroup*, kInputCount>& inputs);
    ~InputDelayWindow() override;

    /** Kept for the application's refresh after a document load or an edit-mode change: the window
        has nothing of its own to reset then. */
    void ResyncCheckParam() {}
    /** Sets the input's distances (all but source, and all but an entry's own) from ms. */
    void UpdateDistanceParams(XParam* source, int32_t input, double ms);
    /** Sets the input's delay to ms as a user change and the input's other distances from it;
        false (the entry that asked is refused) when the delay is missing or would not change,
        also after clamping to its range or a veto of its own. */
    bool SetInputDelayFromDistance(XParam* source, int32_t input, double ms);
    /** From a distance's veto: SetInputDelayFromDistance for *value in unit (a DistanceMirrors
        unit); when the delay's range clamped the entry, *value becomes the distance of the delay
        that was set. */
    bool ApplyDistanceEntry(XParam* mirror, double* value, int32_t unit);

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "InputDelayWindow"; }

    /** The input's delayTime (96) or delayBypass (97); null for a missing input or id. */
    XParam* GetInputParam(int32_t input, int32_t id) const;
    /** A local parameter by id (0..9); null outside. */
    XParam* GetLocalParam(int32_t id) const;

    // Views, null before the first show.
    XSlider* GetSlider(int32_t input) const;
    /** The input's value box of a unit (0 ms, 1 us, 2 ft, 3 in, 4 m, 5 cm). */
    XComboBox* GetDelayBox(int32_t input, int32_t unit) const;
    XButton* GetBypassButton(int32_t input) const;
    /** The button of a link state. */
    XButton* GetLinkButton(int32_t state) const;
    InputParameterLinkWindow* GetLinkWindow() const { return linkWindow; }
    QM7DelayGraph* GetGraph() const { return graph; }
    /** The grey cover over the content in compare mode; null before the first show. */
    XText* GetCompareCover() const { return compareCover; }

    static constexpr int32_t kUnitCount = 6;

protected:
    void BuildContent() override;

private:
    void BuildLinkControls();
    void BuildInputControls(int32_t input);
    void UpdateLinkState();
    void RecomputeDelaysFromDistances();

    std::array<XParamGroup*, kInputCount> inputs; // not owned
    XParamGroup localGroup;
    std::unique_ptr<DelaySliderStyle> sliderStyle;
    /** The mirror whose entry is setting the delay: the delay's notification leaves it alone. */
    XParam* mirrorInEntry = nullptr;
    InputParameterLinkWindow* linkWindow = nullptr;                           // owned through the owner link
    QM7DelayGraph* graph = nullptr;                                           // child view
    std::array<XSlider*, kInputCount> sliders{};                              // child views
    std::array<std::array<XComboBox*, kUnitCount>, kInputCount> delayBoxes{}; // child views
    std::array<XButton*, kInputCount> bypassButtons{};                        // child views
    std::array<XButton*, 3> linkButtons{};                                    // child views
    XText* compareCover = nullptr;                                            // child view
};
