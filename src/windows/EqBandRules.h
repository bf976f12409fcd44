#pragma once

#include <cstdint>

class XParam;

/** The rules that keep one equaliser band's ranges, drawing and panel in step with its filter type
    and slope, for every equaliser window whose bands have a type (0 low shelf, 1 high shelf,
    2 peaking, 3 low pass, 4 high pass, 5 and 6 the all-pass shapes) and a slope (0 6 dB/oct,
    1 12 dB/oct):

    - a band without gain (pass and all-pass types) has its gain set to 0 as a user change and its
      range closed to 0..0; the others get -15..15 dB in 61 steps back;
    - the Q keeps its minimum of 0.4 and gets the wide (up to 20, 197 steps) or the narrow (up to 2,
      17 steps) range by the window's policy; a Q outside the new range returns to its default;
    - the draw type, the code under which the response view draws the band, follows type and slope
      (see DrawType);
    - the band's Q flag says whether its panel shows the second Q control: for 12 dB/oct low and
      high pass and for the second all-pass shape.

    Ranges are changed in place (never by a new descriptor, which would reset the value). Any of the
    band's parameters may be missing (null): what needs it is skipped. Main thread only; nothing is
    owned. */
class EqBandRules final
{
public:
    static constexpr int32_t kLowShelf = 0;
    static constexpr int32_t kHighShelf = 1;
    static constexpr int32_t kPeaking = 2;
    static constexpr int32_t kLowPass = 3;
    static constexpr int32_t kHighPass = 4;
    static constexpr int32_t kAllPass1 = 5;
    static constexpr int32_t kAllPass2 = 6;

    static constexpr double kGainMin = -15.0;
    static constexpr double kGainMax = 15.0;
    static constexpr uint32_t kGainSteps = 61;
    static constexpr double kQMin = 0.4;
    static constexpr double kWideQMax = 20.0;
    static constexpr uint32_t kWideQSteps = 197;
    static constexpr double kNarrowQMax = 2.0;
    static constexpr uint32_t kNarrowQSteps = 17;

    /** Which types get the wide Q range. */
    enum class QPolicy
    {
        WideForPeakingOnly,  // the output equalisers
        NarrowForPassesOnly, // the input equalisers: narrow only for low and high pass
    };

    /** One band's parameters; any may be null. */
    struct Band
    {
        XParam* type = nullptr;
        XParam* gain = nullptr;
        XParam* q = nullptr;
        XParam* slope = nullptr;
        XParam* drawType = nullptr;
        XParam* qShown = nullptr;
    };

    explicit EqBandRules(QPolicy policy) : qPolicy(policy) {}

    /** The type rule: gain range, draw type, Q range, then the slope rule with the band's slope (1
        when it has none); finally the Q flag tells its watchers (1000000) again. */
    void ApplyType(const Band& band, int32_t type) const;
    /** The slope rule: Q flag and draw type for the band's current type; nothing without a type or
        draw-type parameter. */
    void ApplySlope(const Band& band, int32_t slope) const;

    /** The draw type after both rules: 9/11 and 10/12 for the shelves at 6/12 dB/oct, 2 peaking,
        7/3 and 8/4 for low and high pass at 6/12 dB/oct, 29 and 30 for the all-pass shapes; 0 for
        any other type. */
    static int32_t DrawType(int32_t type, int32_t slope);
    /** Whether the type has a gain (the shelves and peaking). */
    static bool UsesGain(int32_t type);
    /** Whether the panel shows the second Q control for the type and slope. */
    static bool ShowsSecondQ(int32_t type, int32_t slope);
    bool UsesWideQ(int32_t type) const;

private:
    void ApplyGainRange(XParam& gain, int32_t type) const;
    void ApplyQRange(XParam& q, int32_t type) const;

    QPolicy qPolicy;
};
