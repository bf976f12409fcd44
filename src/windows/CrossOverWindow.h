#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XParamGroup.h"
#include "core/XRect.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>

class XButton;
class XEQView;
class XOverPanel;
class XPopupMenu;
class XText;

/** The "Crossover" window: the high-pass and low-pass filters of all six outputs as six overlaid
    two-band curves over one frequency background, and below them one strip per output (XOverPanel).

    The window keeps local parameters of its own ("crossover\..."; transient, never sent to the
    unit): per output the response view's filter type and Q of each side, translated from the
    output's hipassTypeQ and lopassTypeQ, and the crossover delay (xoverDelayTime, milliseconds)
    mirrored in microseconds, centimetres, metres, inches and feet at the speed of sound of
    global\Temp. An entry in a mirror sets the delay (and the other mirrors) or is refused when it
    changes nothing. With channel linking on, the window copies an output's filter types and
    frequencies to its linked output, also for values the unit reports.

    Constructing the window makes "QM7\lockUIForEditCompare" a watcher of "global\ListenMode" and
    "QM7\usbActive", so that the compare covers of every window follow the connection.

    One crossover window exists in the program (its mirrors' callbacks reach the live one); it is
    created hidden by the application and builds its content on its first show. GUI thread only. */
class CrossOverWindow final : public SubWindow
{
public:
    static constexpr int32_t kOutputCount = 6;

    // Local parameter ids: the first of each row of six, + output index 0..5.
    static constexpr int32_t kHpfTypeId = 100;
    static constexpr int32_t kHpfQId = 106;
    static constexpr int32_t kLpfTypeId = 112;
    static constexpr int32_t kLpfQId = 118;
    static constexpr int32_t kDelayMicrosecId = 124;
    static constexpr int32_t kDelayCmId = 130;
    static constexpr int32_t kDelayMtId = 136;
    static constexpr int32_t kDelayInId = 142;
    static constexpr int32_t kDelayFtId = 148;
    static constexpr int32_t kLastLocalId = 153;

    // Watcher keys.
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));
    static constexpr int32_t kGainKey = static_cast<int32_t>(FourCharCode("outL"));
    static constexpr int32_t kHpfTypeKey = static_cast<int32_t>(FourCharCode("hpfT"));
    static constexpr int32_t kLpfTypeKey = static_cast<int32_t>(FourCharCode("LpfT"));
    static constexpr int32_t kFreqKey = static_cast<int32_t>(FourCharCode("freq"));
    static constexpr int32_t kDelayKey = static_cast<int32_t>(FourCharCode("dlt "));
    static constexpr int32_t kDelayUnitsKey = static_cast<int32_t>(FourCharCode("dlun"));
    static constexpr int32_t kTemperatureKey = static_cast<int32_t>(FourCharCode("tpch"));
    static constexpr int32_t kLockKey = 0x006C6B67;

    /** Where the frequency background and the curves lie. */
    static constexpr XRect kGraphRect{33, 10, 793, 200};
    /** Display ranges of the curves: at first, and after the toggle with its flag set or cleared. */
    static constexpr double kInitialRange = 24.0;
    static constexpr double kWideRange = 25.5;
    static constexpr double kNarrowRange = 12.75;

    /** What the response view draws for one side of a unit's crossover type. */
    struct CurveFilter
    {
        int32_t viewType;
        double q;
    };
    /** The view type and Q of unit type code (0..17, others as 12 dB Q=1) on one side. */
    static CurveFilter CurveFilterFor(int32_t unitCode, bool highPass);

    /** Creates the local parameters and watches the outputs and settings (their current values are
        applied at once); hidden, without content. */
    CrossOverWindow();
    ~CrossOverWindow() override;

    /** Writes the local type and Q of output (0..5) for a unit type code, as user changes. */
    void SetCurveFilter(int32_t output, int32_t unitCode, bool highPass);
    /** Sets output's five delay mirrors from ms, all but source. */
    void UpdateDelayMirrors(XParam* source, int32_t output, double ms);
    /** With linking on, gives the output linked to param's output param's value (a user change). */
    void CopyToLinkedOutput(XParam* param);
    /** Each curve takes the colour of its output's colour index. */
    void UpdateCurveColours();
    /** Flips the range flag and gives every curve the wide (flag set) or narrow range. */
    void ToggleDbRange();

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "CrossOverWindow"; }

    /** A local parameter by id (100..153); null outside. */
    XParam* GetLocalParam(int32_t id) const;
    /** Null until the content is built, or outside 0..5. */
    XEQView* GetCurve(int32_t output) const;
    XOverPanel* GetPanel(int32_t output) const;
    XButton* GetRangeToggle() const { return rangeToggle; }
    XPopupMenu* GetDelayUnitsMenu() const { return delayUnitsMenu; }
    XText* GetCompareCover(int32_t index) const;
    bool GetRangeFlag() const { return rangeFlag; }

    /** An entry in a delay mirror (unit: a DistanceMirrors::Unit), from the mirrors' veto: sets
        the output's xoverDelayTime from *value and the other mirrors, and accepts; refuses when the
        delay is missing or does not change. When the delay's range clamps the entry, *value
        becomes the distance (or time) of the delay that was set. */
    bool ApplyMirrorEntry(XParam* mirror, double* value, int32_t unit);

protected:
    void BuildContent() override;

private:
    // BuildContent's steps, in the order the views stack.
    void AddOutputPanels();
    /** The output's curve: its high-pass and low-pass bands, offset by the output's gain. */
    XEQView* MakeCurve(int32_t output);
    void AddDelayUnitsMenu();
    /** The two grey covers (the window above the strips' foot, and its bottom row), shown while compare
        mode locks the window. */
    void AddCompareCovers();

    void CopyDelayFlags(int32_t output);

    XParamGroup crossoverGroup;
    FloatParam rangeToggleParam;
    FloatParam constantOn;
    FloatParam zeroGain;
    bool rangeFlag = true;
    std::array<XEQView*, kOutputCount> curves{};
    std::array<XOverPanel*, kOutputCount> panels{};
    std::array<XText*, 2> compareCovers{};
    XButton* rangeToggle = nullptr;
    XPopupMenu* delayUnitsMenu = nullptr;
    /** The mirror whose entry is setting the delay: the delay's notification does not write it. */
    XParam* mirrorInEntry = nullptr;
};
