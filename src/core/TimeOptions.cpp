#include "core/TimeOptions.h"

#include "core/XParam.h"

#include <cmath>

namespace TimeOptions
{
namespace
{
constexpr const char* kError = "Error";
/** Extra words of the events that the filter acts on. */
constexpr int32_t kFilteredExtraFirst = 1;
constexpr int32_t kFilteredExtraLast = 2;

/** The entry of a list at value truncated, or fallback outside it. */
template <size_t N> XString Pick(const char* const (&texts)[N], double value, const char* fallback)
{
    const double index = std::trunc(value);
    if (!(index >= 0.0 && index < static_cast<double>(N)))
        return XString(fallback);
    return XString(texts[static_cast<size_t>(index)]);
}
} // namespace

XString PlaybackModeText(XParam* param, double value, int32_t user)
{
    static const char* const kTexts[] = {"Play Once & Cue", "Play Once & Stop"};
    return Pick(kTexts, value, "Play Repeatedly");
}

XString FrameCountText(XParam* param, double value, int32_t user)
{
    static const char* const kTexts[] = {"0 frames",  "5 frames",   "10 frames", "20 frames",
                                         "50 frames", "100 frames", "Infinite"};
    return Pick(kTexts, value, kError);
}

XString RecordingConditionText(XParam* param, double value, int32_t user)
{
    static const char* const kTexts[] = {"Always", "Only if not recording", "Never"};
    return Pick(kTexts, value, kError);
}

XString ResolutionText(XParam* param, double value, int32_t user)
{
    static const char* const kTexts[] = {"Auto", "1/3 frame", "1 frame", "2 frames", "5 frames", "10 frames"};
    return Pick(kTexts, value, kError);
}

XString FrameRateShortText(XParam* param, double value, int32_t user)
{
    static const char* const kTexts[] = {"29.97/30 NDF", "29.97/30 DF", "29.97/30 NDF", "29.97/30 DF",
                                         "25 NDF",       "24 NDF",      "24.975 NDF",   "23.976 NDF"};
    return Pick(kTexts, value, kError);
}

XString FrameRateLongText(XParam* param, double value, int32_t user)
{
    static const char* const kTexts[] = {"30 NDF", "30 Drop", "29.97 NDF",  "29.97 Drop",
                                         "25 NDF", "24 NDF",  "24.975 NDF", "23.976 NDF"};
    return Pick(kTexts, value, kError);
}

bool ToggleEventFilter(XParam* param, XParamEvent* event, int32_t user)
{
    if (param == nullptr || event == nullptr)
        return true;
    const bool filtered = event->extra >= kFilteredExtraFirst && event->extra <= kFilteredExtraLast;
    if (!filtered)
        return true;
    if (event->type == XParamEvent::kMoveSteps)
        param->ChangeValue(param->GetValue() == 1.0 ? 0.0 : 1.0, true);
    else if (event->type == XParamEvent::kSetValue)
        param->ChangeValue(event->value <= 1.0f ? 1.0 : 0.0, true);
    else
        return true;
    return false;
}
} // namespace TimeOptions
