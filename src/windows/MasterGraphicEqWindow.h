#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XRGB.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>
#include <memory>

class DelaySliderStyle;
class GEQFilterPanel;
class InputParameterLinkWindow;
class XButton;
class XEQView;
class XParam;

/** The input graphic equaliser window: the 31 faders and bypass LEDs of input A's or input B's
    graphic equaliser, chosen by two tabs, above two stacked response views (one per input, the
    selected one in front) that draw each input's whole response: its 31 graphic bands as peaking
    filters at the ISO 1/3-octave frequencies with a Q that grows with the band's gain, and, while
    "show PEQ" is on, the high-pass filter and nine bands of its parametric equaliser. Buttons switch
    the dB range, the selected input's graphic equaliser on and off, the parametric overlay, reset
    all 31 gains ("EQ Flat", sent to the unit at a fixed pace) and open the input linking window of
    the graphic equaliser.

    The band frequencies, the band Qs of both inputs, "show PEQ", the graphic equaliser's link flag
    and link state are the program's (one set, whatever the number of windows); the rest belongs to
    the window. Channel parameters are not owned. Main thread only; "EQ Flat" blocks it while it
    asks and sends. */
class MasterGraphicEqWindow final : public SubWindow
{
public:
    static constexpr const char* kTitle = "Input Graphic Eq";
    static constexpr const char* kBackground = "InputGraphicEqBg.png";
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kGraphicBandCount = 31;
    /** Parametric bands drawn per input: the high-pass filter and bands 1..9. */
    static constexpr int32_t kParametricBandCount = 10;
    static constexpr int32_t kViewBandCount = kParametricBandCount + kGraphicBandCount;
    /** Draw flags per input: one per parametric band and one more that nothing binds. */
    static constexpr int32_t kDrawFlagCount = 11;

    /** Input channel parameter ids (parametric band k adds k, graphic band m adds m). */
    static constexpr int32_t kPeqGainId = ChannelParamTables::kInputGainFirstId;
    static constexpr int32_t kPeqFreqId = ChannelParamTables::kInputFreqFirstId;
    static constexpr int32_t kPeqQId = ChannelParamTables::kInputQFirstId;
    static constexpr int32_t kPeqBypassId = ChannelParamTables::kInputBypassFirstId;
    static constexpr int32_t kPeqAllBypassId = ChannelParamTables::kPeqAllBypassId;
    static constexpr int32_t kGeqGainId = ChannelParamTables::kGeqGainFirstId;
    static constexpr int32_t kGeqBypassId = ChannelParamTables::kGeqBypassFirstId;
    static constexpr int32_t kGeqAllBypassId = ChannelParamTables::kGeqAllBypassId;
    /** The application's "QM7\WndLinkInputGEQ". */
    static constexpr int32_t kLinkWindowParamId = GlobalParamTables::kWndLinkInputGeqId;

    static constexpr const char* kInputsLinkedPath = "QM7\\inputChansLinked";
    static constexpr const char* kConfigPath = "preset\\currentconfig";
    static constexpr const char* kCompareLockPath = "QM7\\lockUIForEditCompare";
    static constexpr const char* kDrawTypeFormat = "PEQDrawCh%c\\DrawTypeBand%d";

    /** The graphic band's Q: |gain| x kQPerDb + kFlatQ. */
    static constexpr double kQPerDb = 0.722;
    static constexpr double kFlatQ = 0.234;
    static constexpr double kMaxQ = 20.0;
    /** The filter type every graphic band is drawn with: peaking. */
    static constexpr int32_t kPeakingType = 2;
    static constexpr double kWideRangeDb = 25.5;
    static constexpr double kNarrowRangeDb = 12.75;

    /** "EQ Flat" pacing: after each band's change, after each request when both inputs get it, and
        after the one request otherwise. */
    static constexpr uint32_t kFlatChangeWaitMs = 5;
    static constexpr uint32_t kFlatLinkedSendWaitMs = 40;
    static constexpr uint32_t kFlatSendWaitMs = 80;

