#include "widgets/XScrollBar.h"

#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XViewPort.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* kThumbImageHorizontal = "winframe\\scrollthumbh.bmp";
constexpr const char* kThumbImageVertical = "winframe\\scrollthumb.bmp";

/** Arrow images: [horizontal][increase][pressed]. */
constexpr const char* kArrowImages[2][2][2] = {
    {{"winframe\\scrollup.bmp", "winframe\\scrollupL.bmp"},
     {"winframe\\scrolldown.bmp", "winframe\\scrolldownL.bmp"}},
    {{"winframe\\scrollleft.bmp", "winframe\\scrollleftL.bmp"},
     {"winframe\\scrollright.bmp", "winframe\\scrollrightL.bmp"}},
};

/** DrawTriangle's directions. */
constexpr int32_t kPointUp = 0;
constexpr int32_t kPointDown = 1;
constexpr int32_t kPointRight = 2;
constexpr int32_t kPointLeft = 3;

constexpr int kLightShift = 100;
constexpr int kLightLimit = 156;
constexpr int kDarkShift = 50;

bool Contains(const XRect& rect, const XPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

/** The thumb's light colour: each channel + 100 when the largest is below 156, else + (255 - largest). */
XRGB LightOf(const XRGB& back)
{
    const int largest = std::max({back.r, back.g, back.b});
    const int shift = largest < kLightLimit ? kLightShift : 255 - largest;
    return XRGB(static_cast<uint8_t>(back.r + shift), static_cast<uint8_t>(back.g + shift),
                static_cast<uint8_t>(back.b + shift), back.a);
}

/** The thumb's dark colour: each channel - 50 when the smallest is at least 50, else - smallest. */
XRGB DarkOf(const XRGB& back)
{
    const int smallest = std::min({back.r, back.g, back.b});
    const int shift = smallest >= kDarkShift ? kDarkShift : smallest;
    return XRGB(static_cast<uint8_t>(back.r - shift), static_cast<uint8_t>(back.g - shift),
                static_cast<uint8_t>(back.b - shift), back.a);
}

void Line(XCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    canvas.DrawLine(x1, y1, x2, y2, 1, 1);
}
} // namespace

XScrollBar::XScrollBar()
{
    SetOrientation(false);
}

XScrollBar::~XScrollBar()
{
    StopTimer(kRepeatTimerId);
}

void XScrollBar::SetOrientation(bool isHorizontal)
{
    horizontal = isHorizontal;
    minimum = kDefaultMin;
    maximum = kDefaultMax;
    smallStep = kDefaultSmallStep;
    bigStep = kDefaultBigStep;
    thumbFraction = kDefaultThumbFraction;
    repeatMultiplier = 1;
    draggingThumb = increasePressed = decreasePressed = sentDuringPress = false;
    thumbImage = GetResourceManager().GetImage(horizontal ? kThumbImageHorizontal : kThumbImageVertical);
    noThumbImage = thumbImage == nullptr;
    if (thumbImage == nullptr)
        return;
    const XRect frame = GetFrame();
    if (horizontal)
        SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + thumbImage->GetHeight()));
    else
        SetFrame(XRect(frame.left, frame.top, frame.left + thumbImage->GetWidth(), frame.bottom));
}

void XScrollBar::AttachViewPort(XViewPort* viewPort)
{
    if (viewPort != nullptr && !viewPorts.Contains(viewPort))
        viewPorts.Add(viewPort);
}

void XScrollBar::DetachViewPort(XViewPort* viewPort)
{
    viewPorts.Remove(viewPort);
}

void XScrollBar::SetRange(int32_t min, int32_t max)
{
    minimum = min;
    maximum = max;
    Invalidate();
}

// Position ------------------------------------------------------------------------------------------

void XScrollBar::SetPosition(int32_t position)
{
    position = std::max(minimum, std::min(position, maximum));
    if (position == GetPosition())
        return;
    SyncFrom(position, nullptr);
}

void XScrollBar::SyncFrom(int32_t position, XViewPort* source)
{
    if (position == GetPosition())
        return;
    XControl::SetPosition(position);
    sentDuringPress = true;
    SendFinal(!IsPressInProgress());
    ScrollViewPorts(position, source);
}

void XScrollBar::SendFinal(bool final)
{
    const XMessage* stored = GetMessage();
    if (stored == nullptr)
        return;
    XMessage message(*stored);
    message.AddBool("final", final);
    Invoke(&message);
}

