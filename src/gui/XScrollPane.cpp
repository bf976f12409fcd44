#include "gui/XScrollPane.h"

#include "core/XMessage.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XScaler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
constexpr int32_t kContentInset = 1;

XRect Inset(const XRect& rect, int32_t by)
{
    return XRect(rect.left + by, rect.top + by, rect.right - by, rect.bottom - by);
}
} // namespace

// Content -------------------------------------------------------------------------------------------

XScrollPane::SubView::SubView(XScrollPane* owner) : pane(owner) {}

int32_t XScrollPane::SubView::GetPosition(bool horizontal) const
{
    const XPoint offset = GetScrollPosition();
    return -(horizontal ? offset.x : offset.y);
}

int32_t XScrollPane::SubView::GetContentSize(bool horizontal) const
{
    return horizontal ? GetWidth() : GetHeight();
}

int32_t XScrollPane::SubView::GetVisibleSize(bool horizontal) const
{
    if (pane == nullptr)
        return horizontal ? GetWidth() : GetHeight();
    const XRect area = pane->GetContentArea();
    const int32_t inner = horizontal ? area.Width() : area.Height();
    return std::max(0, inner - pane->OtherBarThickness(horizontal));
}

void XScrollPane::SubView::SetPosition(int32_t value, bool horizontal)
{
    const int32_t limit = GetContentSize(horizontal) - GetVisibleSize(horizontal);
    value = std::max(0, std::min(value, limit));
    const XPoint offset = GetScrollPosition();
    if (horizontal)
        ScrollTo(-value, offset.y);
    else
        ScrollTo(offset.x, -value);
    RepaintBars();
}

void XScrollPane::SubView::StepBy(bool page, bool horizontal)
{
    int32_t step = stepSize;
    const XPoint offset = GetScrollPosition();
    const int32_t scrolled = horizontal ? offset.x : offset.y; // 0 or negative
    if (page)
    {
        if (step + scrolled > 0)
            step = std::abs(scrolled);
        if (step == 0)
            return;
        ScrollBy(horizontal ? step : 0, horizontal ? 0 : step);
    }
    else
    {
        const int32_t endOffset = GetContentSize(horizontal) - GetVisibleSize(horizontal);
        if (std::abs(scrolled) + step > endOffset)
            step = endOffset - std::abs(scrolled);
        if (step < 1)
        {
            if (marquee)
                ScrollTo(offset.x, 0);
        }
        else
            ScrollBy(horizontal ? -step : 0, horizontal ? 0 : -step);
    }
    RepaintBars();
}

void XScrollPane::SubView::FitToChildren()
{
    const XPoint offset = GetScrollPosition();
    int32_t width = 0;
    int32_t height = 0;
    for (juce::Component* child : getChildren())
    {
        width = std::max(width, child->getRight() - offset.x);
        height = std::max(height, child->getBottom() - offset.y);
    }
    const XRect frame = GetFrame();
    XRect fitted(frame.left, frame.top, frame.left + width, frame.top + height);
    // A content narrower than the pane's area is widened to it, so its background covers the area.
    if (pane != nullptr)
    {
        const int32_t areaRight = pane->GetContentArea().right - 1;
        if (fitted.right < areaRight)
            fitted.right = areaRight;
    }
    if (fitted != frame)
        SetFrame(fitted);
}

double XScrollPane::SubView::GetRangeStart(bool horizontal)
{
    return GetPosition(horizontal);
}

double XScrollPane::SubView::GetRangeEnd(bool horizontal)
{
    return GetPosition(horizontal) + GetVisibleSize(horizontal);
}

double XScrollPane::SubView::GetContentLength(bool horizontal)
{
    return GetContentSize(horizontal);
}

void XScrollPane::SubView::SetRange(double start, double, bool horizontal)
{
    SetRangeStart(start, horizontal);
}

void XScrollPane::SubView::SetRangeStart(double start, bool horizontal)
{
    constexpr double kLargestPosition = 1.0e9;
    const double limited = std::isfinite(start) ? std::clamp(start, 0.0, kLargestPosition) : 0.0;
    SetPosition(static_cast<int32_t>(std::lround(limited)), horizontal);
}

void XScrollPane::SubView::Step(int flag, bool horizontal)
{
    StepBy(flag == kStepTowardsStart, horizontal);
}

