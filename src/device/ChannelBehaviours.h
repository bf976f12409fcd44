#pragma once

#include "device/IChannelBehaviours.h"

/** The channel behaviours of the unit: an edit of an input follows to the other input while the
    inputs are linked (or the parameter is marked always linked, flag 0x100) unless Shift is held;
    an edit of an output follows to its linked output (linkedChannel) unless Shift is held, and a
    mute only while Shift is held; crossover frequencies and types are coupled to the neighbouring
    output's filter by the output's chFilterMode; choosing an amplifier moves the limiter threshold
    by the models' offsets, and a threshold typed by hand drops the amplifier choice. Copies are
    program writes (SetValue with notification), so they run no callback of their target and never
    cascade further. Also the texts of limiter thresholds (dBu or volts), amplifiers and delays (in
    the delay unit chosen for the row, at the current air temperature).

    Registers itself as the channel behaviours (SetChannelBehaviours) for its lifetime; the
    application owns it and keeps it while the channel groups live. It holds no state, so any
    thread may call it; every callback finds the channel parameters by path or channel list at the
    moment of the call. */
class ChannelBehaviours final : public IChannelBehaviours
{
public:
    ChannelBehaviours();
    ~ChannelBehaviours() override;
    ChannelBehaviours(const ChannelBehaviours&) = delete;
    ChannelBehaviours& operator=(const ChannelBehaviours&) = delete;

    bool CopyToOtherInput(XParam* param, double* value, int32_t user, int32_t phase) override;
    bool GeqBandBypassChanged(XParam* param, double* value, int32_t user, int32_t phase) override;
    bool CopyToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase) override;
    bool CopyMuteToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase) override;
    bool CoupleCrossoverNeighbour(XParam* param, double* value, int32_t user, int32_t phase) override;
    /** Also clamps the proposed index into the parameter's range first, so that the threshold moves
        by the offset of the amplifier that is actually stored. */
    bool AmplifierChanged(XParam* param, double* value, int32_t user, int32_t phase) override;
    bool LimitThresholdChanged(XParam* param, double* value, int32_t user, int32_t phase) override;

    /** "%.2f dBu"; with global\ThresholdUnits 1 "%.3f V" of the value's step in ThresholdVoltsTable. */
    XString LimitThresholdText(XParam* param, double value, int32_t user) override;
    /** The amplifier's name; "---" below 0 or above 32. */
    XString AmplifierText(XParam* param, double value, int32_t user) override;
    /** The delay in its row's unit (DelayUnitsFor): 0 "%.2f ms", 1 "%.0f us", 2 "%.0f feet",
        3 "%.0f inch", 4 "%.1f m", 5 "%.0f cm", other "%.2f ms". */
    XString DelayTimeText(XParam* param, double value, int32_t user) override;
};
