#include "files/XProgressDialog.h"

#include "core/ParamRegistry.h"
#include "core/ThreadServices.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "gui/XControl.h"

#include <juce_events/juce_events.h>

namespace
{
constexpr int32_t kFullPercent = 100;

XParamDesc PercentDesc()
{
    XParamDesc desc;
    desc.SetName("progress");
    desc.type = XParamDesc::kTypeInteger;
    desc.min = 0.0;
    desc.max = 100.0;
    desc.def = 0.0;
    desc.count = 101;
    return desc;
}
} // namespace

XProgressDialog::XProgressDialog(const XString& title, const XString& text, XView* parent, bool abortButton)
    : XOKDialog(title, text, parent, kDescription, XString(kAbortLabel)), progressParam(PercentDesc()),
      showAbort(abortButton), selfToken(std::make_shared<XProgressDialog*>(this))
{
    dialogTextParam.SetText(text.CStr(), false);
}

XProgressDialog::~XProgressDialog()
{
    *selfToken = nullptr;
}

void XProgressDialog::InitControls()
{
    XOKDialog::InitControls();
    progressParam.SetMin(0.0);
    progressParam.SetMax(100.0);
    progressParam.SetCount(101);
    progressParam.SetValueNow(0.0, false);
    progressTextParam.SetText(" ", false);

    auto* bar = dynamic_cast<XControl*>(FindView(kProgressBarName));
    if (bar == nullptr)
        return;
    bar->SetPot(&progressParam);
    if (auto* dialogText = dynamic_cast<XControl*>(FindView(kTextViewName)))
        dialogText->SetPot(&dialogTextParam);
    auto* progressText = dynamic_cast<XControl*>(FindView(kProgressTextName));
    if (progressText == nullptr)
        return;
    progressText->SetPot(&progressTextParam);
    if (XView* abortButton = FindView(kOKButtonName); abortButton != nullptr && !showAbort)
        abortButton->Hide();
    SetBusy(kBusyOn);
    startLevelSignal.Emit(kStartLevel);
    startSignal.Emit();
}

void XProgressDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == kOKMessage)
    {
        abortSignal.Emit();
        return;
    }
    if (message.GetWhat() == XMsgCode::kCloseRequested)
        return;
    XOKDialog::MessageReceived(message);
}

void XProgressDialog::ResultHook(XDialogResult result)
{
    XOKDialog::ResultHook(result);
    SetBusy(kBusyOff);
}

void XProgressDialog::SetBusy(double value)
{
    // Looked up at each use, as "system\error" is: a kept pointer could outlive the parameter.
    if (XParam* busy = ParamRegistry::Find(kBusyParamPath))
        busy->SetValue(value, true);
}

void XProgressDialog::SetProgressText(const char* text)
{
    XString line(text != nullptr ? text : "");
    line.ReplaceChar(':', '|');
    progressTextParam.SetText(line.CStr(), true);
}

void XProgressDialog::SetProgressFraction(float fraction)
{
    const float clamped = fraction < 0.0f ? 0.0f : fraction > 1.0f ? 1.0f : fraction;
    SetProgress(static_cast<int32_t>(clamped * 100.0f));
}

void XProgressDialog::SetProgressRatio(uint32_t done, uint32_t total)
{
    const uint64_t divisor = total == 0 ? 1 : total;
    const uint64_t percent = static_cast<uint64_t>(done) * 100u / divisor;
    SetProgress(percent > static_cast<uint64_t>(kFullPercent) ? kFullPercent : static_cast<int32_t>(percent));
}

void XProgressDialog::StepProgress(uint64_t delta, bool wrap)
{
    const int32_t current = GetProgress();
    uint64_t next = static_cast<uint64_t>(current) + delta;
    if (next > static_cast<uint64_t>(kFullPercent))
        next = wrap && current == kFullPercent ? delta : kFullPercent;
    SetProgress(next > static_cast<uint64_t>(kFullPercent) ? kFullPercent : static_cast<int32_t>(next));
}

void XProgressDialog::ResetProgress()
{
    SetProgress(0);
}

void XProgressDialog::Complete()
{
    SetProgress(kFullPercent);
    progressTextParam.SetText(kCompletedText, true);
    XSleep(kShowFullMs);
}

void XProgressDialog::Finish()
{
    XSleep(kShowFullMs);
    EndLater(kOK);
}

void XProgressDialog::Fail()
{
    EndLater(kNo);
}

void XProgressDialog::SetProgress(int32_t percent)
{
    const uint32_t value = static_cast<uint32_t>(percent);
    progressParam.SetValueNow(value > static_cast<uint32_t>(kFullPercent) ? kFullPercent : value, true);
}

int32_t XProgressDialog::GetProgress() const
{
    return static_cast<int32_t>(progressParam.GetValue());
}

XString XProgressDialog::GetProgressText() const
{
    return progressTextParam.GetText();
}

void XProgressDialog::EndLater(XDialogResult dialogResult)
{
    juce::MessageManager::callAsync(
        [token = selfToken, dialogResult]
        {
            XProgressDialog* dialog = *token;
            if (dialog != nullptr && dialog->GetResult() == kNotEnded)
                dialog->EndModal(dialogResult);
        });
}

void XProgressDialog::DeliverLater(XMessage* message)
{
    std::shared_ptr<XMessage> held(message);
    juce::MessageManager::callAsync(
        [token = selfToken, held]
        {
            if (XProgressDialog* dialog = *token)
                dialog->MessageReceived(*held);
        });
}
