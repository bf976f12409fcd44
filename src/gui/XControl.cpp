#include "gui/XControl.h"

#include "core/ModifierKeyState.h"
#include "core/ParamRegistry.h"
#include "core/ProcessState.h"
#include "core/XApplication.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XResult.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/DescriptionItems.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"
#include "gui/XViewBuilder.h"

#include <algorithm>
#include <memory>

namespace
{
constexpr const char* kLineBreak = "\r\n";
constexpr int kLineBreakLength = 2;

/** The three modifier roles of a control. */
enum class KeyRole
{
    Reset,
    FineWheel,
    FineDrag
};

/** Whether the modifier that mode chooses for role is held (mode 3 is each role's special case). */
bool IsKeyHeld(int mode, KeyRole role)
{
    switch (mode)
    {
    case XStyle::kKeyModeCtrl:
        return IsControlKeyDown();
    case XStyle::kKeyModeAlt:
        return IsAltKeyDown();
    case XStyle::kKeyModeShift:
        return IsShiftKeyDown();
    case XStyle::kKeyModeSpecial:
        if (role == KeyRole::Reset)
            return !IsControlKeyDown() && !IsAltKeyDown() && !IsShiftKeyDown();
        if (role == KeyRole::FineWheel)
            return !IsAltKeyDown();
        return false;
    default:
        return false;
    }
}

/** The style's mode for role; the base style's modes while no style is installed. */
int KeyModeOf(XStyle* style, KeyRole role)
{
    switch (role)
    {
    case KeyRole::Reset:
        return style != nullptr ? style->GetResetKeyMode() : XStyle::kKeyModeCtrl;
    case KeyRole::FineWheel:
        return style != nullptr ? style->GetFineWheelKeyMode() : XStyle::kKeyModeAlt;
    case KeyRole::FineDrag:
    default:
        return style != nullptr ? style->GetFineDragKeyMode() : XStyle::kKeyModeShift;
    }
}

/** The comma-separated words of text. */
juce::StringArray Words(const char* text)
{
    juce::StringArray words;
    words.addTokens(juce::String::fromUTF8(text), ",", "");
    words.trim();
    return words;
}
} // namespace

// Construction -----------------------------------------------------------------------------------

XControl::XControl() : XView(), XInvoker(GetApplication()) {}

XControl::XControl(const XRect& frame, const char* name, XParam* param) : XView(frame), XInvoker(nullptr)
{
    SetLabel(XString(name));
    SetPot(param);
    SetName(XString(name));
}

XControl::~XControl()
{
    // First, while the control is whole: no parameter may tell it anything from here on, and no
    // refresh pass may reach it.
    XParam::ForgetWatcher(this);
    ControlRefreshQueue::Get().Remove(this);
}

// Binding ----------------------------------------------------------------------------------------

void XControl::SetPot(XParam* param)
{
    XParam* const old = boundParam.load();
    if (param == old)
        return;
    // The show parameter is watched by the view already; its entry is not the control's to drop.
    if (old != nullptr && old != GetShowParam())
        old->RemoveWatcher(this);
    boundParam.store(param);
    if (param != nullptr)
    {
        if (param != GetShowParam())
            param->AddWatcher(this, 0, true);
    }
    else
    {
        SetPosition(0);
    }
    PotChanged(param);
}

// Position ---------------------------------------------------------------------------------------

void XControl::SetControlEnabled(bool isEnabled)
{
    if (isEnabled == enabled)
        return;
    enabled = isEnabled;
    Invalidate();
}

void XControl::SetPosition(int32_t position)
{
    if (IsShuttingDown() || position == shownPosition)
        return;
    shownPosition = position;
    if (position != drawnPosition)
    {
        if (isVisible())
            Invalidate();
        else
            drawnPosition = position;
    }
    positionSignal.Emit(static_cast<uint32_t>(position));
}

void XControl::MoveBy(int32_t steps)
{
    if (steps == 0)
        return;
    const int64_t current = GetPosition();
    const int64_t range = GetPixelRange();
    // Ranges below 2 wrap around at the ends; larger ones stop there.
    const bool wraps = range < 2;
    int64_t next = 0;
    if (steps < 0)
    {
        const int64_t distance = -static_cast<int64_t>(steps);
        next = distance > current ? (wraps ? range : 0) : current - distance;
    }
    else
    {
        next = range - current < steps ? (wraps ? 0 : range) : current + steps;
    }
    SetPosition(static_cast<int32_t>(next));
}

