#include "gui/XButton.h"

#include "core/ModifierKeyState.h"
#include "core/XApplication.h"
#include "core/XClassPropertyTable.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XStringConversion.h"
#include "gui/DescriptionItems.h"
#include "gui/DescriptionValues.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XSynchBlinker.h"
#include "platform/PlatformClock.h"

#include <cmath>

namespace
{
constexpr const char* kButtonLitColourName = "buttonLit";
constexpr const char* kButtonDimColourName = "buttonDim";
constexpr const char* kGenButtonTextLitColourName = "genButtonTextLitColor";
constexpr const char* kButtonTextLitColourName = "buttonTextLit";
constexpr const char* kGenButtonTextColourName = "genButtonTextColor";
constexpr const char* kButtonTextColourName = "buttonText";
constexpr const char* kButtonFontName = "button";
constexpr const char* kFallbackFontName = "small";
/** GetPreferredSize: the label's width plus this, the font's height plus kPreferredExtraHeight. */
constexpr int32_t kPreferredExtraWidth = 16;
constexpr int32_t kPreferredExtraHeight = 8;
/** A parameter value at or above this makes a bound button blink. */
constexpr double kBlinkValue = 2.0;
/** Modifier bits that keep a key from a button: Shift, Ctrl, Alt and the toolkit's command key. */
constexpr XKeyInfo kKeyBlockingModifiers = 0x3F | 0x100;

/** Buttons share one font, found once ("button", else "small"); not owned. */
XFont* SharedButtonFont()
{
    static XFont* font = nullptr;
    if (font == nullptr)
        font = XFont::GetNamedFont(kButtonFontName, false);
    if (font == nullptr)
        font = XFont::GetNamedFont(kFallbackFontName, false);
    return font;
}

bool FindEitherColour(const XMessage& block, const char* first, const char* second, XRGB& colour)
{
    return DescriptionItems::FindColour(block, first, colour) ||
           DescriptionItems::FindColour(block, second, colour);
}

XParamEvent MakeEvent(int32_t type, float value)
{
    return XParamEvent{type, value, PlatformClock::GetTickCount(), 1};
}
} // namespace

// Properties ---------------------------------------------------------------------------------------

XClassPropertyTable* XButton::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XButton", XView::GetClassPropertyTable());
    return table;
}

XButton::_prop_CaresAboutModifiers::_prop_CaresAboutModifiers(XButton* owner)
    : PropertyTyped<bool>(owner, false)
{
    GetInfo();
}

const XPropertyInfo& XButton::_prop_CaresAboutModifiers::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("bool", "CaresAboutModifiers", XVariant(false));
    return info;
}

XButton::_prop_ShouldMoveWhenPressed::_prop_ShouldMoveWhenPressed(XButton* owner)
    : PropertyTyped<bool>(owner, true)
{
    GetInfo();
}

const XPropertyInfo& XButton::_prop_ShouldMoveWhenPressed::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("bool", "ShouldMoveWhenPressed", XVariant(true));
    return info;
}

// Construction ---------------------------------------------------------------------------------------

XButton::XButton() : caresAboutModifiers(this), shouldMoveWhenPressed(this)
{
    Initialise();
}

XButton::XButton(const XRect& frame, const char* name)
    : XControl(frame, name, nullptr), caresAboutModifiers(this), shouldMoveWhenPressed(this)
{
    Initialise();
}

XButton::XButton(const char* mainImageName, const char* secondImageName, const XRect& frame)
    : XControl(frame, "", nullptr), caresAboutModifiers(this), shouldMoveWhenPressed(this)
{
    Initialise();
    SetImage(mainImageName, secondImageName, nullptr);
}

XButton::XButton(const XRect& frame, const char* label, const char* mainImageName,
                 const char* secondImageName, const char* thirdImageName)
    : XControl(frame, label, nullptr), caresAboutModifiers(this), shouldMoveWhenPressed(this)
{
    Initialise();
    SetImage(mainImageName, secondImageName, thirdImageName);
}

XButton::XButton(const XRect& frame, const char* name, const char* commandName, const char* mainImageName,
                 const char* secondImageName, const char* thirdImageName)
    : XControl(frame, name, nullptr), caresAboutModifiers(this), shouldMoveWhenPressed(this)
{
    Initialise();
    if (commandName != nullptr && commandName[0] != '\0')
        SetCommand(commandName);
    SetImage(mainImageName, secondImageName, thirdImageName);
}

XButton::XButton(const XRect& frame, XParam* param, const char* mainImageName, const char* litImageName,
                 const char* pressedImageName, const char* style)
    : XControl(frame, "", param), caresAboutModifiers(this), shouldMoveWhenPressed(this)
{
    Initialise();
    SetImage(mainImageName, litImageName, pressedImageName);
    if (style != nullptr)
        ApplyStyleWords(XString(style));
}

