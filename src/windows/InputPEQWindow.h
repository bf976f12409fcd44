#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XRGB.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "windows/EqBandRules.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>

class InputParameterLinkWindow;
class PEQFilterPanel;
class QM7EQView;
class XButton;
class XParam;
class XPict;

/** The input parametric equaliser window: per input (A, B) a high-pass filter and nine bands, ten
    bands in all. Two tabs choose the input; both inputs' response graphs lie over one another, the
    selected one in front and in full colour, and ten band panels per input carry the numeric
    controls. It shows how the inputs are linked (by the configuration, by the user, or not) and
    embeds the input linking window of the input equaliser region.

    It keeps the program-wide display state of the input equalisers (SharedWindowState: each
    input's focus band, the bands' draw types and Q flags) in step with the inputs' parameters: the
    type and slope of every band run EqBandRules (wide Q except for low and high pass) from
    construction on, whether the change came from the user or from the unit, before the window was
    ever shown.

    Owns its local parameters (selected input, dB range, link state, user link flag) and its views;
    the channel parameters and the shared state are not owned. Main thread only. */
class InputPEQWindow final : public SubWindow
{
public:
    static constexpr const char* kTitle = "INPUT PARAMETRIC EQ";
    static constexpr const char* kBackground = "InputParametricEQ\\InputParametricEqBg.png";
    static constexpr int32_t kInputCount = 2;
    /** Band 0 is the high-pass filter, 1..9 the bands. */
    static constexpr int32_t kBandCount = 10;

    /** Input parameter ids of band k: id + k. */
    static constexpr int32_t kTypeId = ChannelParamTables::kInputTypeFirstId;
    static constexpr int32_t kGainId = ChannelParamTables::kInputGainFirstId;
    static constexpr int32_t kFreqId = ChannelParamTables::kInputFreqFirstId;
    static constexpr int32_t kQId = ChannelParamTables::kInputQFirstId;
    static constexpr int32_t kSlopeId = ChannelParamTables::kInputSlopeFirstId;
    static constexpr int32_t kBypassId = ChannelParamTables::kInputBypassFirstId;
    static constexpr int32_t kEqBypassId = ChannelParamTables::kPeqAllBypassId;
    /** The high-pass filter's bypass, set by "EQ Flat". */
    static constexpr int32_t kHpfBypassId = kBypassId;
    /** WndLinkInputPEQ: the embedded linking window's window-open parameter (main group). */
    static constexpr int32_t kLinkWindowParamId = GlobalParamTables::kWndLinkInputPeqId;

    static constexpr double kWideRangeDb = 25.5;
    static constexpr double kNarrowRangeDb = 12.75;
    /** Brightness of colours in percent: balls, dragged curve, the graph behind, an EQ that is off. */
    static constexpr double kBallPercent = 80.0;
    static constexpr double kDraggedPercent = 150.0;
    static constexpr double kBehindOnPercent = 80.0;
    static constexpr double kOffPercent = 20.0;
    static constexpr double kSelectedOffPercent = 50.0;

    /** Link state: not linked, linked by the user, linked by the configuration. */
    static constexpr int32_t kNotLinked = 0;
    static constexpr int32_t kUserLinked = 1;
    static constexpr int32_t kConfigLinked = 2;

    static constexpr const char* kEqBypassFormat = "Input%c\\PEQAllBypass";
    static constexpr const char* kInputsLinkedPath = "QM7\\inputChansLinked";
    static constexpr const char* kLockModePath = "QM7\\currentPresetLockMode";
    static constexpr const char* kCompareLockPath = "QM7\\lockUIForEditCompare";