void XScrollBar::ScrollViewPorts(int32_t position, XViewPort* except)
{
    for (int32_t index = 0; index < viewPorts.GetCount(); ++index)
    {
        XViewPort* viewPort = viewPorts.GetAt(static_cast<unsigned>(index));
        if (viewPort == except)
            continue;
        const XPoint offset = viewPort->GetScrollPosition();
        if (horizontal)
            viewPort->ScrollTo(-position, offset.y);
        else
            viewPort->ScrollTo(offset.x, -position);
    }
}

// Geometry ---------------------------------------------------------------------------------------------

XRect XScrollBar::GetDecreaseArrowRect() const
{
    const int32_t side = Thickness();
    return horizontal ? XRect(0, kAcrossInset, side, GetHeight() - kAcrossInset)
                      : XRect(kAcrossInset, 0, GetWidth() - kAcrossInset, side);
}

XRect XScrollBar::GetIncreaseArrowRect() const
{
    const int32_t side = Thickness();
    return horizontal ? XRect(GetWidth() - side, kAcrossInset, GetWidth(), GetHeight() - kAcrossInset)
                      : XRect(kAcrossInset, GetHeight() - side, GetWidth() - kAcrossInset, GetHeight());
}

XRect XScrollBar::GetTrackRect() const
{
    const XRect decrease = GetDecreaseArrowRect();
    const XRect increase = GetIncreaseArrowRect();
    return horizontal ? XRect(decrease.right, decrease.top, increase.left, decrease.bottom)
                      : XRect(decrease.left, decrease.bottom, decrease.right, increase.top);
}

int32_t XScrollBar::ThumbLength() const
{
    if (thumbImage != nullptr)
        return horizontal ? thumbImage->GetWidth() : thumbImage->GetHeight();
    const XRect track = GetTrackRect();
    const int32_t length = static_cast<int32_t>(
        std::floor(thumbFraction * static_cast<float>(horizontal ? track.Width() : track.Height())));
    return length <= kShortThumbLimit ? kMinThumbLength : length;
}

XRect XScrollBar::GetThumbRect() const
{
    const XRect track = GetTrackRect();
    const int32_t trackStart = horizontal ? track.left : track.top;
    const int32_t trackLength = horizontal ? track.Width() : track.Height();
    const int32_t length = ThumbLength();
    int32_t start = trackStart;
    if (maximum > minimum)
        start += static_cast<int32_t>(static_cast<int64_t>(trackLength - length + 1) *
                                      (int64_t{GetPosition()} - minimum) / (int64_t{maximum} - minimum));
    return horizontal ? XRect(start, track.top, start + length, track.bottom)
                      : XRect(track.left, start, track.right, start + length);
}

int32_t XScrollBar::PositionForThumbStart(int32_t thumbStart) const
{
    const XRect track = GetTrackRect();
    const int32_t travel = (horizontal ? track.Width() : track.Height()) - ThumbLength() + 1;
    if (travel <= 0 || maximum <= minimum)
        return minimum;
    const int64_t moved = thumbStart - (horizontal ? track.left : track.top);
    const int64_t position = minimum + moved * (int64_t{maximum} - minimum) / travel;
    return static_cast<int32_t>(std::max<int64_t>(minimum, std::min<int64_t>(position, maximum)));
}

// Description ------------------------------------------------------------------------------------------

void XScrollBar::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    bool flag = false;
    if (DescriptionItems::FindFlag(block, "horizontal", flag))
        SetOrientation(flag);
    int32_t number = 0;
    if (block.FindInt32("min", number) == 0)
        minimum = number;
    if (block.FindInt32("max", number) == 0)
        maximum = number;
    number = 0;
    block.FindInt32("smallstep", number);
    smallStep = number != 0 ? number : kDefaultSmallStep;
    number = 0;
    block.FindInt32("bigstep", number);
    bigStep = number != 0 ? number : kDefaultBigStep;
    if (XParam* param = GetPot())
        maximum = static_cast<int32_t>(param->GetCount());
}

// Mouse ------------------------------------------------------------------------------------------------

bool XScrollBar::MouseDown(const XPoint& point, int32_t button)
{
    if (!IsEnabled())
        return XControl::MouseDown(point, button);
    // Every press starts unsent, so a click that changes the position ends with a final message.
    sentDuringPress = false;
    const XRect thumb = GetThumbRect();
    if (Contains(thumb, point))
    {
        grabOffset = XPoint(point.x - thumb.left, point.y - thumb.top);
        draggingThumb = true;
        return true;
    }
    if (Contains(GetIncreaseArrowRect(), point))
    {
        increasePressed = true;
        SetPosition(GetPosition() + smallStep);
    }
    else if (Contains(GetDecreaseArrowRect(), point))
    {
        decreasePressed = true;
        if (GetPosition() != 0)
            SetPosition(GetPosition() - smallStep);
    }
    else if (Contains(GetTrackRect(), point))
    {
        repeatMultiplier = kTrackMultiplier;
        if (Along(point) >= Along(XPoint(thumb.right, thumb.bottom)))
        {
            increasePressed = true;
            SetPosition(GetPosition() + smallStep * repeatMultiplier);
        }
        else
        {
            decreasePressed = true;
            SetPosition(GetPosition() - smallStep * repeatMultiplier);
        }
    }
    else
        return true;
    repeatAcceleration = 0;
    StartTimer(kRepeatTimerId, kRepeatDelayMs, true);
    Invalidate();
    return true;
}

