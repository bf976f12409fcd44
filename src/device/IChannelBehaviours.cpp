#include "device/IChannelBehaviours.h"

#include "device/ChannelParamCallbacks.h"
#include "device/ParamCallbackCodes.h"
#include "device/ParamListText.h"

#include <atomic>

namespace
{
/** Highest index of the amplifier table; the defaults show any index 0..kLastAmplifier. */
constexpr int kLastAmplifier = 32;

/** Every channel to itself: see the interface's comment. */
class DefaultChannelBehaviours final : public IChannelBehaviours
{
public:
    bool CopyToOtherInput(XParam*, double*, int32_t, int32_t) override { return true; }

    bool GeqBandBypassChanged(XParam* param, double* value, int32_t user, int32_t phase) override
    {
        if (phase != ParamCallbackCodes::kChange || value == nullptr)
            return true;
        return SetGeqBandBypassed(InputIndexOfGeqParam(param), user, *value == 1.0);
    }

    bool CopyToLinkedOutput(XParam*, double*, int32_t, int32_t) override { return true; }
    bool CopyMuteToLinkedOutput(XParam*, double*, int32_t, int32_t) override { return true; }
    bool CoupleCrossoverNeighbour(XParam*, double*, int32_t, int32_t) override { return true; }
    bool AmplifierChanged(XParam*, double*, int32_t, int32_t) override { return true; }
    bool LimitThresholdChanged(XParam*, double*, int32_t, int32_t) override { return true; }

    XString LimitThresholdText(XParam*, double value, int32_t) override
    {
        return ParamListText::Formatted("%.2f dBu", value);
    }

    XString AmplifierText(XParam*, double value, int32_t) override
    {
        if (value < 0.0 || value > kLastAmplifier)
            return "---";
        return XString(static_cast<int>(value));
    }

    XString DelayTimeText(XParam*, double value, int32_t) override
    {
        return ParamListText::Formatted("%.2f ms", value);
    }
};

std::atomic<IChannelBehaviours*> registeredBehaviours{nullptr};
} // namespace

void SetChannelBehaviours(IChannelBehaviours* behaviours)
{
    registeredBehaviours.store(behaviours, std::memory_order_release);
}

IChannelBehaviours& GetChannelBehaviours()
{
    IChannelBehaviours* behaviours = registeredBehaviours.load(std::memory_order_acquire);
    if (behaviours != nullptr)
        return *behaviours;
    // Never destroyed: parameters may be read during static destruction.
    static auto* defaults = new DefaultChannelBehaviours();
    return *defaults;
}
