#include "widgets/XPot.h"

#include "core/XApplication.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "gui/DescriptionItems.h"
#include "gui/GuiHelpers.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
/** The pointer position of the previous drag event, shared by all pots. */
XPoint sharedLastPoint;

/** The radius of a description that names none: this much inside the centre's height. */
constexpr int32_t kRadiusMargin = 5;
/** The value shown without a parameter of at least two steps. */
constexpr double kMiddleValue = 0.5;
constexpr int32_t kPageSteps = 10;
/** The most frames a strip loads: a description's count is outside input and bounds the search. */
constexpr int32_t kMaxStripFrames = 512;

/** The key's step: truncated, but a key always moves at least one step its way. */
int32_t KeySteps(float steps)
{
    const auto whole = static_cast<int32_t>(steps);
    if (whole != 0)
        return whole;
    return steps < 0.0f ? -1 : 1;
}
} // namespace

XPot::XPot() : XControl() {}

XPot::~XPot()
{
    if (pointerHidden)
        ShowMousePointer();
}

// Queries ----------------------------------------------------------------------------------------

bool XPot::IsStripReversed() const
{
    return false;
}

int32_t XPot::GetRadius() const
{
    return radius;
}

bool XPot::IsSimButton() const
{
    return simButton;
}

bool XPot::IsTracking() const
{
    return tracking;
}

bool XPot::ShowsValueText() const
{
    return valueText;
}

bool XPot::DrawsLine() const
{
    return line;
}

XPoint XPot::GetCenter() const
{
    return center;
}

int32_t XPot::GetPotType() const
{
    return potType;
}

void XPot::SetPotType(int32_t type)
{
    potType = type;
}

int32_t XPot::GetFirstStripFrame() const
{
    return 0;
}

// Position ---------------------------------------------------------------------------------------

int32_t XPot::GetPixelRange() const
{
    return 2 * GetHeight();
}

double XPot::StepShare() const
{
    XParam* param = GetPot();
    if (param == nullptr || param->GetCount() < 2)
        return -1.0;
    const double share =
        static_cast<double>(param->GetStepIndex()) / static_cast<double>(param->GetCount() - 1);
    return std::clamp(share, 0.0, 1.0);
}

int32_t XPot::ValueToPosition(XParam* param) const
{
    if (param == nullptr)
        return 0;
    // An on/off parameter (count 1) has two positions; a parameter without steps sits at the start.
    const uint32_t count = param->GetCount();
    if (count == 0)
        return static_cast<int32_t>(kStartDegrees);
    const double divisor = count > 1 ? static_cast<double>(count - 1) : 1.0;
    const double share = std::clamp(static_cast<double>(param->GetStepIndex()) / divisor, 0.0, 1.0);
    return static_cast<int32_t>(kStartDegrees + kSweepDegrees * share);
}

void XPot::MoveBy(int32_t steps)
{
    const int32_t before = GetPosition();
    XControl::MoveBy(steps);
    const int32_t after = GetPosition();
    if (after == before)
        return;
    lastChange = after - before;
    valueSignal.Emit(lastChange);
}

// Attributes -------------------------------------------------------------------------------------