XButton::~XButton()
{
    StopTimer(kRepeatTimerId);
    if (XSynchBlinker::Exists())
        XSynchBlinker::Get().Remove(this);
    blinking = false;
    FinishParamPress();
    if (XView* window = GetWindow(); window != this && window->GetCurrentControl() == this)
        window->SetCurrentControl(nullptr);
}

void XButton::Initialise()
{
    XSynchBlinker::Get();
    XColorDictionary& dictionary = GetColorDictionary();
    dictionary.FindColor(kButtonLitColourName, litColor);
    dictionary.FindColor(kButtonDimColourName, dimColor);
    if (dictionary.FindColor(kGenButtonTextLitColourName, litTextColor) != XColorDictionary::kResultOk)
        dictionary.FindColor(kButtonTextLitColourName, litTextColor);
    if (dictionary.FindColor(kGenButtonTextColourName, textColorNormal) != XColorDictionary::kResultOk)
        dictionary.FindColor(kButtonTextColourName, textColorNormal);
    if (XFont* font = SharedButtonFont())
        SetFont(font);
    SetSwipeable(true);
}

void XButton::SetImage(const char* mainImageName, const char* secondImageName, const char* thirdImageName)
{
    XResourceManager& resources = GetResourceManager();
    if (mainImageName != nullptr && mainImageName[0] != '\0')
        mainImage = resources.GetImage(XString(mainImageName));
    if (secondImageName != nullptr && secondImageName[0] != '\0')
        secondImage = resources.GetImage(XString(secondImageName));
    if (thirdImageName != nullptr && thirdImageName[0] != '\0')
        thirdImage = resources.GetImage(XString(thirdImageName));
    if (mainImage != nullptr)
        SizeFrameToImage();
    Invalidate();
}

void XButton::SizeFrameToImage()
{
    if (mainImage == nullptr)
        return;
    const XRect frame = GetFrame();
    SetFrame(
        XRect(frame.left, frame.top, frame.left + mainImage->GetWidth(), frame.top + mainImage->GetHeight()));
}

void XButton::ApplyStyleWords(const XString& words)
{
    juce::StringArray list;
    list.addTokens(ToJuceString(words), ",", "");
    for (const juce::String& raw : list)
    {
        const juce::String word = raw.trim();
        if (word.equalsIgnoreCase("momentary"))
            momentary = true;
        else if (word.equalsIgnoreCase("noFocus"))
            noFocus = true;
        else if (word.equalsIgnoreCase("repeatClick"))
            repeatClick = true;
    }
}

// Attributes -----------------------------------------------------------------------------------------

void XButton::ReadAttributes(XMessage& block)
{
    int32_t match = 0;
    if (block.FindInt32("matchvalue", match) == 0)
        SetMatchMode(true, static_cast<float>(match));

    XControl::ReadAttributes(block);

    DescriptionItems::FindColour(block, "color1", dimColor);
    FindEitherColour(block, "hiliteforecolor", "color2", litColor);
    FindEitherColour(block, "textcolor", "color3", textColorNormal);
    FindEitherColour(block, "textlitcolor", "color4", litTextColor);

    if (DescriptionItems::HasStyleWord(block, "momentary"))
        momentary = true;
    if (DescriptionItems::HasStyleWord(block, "noFocus"))
        noFocus = true;
    if (DescriptionItems::HasStyleWord(block, "repeatClick"))
        repeatClick = true;
    DescriptionItems::FindFlag(block, "doesntLightUp", doesntLightUp);
    DescriptionItems::FindFlag(block, "drawLabel", drawLabel);

    const char* text = nullptr;

    if (block.FindString("litLabel", text) == 0)
        SetLitLabel(XString(text));
    XRect frame;
    if (block.FindRect("labelFrame", frame) == 0)
        SetLabelRect(frame);

    int32_t arrayIndex = -1;
    if (block.FindInt32("currentArrayIndex", arrayIndex) != 0)
        arrayIndex = -1;
    XResourceManager& resources = GetResourceManager();
    XImage** const slots[] = {&mainImage, &secondImage, &thirdImage};
    for (int32_t index = 0; index < 3; ++index)
    {
        if (block.FindString("imagename", text, index) != 0)
            continue;
        XString name(text);
        int conversion = -1;
        if (arrayIndex >= 0 && name.Find("%d", conversion))
            name = DescriptionValues::FormatWithIndex(name, arrayIndex);
        *slots[index] = resources.GetImage(name);
    }
    if (mainImage != nullptr)
        SizeFrameToImage();
}

void XButton::ApplyStyle()
{
    if (XView* parent = GetParentView())
        SetBackColor(parent->GetBackColor());
    XControl::ApplyStyle();
    if (mainImage != nullptr)
    {
        SizeFrameToImage();
        if (mainImage->HasAlpha())
            setOpaque(false);
    }
}

