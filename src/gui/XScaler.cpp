#include "gui/XScaler.h"

#include "core/ModifierKeyState.h"
#include "core/XMessage.h"
#include "gui/DescriptionItems.h"
#include "gui/JUCECanvas.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XViewCursors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
const char* const kHorizontalImageNames[XScaler::kImageCount] = {
    "Widgets\\scrollBars\\horizScroll\\horizScrollRightArrow.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollRightArrowLit.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollLeftArrow.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollLeftArrowLit.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollMidTile.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollNubLeft.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollNubRight.png",
    "Widgets\\scrollBars\\horizScroll\\horizScrollNubMidTile.png",
};

const char* const kVerticalImageNames[XScaler::kImageCount] = {
    "Widgets\\scrollBars\\vertScroll\\vertScrollBtmArrow.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollBtmArrowLit.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollTopArrow.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollTopArrowLit.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollMidTile.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollNubTop.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollNubBtm.png",
    "Widgets\\scrollBars\\vertScroll\\vertScrollNubMidTile.png",
};

/** The common part, or the zero rectangle when they do not meet. */
XRect Intersect(const XRect& a, const XRect& b)
{
    const XRect result = a.Intersect(b);
    return result.IsEmpty() ? XRect() : result;
}

bool Contains(const XRect& rect, const XPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

/** Draws the image again and again along the rectangle from its start, each copy cut to the
    rectangle. */
void TileImage(XCanvas& canvas, const XImage* image, const XRect& rect, bool horizontal)
{
    if (image == nullptr || rect.IsEmpty())
        return;
    const int32_t step = horizontal ? image->GetWidth() : image->GetHeight();
    if (step <= 0)
        return;
    const int32_t end = horizontal ? rect.right : rect.bottom;
    for (int32_t at = horizontal ? rect.left : rect.top; at < end; at += step)
    {
        const XRect piece = horizontal ? XRect(at, rect.top, std::min(at + step, end), rect.bottom)
                                       : XRect(rect.left, at, rect.right, std::min(at + step, end));
        canvas.DrawImage(image, image->GetBounds(), piece, XCanvas::kRopCopy);
    }
}
} // namespace

XScaler::XScaler() = default;

XScaler::~XScaler()
{
    StopTimer(kRepeatTimerId);
    StopTimer(kContentCheckTimerId);
}

const char* XScaler::GetImageName(int role, bool horizontalBar)
{
    if (role < 0 || role >= kImageCount)
        return "";
    return horizontalBar ? kHorizontalImageNames[role] : kVerticalImageNames[role];
}

void XScaler::AddTarget(IScalerTarget* target)
{
    if (target != nullptr && !targets.Contains(target))
        targets.Add(target);
}

void XScaler::RemoveTarget(IScalerTarget* target)
{
    targets.Remove(target);
}

IScalerTarget* XScaler::FirstTarget() const
{
    return targets.IsEmpty() ? nullptr : targets.GetAt(0);
}

template <typename Operation> void XScaler::ForEachTarget(Operation operation)
{
    for (int32_t index = 0; index < targets.GetCount(); ++index)
        operation(*targets.GetAt(static_cast<unsigned>(index)));
}

void XScaler::ScrollToStart()
{
    ForEachTarget([this](IScalerTarget& target) { target.SetRangeStart(0.0, horizontal); });
}

// Geometry -----------------------------------------------------------------------------------------

int32_t XScaler::Thickness() const
{
    return horizontal ? GetHeight() : GetWidth();
}

XRect XScaler::GetStartArrowRect() const
{
    if (!buttons)
        return XRect();
    const XRect bounds = XView::GetBounds();
    int32_t length = Thickness();
    if (useImages)
        length = horizontal ? images[kStartArrow]->GetWidth() : images[kStartArrow]->GetHeight();
    const XRect arrow = horizontal ? XRect(0, 0, length, bounds.bottom) : XRect(0, 0, bounds.right, length);
    return Intersect(arrow, bounds);
}

XRect XScaler::GetEndArrowRect() const
{
    if (!buttons)
        return XRect();
    const XRect bounds = XView::GetBounds();
    int32_t length = Thickness();
    if (useImages)
        length = horizontal ? images[kEndArrow]->GetWidth() : images[kEndArrow]->GetHeight();
    const XRect arrow = horizontal ? XRect(bounds.right - length, 0, bounds.right, bounds.bottom)
                                   : XRect(0, bounds.bottom - length, bounds.right, bounds.bottom);
    return Intersect(arrow, bounds);
}

int32_t XScaler::StartArrowLength() const
{
    const XRect arrow = GetStartArrowRect();
    return horizontal ? arrow.Width() : arrow.Height();
}