void XScrollPane::SubView::ReadAttributes(XMessage& block)
{
    if (DescriptionItems::HasStyleWord(block, "marquee"))
        marquee = true;
    int32_t number = 0;
    if (block.FindInt32("stepsize", number) == 0 && number > 0)
        stepSize = number;
    if (block.FindInt32("marquee period", number) == 0 && number > 0)
        marqueePeriodMs = number;
    XViewPort::ReadAttributes(block);
}

void XScrollPane::SubView::ApplyStyle()
{
    XViewPort::ApplyStyle();
    // Shown before it was attached (AddChild shows first), the marquee starts now.
    if (marquee && IsVisible())
        StartMarquee();
}

void XScrollPane::SubView::Show()
{
    XViewPort::Show();
    if (marquee)
        StartMarquee();
}

void XScrollPane::SubView::Hide()
{
    StopTimer(kMarqueeTimerId);
    XViewPort::Hide();
}

void XScrollPane::SubView::StartMarquee()
{
    stepSize = 1;
    marqueePeriodMs = std::max(marqueePeriodMs, kMinMarqueePeriodMs);
    ScrollTo(0, 0);
    StartTimer(kMarqueeTimerId, marqueePeriodMs, false);
}

void XScrollPane::SubView::HandleTimer(int32_t timerId)
{
    if (timerId == kMarqueeTimerId)
        StepBy(false, false);
    else
        XViewPort::HandleTimer(timerId);
}

void XScrollPane::SubView::SizeChanged(int32_t dw, int32_t dh)
{
    XViewPort::SizeChanged(dw, dh);
    FitToChildren();
    if (pane != nullptr)
        pane->LayoutBars();
}

void XScrollPane::SubView::AddChild(XView* child)
{
    XViewPort::AddChild(child);
    FitToChildren();
}

XView* XScrollPane::SubView::RemoveChild(XView* child)
{
    XView* focus = XViewPort::RemoveChild(child);
    FitToChildren();
    return focus;
}

void XScrollPane::SubView::RepaintBars()
{
    if (pane == nullptr)
        return;
    for (XScaler* bar : {pane->verticalBar, pane->horizontalBar})
        if (bar != nullptr)
            bar->Invalidate();
}

// Pane ------------------------------------------------------------------------------------------------

XScrollPane::XScrollPane()
    : barForeColor(GetColorDictionary().GetColor(kBarForeColourName)),
      barBackColor(GetColorDictionary().GetColor(kBarBackColourName))
{
}

XScrollPane::~XScrollPane()
{
    // The children go after this part of the pane: nothing of them may call back into it.
    if (content != nullptr)
    {
        content->ForgetPane();
        for (XScaler* bar : {verticalBar, horizontalBar})
            if (bar != nullptr)
                bar->RemoveTarget(content);
    }
}

XRect XScrollPane::GetContentArea() const
{
    return Inset(GetBounds(), kContentInset);
}

bool XScrollPane::IsVerticalBarShown() const
{
    return verticalBar != nullptr && verticalBar->IsVisible();
}

bool XScrollPane::IsHorizontalBarShown() const
{
    return horizontalBar != nullptr && horizontalBar->IsVisible();
}

int32_t XScrollPane::OtherBarThickness(bool horizontal) const
{
    return (horizontal ? IsVerticalBarShown() : IsHorizontalBarShown()) ? barThickness : 0;
}

int32_t XScrollPane::GetScrollPosition(bool horizontal) const
{
    return content != nullptr ? content->GetPosition(horizontal) : 0;
}

int32_t XScrollPane::GetScrollRange(bool horizontal) const
{
    return content != nullptr ? content->GetContentSize(horizontal) : 1;
}

int32_t XScrollPane::GetVisibleSize(bool horizontal) const
{
    return content != nullptr ? content->GetVisibleSize(horizontal) : 1;
}

void XScrollPane::SetScrollRange(double start, double end, bool horizontal)
{
    if (content != nullptr)
        content->SetRange(start, end, horizontal);
}

void XScrollPane::SetScrollPosition(int32_t value, bool horizontal)
{
    if (content != nullptr)
        content->SetPosition(value, horizontal);
}

void XScrollPane::StepScroll(bool page, bool horizontal)
{
    if (content != nullptr)
        content->StepBy(page, horizontal);
}

XScrollPane::SubView& XScrollPane::MakeContent(const XRect& frame, const XRGB& fore, const XRGB& back)
{
    if (content == nullptr)
    {
        content = new SubView(this);
        content->SetFrame(frame);
        content->SetForeColor(fore);
        content->SetBackColor(back);
        XView::AddChild(content);
    }
    return *content;
}