// Queries ------------------------------------------------------------------------------------------

void XButton::GetPreferredSize(int32_t& width, int32_t& height)
{
    XFont* font = GetFont();
    if (font == nullptr)
    {
        width = 0;
        height = 0;
        return;
    }
    width = font->GetStringWidth(GetLabel()) + kPreferredExtraWidth;
    height = font->GetHeight() + kPreferredExtraHeight;
}

bool XButton::IsLit(int32_t position) const
{
    if (blinking)
        return !XSynchBlinker::Get().IsPhaseOff();
    if (!matchMode)
        return position != 0;
    return position == static_cast<int32_t>(std::trunc(matchValue));
}

void XButton::SetMatchMode(bool on, float value)
{
    matchValue = value;
    matchMode = on;
    if (!on)
        return;
    if (XParam* param = GetPot())
        SetPosition(static_cast<int32_t>(std::trunc(param->GetValue())));
    if (blinking)
        StopBlinking();
}

void XButton::SetLitLabel(const XString& text)
{
    XApplication* application = GetApplication();
    litLabel = application != nullptr ? application->GetMenuLabel(GetTranslationSection().CStr(), text.CStr())
                                      : text;
}

XString XButton::GetLabelFor(bool lit) const
{
    if (!drawLabel)
        return XString();
    if (lit && !litLabel.IsEmpty())
        return litLabel;
    return GetLabel();
}

XRect XButton::GetDrawFrame() const
{
    return GetBounds();
}

XRect XButton::GetLabelRect() const
{
    if (labelRect.Width() != 0 && labelRect.Height() != 0)
        return labelRect;
    return GetDrawFrame();
}

int32_t XButton::GetPixelRange() const
{
    XParam* param = GetPot();
    return param != nullptr ? static_cast<int32_t>(param->GetCount()) : 1;
}

bool XButton::IsInside(const XPoint& point) const
{
    // Edges included: a press on the last row or column still counts.
    return point.x >= 0 && point.y >= 0 && point.x <= GetWidth() && point.y <= GetHeight();
}

// Blinking -------------------------------------------------------------------------------------------

void XButton::StartBlinking()
{
    blinking = true;
    XSynchBlinker::Get().Add(this);
}

void XButton::StopBlinking()
{
    blinking = false;
    XSynchBlinker::Get().Remove(this);
}

// Position -------------------------------------------------------------------------------------------

void XButton::SetPosition(int32_t position)
{
    XControl::SetPosition(position);
    XParam* param = GetPot();
    if (matchMode || param == nullptr)
        return;
    const bool shouldBlink = param->GetValue() >= kBlinkValue;
    if (shouldBlink && !blinking)
    {
        StartBlinking();
        Invalidate();
    }
    else if (!shouldBlink && blinking)
    {
        StopBlinking();
        Invalidate();
    }
}

void XButton::SetControlEnabled(bool isEnabled)
{
    // A press that began while enabled still ends its edit: the parameter must not stay at 1.
    if (!isEnabled && pressed)
    {
        pressed = false;
        StopTimer(kRepeatTimerId);
        FinishParamPress();
        if (!doesntLightUp && (GetPot() == nullptr || GetMessage() != nullptr))
            SetPosition(0);
    }
    XControl::SetControlEnabled(isEnabled);
}

void XButton::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const uint32_t what = static_cast<uint32_t>(code);
    const bool valueChange = what == XMsgCode::kParamValueSet || what == XMsgCode::kParamChangedByUser;
    if (valueChange && param != nullptr && param == GetPot())
    {
        if (IsOutputDisabled())
            return;
        if (matchMode)
        {
            SetPosition(static_cast<int32_t>(std::trunc(param->GetValue())));
            return;
        }
    }
    XControl::ParamChanged(code, param, key);
}

void XButton::FinishParamPress()
{
    if (!paramEditOpen)
        return;
    paramEditOpen = false;
    XParam* param = GetPot();
    if (param == nullptr)
        return;
    if (momentary)
        param->ChangeValue(0.0, true);
    XParamEvent end = MakeEvent(XParamEvent::kEndEdit, 0.0f);
    param->ApplyEvent(&end);
}

// Mouse ------------------------------------------------------------------------------------------------

