#include "widgets/XYPanner.h"

#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/GuiHelpers.h"
#include "gui/ViewFactory.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "widgets/DragCapture.h"
#include "widgets/SurroundPanner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
/** Changed balls are repainted this much beyond their rectangles. */
constexpr int32_t kRepaintMargin = 1;

XRect Grow(const XRect& rect, int32_t by)
{
    return XRect(rect.left - by, rect.top - by, rect.right + by, rect.bottom + by);
}

/** Whether a description block holds the key at index, as any item. */
bool HasItemAt(const XMessage& block, const char* key, int32_t index)
{
    void* pointer = nullptr;
    const char* text = nullptr;
    return block.FindPointer(key, pointer, index) == 0 || block.FindString(key, text, index) == 0;
}

/** A pixel coordinate truncated toward zero; false for a value that is no number or lies beyond
    the 32-bit range (parameter values outside their range could give one). */
bool TruncToPixel(double value, int32_t& pixel)
{
    if (!std::isfinite(value) || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        return false;
    pixel = static_cast<int32_t>(value);
    return true;
}
} // namespace

// Registration -----------------------------------------------------------------------------------

void XYPanner::RegisterViewTypes()
{
    XView::RegisterViewClass("xypanner", &ViewFactory::Create<XYPanner>);
    XView::RegisterViewClass("surroundpanner", &ViewFactory::Create<SurroundPanner>);
}

XRGB XYPanner::DarkenedColour(const XRGB& colour)
{
    const uint8_t darkest = std::min({colour.r, colour.g, colour.b});
    const uint8_t by = std::min(darkest, kCentreLineDarkening);
    return XRGB(static_cast<uint8_t>(colour.r - by), static_cast<uint8_t>(colour.g - by),
                static_cast<uint8_t>(colour.b - by), colour.a);
}

// Construction -----------------------------------------------------------------------------------

XYPanner::XYPanner() : XControl() {}

XYPanner::~XYPanner()
{
    // No parameter may tell the panner anything while its balls go.
    XParam::ForgetWatcher(this);
    EndEdits();
    balls.clear();
}

const PannerBall* XYPanner::GetBall(int32_t index) const
{
    if (index < 0 || index >= GetBallCount())
        return nullptr;
    return balls[static_cast<size_t>(index)].get();
}

PannerBall* XYPanner::BallAt(int32_t index)
{
    if (index < 0 || index >= GetBallCount())
        return nullptr;
    return balls[static_cast<size_t>(index)].get();
}

XParam* XYPanner::GetParam() const
{
    const PannerBall* ball = GetBall(currentBall < 0 ? 0 : currentBall);
    return ball != nullptr ? ball->xParam : nullptr;
}

// Ball placement ---------------------------------------------------------------------------------

void XYPanner::UpdateBall(int32_t index)
{
    PannerBall* ball = BallAt(index);
    if (ball == nullptr || ball->xParam == nullptr || ball->yParam == nullptr)
        return;
    const double xmin = ball->xParam->GetMin();
    const double xmax = ball->xParam->GetMax();
    const double ymin = ball->yParam->GetMin();
    const double ymax = ball->yParam->GetMax();
    // An empty range has no place to map to: the ball stays where it is.
    if (xmax == 0.0 || ymax == 0.0 || xmax == xmin || ymax == ymin)
        return;
    const double fx = (ball->xParam->GetValue() - xmin) / (xmax - xmin);
    const double fy = (ball->yParam->GetValue() - ymin) / (ymax - ymin);
    const XRect bounds = GetBounds();
    const double width = bounds.Width();
    const double height = bounds.Height();
    const int32_t half = ball->size / 2;

    XRect rect;
    if (!TruncToPixel(width * fx - half, rect.left) || !TruncToPixel(width * fx + half, rect.right) ||
        !TruncToPixel(height - height * fy - half, rect.top) ||
        !TruncToPixel(height - height * fy + half, rect.bottom))
        return;
    ball->next.rect = rect;
}

void XYPanner::RepaintMovedBall(const PannerBall& ball)
{
    if (!ball.HasChanged())
        return;
    const XRect bounds = GetBounds();
    for (const XRect& place : {ball.drawn.rect, ball.next.rect})
    {
        const XRect grown = Grow(place, kRepaintMargin);
        if (crosshairs)
        {
            RepaintRect(XRect(bounds.left, grown.top, bounds.right, grown.bottom));
            RepaintRect(XRect(grown.left, bounds.top, grown.right, bounds.bottom));
        }
        else
        {
            RepaintRect(grown);
        }
    }
}

void XYPanner::RepaintCrosshairs(int32_t index)
{
    const PannerBall* ball = GetBall(index);
    if (!crosshairs || ball == nullptr)
        return;
    const XRect bounds = GetBounds();
    const XRect grown = Grow(ball->drawn.rect, kRepaintMargin);
    RepaintRect(XRect(bounds.left, grown.top, bounds.right, grown.bottom));
    RepaintRect(XRect(grown.left, bounds.top, grown.right, bounds.bottom));
}

// Attributes -------------------------------------------------------------------------------------