XRect XScaler::GetTrackRect() const
{
    const XRect bounds = XView::GetBounds();
    const XRect startArrow = GetStartArrowRect();
    const XRect endArrow = GetEndArrowRect();
    XRect track = bounds;
    if (horizontal)
    {
        track.left = startArrow.IsEmpty() ? bounds.left : startArrow.right;
        track.right = endArrow.IsEmpty() ? bounds.right : endArrow.left;
    }
    else
    {
        track.top = startArrow.IsEmpty() ? bounds.top : startArrow.bottom;
        track.bottom = endArrow.IsEmpty() ? bounds.bottom : endArrow.top;
    }
    return Intersect(track, bounds);
}

double XScaler::GetUnitsPerPixel() const
{
    const XRect track = GetTrackRect();
    const int32_t length = horizontal ? track.Width() : track.Height();
    IScalerTarget* target = FirstTarget();
    if (track.IsEmpty() || length <= 0 || target == nullptr)
        return 1.0;
    return target->GetContentLength(horizontal) / length;
}

XRect XScaler::GetThumbRect() const
{
    const XRect track = GetTrackRect();
    if (track.IsEmpty())
        return XRect();
    double start = 0.0;
    double end = 0.0;
    double content = 1.0;
    if (IScalerTarget* target = FirstTarget())
    {
        start = target->GetRangeStart(horizontal);
        end = target->GetRangeEnd(horizontal);
        content = target->GetContentLength(horizontal);
    }
    if (content <= 0.0)
        content = end - start;
    if (content == 0.0)
        content = 1.0;

    const int32_t trackStart = horizontal ? track.left : track.top;
    const int32_t trackEnd = horizontal ? track.right : track.bottom;
    const double trackLength = trackEnd - trackStart;
    // Ranges a target reports are taken within the track before they become pixels.
    auto pixels = [trackLength](double value)
    {
        return static_cast<int32_t>(
            std::trunc(std::isfinite(value) ? std::clamp(value, 0.0, trackLength) : 0.0));
    };
    int32_t thumbStart = trackStart;
    if (start != 0.0)
        thumbStart += pixels(start * trackLength / content);
    const int32_t thumbLength = std::max(kMinThumbLength, pixels(trackLength * (end - start) / content));
    if (thumbStart + thumbLength > trackEnd)
        thumbStart = std::max(trackStart, trackEnd - thumbLength);
    const XRect thumb = horizontal ? XRect(thumbStart, track.top, thumbStart + thumbLength, track.bottom)
                                   : XRect(track.left, thumbStart, track.right, thumbStart + thumbLength);
    return Intersect(thumb, track);
}

int32_t XScaler::HitTest(const XPoint& point) const
{
    if ((startArrowHeld || endArrowHeld) && activePart == kPartNone)
        return kPartNone;
    const XRect thumb = GetThumbRect();
    bool zoomable = false;
    for (int32_t index = 0; index < targets.GetCount() && !zoomable; ++index)
        zoomable = targets.GetAt(static_cast<unsigned>(index))->CanZoom(horizontal);
    if (zoomable && !thumb.IsEmpty())
    {
        const XRect bounds = XView::GetBounds();
        const int32_t startEdge = horizontal ? thumb.left : thumb.top;
        const int32_t endEdge = horizontal ? thumb.right : thumb.bottom;
        auto zone = [&](int32_t edge)
        {
            return horizontal ? XRect(edge - kEdgeZone, bounds.top, edge + kEdgeZone, bounds.bottom)
                              : XRect(bounds.left, edge - kEdgeZone, bounds.right, edge + kEdgeZone);
        };
        if (Contains(zone(startEdge), point))
            return kPartStartEdge;
        if (Contains(zone(endEdge), point))
            return kPartEndEdge;
    }
    return Contains(thumb, point) ? kPartThumb : kPartNone;
}

// View --------------------------------------------------------------------------------------------

void XScaler::ApplyStyle()
{
    XControl::ApplyStyle();
    StartTimer(kContentCheckTimerId, kContentCheckPeriodMs, false);
}

void XScaler::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    DescriptionItems::FindFlag(block, "horizontal", horizontal);
    DescriptionItems::FindFlag(block, "buttons", buttons);
    if (DescriptionItems::HasStyleWord(block, "useImages"))
        useImages = true;
    DescriptionItems::FindFlag(block, "hasOverview", hasOverview);
    LoadImages();
}