    /** Watcher keys (band added to the family keys). */
    static constexpr int32_t kChannelKey = static_cast<int32_t>(FourCharCode("curc"));
    static constexpr int32_t kRangeKey = static_cast<int32_t>(FourCharCode("dbrg"));
    static constexpr int32_t kFocusAKey = static_cast<int32_t>(FourCharCode("curf"));
    static constexpr int32_t kFocusBKey = static_cast<int32_t>(FourCharCode("curg"));
    static constexpr int32_t kTypeKey = static_cast<int32_t>(FourCharCode("type"));
    static constexpr int32_t kSlopeKey = static_cast<int32_t>(FourCharCode("slop"));
    static constexpr int32_t kLockModeKey = 6516850;     // "cpr" with a high byte of 0
    static constexpr int32_t kInputsLinkedKey = 4408899; // "CFC"
    static constexpr int32_t kUserLinkedKey = 5065803;   // "MLK"
    static constexpr int32_t kLinkWindowKey = 4811632;   // "Ikp"
    static constexpr int32_t kEqOnAKey = static_cast<int32_t>(FourCharCode("nblA"));
    static constexpr int32_t kEqOnBKey = static_cast<int32_t>(FourCharCode("nblB"));

    InputPEQWindow();
    ~InputPEQWindow() override;

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "InputPEQWindow"; }

    /** Chooses the input edited: 0 (A) or 1 (B), as a user change; other values are ignored. */
    void SelectChannel(uint32_t input);
    /** The click of "EQ Flat": after a Yes to the question, the selected input's ten gains become 0
        and its high-pass filter is bypassed, as user changes; nothing when the gains all are 0. */
    void OnEqFlat();
    /** Whether the selected input's ten gains all are 0. */
    bool IsActiveInputFlat() const;

    /** The rule set of the input bands (wide Q except for low and high pass). */
    static const EqBandRules& Rules();
    /** The band's parameters as the rules take them (input 0..1, band 0..9). */
    static EqBandRules::Band BandOf(int32_t input, int32_t band);
    /** The input's channel parameter by id; null when missing. */
    static XParam* InputParam(int32_t input, int32_t id);
    /** The skin colour "inputA" or "inputB". */
    static XRGB InputColor(int32_t input);

    FloatParam& GetSelectedInput() { return selectedInput; }
    FloatParam& GetRangeParam() { return dbRange; }
    FloatParam& GetLinkState() { return linkState; }
    FloatParam& GetUserLinked() { return userLinked; }
    QM7EQView* GetEqView(int32_t input) const;
    XButton* GetTab(int32_t input) const;
    PEQFilterPanel* GetPanel(int32_t input, int32_t band) const;
    XButton* GetEqOnButton(int32_t input) const;
    XButton* GetEqFlatButton() const { return eqFlatButton; }
    XButton* GetRangeButton() const { return rangeButton; }
    /** The link indicators: linked by the configuration, linked by the user, not linked. */
    XButton* GetLinkIndicator(int32_t state) const;
    InputParameterLinkWindow* GetLinkWindow() const { return linkWindow; }

protected:
    void BuildContent() override;

private:
    void BuildTabs();
    void BuildEqView(int32_t input);
    void BuildPanels();
    void BuildLinkIndicators();
    void BuildEqButtons();
    void BuildCompareCovers();
    void SelectInput(int32_t input);
    void ApplyGraphLook(int32_t input, bool on);
    void ApplyLockMode();
    void UpdateLinkState();
    static int32_t InputOfParam(const XParam* param, int32_t id);

    FloatParam dbRange;
    FloatParam selectedInput;
    FloatParam linkState;
    FloatParam userLinked;
    XRGB activeTabColor{0, 0, 0, 255};
    XRGB inactiveTabColor{0, 0, 0, 255};
    uint32_t activeLineWidth = 2;
    uint32_t inactiveLineWidth = 1;
    InputParameterLinkWindow* linkWindow = nullptr; // child views, from here on
    std::array<XButton*, kInputCount> tabs{};
    std::array<QM7EQView*, kInputCount> eqViews{};
    std::array<std::array<PEQFilterPanel*, kBandCount>, kInputCount> panels{};
    std::array<XButton*, kInputCount> eqOnButtons{};
    std::array<XButton*, 3> linkIndicators{};
    XButton* eqFlatButton = nullptr;
    XButton* rangeButton = nullptr;
};