void XYPanner::ApplyStyle()
{
    XControl::ApplyStyle();
    for (int32_t index = 0; index < GetBallCount(); ++index)
        UpdateBall(index);
    currentBall = GetBallCount() - 1;
    Invalidate();
}

void XYPanner::SizeChanged(int32_t dw, int32_t dh)
{
    XControl::SizeChanged(dw, dh);
    // The balls keep their values, so their places follow the new size.
    for (int32_t index = 0; index < GetBallCount(); ++index)
        UpdateBall(index);
}

void XYPanner::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    XResourceManager& resources = GetResourceManager();

    if (XImage* image = resources.GetImageFromAttributes(block, 0))
    {
        backgroundImage = image;
        const XRect frame = GetFrame();
        SetFrame(
            XRect(frame.left, frame.top, frame.left + image->GetWidth(), frame.top + image->GetHeight()));
    }

    int32_t ballSize = 0;
    if (block.FindInt32("ballheight", ballSize) != 0 || ballSize <= 0)
        ballSize = kDefaultBallSize;

    for (int32_t index = 0; HasItemAt(block, "xparam", index) && HasItemAt(block, "yparam", index); ++index)
    {
        auto ball = std::make_unique<PannerBall>();
        ball->xParam = DescriptionItems::FindParamItem(block, "xparam", index);
        ball->yParam = DescriptionItems::FindParamItem(block, "yparam", index);
        ball->size = ballSize;
        const char* text = nullptr;
        if (block.FindString("ballimage", text, index) == 0)
        {
            if (XImage* image = resources.GetImage(XString(text)))
            {
                ball->image = image;
                ball->size = std::max(image->GetWidth(), image->GetHeight());
            }
        }
        // A description writes a name made of digits as a number.
        int32_t number = 0;
        if (block.FindString("ballName", text, index) == 0)
            ball->next.name = XString(text);
        else if (block.FindInt32("ballName", number, index) == 0)
            ball->next.name.Format("%d", number);
        else
            ball->next.name.Format("%d", index);
        DescriptionItems::FindColour(block, "color1", ball->next.colour1, index);
        DescriptionItems::FindColour(block, "color2", ball->colour2, index);

        const int32_t key = index + 1;
        if (ball->xParam != nullptr)
            ball->xParam->AddWatcher(this, key, false);
        if (ball->yParam != nullptr)
            ball->yParam->AddWatcher(this, key, false);
        balls.push_back(std::move(ball));
    }

    if (DescriptionItems::HasStyleWord(block, "nocrosshairs"))
        crosshairs = false;
    if (DescriptionItems::HasStyleWord(block, "nolabels"))
        labels = false;
}

// Drawing ----------------------------------------------------------------------------------------

void XYPanner::DrawBackground(XCanvas& canvas)
{
    if (!isVisible())
        return;
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    canvas.EraseRect(bounds);
    if (backgroundImage != nullptr)
    {
        canvas.BlitImage(backgroundImage, bounds, bounds, XCanvas::kRopCopy);
        return;
    }
    const int32_t width = bounds.Width();
    const int32_t height = bounds.Height();
    canvas.SetForeColor(DarkenedColour(GetBackColor()));
    canvas.DrawLine(0, height / 2, width - 1, height / 2, 1, 1);
    canvas.DrawLine(width / 2, 0, width / 2, height, 1, 1);
}

