#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;

/** The channel-table callbacks that reach beyond their own channel or need data of the channel
    behaviours: copying edits to the other input or to a linked output, coupling crossover
    neighbours, the amplifier choice against the limiter threshold, and the texts of thresholds,
    amplifiers and delays. The table rows call fixed functions (ChannelParamCallbacks) that forward
    here.

    The channel behaviours implement it and register it with SetChannelBehaviours for their
    lifetime; until then the defaults keep every channel to itself: edits are accepted and copied
    nowhere, a GEQ band bypass sets only its own input's mask bit, thresholds read "%.2f dBu",
    amplifiers their index ("---" outside 0..32) and delays "%.2f ms". Called on whatever thread
    changes or reads the parameter. Change callbacks take (parameter, proposed value, user word,
    phase) and return false to refuse; text callbacks take (parameter, value, user word). */
class IChannelBehaviours
{
public:
    virtual ~IChannelBehaviours() = default;

    virtual bool CopyToOtherInput(XParam* param, double* value, int32_t user, int32_t phase) = 0;
    virtual bool GeqBandBypassChanged(XParam* param, double* value, int32_t user, int32_t phase) = 0;
    virtual bool CopyToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase) = 0;
    virtual bool CopyMuteToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase) = 0;
    virtual bool CoupleCrossoverNeighbour(XParam* param, double* value, int32_t user, int32_t phase) = 0;
    virtual bool AmplifierChanged(XParam* param, double* value, int32_t user, int32_t phase) = 0;
    virtual bool LimitThresholdChanged(XParam* param, double* value, int32_t user, int32_t phase) = 0;

    virtual XString LimitThresholdText(XParam* param, double value, int32_t user) = 0;
    virtual XString AmplifierText(XParam* param, double value, int32_t user) = 0;
    virtual XString DelayTimeText(XParam* param, double value, int32_t user) = 0;
};

/** Registers the behaviours (null: back to the defaults); the caller keeps ownership. Thread-safe. */
void SetChannelBehaviours(IChannelBehaviours* behaviours);
/** The registered behaviours, or the defaults; never null. */
IChannelBehaviours& GetChannelBehaviours();