int32_t XControl::GetPosition() const
{
    return shownPosition;
}

int32_t XControl::GetPixelRange() const
{
    return std::max(GetWidth(), GetHeight());
}

int32_t XControl::ValueToPosition(XParam* param) const
{
    if (param == nullptr)
        return 0;
    // Index, count and range are read unsigned, as the steps of a full 32-bit mask need.
    const uint32_t index = static_cast<uint32_t>(param->ValueToIndex(param->GetValue()));
    const uint32_t count = param->GetCount();
    const uint32_t steps = count > 3 ? count - 1 : count;
    if (steps == 0)
        return 0;
    const double range = static_cast<double>(static_cast<uint32_t>(GetPixelRange()));
    const double position = range * static_cast<double>(index) / static_cast<double>(steps);
    // An index beyond the last step (a negative one read unsigned) shows the end, not an overflow.
    return static_cast<int32_t>(std::min(position, range));
}

// Disabling --------------------------------------------------------------------------------------

void XControl::SetDisableParam(XParam* param, double value)
{
    if (param == disableParam)
        return;
    if (disableParam != nullptr)
        disableParam->RemoveWatcher(this);
    disableParam = param;
    if (param != nullptr)
        param->AddWatcher(this, 0, true);
    SetDisableValue(static_cast<int32_t>(value));
}

XParam* XControl::GetDisableParam() const
{
    return disableParam;
}

void XControl::AddDisableValue(int32_t value)
{
    if (!disableValues)
        disableValues = std::make_unique<LongArray>();
    disableValues->Add(value);
}

void XControl::SetDisableValue(int32_t value)
{
    ClearDisableValues();
    AddDisableValue(value);
}

void XControl::ClearDisableValues()
{
    if (!disableValues)
        disableValues = std::make_unique<LongArray>();
    disableValues->SetLength(0);
}

bool XControl::IsDisabledByParam() const
{
    if (disableParam == nullptr || !disableValues)
        return false;
    const double value = disableParam->GetValue();
    for (int index = 0; index < disableValues->GetCount(); ++index)
    {
        if (value == static_cast<double>(disableValues->GetAt(index)))
            return true;
    }
    return false;
}

bool XControl::IsEnabled() const
{
    return !IsDisabledByParam() && enabled;
}

void XControl::SetHilite(bool hilite)
{
    if (hilite == hilited)
        return;
    hilited = hilite;
    Invalidate();
}

// Modifiers and scales ---------------------------------------------------------------------------

bool XControl::IsResetKeyDown() const
{
    return IsKeyHeld(KeyModeOf(GetStyle(), KeyRole::Reset), KeyRole::Reset);
}

bool XControl::IsFineWheelKeyDown() const
{
    return IsKeyHeld(KeyModeOf(GetStyle(), KeyRole::FineWheel), KeyRole::FineWheel);
}

bool XControl::IsFineDragKeyDown() const
{
    return IsKeyHeld(KeyModeOf(GetStyle(), KeyRole::FineDrag), KeyRole::FineDrag);
}

float XControl::GetDragScale() const
{
    XParam* param = GetPot();
    if (param == nullptr || IsFineDragKeyDown())
        return 1.0f;
    const uint32_t count = param->GetCount();
    const int32_t range = GetPixelRange();
    // A control without size has no pixels to divide by.
    if (count == 0 || range <= 0 || count == static_cast<uint32_t>(range))
        return 1.0f;
    const float steps = count == 1 ? 2.0f : static_cast<float>(count);
    const float scale = steps / static_cast<float>(range);
    return scale == 0.0f ? 1.0f : scale;
}

float XControl::GetNormalisedPosition() const
{
    if (XParam* param = GetPot())
        return static_cast<float>(param->GetNormalised());
    const int32_t range = GetPixelRange();
    if (range == 0)
        return 0.0f;
    return std::clamp(static_cast<float>(shownPosition) / static_cast<float>(range), 0.0f, 1.0f);
}

void XControl::SetCommand(const char* name)
{
    auto message = std::make_unique<XMessage>(XMsgCode::kRunCommand);
    message->AddString("commandname", name != nullptr ? name : "");
    SetMessage(message.release());
}

