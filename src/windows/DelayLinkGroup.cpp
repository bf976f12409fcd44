#include "windows/DelayLinkGroup.h"

#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/XPict.h"
#include "widgets/XSlider.h"
#include "windows/DelayTotals.h"

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);

constexpr const char* kKnobImages[] = {"OutputDelay\\link2Knobs.png", "OutputDelay\\link3Knobs.png",
                                       "OutputDelay\\link4Knobs.png", "OutputDelay\\link5Knobs.png",
                                       "OutputDelay\\link6Knobs.png"};
constexpr const char* kPanelImages[] = {"OutputDelay\\link2Panels.png", "OutputDelay\\link3Panels.png",
                                        "OutputDelay\\link4Panels.png", "OutputDelay\\link5Panels.png",
                                        "OutputDelay\\link6Panels.png"};

int32_t ImageIndex(int32_t count)
{
    return count < 2 ? 0 : (count > 6 ? 4 : count - 2);
}
} // namespace

const char* DelayLinkGroup::KnobImage(int32_t count)
{
    return kKnobImages[ImageIndex(count)];
}

const char* DelayLinkGroup::PanelImage(int32_t count)
{
    return kPanelImages[ImageIndex(count)];
}

void DelayLinkGroup::SetViews(XSlider* slider, XPict* panel)
{
    linkSlider = slider;
    linkPanel = panel;
}

void DelayLinkGroup::Add(int32_t output)
{
    if (output >= 0 && output < kOutputCount)
        members.set(static_cast<size_t>(output));
}

bool DelayLinkGroup::Holds(int32_t output) const
{
    return output >= 0 && output < kOutputCount && members.test(static_cast<size_t>(output));
}

int32_t DelayLinkGroup::First() const
{
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (Holds(i))
            return i;
    return -1;
}

int32_t DelayLinkGroup::Last() const
{
    for (int32_t i = kOutputCount - 1; i >= 0; --i)
        if (Holds(i))
            return i;
    return -1;
}

void DelayLinkGroup::UpdateLayout()
{
    if (IsEmpty())
    {
        if (linkSlider != nullptr)
            linkSlider->Hide();
        if (linkPanel != nullptr)
            linkPanel->Hide();
        return;
    }
    const int32_t first = First();
    const int32_t last = Last();
    const int32_t n = last - first + 1;
    if (linkSlider != nullptr)
    {
        const int32_t top = kSliderBase.top + (kOutputCount - 1 - last) * kRowPitch;
        linkSlider->SetFrame(XRect(kSliderBase.left, top, kSliderBase.right, top + n * kRowPitch));
        linkSlider->SetKnobImage(KnobImage(n));
    }
    if (linkPanel != nullptr)
    {
        const int32_t left = kPanelBase.left + first * kColumnPitch;
        linkPanel->SetFrame(XRect(left, kPanelBase.top, left + n * kColumnPitch, kPanelBase.bottom));
        linkPanel->SetImageByName(PanelImage(n), false);
    }
    if (linkParam != nullptr)
    {
        if (XParam* delay = GetOutputDelayParam(last))
            linkParam->ChangeValue(delay->GetValue(), true);
        linkParam->Notify(kValueSet);
    }
    if (linkSlider != nullptr)
        linkSlider->Show();
    if (linkPanel != nullptr)
        linkPanel->Show();
}

void DelayLinkGroup::ApplyLinkDelay()
{
    if (IsEmpty() || linkParam == nullptr)
        return;
    const double ms = linkParam->GetValue();
    for (int32_t i = First(); i <= Last(); ++i)
        if (XParam* delay = GetOutputDelayParam(i))
            delay->ChangeValue(ms, true);
}

void DelayLinkGroup::FollowMemberDelay(int32_t output, double ms)
{
    if (!Holds(output) || linkParam == nullptr)
        return;
    if (linkParam->SetValue(ms, true))
        linkParam->Notify(kValueSet);
}

void DelayLinkGroup::SyncBypass(int32_t output)
{
    XParam* source = GetOutputParamById(output, DelayTotals::kDelayBypassId);
    if (!Holds(output) || source == nullptr)
        return;
    for (int32_t i = First(); i <= Last(); ++i)
        if (i != output)
            if (XParam* bypass = GetOutputParamById(i, DelayTotals::kDelayBypassId))
                bypass->ChangeValue(source->GetValue(), true);
}
