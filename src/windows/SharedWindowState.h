#pragma once

#include "core/FloatParam.h"
#include "core/XParamGroup.h"

#include <array>
#include <cstdint>
#include <memory>

/** The display state the editor windows share for the whole run, made before any window: the
    output equaliser's selected output (CurActiveChannel, which the system overview sets before it
    opens that window), the focus band of each output, per output and band whether the band panel
    shows its second Q control, and the draw types under which the response views draw each output
    band ("FilterGroup<output>\DrawTypeBand<band>", both from 1), and the draw types of the input
    equaliser's ten bands per input ("PEQDrawChA\DrawTypeBand<k + 1>" and "PEQDrawChB\...", band 0
    being the high-pass filter), which the input graphic equaliser, the frequency response and the
    system overview draw too, with each input's focus band (CurFilterFocusA/B) and per input and band
    whether the band panel shows its second Q control. Every parameter is local to the program: transient and
   never sent to the unit. The block clipboard is BlockClipboard's.

    One per process (Instance), made on first use; GUI thread only. */
class SharedWindowState final
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kBandCount = 5;
    /** Draw-type parameters per output: ids 6..11, "DrawTypeBand1".."DrawTypeBand6" (bands 1..5 used). */
    static constexpr int32_t kDrawTypeCount = 6;
    static constexpr int32_t kDrawTypeFirstId = 6;
    static constexpr const char* kDrawTypeGroupFormat = "FilterGroup%d";
    static constexpr int32_t kInputCount = 2;
    /** Input draw-type parameters: ids 8..17, "DrawTypeBand1".."DrawTypeBand10" for bands 0..9. */
    static constexpr int32_t kInputBandCount = 10;
    static constexpr int32_t kInputDrawTypeFirstId = 8;
    static constexpr const char* kInputDrawTypeGroupFormat = "PEQDrawCh%c";

    static SharedWindowState& Instance();

    SharedWindowState();
    ~SharedWindowState();
    SharedWindowState(const SharedWindowState&) = delete;
    SharedWindowState& operator=(const SharedWindowState&) = delete;

    /** The selected output, 0..5 (0 = output 1). */
    FloatParam& CurActiveChannel() { return curActiveChannel; }
    /** The output's focus band, 0..4; null for an output outside 0..5. */
    FloatParam* ChannelEqFocusBand(int32_t output);
    /** 1 while the band's panel shows its second Q control; null outside outputs 0..5, bands 0..4. */
    FloatParam* ChannelEqQShown(int32_t output, int32_t band);
    /** The output's draw-type group (parameters by id 6..11); null outside 0..5. */
    XParamGroup* DrawTypeGroup(int32_t output);
    /** The draw type of an output's band (output 0..5, band 0..4); null outside. */
    XParam* DrawType(int32_t output, int32_t band);
    /** The input equaliser's focus band of input 0 (A, "CurFilterFocusA") or 1 (B,
        "CurFilterFocusB"), 0..9 (0 the high-pass filter), 1 at first; null outside 0..1. */
    FloatParam* InputPeqFocusBand(int32_t input);
    /** 1 while the input band's panel shows its second Q control; null outside inputs 0..1, bands
        0..9. */
    FloatParam* InputPeqQShown(int32_t input, int32_t band);
    /** The input's draw-type group (0 = A, 1 = B; parameters by id 8..17); null outside 0..1. */
    XParamGroup* InputDrawTypeGroup(int32_t input);
    /** The draw type of an input's band (input 0..1, band 0..9 with 0 the high-pass filter); null
        outside. */
    XParam* InputDrawType(int32_t input, int32_t band);

    /** Every value back to its default, without notifications, and the block clipboard emptied
        (tests start from here). */
    void Reset();

private:
    FloatParam curActiveChannel;
    std::array<FloatParam, kOutputCount> focusBands;
    std::array<std::array<FloatParam, kBandCount>, kOutputCount> qShown;
    std::array<std::unique_ptr<XParamGroup>, kOutputCount> drawTypeGroups;
    std::array<std::unique_ptr<XParamGroup>, kInputCount> inputDrawTypeGroups;
    std::array<FloatParam, kInputCount> inputFocusBands;
    std::array<std::array<FloatParam, kInputBandCount>, kInputCount> inputQShown;
};
