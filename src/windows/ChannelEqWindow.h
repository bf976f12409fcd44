#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XRGB.h"
#include "device/ChannelParamTables.h"
#include "windows/EqBandRules.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>

class ChannelPanel;
class QM7EQView;
class TabButton;
class XButton;
class XParam;

/** The output parametric equaliser window: one output at a time, chosen by six tabs, with the
    response graph of its five bands (balls dragged to edit gain and frequency), five band panels,
    EQ on/off, "EQ Flat" and a dB-range toggle.

    It keeps the program-wide display state of the output equalisers (SharedWindowState: the
    selected output, each output's focus band, the draw types and the Q flags) in step with the
    units' parameters: the type and slope of every band run EqBandRules from construction on,
    whether the change came from the user or from the unit, and before the window was ever shown.

    Owns its local parameters (the selected output's colour, the graph's enable, the dB range) and
    its views; the channel parameters and the shared state are not owned. Main thread only. */
class ChannelEqWindow final : public SubWindow
{
public:
    static constexpr const char* kTitle = "Output Parametric Eq";
    static constexpr const char* kBackground = "ChannelEq\\ChannelEqBg.png";
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kBandCount = 5;

    /** Channel parameter ids of band b: id + b. */
    static constexpr int32_t kTypeId = ChannelParamTables::kOutputTypeFirstId;
    static constexpr int32_t kGainId = ChannelParamTables::kOutputGainFirstId;
    static constexpr int32_t kFreqId = ChannelParamTables::kOutputFreqFirstId;
    static constexpr int32_t kQId = ChannelParamTables::kOutputQFirstId;
    static constexpr int32_t kSlopeId = ChannelParamTables::kOutputSlopeFirstId;
    static constexpr int32_t kBandBypassId = ChannelParamTables::kOutputBypassFirstId;
    static constexpr int32_t kEqBypassId = ChannelParamTables::kChannelEqBypassId;
    static constexpr int32_t kLabelId = ChannelParamTables::kOutputLabelId;

    static constexpr double kWideRangeDb = 25.5;
    static constexpr double kNarrowRangeDb = 12.75;
    /** Brightness of the balls, the dragged curve and the curve of an EQ that is off, in percent. */
    static constexpr double kBallPercent = 80.0;
    static constexpr double kDraggedPercent = 150.0;
    static constexpr double kOffCurvePercent = 60.0;

    static constexpr const char* kColorParamFormat = "preset\\ColorChan%d";
    static constexpr const char* kConfigPath = "preset\\currentconfig";
    static constexpr const char* kLockModePath = "QM7\\currentPresetLockMode";
    static constexpr const char* kCompareLockPath = "QM7\\lockUIForEditCompare";

    /** Watcher keys (band or output added to the family keys). */
    static constexpr int32_t kTypeKey = static_cast<int32_t>(FourCharCode("type"));
    static constexpr int32_t kSlopeKey = static_cast<int32_t>(FourCharCode("slop"));
    static constexpr int32_t kChannelKey = static_cast<int32_t>(FourCharCode("curc"));
    static constexpr int32_t kRangeKey = static_cast<int32_t>(FourCharCode("dbrg"));
    static constexpr int32_t kFocusKey = static_cast<int32_t>(FourCharCode("curf"));
    static constexpr int32_t kLockModeKey = 6516850; // "cpr" with a high byte of 0
    static constexpr int32_t kLabelKey = static_cast<int32_t>(FourCharCode("lbCh"));
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));
    static constexpr int32_t kEqBypassKey = static_cast<int32_t>(FourCharCode("nbl "));

    ChannelEqWindow();
    ~ChannelEqWindow() override;

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "ChannelEqWindow"; }

    /** The click of "EQ Flat": after a Yes to the question, every gain of the selected output
        becomes 0 as a user change; nothing when they all are 0 already. */
    void OnEqFlat();
    /** Whether every gain of the selected output is 0 (true for an output outside 0..5). */
    bool IsActiveChannelFlat() const;

    /** An output's colour index: "preset\ColorChan<output + 1>" as an integer, 0 when missing or
        outside 0..5. */
    static int32_t ColorIndexOf(int32_t output);
    /** The skin colour "outputColor<index + 1>". */
    static XRGB OutputColor(int32_t index);
    /** The colour word of an index: "red", "yellow", "blue", "magenta", "green", "purple". */
    static const char* ColorWord(int32_t index);
    /** The rule set of the output bands (wide Q only for peaking). */
    static const EqBandRules& Rules();
    /** The band's parameters as the rules take them (output 0..5, band 0..4). */
    static EqBandRules::Band BandOf(int32_t output, int32_t band);

    QM7EQView* GetEqView() const { return eqView; }
    TabButton* GetTab(int32_t output) const;
    ChannelPanel* GetPanel(int32_t output) const;
    XButton* GetEqOnButton(int32_t output) const;
    XButton* GetEqFlatButton() const { return eqFlatButton; }
    XButton* GetRangeButton() const { return rangeButton; }
    FloatParam& GetCurActiveColor() { return curActiveColor; }
    FloatParam& GetRangeParam() { return dbRange; }

protected:
    void BuildContent() override;

private:
    void BuildTabs();
    void BuildEqView();
    void BuildCompareCovers();
    void SelectOutput(int32_t output);
    void ApplyGraphLook(int32_t output, bool on);
    void ApplyTabColours();
    void ApplyLockMode();
    void BindBands(int32_t output);

    FloatParam curActiveColor;
    FloatParam eqEnable;
    FloatParam dbRange;
    std::array<TabButton*, kOutputCount> tabs{};      // child views
    std::array<ChannelPanel*, kOutputCount> panels{}; // child views
    std::array<XButton*, kOutputCount> eqOnButtons{}; // child views
    XButton* eqFlatButton = nullptr;                  // child view
    XButton* rangeButton = nullptr;                   // child view
    QM7EQView* eqView = nullptr;                      // child view
};
