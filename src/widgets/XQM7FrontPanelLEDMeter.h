#pragma once

#include "widgets/XLEDMeter.h"

#include <cstdint>

/** An LED meter with two indicator LEDs, each drawn on one segment in place of the level and driven
    by a parameter of its own against a threshold: the high indicator lights while its parameter is
    at or above its threshold (a channel's "Clip"), the low one while its parameter is below its
    threshold (a channel's "Lim"). The labels sit left of the LEDs unless asked otherwise.

    The indicator parameters are watched, not owned; one that is destroyed is forgotten. GUI thread
    only, as every LED meter: changes from other threads arrive as posted notifications. */
class XQM7FrontPanelLEDMeter : public XLEDMeter
{
public:
    /** One indicator LED. */
    struct Indicator
    {
        XParam* param = nullptr;
        double threshold = 0.0;
        int32_t segment = 0;
        bool lit = false;
    };

    XQM7FrontPanelLEDMeter(const XRect& frame, int32_t segmentCount, const char* unlitImage,
                           const char* litImage, XParam* level, bool labelsLeft = true);
    ~XQM7FrontPanelLEDMeter() override;

    /** The high indicator: segment lights while param >= threshold. The old parameter is no longer
        watched; the new one is watched and told at once, unless it is the level parameter. */
    void SetIndicator(int32_t segment, XParam* param, double threshold);
    /** The low indicator: segment lights while param < threshold; the parameter is watched and told
        at once. */
    void SetLowIndicator(int32_t segment, XParam* param, double threshold);
    const Indicator& GetHighIndicator() const { return high; }
    const Indicator& GetLowIndicator() const { return low; }

    /** For the low indicator's parameter 1 while it is below its threshold, else 0; for any other
        the lit count. */
    int32_t ValueToPosition(XParam* param) const override;
    /** The meter, then each indicator's segment lit or unlit by its parameter's current value. */
    void Draw(XCanvas& canvas) override;
    /** An indicator whose state changes repaints its segment; the low indicator's parameter goes no
        further, everything else then reaches the meter. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    static bool IsLowLit(const Indicator& indicator);
    static bool IsHighLit(const Indicator& indicator);
    /** Points the indicator at param, watching it unless watchLevel is false and it is the level. */
    void Retarget(Indicator& indicator, int32_t segment, XParam* param, double threshold, bool watchLevel);
    /** Whether the meter still watches param for another role than the indicator left out. */
    bool WatchedForOtherRole(const XParam* param, const Indicator& leaving) const;

    Indicator high;
    Indicator low;
};