void XPot::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    XResourceManager& resources = GetResourceManager();

    const char* text = nullptr;
    const bool named = (block.FindString("imagename", text) == 0 && text[0] != '\0') ||
                       block.FindItem("imageDesc") != nullptr;
    int32_t count = 0;
    if (named)
    {
        if (XImage* image = resources.GetImageFromAttributes(block, 0))
            strip.Add(image);
    }
    else if (block.FindString("imageArrayBase", text) == 0 && text[0] != '\0' &&
             block.FindInt32("imageCount", count) == 0 && count > 0)
    {
        resources.LoadImageSequence(XString(text), std::min(count, kMaxStripFrames), strip);
    }

    const XRect frame = GetFrame();
    if (XImage* first = strip.At(0))
    {
        SetFrame(
            XRect(frame.left, frame.top, frame.left + first->GetWidth(), frame.top + first->GetHeight()));
    }
    else if (frame.Width() != frame.Height())
    {
        const int32_t side = std::min(frame.Width(), frame.Height());
        SetFrame(XRect(frame.left, frame.top, frame.left + side, frame.top + side));
    }

    if (block.FindPoint("center", center) != 0)
        center = XPoint(GetWidth() / 2, GetHeight() / 2);
    int32_t radiusValue = 0;
    // Kept in 16 bits; worked out wide, since the centre is the description's to choose.
    const int64_t wideRadius =
        block.FindInt32("radius", radiusValue) == 0 ? radiusValue : int64_t{center.y} - kRadiusMargin;
    radius = static_cast<int16_t>(wideRadius);
    DescriptionItems::FindFlag(block, "valuetext", valueText);
    if (DescriptionItems::HasStyleWord(block, "noline"))
        line = false;
    if (DescriptionItems::HasStyleWord(block, "simButton"))
    {
        simButton = true;
        // The pot keeps a copy of its own: skin images belong to the resource manager.
        if (block.FindString("simButtonImage", text) == 0)
        {
            if (XImage* image = resources.GetImage(text))
            {
                if (const juce::Image* picture = image->GetJuceImage())
                    simButtonImage = std::make_unique<XImage>(*picture);
            }
        }
    }

    if (block.FindString("type", text) == 0)
    {
        const juce::String type = juce::String::fromUTF8(text).trim();
        potType = type.equalsIgnoreCase("pan")   ? kTypePan
                  : type.equalsIgnoreCase("fan") ? kTypeFan
                                                 : kTypeNormal;
    }
}

// Drawing ----------------------------------------------------------------------------------------

int32_t XPot::GetStripFrame() const
{
    const int count = strip.GetCount();
    if (count == 0)
        return -1;
    if (GetPot() != nullptr)
    {
        const double share = StepShare();
        if (share < 0.0)
            return 0;
        const auto frame = static_cast<int32_t>(share * (count - 1) + 0.5);
        return IsStripReversed() ? count - 1 - frame : frame;
    }
    const int32_t range = GetPixelRange();
    const double share =
        range > 0 ? std::clamp(static_cast<double>(GetPosition()) / static_cast<double>(range), 0.0, 1.0)
                  : 0.0;
    return static_cast<int32_t>(share * (count - 1));
}

void XPot::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    PrepareCanvas(canvas);
    XRect rect = GetBounds();
    if (simButton && tracking && simButtonImage == nullptr)
        rect = XRect(rect.left + kPressedOffset, rect.top + kPressedOffset, rect.right + kPressedOffset,
                     rect.bottom + kPressedOffset);
    const uint32_t rop = IsTransparent() ? XCanvas::kRopTransparent : XCanvas::kRopCopy;
    if (strip.IsEmpty())
    {
        const double share = StepShare();
        if (XStyle* style = GetStyle())
            style->DrawPot(this, share >= 0.0 ? share : kMiddleValue, rect, canvas);
    }
    else
    {
        const int32_t frame = GetStripFrame();
        if (frame >= 0 && frame < strip.GetCount())
        {
            if (XImage* image = strip.At(frame))
                canvas.DrawImageInRect(image, rect, rop);
        }
    }
    if (simButton && tracking && simButtonImage != nullptr)
        canvas.DrawImageInRect(simButtonImage.get(), simButtonImage->GetBounds(), rop);
}

// Keys and clicks --------------------------------------------------------------------------------

bool XPot::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    XParam* param = GetPot();
    if (simButton || !IsEnabled() || param == nullptr)
        return XControl::HandleKeyPress(keyCode, modifiers);
    const float scale = GetDragScale();
    int32_t steps = 0;
    switch (keyCode)
    {
    case XKeyCode::kPageUp:
        steps = KeySteps(kPageSteps * scale);
        break;
    case XKeyCode::kPageDown:
        steps = KeySteps(-kPageSteps * scale);
        break;
    case XKeyCode::kUp:
        steps = KeySteps(scale);
        break;
    case XKeyCode::kDown:
        steps = KeySteps(-scale);
        break;
    default:
        return XControl::HandleKeyPress(keyCode, modifiers);
    }
    param->StepBy(steps, true);
    return true;
}