bool XButton::MouseDown(const XPoint& point, int32_t button)
{
    if (pressed || !IsEnabled())
        return true;
    if (button != kButtonLeft)
        return XControl::MouseDown(point, button);
    if (!noFocus)
        FocusChanged(true);
    pressStartedSignal.Emit();
    pressed = IsInside(point);
    pressButton = button;

    if (IsDoubleClickInProgress())
    {
        doubleClickedSignal.Emit();
        return true;
    }
    if (GetCaresAboutModifiers())
    {
        const bool alt = IsAltKeyDown();
        const bool ctrl = IsControlKeyDown();
        const bool shift = IsShiftKeyDown();
        if (alt || ctrl || shift)
        {
            if (alt)
                altClickedSignal.Emit();
            if (ctrl)
                ctrlClickedSignal.Emit();
            if (shift)
                shiftClickedSignal.Emit();
            // The modifier signal is the whole click: the release must not send the message too.
            pressed = false;
            return true;
        }
    }

    XParam* param = GetPot();
    if (GetMessage() == nullptr && param != nullptr)
    {
        XView* window = GetWindow();
        if (window != this)
            window->SetCurrentControl(this);
        XParamEvent begin = MakeEvent(XParamEvent::kBeginEdit, 0.0f);
        param->ApplyEvent(&begin);
        paramEditOpen = true;
        if (!momentary)
        {
            XParamEvent edit = matchMode ? MakeEvent(XParamEvent::kSetValue, matchValue)
                                         : MakeEvent(XParamEvent::kMoveSteps, GetParamDelta());
            param->ApplyEvent(&edit);
            Invalidate();
            return true;
        }
        param->ChangeValue(1.0, true);
    }

    if (pressed && param == nullptr && repeatClick)
        StartTimer(kRepeatTimerId, kRepeatPeriodMs, false);
    if (!doesntLightUp)
        SetPosition(1);
    return true;
}

bool XButton::MouseMoved(const XPoint& point, int32_t button)
{
    if (IsEnabled())
        return true;
    return XControl::MouseMoved(point, button);
}

bool XButton::MouseWheel(const XPoint&, int32_t)
{
    return true;
}

bool XButton::MouseUp(const XPoint& point, int32_t button)
{
    // The release of a press reports no button (0): it counts as the pressing button's release.
    if (button != pressButton && button != kButtonNone)
        return true;
    if (!pressed)
        return XControl::MouseUp(point, button);
    pressed = false;
    StopTimer(kRepeatTimerId);
    const bool inside = IsInside(point);

    if (pressButton != kButtonLeft || !IsEnabled())
        return XControl::MouseUp(point, button);

    XView* window = GetWindow();
    if (window != this && window->GetCurrentControl() == this)
        window->SetCurrentControl(nullptr);
    if (!IsDoubleClickInProgress())
    {
        XParam* param = GetPot();
        if (param == nullptr || GetMessage() != nullptr)
        {
            if (!doesntLightUp)
                SetPosition(0);
            if (inside)
            {
                if (!doesntLightUp)
                    Invalidate();
                Invoke();
            }
            else
            {
                Invalidate();
            }
        }
        else
        {
            FinishParamPress();
            Invalidate();
        }
    }
    releasedSignal.Emit();
    if (inside)
        clickedSignal.Emit();
    return true;
}

void XButton::HandleTimer(int32_t timerId)
{
    if (timerId != kRepeatTimerId)
    {
        XControl::HandleTimer(timerId);
        return;
    }
    if (!pressed || !repeatClick || !isVisible())
        return;
    XPoint point;
    int32_t buttons = 0;
    GetMouseState(point, buttons);
    if (buttons != 0 && buttons != 1)
        return;
    if (!IsEnabled() || GetPot() != nullptr)
        return;
    if (IsInside(point))
        Invoke();
}

// Keys -------------------------------------------------------------------------------------------------

bool XButton::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    if ((modifiers & kKeyBlockingModifiers) != 0)
        return false;
    if (!IsEnabled() || GetPot() != nullptr)
        return XControl::HandleKeyPress(keyCode, modifiers);
    if (keyCode == kKeyReturn)
    {
        SetPosition(1);
        if (GetMessage() != nullptr)
        {
            Invalidate();
            Invoke();
            SetPosition(0);
        }
        return true;
    }
    SetPosition(0);
    return XControl::HandleKeyPress(keyCode, modifiers);
}

// Drawing ----------------------------------------------------------------------------------------------

void XButton::ComputeDrawState(XRect& rect, bool& lit, bool& pressedLook) const
{
    const int32_t position = GetPosition();
    // A match-mode button's position is its parameter's value: only the matching one looks on.
    const bool on = matchMode ? IsLit(position) : position != 0;
    pressedLook = on || (GetPot() != nullptr && pressed);
    rect = GetDrawFrame();
    if (pressedLook && GetShouldMoveWhenPressed())
        rect = XRect(rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1);
    lit = IsLit(position);
}

void XButton::DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook)
{
    if (XStyle* style = GetStyle())
        style->DrawButton(this, rect, canvas, lit, pressedLook);
}

void XButton::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    XRect rect;
    bool lit = false;
    bool pressedLook = false;
    ComputeDrawState(rect, lit, pressedLook);
    DrawFace(canvas, rect, lit, pressedLook);
}