    /** Watcher keys; "CFC", "MLK" and "IkM" have three characters and a high byte of 0. */
    static constexpr int32_t kInputsLinkedKey = 4408899;
    static constexpr int32_t kLinkFlagKey = 5065803;
    static constexpr int32_t kLinkWindowKey = 4811597;
    static constexpr int32_t kChannelKey = static_cast<int32_t>(FourCharCode("curc"));
    static constexpr int32_t kRangeKey = static_cast<int32_t>(FourCharCode("dbrg"));
    static constexpr int32_t kGainKey = static_cast<int32_t>(FourCharCode("geqg"));
    static constexpr int32_t kEnableAKey = static_cast<int32_t>(FourCharCode("nblA"));
    static constexpr int32_t kEnableBKey = static_cast<int32_t>(FourCharCode("nblB"));
    static constexpr int32_t kPeqBypassKey = static_cast<int32_t>(FourCharCode("peqb"));
    static constexpr int32_t kPeqAllBypassKey = static_cast<int32_t>(FourCharCode("pqon"));
    static constexpr int32_t kShowPeqKey = static_cast<int32_t>(FourCharCode("shPQ"));
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));

    /** The ISO 1/3-octave centre frequencies of the 31 bands, 20 Hz .. 20 kHz. */
    static const std::array<double, kGraphicBandCount>& IsoFrequencies();

    MasterGraphicEqWindow();
    ~MasterGraphicEqWindow() override;

    /** 0 (A) or 1 (B) becomes the selected input, as a user change; other values are ignored. */
    void SelectChannel(unsigned channel);
    /** The click of "EQ Flat": when a gain of the selected input is not 0, asks; on Yes sets each of
        its 31 gains to 0 and sends each to the unit itself, paced, with the device watcher's
        periodic sending off meanwhile (restored as it was, whatever the answer). */
    void OnEqFlat();

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "MasterGraphicEqWindow"; }

    // The program's shared parameters ----------------------------------------------------------------

    /** Band m's frequency (m 0..30); null outside. */
    static FloatParam* BandFrequency(int32_t band);
    /** Band m's Q of an input; null outside. */
    static FloatParam* BandQ(int32_t input, int32_t band);
    static FloatParam& ShowPeq();
    /** 1 while the user has linked the inputs' graphic equalisers (set by the input linking window). */
    static FloatParam& GeqLinked();
    /** 2 when the configuration pairs the inputs, else 1 when GeqLinked is 1, else 0. */
    static FloatParam& LinkState();
    /** The parametric band's drawn on/off state (1 = not drawn): 1 while show-PEQ is off or the
        input's whole parametric equaliser is bypassed, else the stored value (the band's bypass). */
    static double PeqDrawFlagValueMap(XParam* param, double stored, int32_t input);

    // The window's own ------------------------------------------------------------------------------

    FloatParam& GetCurActiveChannel() { return curActiveChannel; }
    FloatParam& GetRangeParam() { return dbRange; }
    FloatParam& GetBandType() { return bandType; }
    /** Input 0..1, parametric band 0..10; null outside. */
    FloatParam* GetDrawFlag(int32_t input, int32_t band);
    /** The views and controls, null before the build or outside the range. */
    XEQView* GetEqView(int32_t input) const;
    GEQFilterPanel* GetPanel(int32_t input, int32_t band) const;
    XButton* GetTab(int32_t input) const;
    XButton* GetEqOnButton(int32_t input) const;
    XButton* GetEqFlatButton() const { return eqFlatButton; }
    XButton* GetShowPeqButton() const { return showPeqButton; }
    XButton* GetRangeButton() const { return rangeButton; }
    InputParameterLinkWindow* GetLinkWindow() const { return linkWindow; }

    static const XRGB kActiveColor;
    static const XRGB kInactiveColor;

protected:
    void BuildContent() override;

private:
    void BuildLinkControls();
    void BuildTabs();
    void BuildEqView(int32_t input);
    void BuildButtons();
    void BuildCompareCovers();
    void WatchAfterBuild();

    void UpdateLinkState();
    void ApplyDisplayRange();
    void ShowInputEnabled(int32_t input, bool on);
    void ShowActiveChannel(int32_t active);
    void SetBandQ(int32_t input, int32_t band, const XParam* gain);
    /** Zeroes one band of the input and sends it (to both inputs when linked); waits as paced. */
    void FlattenBand(int32_t input, int32_t band, bool toBothInputs);

    FloatParam curActiveChannel;
    FloatParam bandType;
    std::array<std::array<FloatParam, kDrawFlagCount>, kInputCount> drawFlags;
    FloatParam dbRange;
    XRGB activeColor = kActiveColor;
    XRGB inactiveColor = kInactiveColor;
    uint32_t activeLineWidth = 2;
    uint32_t inactiveLineWidth = 1;

    /** The faders' style: a drag follows the pointer unless Alt asks for fine steps. */
    std::unique_ptr<DelaySliderStyle> faderStyle;
    InputParameterLinkWindow* linkWindow = nullptr; // child views, from here on
    std::array<XEQView*, kInputCount> views{};
    std::array<std::array<GEQFilterPanel*, kGraphicBandCount>, kInputCount> panels{};
    std::array<XButton*, kInputCount> tabs{};
    std::array<XButton*, kInputCount> eqOnButtons{};
    XButton* eqFlatButton = nullptr;
    XButton* showPeqButton = nullptr;
    XButton* rangeButton = nullptr;
};
