#include "widgets/XSlider.h"

#include "core/XClassPropertyTable.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "gui/DescriptionItems.h"
#include "gui/GuiHelpers.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "platform/PlatformClock.h"

#include <algorithm>

namespace
{
constexpr const char* kButtonDimColourName = "buttonDim";
constexpr XRGB kDefaultForeColour(223, 224, 225, 255);
constexpr XRGB kDefaultBackColour(80, 80, 80, 255);
constexpr XRGB kOpaqueBlack(0, 0, 0, 255);
/** Page Up and Page Down move this many steps. */
constexpr int32_t kPageSteps = 10;
/** A relative release applies half the drag scale. */
constexpr float kReleaseScale = 0.5f;
/** The description's image entries: track, knob, pressed knob. */
constexpr int32_t kTrackImageEntry = 0;
constexpr int32_t kKnobImageEntry = 1;
constexpr int32_t kPressedKnobImageEntry = 2;
} // namespace

// Property ---------------------------------------------------------------------------------------

XClassPropertyTable* XSlider::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XSlider", XView::GetClassPropertyTable());
    return table;
}

XSlider::_prop_OnlyHandleKnobInput::_prop_OnlyHandleKnobInput(XSlider* owner)
    : PropertyTyped<bool>(owner, false)
{
    GetInfo();
}

const XPropertyInfo& XSlider::_prop_OnlyHandleKnobInput::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("bool", "OnlyHandleKnobInput", XVariant(false));
    return info;
}

// Construction -----------------------------------------------------------------------------------

XSlider::XSlider() : XControl(), onlyHandleKnobInput(this)
{
    Initialise();
}

XSlider::XSlider(const XRect& frame, const char* label, bool transparent, const char* trackImageName,
                 const char* knobImageName)
    : XControl(frame, label, nullptr), onlyHandleKnobInput(this)
{
    Initialise();
    SetTransparent(transparent);
    SetTrackImage(trackImageName);
    normalKnobImage = SetKnobImage(knobImageName);
}

XSlider::~XSlider()
{
    if (!dragging)
        return;
    ShowMousePointer();
    if (XParam* param = GetPot())
        param->EndEdit();
}

void XSlider::Initialise()
{
    SetForeColor(kDefaultForeColour);
    SetBackColor(kDefaultBackColour);
    XRGB dim;
    if (GetColorDictionary().FindColor(kButtonDimColourName, dim) == XColorDictionary::kResultOk)
        SetForeColor(dim);
}

XImage* XSlider::SetTrackImage(const char* name)
{
    trackImage = name != nullptr ? GetResourceManager().GetImage(name) : nullptr;
    return trackImage;
}

XImage* XSlider::SetKnobImage(const char* name)
{
    knobImage = name != nullptr ? GetResourceManager().GetImage(name) : nullptr;
    return knobImage;
}

XImage* XSlider::SetFocusKnobImage(const char* name)
{
    focusKnobImage = name != nullptr ? GetResourceManager().GetImage(name) : nullptr;
    return focusKnobImage;
}

// Geometry ---------------------------------------------------------------------------------------

bool XSlider::IsVertical() const
{
    return GetHeight() > GetWidth();
}

int32_t XSlider::GetTrackLength() const
{
    return IsVertical() ? GetHeight() : GetWidth();
}

XRect XSlider::GetKnobRect(int32_t position) const
{
    const XRect bounds = GetBounds();
    XRect knob;
    if (!IsVertical())
    {
        const int32_t width = knobImage != nullptr ? knobImage->GetWidth() : kDefaultKnobWidth;
        knob = XRect(bounds.left + position, bounds.top, bounds.left + position + width, bounds.bottom);
        if (knob.right > bounds.right)
        {
            knob.right = bounds.right;
            knob.left = knob.right - width;
        }
        return knob;
    }
    // A thumb height of 0 (or a nonsensical negative one) stands for a quarter of the height.
    if (thumbHeight <= 0)
        thumbHeight = bounds.Height() / kThumbHeightDivisor;
    int32_t height = thumbHeight;
    int32_t width = bounds.Width();
    if (knobImage != nullptr)
    {
        height = knobImage->GetHeight();
        width = knobImage->GetWidth();
    }
    const auto offset = static_cast<int16_t>(knobOffset != 0 ? knobOffset : (bounds.Width() - width) / 2);
    knob.left = bounds.left + offset;
    knob.right = knob.left + width;
    knob.bottom = bounds.bottom - position;
    knob.top = knob.bottom - height;
    if (knob.top < bounds.top)
    {
        knob.top = bounds.top;
        knob.bottom = knob.top + height;
    }
    return knob;
}