bool XScrollBar::MouseMoved(const XPoint& point, int32_t button)
{
    if (!draggingThumb)
        return XControl::MouseMoved(point, button);
    const XPoint corner(point.x - grabOffset.x, point.y - grabOffset.y);
    SetPosition(PositionForThumbStart(Along(corner)));
    return true;
}

bool XScrollBar::MouseUp(const XPoint& point, int32_t button)
{
    const bool wasPressed = IsPressInProgress();
    repeatMultiplier = 1;
    draggingThumb = increasePressed = decreasePressed = false;
    StopTimer(kRepeatTimerId);
    if (sentDuringPress)
        SendFinal(true);
    sentDuringPress = false;
    if (!wasPressed)
        return XControl::MouseUp(point, button);
    Invalidate();
    return true;
}

bool XScrollBar::StepPressedPart()
{
    if (increasePressed)
    {
        SetPosition(GetPosition() + smallStep * repeatMultiplier);
        return true;
    }
    if (decreasePressed && GetPosition() != 0)
    {
        SetPosition(GetPosition() - smallStep * repeatMultiplier);
        return true;
    }
    return false;
}

void XScrollBar::HandleTimer(int32_t timerId)
{
    if (timerId != kRepeatTimerId)
    {
        XControl::HandleTimer(timerId);
        return;
    }
    if (!StepPressedPart())
        return;
    repeatAcceleration = std::min(repeatAcceleration + kAccelerationStepMs, kMaxAccelerationMs);
    StartTimer(kRepeatTimerId, kRepeatDelayMs - repeatAcceleration, true);
}

// Drawing ----------------------------------------------------------------------------------------------

void XScrollBar::Draw(XCanvas& canvas)
{
    PrepareCanvas(canvas);
    canvas.FillRectColour(GetBounds(), GetBackColor());
    DrawArrow(canvas, true);
    DrawArrow(canvas, false);
    const XRect thumb = GetThumbRect();
    if (thumbImage != nullptr)
    {
        canvas.DrawImageInRect(thumbImage, thumb, XCanvas::kRopCopy);
        return;
    }
    const XRGB back = GetBackColor();
    canvas.EraseRect(thumb);
    canvas.SetForeColor(LightOf(back));
    Line(canvas, thumb.left + 1, thumb.top + 1, thumb.right - 2, thumb.top + 1);
    Line(canvas, thumb.left + 1, thumb.top + 1, thumb.left + 1, thumb.bottom - 2);
    canvas.SetForeColor(DarkOf(back));
    canvas.FrameRect(thumb);
    canvas.SetForeColor(GetForeColor());
}

void XScrollBar::DrawArrow(XCanvas& canvas, bool increase)
{
    const XRect square = increase ? GetIncreaseArrowRect() : GetDecreaseArrowRect();
    const bool pressed = increase ? increasePressed : decreasePressed;
    if (thumbImage != nullptr)
    {
        if (XImage* image = GetResourceManager().GetImage(kArrowImages[horizontal][increase][pressed]))
            canvas.DrawImageInRect(image, square, XCanvas::kRopCopy);
        return;
    }
    PrepareCanvas(canvas);
    canvas.EraseRect(square);
    const XRGB back = GetBackColor();
    if (!pressed)
    {
        canvas.SetForeColor(DarkOf(back));
        canvas.FrameRect(square);
        Line(canvas, square.right - 1, square.top, square.right - 1, square.bottom);
        Line(canvas, square.left, square.bottom - 1, square.right, square.bottom - 1);
        canvas.SetForeColor(LightOf(back));
        Line(canvas, square.left + 1, square.top + 1, square.right - 2, square.top + 1);
        Line(canvas, square.left + 1, square.top + 1, square.left + 1, square.bottom - 2);
    }
    canvas.SetForeColor(GetForeColor());
    const int32_t direction =
        horizontal ? (increase ? kPointRight : kPointLeft) : (increase ? kPointDown : kPointUp);
    canvas.DrawTriangle(square.left + square.Width() / 2, square.top + square.Height() / 2,
                        std::min(square.Width(), square.Height()) / 3, direction);
}