bool XPot::Click(const XPoint& point)
{
    XParam* param = GetPot();
    if (simButton || param == nullptr || !IsEnabled() || !HasTouch())
        return XControl::Click(point);
    if (XApplication* application = GetApplication())
    {
        XMessage message(kPotClickedMessage);
        message.AddPointer("param", param);
        message.AddPointer("pView", GetWindow());
        application->PostMessage(&message);
    }
    return true;
}

// Mouse ------------------------------------------------------------------------------------------

bool XPot::MouseDown(const XPoint& point, int32_t button)
{
    if (simButton)
        return ButtonMouseDown(point, button);
    XControl::MouseDown(point, button);
    // Only the left button turns the knob; the reset modifier's press has done its work.
    if (button != kButtonLeft || !IsEnabled() || IsInputDisabled() || IsResetKeyDown())
        return true;
    if (IsFineDragKeyDown())
        capture.Take();
    pointerHidden = true;
    pressPoint = point;
    HideMousePointer();
    tracking = true;
    sharedLastPoint = point;
    carriedSteps = 0.0f;
    FocusChanged(true);
    return true;
}

bool XPot::MouseMoved(const XPoint& point, int32_t button)
{
    if (simButton || !IsEnabled())
        return XControl::MouseMoved(point, button);
    if (!tracking || button != kButtonLeft)
        return true;
    if (capture.MoveTakesCapture(IsFineDragKeyDown()))
        return true;

    const int32_t dx = point.x - sharedLastPoint.x;
    const int32_t dy = point.y - sharedLastPoint.y;
    const int32_t delta = std::abs(dx) > std::abs(dy) ? dx : -dy;
    if (XParam* param = GetPot())
    {
        // Whole steps go to the parameter; the fraction is kept for the next move, so that slow
        // fine drags move too.
        const float factor = IsFineWheelKeyDown() ? kFineDragFactor : kDragFactor;
        const float steps = factor * GetParamDelta() * static_cast<float>(delta) + carriedSteps;
        const float whole = std::trunc(steps);
        carriedSteps = steps - whole;
        if (whole != 0.0f)
        {
            XParamEvent event{XParamEvent::kMoveSteps, whole, PlatformClock::GetTickCount(), 0};
            param->ApplyEvent(&event);
        }
    }
    else
    {
        MoveBy(delta);
    }
    sharedLastPoint = point;
    Invoke();
    return true;
}

bool XPot::MouseUp(const XPoint& point, int32_t button)
{
    if (simButton)
        return ButtonMouseUp(point, button);
    if (tracking)
    {
        tracking = false;
        if (pointerHidden)
        {
            capture.ShowPointerAt(pressPoint);
            pointerHidden = false;
        }
        Invoke();
    }
    capture.Release();
    return XControl::MouseUp(point, button);
}

bool XPot::ButtonMouseDown(const XPoint& point, int32_t button)
{
    if (tracking || button != kButtonLeft || !IsEnabled() || GetMessage() == nullptr)
        return XControl::MouseDown(point, button);
    tracking = DragCapture::Contains(GetBounds(), point);
    if (tracking)
    {
        XMessage pressed(*GetMessage());
        pressed.AddBool("isDown", true);
        Invoke(&pressed);
        Invalidate();
    }
    return true;
}

bool XPot::ButtonMouseUp(const XPoint& point, int32_t button)
{
    if (tracking)
    {
        tracking = false;
        if (GetMessage() != nullptr && DragCapture::Contains(GetBounds(), point))
            Invoke();
        Invalidate();
    }
    return XControl::MouseUp(point, button);
}