int32_t XSlider::GetKnobLength() const
{
    const XRect knob = GetKnobRect(0);
    return IsVertical() ? knob.Height() : knob.Width();
}

int32_t XSlider::GetPixelRange() const
{
    // A knob as long as the track (or longer) leaves no range, never a negative one.
    return std::max(0, GetTrackLength() - GetKnobLength());
}

float XSlider::PointToNormalised(const XPoint& point)
{
    // A track no longer than its knob has no range: its one point stands for the middle.
    constexpr float kMiddle = 0.5f;
    const int32_t length = GetTrackLength();
    const int32_t range = GetPixelRange();
    const auto half = static_cast<int32_t>((length - range) * 0.5);
    float value = 0.0f;
    if (IsVertical())
    {
        if (point.y < half)
            value = 1.0f;
        else if (point.y > length - half)
            value = 0.0f;
        else
            value =
                range > 0 ? static_cast<float>(length - point.y - half) / static_cast<float>(range) : kMiddle;
    }
    else
    {
        if (point.x < half)
            value = 0.0f;
        else if (point.x > length - half)
            value = 1.0f;
        else
            value = range > 0 ? static_cast<float>(point.x - half) / static_cast<float>(range) : kMiddle;
    }
    return std::clamp(value, 0.0f, 1.0f);
}

int32_t XSlider::PointToPosition(const XPoint& point)
{
    const XRect bounds = GetBounds();
    if (!isVisible() || GetPot() == nullptr || !DragCapture::Contains(bounds, point))
        return 0;
    const XRect knob = GetKnobRect(GetPosition());
    int32_t position = 0;
    if (IsVertical())
    {
        if (point.y >= knob.top && point.y < knob.bottom)
            return GetPosition();
        position = bounds.bottom - knob.Height() / 2 - point.y;
    }
    else
    {
        if (point.x >= knob.left && point.x < knob.right)
            return GetPosition();
        position = point.x - knob.Width() / 2;
    }
    return std::clamp(position, 0, GetTrackLength());
}

// Position and repaint ---------------------------------------------------------------------------

void XSlider::SetPosition(int32_t position)
{
    const int32_t shownBefore = GetPosition();
    const int32_t drawn = GetDrawnPosition();
    narrowingRepaint = true;
    XControl::SetPosition(position);
    narrowingRepaint = false;
    const int32_t shown = GetPosition();
    if (shown != shownBefore && shown != drawn && isVisible())
        RepaintPositionChange(drawn, shown);
}

void XSlider::RepaintRect(const XRect& rect)
{
    if (narrowingRepaint && rect == GetBounds())
        return;
    XControl::RepaintRect(rect);
}

void XSlider::RepaintPositionChange(int32_t oldPosition, int32_t newPosition)
{
    RepaintRect(GetKnobRect(oldPosition).Union(GetKnobRect(newPosition)));
}

// Attributes and style ---------------------------------------------------------------------------

void XSlider::ApplyStyle()
{
    if (trackImage != nullptr)
    {
        const XRect frame = GetFrame();
        SetFrame(XRect(frame.left, frame.top, frame.left + trackImage->GetWidth(),
                       frame.top + trackImage->GetHeight()));
    }
    else
    {
        SetTransparentWithColor(true, kOpaqueBlack);
    }
    XControl::ApplyStyle();
}

void XSlider::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    XResourceManager& resources = GetResourceManager();
    if (XImage* image = resources.GetImageFromAttributes(block, kTrackImageEntry))
        trackImage = image;
    if (XImage* image = resources.GetImageFromAttributes(block, kKnobImageEntry))
        knobImage = image;
    if (XImage* image = resources.GetImageFromAttributes(block, kPressedKnobImageEntry))
        pressedKnobImage = image;
    block.FindInt32("knoboffset", knobOffset);
    block.FindInt32("thumbheight", thumbHeight);
    if (DescriptionItems::HasStyleWord(block, "drawtext"))
        drawText = true;
    if (DescriptionItems::HasStyleWord(block, "simplerender"))
        simpleRender = true;
    if (drawText)
        block.FindRect("textrect", textRect);
}

// Drawing ----------------------------------------------------------------------------------------

void XSlider::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawSlider(this, GetBounds(), GetKnobRect(GetPosition()), canvas, !IsVertical(), false,
                          dragging);
}

void XSlider::FocusChanged(bool focused)
{
    XControl::FocusChanged(focused);
    if (focusKnobImage == nullptr || normalKnobImage == nullptr)
        return;
    knobImage = focused ? focusKnobImage : normalKnobImage;
    RepaintRect(GetKnobRect(GetPosition()));
}