int32_t XControl::MeasureText(const char* text) const
{
    XFont* font = GetFont();
    if (font == nullptr || text == nullptr || text[0] == '\0')
        return -1;
    const XString whole(text);
    if (!whole.Contains(kLineBreak))
        return font->GetStringWidth(whole);
    int32_t widest = 0;
    int start = 0;
    for (;;)
    {
        int end = start;
        const bool found = whole.FindFrom(kLineBreak, end);
        const XString line = found ? whole.Sub(start, end) : whole.From(start);
        widest = std::max(widest, static_cast<int32_t>(font->GetStringWidth(line)));
        if (!found)
            return widest;
        start = end + kLineBreakLength;
    }
}

// Invoker part -----------------------------------------------------------------------------------

void XControl::AddInvokeItems(XMessage&) {}

void XControl::PotChanged(XParam*) {}

int32_t XControl::Invoke(XMessage* message)
{
    const XMessage* source = message != nullptr ? message : GetMessage();
    if (source == nullptr)
        return XResult::kFailed;
    XMessage copy(*source);
    // Receivers read the first "source": the control's handler part (the base invoker adds itself
    // as a second one).
    copy.AddPointer(kSourceItem, static_cast<XHandler*>(this));
    copy.AddInt32("value", shownPosition);
    copy.AddFloat("normalizedValue", GetNormalisedPosition());
    copy.AddPointer("pView", GetWindow());
    AddInvokeItems(copy);
    return XInvoker::Invoke(&copy);
}

// XView ------------------------------------------------------------------------------------------

void XControl::ApplyStyle()
{
    XView::ApplyStyle();
    XMessenger target;
    GetMessenger(target);
    if (!target.IsValid())
        SetTarget(GetWindow(), nullptr);
    if (XParam* param = GetPot())
    {
        shownPosition = ValueToPosition(param);
        drawnPosition = shownPosition;
    }
}

void XControl::SizeChanged(int32_t dw, int32_t dh)
{
    XView::SizeChanged(dw, dh);
    if (XParam* param = GetPot())
        SetPosition(ValueToPosition(param));
}

void XControl::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);

    XParam* const param = DescriptionItems::FindParamItem(block, "param");

    if (block.FindItem("disableparam") != nullptr)
    {
        if (XParam* disabling = DescriptionItems::FindParamItem(block, "disableparam"))
        {
            SetDisableParam(disabling, 1.0);
            ClearDisableValues();
            const char* text = nullptr;
            int32_t single = 0;
            if (block.FindString("disableVals", text) == 0)
            {
                // Integers up to the first item that is not one.
                for (const juce::String& word : Words(text))
                {
                    const XString item(word.toRawUTF8());
                    if (!item.IsInteger())
                        break;
                    AddDisableValue(item.ToInt());
                }
            }
            else if (block.FindInt32("disableVals", single) == 0)
            {
                AddDisableValue(single);
            }
            else
            {
                AddDisableValue(0);
            }
        }
    }

    if (DescriptionItems::HasStyleWord(block, "disabled"))
        SetControlEnabled(false);
    if (DescriptionItems::HasStyleWord(block, "notouch"))
        touch = false;
    if (DescriptionItems::HasStyleWord(block, "softfocus"))
        softFocus = true;
    if (DescriptionItems::HasStyleWord(block, "inputDisabled"))
        inputDisabled = true;
    if (DescriptionItems::HasStyleWord(block, "outputDisabled"))
        outputDisabled = true;

    ReadMessageAttributes(block);

    float delta = 0.0f;
    int32_t wholeDelta = 0;
    if (block.FindFloat("paramDelta", delta) == 0)
        paramDelta = delta;
    else if (block.FindInt32("paramDelta", wholeDelta) == 0)
        paramDelta = static_cast<float>(wholeDelta);

    if (param != nullptr)
        SetPot(param);
}

void XControl::ReadMessageAttributes(XMessage& block)
{
    int32_t code = 0;
    if (block.FindInt32("message", code) == 0)
    {
        auto message = std::make_unique<XMessage>(static_cast<uint32_t>(code));
        const char* text = nullptr;
        XHandler* target = nullptr;
        XLooper* looper = nullptr;
        if (block.FindString("target", text) == 0)
            target = FindHandlerByPath(text, &looper);
        if (target != nullptr)
            SetTarget(target, looper);
        else
            SetTarget(GetApplication(), nullptr);
        if (block.FindString("messageArgs", text) == 0)
            XViewBuilder::ParseArgs(XString(text), message.get());
        SetMessage(message.release());
    }

    const char* command = nullptr;
    if (block.FindString("cmd", command) == 0 || block.FindString("command", command) == 0)
        SetCommand(command);
}

bool XControl::WantsMouse() const
{
    return hilited && IsEnabled();
}