void XScaler::LoadImages()
{
    std::fill(std::begin(images), std::end(images), nullptr);
    if (!useImages)
        return;
    XResourceManager& resources = GetResourceManager();
    for (int role = 0; role < kImageCount; ++role)
    {
        images[role] = resources.GetImage(GetImageName(role, horizontal));
        if (images[role] == nullptr)
        {
            useImages = false;
            std::fill(std::begin(images), std::end(images), nullptr);
            return;
        }
    }
    buttons = true;
    const XRect frame = GetFrame();
    if (horizontal)
        SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + images[kEndArrow]->GetHeight()));
    else
        SetFrame(XRect(frame.left, frame.top, frame.left + images[kEndArrow]->GetWidth(), frame.bottom));
}

int32_t XScaler::GetCursorTool(const XPoint& point)
{
    switch (HitTest(point))
    {
    case kPartStartEdge:
    case kPartEndEdge:
        return horizontal ? XViewCursors::kToolLeftRightResize : XViewCursors::kToolUpDownResize;
    case kPartThumb:
        return XViewCursors::kToolDraggingHand;
    default:
        return XViewCursors::kToolNormal;
    }
}

void XScaler::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    if (hasOverview)
    {
        // Targets that draw an overview draw the whole scaler.
        bool drawn = false;
        const XRect bounds = XView::GetBounds();
        const XRect thumb = GetThumbRect();
        const XRect track = GetTrackRect();
        ForEachTarget(
            [&](IScalerTarget& target)
            {
                if (!target.HasOverview(horizontal))
                    return;
                target.DrawOverview(canvas, bounds, thumb, track, horizontal);
                drawn = true;
            });
        if (drawn)
            return;
    }
    if (useImages)
    {
        DrawWithImages(canvas);
        return;
    }
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawScaler(this, XView::GetBounds(), canvas);
}

void XScaler::DrawWithImages(XCanvas& canvas)
{
    const XRect bounds = XView::GetBounds();
    JUCECanvas offscreen(bounds.Width(), bounds.Height());
    offscreen.DrawImageInRect(images[endArrowHeld ? kEndArrowHeld : kEndArrow], GetEndArrowRect(),
                              XCanvas::kRopCopy);
    offscreen.DrawImageInRect(images[startArrowHeld ? kStartArrowHeld : kStartArrow], GetStartArrowRect(),
                              XCanvas::kRopCopy);
    TileImage(offscreen, images[kTrackTile], GetTrackRect(), horizontal);

    const XRect thumb = GetThumbRect();
    if (!thumb.IsEmpty())
    {
        const XImage* startCap = images[kThumbStartCap];
        const XImage* endCap = images[kThumbEndCap];
        const int32_t startLength = horizontal ? startCap->GetWidth() : startCap->GetHeight();
        const int32_t endLength = horizontal ? endCap->GetWidth() : endCap->GetHeight();
        XRect startPiece = thumb;
        XRect endPiece = thumb;
        XRect middle = thumb;
        if (horizontal)
        {
            startPiece.right = std::min(thumb.right, thumb.left + startLength);
            endPiece.left = std::max(thumb.left, thumb.right - endLength);
            middle = XRect(startPiece.right, thumb.top, endPiece.left, thumb.bottom);
        }
        else
        {
            startPiece.bottom = std::min(thumb.bottom, thumb.top + startLength);
            endPiece.top = std::max(thumb.top, thumb.bottom - endLength);
            middle = XRect(thumb.left, startPiece.bottom, thumb.right, endPiece.top);
        }
        TileImage(offscreen, images[kThumbTile], middle, horizontal);
        offscreen.DrawImageInRect(startCap, startPiece, XCanvas::kRopCopy);
        offscreen.DrawImage(endCap, endCap->GetBounds(), endPiece, XCanvas::kRopCopy);
    }
    canvas.CopyCanvas(&offscreen, bounds, bounds, XCanvas::kRopCopy);
}

// Mouse ---------------------------------------------------------------------------------------------

bool XScaler::MouseDown(const XPoint& point, int32_t button)
{
    if (!IsEnabled())
        return XControl::MouseDown(point, button);
    ForEachTarget([this](IScalerTarget& target) { target.BeginScaling(horizontal); });
    const int32_t part = HitTest(point);
    lastPoint = point;
    pressed = true;
    startArrowHeld = false;
    endArrowHeld = false;
    if (part != kPartNone)
    {
        (horizontal ? lastPoint.x : lastPoint.y) -= StartArrowLength();
        activePart = part;
        dragging = true;
    }
    else if (Contains(GetEndArrowRect(), point))
    {
        ForEachTarget([this](IScalerTarget& target)
                      { target.Step(IScalerTarget::kStepTowardsEnd, horizontal); });
        StartTimer(kRepeatTimerId, kEndArrowRepeatMs, false);
        endArrowHeld = true;
    }
    else if (Contains(GetStartArrowRect(), point))
    {
        ForEachTarget([this](IScalerTarget& target)
                      { target.Step(IScalerTarget::kStepTowardsStart, horizontal); });
        StartTimer(kRepeatTimerId, kStartArrowRepeatMs, false);
        startArrowHeld = true;
    }
    else if (Contains(GetTrackRect(), point))
    {
        const XRect thumb = GetThumbRect();
        const int32_t thumbLength = horizontal ? thumb.Width() : thumb.Height();
        const int32_t pixel = std::max(0, Along(point) - StartArrowLength() - thumbLength / 2);
        const double start = pixel * GetUnitsPerPixel();
        ForEachTarget([&](IScalerTarget& target) { target.SetRangeStart(start, horizontal); });
    }
    Invalidate();
    return true;
}