// Keys -------------------------------------------------------------------------------------------

bool XSlider::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    XParam* param = GetPot();
    const bool known = keyCode == XKeyCode::kUp || keyCode == XKeyCode::kDown ||
                       keyCode == XKeyCode::kPageUp || keyCode == XKeyCode::kPageDown;
    if (!IsEnabled() || param == nullptr || !known)
        return XControl::HandleKeyPress(keyCode, modifiers);
    beginEditSignal.Emit();
    switch (keyCode)
    {
    case XKeyCode::kUp:
        param->StepBy(1, true);
        break;
    case XKeyCode::kDown:
        param->StepBy(-1, true);
        break;
    case XKeyCode::kPageUp:
        if (!param->StepBy(kPageSteps, true))
            param->ChangeNormalised(1.0, true);
        break;
    default:
        if (!param->StepBy(-kPageSteps, true))
            param->ChangeNormalised(0.0, true);
        break;
    }
    endEditSignal.Emit();
    return true;
}

// Mouse ------------------------------------------------------------------------------------------

void XSlider::MoveRelative(int32_t delta, float factor)
{
    XParam* param = GetPot();
    if (param == nullptr)
    {
        MoveBy(delta);
        return;
    }
    XParamEvent event{XParamEvent::kMoveSteps, GetParamDelta() * static_cast<float>(delta) * factor,
                      PlatformClock::GetTickCount(), 0};
    param->ApplyEvent(&event);
}

bool XSlider::MouseDown(const XPoint& point, int32_t button)
{
    XControl::MouseDown(point, button);
    // Only the left button drags; the reset modifier's press has done its work.
    if (!IsEnabled() || IsInputDisabled() || button != kButtonLeft || IsResetKeyDown())
        return true;
    lastPoint = point;
    moved = false;
    const bool onKnob = DragCapture::Contains(GetKnobRect(GetPosition()), point);
    if (!onKnob && GetOnlyHandleKnobInput())
    {
        dragging = false;
        return true;
    }
    if (IsFineDragKeyDown())
        capture.Take();
    beginEditSignal.Emit();
    XParam* param = GetPot();
    if (param != nullptr)
    {
        param->BeginEdit();
        if (!onKnob)
            param->ChangeNormalised(PointToNormalised(point), true);
    }
    pressPoint = point;
    HideMousePointer();
    dragging = true;
    FocusChanged(true);
    return true;
}

bool XSlider::MouseMoved(const XPoint& point, int32_t button)
{
    if (!IsEnabled() || !dragging)
        return XControl::MouseMoved(point, button);
    if (button != kButtonLeft)
        return true;
    if (!moved && point != pressPoint)
        moved = true;
    if (capture.MoveTakesCapture(IsFineDragKeyDown()))
        return true;

    if (!IsFineWheelKeyDown())
    {
        const float value = PointToNormalised(point);
        if (XParam* param = GetPot())
            param->ChangeNormalised(value, true);
        else
            SetPosition(static_cast<int32_t>(value * static_cast<float>(GetTrackLength())));
    }
    else
    {
        MoveRelative(IsVertical() ? lastPoint.y - point.y : point.x - lastPoint.x, 1.0f);
    }
    lastPoint = point;
    Invoke();
    return true;
}

bool XSlider::MouseUp(const XPoint& point, int32_t button)
{
    const bool wasDragging = dragging;
    XParam* param = GetPot();
    if (dragging && !capture.IsHeld() && moved)
    {
        if (param != nullptr)
        {
            if (!IsFineWheelKeyDown())
                param->ChangeNormalised(PointToNormalised(point), true);
            else
                MoveRelative(IsVertical() ? lastPoint.y - point.y : point.x - lastPoint.x,
                             GetDragScale() * kReleaseScale);
        }
        Invoke();
    }
    if (wasDragging)
    {
        // Only a press that started a drag has an edit to end and a hidden pointer to bring back,
        // over the knob's centre.
        if (param != nullptr)
            param->EndEdit();
        const XRect knob = GetKnobRect(param != nullptr ? ValueToPosition(param) : GetPosition());
        capture.ShowPointerAt(XPoint(knob.left + knob.Width() / 2, knob.top + knob.Height() / 2));
    }
    dragging = false;
    capture.Release();
    if (pressedKnobImage != nullptr && wasDragging)
        RepaintRect(GetKnobRect(GetDrawnPosition()));
    if (wasDragging)
        endEditSignal.Emit();
    return XControl::MouseUp(point, button);
}