void XYPanner::Draw(XCanvas& canvas)
{
    DrawBackground(canvas);
    if (!isVisible())
        return;
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    const int32_t lastX = bounds.right - 1;
    const int32_t lastY = bounds.bottom - 1;

    if (const PannerBall* current = GetBall(currentBall); crosshairs && current != nullptr)
    {
        const XRect& rect = current->next.rect;
        const int32_t centreX = std::min((rect.left + rect.right) / 2, lastX);
        const int32_t centreY = std::min((rect.top + rect.bottom) / 2, lastY);
        canvas.DrawLine(bounds.left, centreY, lastX, centreY, 1, 1);
        canvas.DrawLine(centreX, bounds.top, centreX, lastY, 1, 1);
    }

    XFont* font = GetFont();
    for (auto& ball : balls)
    {
        if (ball->xParam == nullptr || ball->yParam == nullptr)
            break;
        const XRect& rect = ball->next.rect;
        if (ball->image != nullptr)
        {
            canvas.BlitImage(ball->image, ball->image->GetBounds(), rect, XCanvas::kRopTransparent);
        }
        else
        {
            canvas.SetForeColor(ball->next.colour1);
            canvas.FillCircle((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, rect.Width() / 2);
        }
        if (labels && font != nullptr && rect.Width() > kMinLabelledBallWidth && !ball->next.name.IsEmpty())
        {
            canvas.SetForeColor(ball->colour2);
            canvas.DrawText(rect, ball->next.name,
                            XCanvas::kJustifyCentred | XCanvas::kJustifyVerticallyCentred);
        }
        ball->drawn = ball->next;
    }
}

// Mouse ------------------------------------------------------------------------------------------

void XYPanner::TakeWindowControl()
{
    XView* window = GetWindow();
    if (window != this)
        window->SetCurrentControl(this);
    capturing = true;
}

void XYPanner::ReleaseWindowControl()
{
    XView* window = GetWindow();
    if (window != this && window->GetCurrentControl() == this)
        window->SetCurrentControl(nullptr);
    capturing = false;
}

void XYPanner::BeginEdits(PannerBall& ball)
{
    EndEdits();
    editedX = ball.xParam;
    editedY = ball.yParam != ball.xParam ? ball.yParam : nullptr;
    for (XParam* param : {editedX, editedY})
        if (param != nullptr)
            param->BeginEdit();
}

void XYPanner::EndEdits()
{
    for (XParam* param : {editedX, editedY})
        if (param != nullptr)
            param->EndEdit();
    editedX = nullptr;
    editedY = nullptr;
}

void XYPanner::SetParamsFromPoint(const XPoint& point, bool force)
{
    PannerBall* ball = BallAt(grabbedBall);
    if (ball == nullptr)
        return;
    const XRect bounds = GetBounds();
    const XPoint clamped(std::clamp(point.x, bounds.left, bounds.right),
                         std::clamp(point.y, bounds.top, bounds.bottom));
    const double width = bounds.Width();
    const double height = bounds.Height();
    // A view without height or width has no share to give its axis.
    if (ball->yParam != nullptr && height > 0.0 && (force || clamped.y != lastMousePoint.y))
    {
        XParam& y = *ball->yParam;
        const double share = 1.0 - (clamped.y - bounds.top) / height;
        y.ChangeValue(y.GetMin() + (y.GetMax() - y.GetMin()) * share, true);
    }
    // The y change may have freed the ball's parameters (a watcher reacting to it); look again.
    ball = BallAt(grabbedBall);
    if (ball != nullptr && ball->xParam != nullptr && width > 0.0 && (force || clamped.x != lastMousePoint.x))
    {
        XParam& x = *ball->xParam;
        const double share = (clamped.x - bounds.left) / width;
        x.ChangeValue(x.GetMin() + (x.GetMax() - x.GetMin()) * share, true);
    }
    lastMousePoint = clamped;
}

bool XYPanner::MouseDown(const XPoint& point, int32_t button)
{
    if (button != kButtonLeft)
        return ContextClick(point);
    if (!IsEnabled() || IsInputDisabled())
        return XView::MouseDown(point, button);

    TakeWindowControl();
    grabbedBall = -1;
    for (int32_t index = GetBallCount() - 1; index >= 0; --index)
    {
        if (DragCapture::Contains(balls[static_cast<size_t>(index)]->next.rect, point))
        {
            grabbedBall = index;
            break;
        }
    }
    lastMousePoint = point;

    if (grabbedBall >= 0)
    {
        PannerBall& ball = *balls[static_cast<size_t>(grabbedBall)];
        BeginEdits(ball);
        if (IsResetKeyDown())
        {
            for (XParam* param : {ball.xParam, ball.yParam})
                if (param != nullptr)
                    param->ChangeValue(param->GetDefault(), true);
        }
    }
    else if (GetBallCount() == 1 && DragCapture::Contains(GetBounds(), point))
    {
        // A lone ball jumps to the click and follows the drag from there.
        grabbedBall = 0;
        BeginEdits(*balls.front());
        SetParamsFromPoint(point, true);
    }
    return true;
}

bool XYPanner::MouseMoved(const XPoint& point, int32_t button)
{
    if (grabbedBall >= 0)
    {
        SetParamsFromPoint(point, false);
        return true;
    }
    const bool held = button == kButtonLeft;
    if (held && !capturing)
        TakeWindowControl();
    else if (!held && capturing)
        ReleaseWindowControl();
    return XView::MouseMoved(point, button);
}

bool XYPanner::MouseUp(const XPoint& point, int32_t button)
{
    ShowMousePointer();
    grabbedBall = -1;
    EndEdits();
    ReleaseWindowControl();
    return XView::MouseUp(point, button);
}

// Handler part -----------------------------------------------------------------------------------

void XYPanner::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr)
        return;
    PannerBall* keyed = BallAt(key - 1);
    const bool ballParam = keyed != nullptr && (param == keyed->xParam || param == keyed->yParam);
    if (ballParam && IsValueChangeCode(code))
    {
        const int32_t previous = currentBall;
        currentBall = key - 1;
        if (previous != currentBall)
            RepaintCrosshairs(previous);
        UpdateBall(currentBall);
        RepaintMovedBall(*keyed);
        return;
    }
    if (static_cast<uint32_t>(code) == XMsgCode::kParamDestroyed)
    {
        // A parameter that goes leaves no pointer behind in any ball (or in an open edit).
        for (auto& ball : balls)
        {
            if (ball->xParam == param)
                ball->xParam = nullptr;
            if (ball->yParam == param)
                ball->yParam = nullptr;
        }
        if (editedX == param)
            editedX = nullptr;
        if (editedY == param)
            editedY = nullptr;
    }
    XControl::ParamChanged(code, param, key);
}