bool XScaler::MouseMoved(const XPoint& point, int32_t button)
{
    if (!IsEnabled())
        return XView::MouseMoved(point, button);
    IScalerTarget* first = FirstTarget();
    if (activePart == kPartNone || first == nullptr)
        return activePart != kPartNone;

    XPoint moved = point;
    (horizontal ? moved.x : moved.y) -= StartArrowLength();
    const double unitsPerPixel = GetUnitsPerPixel();
    double start = first->GetRangeStart(horizontal);
    double end = first->GetRangeEnd(horizontal);

    if (activePart == kPartStartEdge || activePart == kPartEndEdge)
    {
        (activePart == kPartStartEdge ? start : end) = unitsPerPixel * Along(moved);
        if (start > end)
            return true;
        ForEachTarget([&](IScalerTarget& target) { target.SetRange(start, end, horizontal); });
        Invalidate();
        return true;
    }

    int32_t along = Along(moved) - Along(lastPoint);
    int32_t across = Across(moved) - Across(lastPoint);
    if (std::abs(along) > std::abs(across))
        across = 0;
    else if (std::abs(across) > std::abs(along))
        along = 0;
    lastPoint = moved;

    const double content = first->GetContentLength(horizontal);
    double shift = along * unitsPerPixel;
    shift = std::max(shift, -start);
    shift = std::min(shift, content - end);
    start += shift;
    end += shift;

    const XRect thumb = GetThumbRect();
    const int32_t pointer = Along(point);
    const bool beyondThumb = horizontal ? (pointer < thumb.left || pointer >= thumb.right)
                                        : (pointer < thumb.top || pointer >= thumb.bottom);
    if (beyondThumb && !IsShiftKeyDown() && !IsControlKeyDown() && across != 0)
    {
        start -= across * unitsPerPixel;
        end += across * unitsPerPixel;
    }
    if (end >= start)
    {
        ForEachTarget([&](IScalerTarget& target) { target.SetRange(start, end, horizontal); });
        Invalidate();
    }
    return true;
}

bool XScaler::MouseUp(const XPoint& point, int32_t button)
{
    if (!IsEnabled() && !pressed)
        return XView::MouseUp(point, button);
    activePart = kPartNone;
    pressed = false;
    dragging = false;
    startArrowHeld = false;
    endArrowHeld = false;
    StopTimer(kRepeatTimerId);
    ForEachTarget([this](IScalerTarget& target) { target.EndScaling(horizontal); });
    Invalidate();
    return true;
}

bool XScaler::MouseWheel(const XPoint& point, int32_t steps)
{
    if (!IsEnabled())
        return XControl::MouseWheel(point, steps);
    const int flag = (horizontal ? steps < 0 : steps > 0) ? IScalerTarget::kStepTowardsStart
                                                          : IScalerTarget::kStepTowardsEnd;
    ForEachTarget(
        [&](IScalerTarget& target)
        {
            target.BeginScaling(horizontal);
            target.Step(flag, horizontal);
            target.EndScaling(horizontal);
        });
    Invalidate();
    return true;
}

void XScaler::HandleTimer(int32_t timerId)
{
    if (timerId == kContentCheckTimerId)
    {
        IScalerTarget* first = FirstTarget();
        const double content = first != nullptr ? first->GetContentLength(horizontal) : 1.0;
        if (content != cachedContentLength)
        {
            cachedContentLength = content;
            Invalidate();
        }
        return;
    }
    if (timerId == kRepeatTimerId)
    {
        if (endArrowHeld)
            ForEachTarget([this](IScalerTarget& target)
                          { target.Step(IScalerTarget::kStepTowardsEnd, horizontal); });
        else if (startArrowHeld)
            ForEachTarget([this](IScalerTarget& target)
                          { target.Step(IScalerTarget::kStepTowardsStart, horizontal); });
        Invalidate();
        return;
    }
    XControl::HandleTimer(timerId);
}