bool XControl::MouseDown(const XPoint& point, int32_t button)
{
    if (!IsEnabled() || inputDisabled)
        return XView::MouseDown(point, button);
    if (button == kButtonLeft)
    {
        XParam* param = GetPot();
        if (param != nullptr && IsResetKeyDown())
            param->ChangeValue(param->GetDefault(), true);
        return true;
    }
    if (button == kButtonRight)
        return ContextClick(point);
    return true;
}

bool XControl::MouseWheel(const XPoint&, int32_t steps)
{
    XParam* param = GetPot();
    if (!IsEnabled() || param == nullptr || steps == 0)
        return false;
    // The notch count is not used: one event moves one stride.
    const int32_t stride = IsFineWheelKeyDown() ? kFineWheelSteps : kWheelSteps;
    param->StepBy(steps > 0 ? stride : -stride, true);
    return true;
}

void XControl::FocusChanged(bool focused)
{
    XView::FocusChanged(focused);
    if (!softFocus)
        return;
    if (XApplication* application = GetApplication())
    {
        XMessage message(kFocusParamMessage);
        message.AddPointer("pParam", GetPot());
        application->PostMessage(&message);
    }
}

void XControl::visibilityChanged()
{
    XView::visibilityChanged();
    visibleMirror.store(isVisible());
}

void XControl::paint(juce::Graphics& g)
{
    XView::paint(g);
    drawnPosition = shownPosition;
}

// Handler part -----------------------------------------------------------------------------------

void XControl::MessageReceived(XMessage& message)
{
    if (message.GetWhat() != kSetLabelMessage)
    {
        XView::MessageReceived(message);
        return;
    }
    const char* text = nullptr;
    if (message.FindString("label", text) == 0)
        SetLabel(XString(text));
    Invalidate();
}

void XControl::LockFeedback()
{
    // Looked up each time: the application may make or replace it at any time.
    XParam* lockMode = FindParam("%s", kLockModeParamPath);
    if (lockMode == nullptr)
        return;
    XParam* bound = GetPot();
    if (lockMode->GetValue() != 0.0)
    {
        SetControlEnabled(false);
        SetTooltipText(kPresetLockedText);
    }
    else if (bound != nullptr && (bound->GetFlags() & kParamLockedFlag) != 0)
    {
        SetControlEnabled(false);
        SetTooltipText(kParamLockedText);
    }
    else
    {
        const XString tooltip = GetTooltipText();
        if (tooltip == kPresetLockedText || tooltip == kParamLockedText)
        {
            SetControlEnabled(true);
            SetTooltipText(XString());
        }
    }
}

void XControl::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr)
        return;
    XParam* const bound = GetPot();
    const uint32_t what = static_cast<uint32_t>(code);

    if (what == XMsgCode::kBindParam)
    {
        SetPot(param);
        return;
    }
    if (what == XMsgCode::kParamDestroyed)
    {
        if (param == bound)
        {
            if (param != GetShowParam())
                param->RemoveWatcher(this);
            boundParam.store(nullptr);
            SetPosition(0);
            PotChanged(nullptr);
        }
        if (param == disableParam)
        {
            param->RemoveWatcher(this);
            disableParam = nullptr;
        }
        if (param == GetShowParam())
            XView::ParamChanged(code, param, key);
        return;
    }
    if (what == XMsgCode::kParamFlagsChanged || what == XMsgCode::kRefresh)
    {
        if (param == bound)
            LockFeedback();
        return;
    }
    if (IsValueChangeCode(code))
    {
        if (param == bound)
        {
            if (!outputDisabled)
                SetPosition(ValueToPosition(bound));
            if (param == GetShowParam())
                XView::ParamChanged(code, param, key);
            return;
        }
        if (param == disableParam && disableValues && isVisible())
        {
            XView* parent = GetParentView();
            if (IsTransparent() && parent != nullptr)
                parent->RepaintRect(GetFrame());
            else
                Invalidate();
            // The same parameter may also show and hide the control.
            if (param == GetShowParam())
                XView::ParamChanged(code, param, key);
            return;
        }
    }
    XView::ParamChanged(code, param, key);
}

int32_t XControl::NotifyParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && param == boundParam.load() && IsValueChangeCode(code))
    {
        // Any thread: the component is not touched here; the next refresh pass shows the value.
        if (!outputDisabled.load() && visibleMirror.load())
            ControlRefreshQueue::Get().Enqueue(this);
        return 0;
    }
    return XView::NotifyParamChanged(code, param, key);
}
