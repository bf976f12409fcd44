#pragma once

#include <cstdint>

class XParam;

/** The graphic equaliser's bypass marks as the unit's flag bits carry them: a band parameter of an
    input (GEQbypass01..31) with flag bit 0x80 is bypassed; the input's GEQBandBypassFlag holds the
    31 bands as a bit mask (2147483647: all bypassed), and its GEQBandBypass carries flag bit 0x80
    while every band is bypassed.

    The mask and bypass parameters are looked up by path at the first use and kept; the channel
    groups must outlive the object. A missing parameter ends the work silently. Main thread. */
class GeqBypassFlags final
{
public:
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kBandCount = 31;
    /** The flag bit of a bypassed band, and of a bypass parameter whose bands are all bypassed. */
    static constexpr int32_t kBypassedFlag = 0x80;
    static constexpr uint32_t kAllBandsMask = 0x7FFFFFFF;

    /** After a band's value notice: its bit in the input's mask follows the band's flag bit 0x80 (the
        mask is written as a user change with notification), then the input's bypass parameter gets
        flag bit 0x80 exactly while the mask holds every band. */
    void BandChanged(int32_t input, int32_t band, XParam* bandParam);
    /** For input A then B: every band takes the device flag bits (0x80, 0x40) of the input's bypass
        parameter, keeping its other bits, and the mask becomes all bands or none by bit 0x80, without
        notification. */
    void SyncFromBypassParams();

private:
    struct InputParams
    {
        XParam* mask = nullptr;
        XParam* bypass = nullptr;
    };

    /** The input's mask and bypass parameters, found once; false when either is missing. */
    bool Find(int32_t input, InputParams& params);

    InputParams inputs[kInputCount];
    bool looked = false;
};