XScaler* XScrollPane::MakeBar(bool horizontal)
{
    auto* bar = new XScaler();
    XMessage block;
    block.AddRect("frame", GetBounds());
    block.AddBool("horizontal", horizontal);
    block.AddColor("forecolor", barForeColor);
    block.AddColor("backcolor", barBackColor);
    block.AddBool("buttons", true);
    if (useScrollImages)
        block.AddString("style", "useImages");
    bar->ReadAttributes(block);
    XView::AddChild(bar);
    return bar;
}

void XScrollPane::LayoutBars()
{
    if (content == nullptr || content->IsMarquee())
    {
        for (XScaler* bar : {verticalBar, horizontalBar})
            if (bar != nullptr)
                bar->Hide();
        return;
    }
    if (verticalBar == nullptr)
    {
        verticalBar = MakeBar(false);
        horizontalBar = MakeBar(true);
        // Bars drawn from the skin's images are as thick as the images.
        if (verticalBar->UsesImages())
            barThickness = verticalBar->GetWidth();
    }
    const XRect bounds = GetBounds();
    const bool verticalShown = content->GetHeight() >= bounds.Height() || showVertical;
    verticalBar->SetFrame(XRect(bounds.right - barThickness, bounds.top, bounds.right, bounds.bottom));
    const bool horizontalShown = bounds.Width() < content->GetWidth() || showHorizontal;
    const int32_t horizontalRight = verticalShown ? bounds.right - barThickness : bounds.right;
    horizontalBar->SetFrame(XRect(bounds.left, bounds.bottom - barThickness, horizontalRight, bounds.bottom));

    for (auto [bar, shown] : {std::pair<XScaler*, bool>(verticalBar, verticalShown),
                              std::pair<XScaler*, bool>(horizontalBar, horizontalShown)})
    {
        if (shown)
        {
            // The bars stand over the content.
            bar->toFront(false);
            bar->Show();
            bar->AddTarget(content);
        }
        else
        {
            bar->Hide();
            bar->RemoveTarget(content);
        }
    }
}

void XScrollPane::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    showVertical = showVertical || DescriptionItems::HasStyleWord(block, "showVScroll");
    showHorizontal = showHorizontal || DescriptionItems::HasStyleWord(block, "showHScroll");
    DescriptionItems::FindFlag(block, "drawFrame", drawFrame);
    DescriptionItems::FindFlag(block, "useScrollImages", useScrollImages);
    barForeColor = GetColorDictionary().GetColor(kBarForeColourName);
    barBackColor = GetColorDictionary().GetColor(kBarBackColourName);
    DescriptionItems::FindColour(block, "scrollForecolor", barForeColor);
    DescriptionItems::FindColour(block, "scrollBackcolor", barBackColor);

    XMessage contentBlock(block);
    contentBlock.ReplaceColor("forecolor", GetBackColor());
    contentBlock.ReplaceRect("frame", GetContentArea());
    if (content == nullptr)
    {
        // Read before it is added, so that a marquee never lays out bars.
        auto* made = new SubView(this);
        made->ReadAttributes(contentBlock);
        content = made;
        XView::AddChild(content);
    }
    else
        content->ReadAttributes(contentBlock);
}

void XScrollPane::ApplyStyle()
{
    XView::ApplyStyle();
    MakeContent(GetBounds(), GetForeColor(), GetBackColor());
    if (IsTransparent())
        content->SetTransparent(true);
}

void XScrollPane::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    if (!drawFrame)
        return;
    const XRect bounds = GetBounds();
    canvas.SetForeColor(GetForeColor());
    canvas.FrameRect(XRect(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1));
}

void XScrollPane::Show()
{
    XView::Show();
    LayoutBars();
}

void XScrollPane::SizeChanged(int32_t dw, int32_t dh)
{
    XView::SizeChanged(dw, dh);
    if (content == nullptr)
        return;
    const XRect area = GetContentArea();
    content->MoveFrameTo(XPoint(area.left, area.top));
    content->FitToChildren();
    LayoutBars();
}

void XScrollPane::AddChild(XView* child)
{
    if (child == nullptr || child == content || child == verticalBar || child == horizontalBar)
    {
        XView::AddChild(child);
        return;
    }
    MakeContent(GetContentArea(), GetForeColor(), GetBackColor()).AddChild(child);
    LayoutBars();
}
