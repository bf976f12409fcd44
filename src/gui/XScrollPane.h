#pragma once

#include "core/XMessageCodes.h"
#include "core/XRGB.h"
#include "gui/IScalerTarget.h"
#include "gui/XView.h"
#include "gui/XViewPort.h"

#include <cstdint>

class XScaler;

/** A window onto a larger content (type word "scrollpane"): the content is a view port, sized to
    hold its children, that a vertical and a horizontal scroll bar (XScaler) move; each bar shows
    when the content does not fit along its axis, or always when the style asks for it. As a
    "marquee" the content has no bars and scrolls itself upwards one pixel per tick, back to the top
    at the end.

    Views that a description (or AddChild) adds to the pane go into the content. The pane owns the
    content and the bars (child views). GUI thread only. */
class XScrollPane : public XView
{
public:
    static constexpr int32_t kDefaultBarThickness = 20;
    static constexpr const char* kBarForeColourName = "scrollbarFore";
    static constexpr const char* kBarBackColourName = "scrollbarBack";

    /** The scrolled content: a view port whose frame holds all its children (in unscrolled
        coordinates) and that the pane's bars drive as their scaler target. Its units are pixels:
        the range start is the scroll position, the content length its own width or height, and the
        visible length the pane's inner size less the other bar. */
    class SubView : public XViewPort, public IScalerTarget
    {
    public:
        static constexpr int32_t kDefaultStepSize = 10;
        static constexpr int32_t kDefaultMarqueePeriodMs = 150;
        static constexpr int32_t kMinMarqueePeriodMs = 30;
        static constexpr int32_t kMarqueeTimerId = static_cast<int32_t>(FourCharCode("marq"));

        explicit SubView(XScrollPane* pane);
        /** The pane is going: the content no longer reports to it. */
        void ForgetPane() { pane = nullptr; }

        /** The scroll position along the axis: minus the scroll offset (0 or more). */
        int32_t GetPosition(bool horizontal) const;
        /** The content's length along the axis. */
        int32_t GetContentSize(bool horizontal) const;
        /** What the pane shows of it along the axis. */
        int32_t GetVisibleSize(bool horizontal) const;
        /** Scrolls to the position, limited to 0..content - visible; the bars repaint. */
        void SetPosition(int32_t value, bool horizontal);
        /** One step of the step size towards the start (page) or towards the end; at the end a
            marquee goes back to the top. */
        void StepBy(bool page, bool horizontal);
        /** Sizes the frame (left and top kept) to the children's extent, at least as wide as the
            pane's inner area. */
        void FitToChildren();

        bool IsMarquee() const { return marquee; }
        int32_t GetStepSize() const { return stepSize; }
        int32_t GetMarqueePeriod() const { return marqueePeriodMs; }

        // IScalerTarget ---------------------------------------------------------------------------

        double GetRangeStart(bool horizontal) override;
        double GetRangeEnd(bool horizontal) override;
        double GetContentLength(bool horizontal) override;
        bool HasOverview(bool) override { return false; }
        void DrawOverview(XCanvas&, const XRect&, const XRect&, const XRect&, bool) override {}
        /** Scrolls to the start; the content is not zoomed. */
        void SetRange(double start, double end, bool horizontal) override;
        void SetRangeStart(double start, bool horizontal) override;
        void Step(int flag, bool horizontal) override;
        bool CanZoom(bool) override { return false; }

        // XView ------------------------------------------------------------------------------------

        /** Style word "marquee", "stepsize" and "marquee period" (each taken when > 0), then the
            view's keys. */
        void ReadAttributes(XMessage& block) override;
        void ApplyStyle() override;
        void Show() override;
        void Hide() override;
        void SizeChanged(int32_t dw, int32_t dh) override;
        void AddChild(XView* child) override;
        using XViewPort::AddChild;
        XView* RemoveChild(XView* child) override;
        void HandleTimer(int32_t timerId) override;

    private:
        /** A shown marquee: step 1, period at least kMinMarqueePeriodMs, back to the top, timer. */
        void StartMarquee();
        void RepaintBars();

        XScrollPane* pane;
        int32_t stepSize = kDefaultStepSize;
        bool marquee = false;
        int32_t marqueePeriodMs = kDefaultMarqueePeriodMs;
    };

    XScrollPane();
    ~XScrollPane() override;

    SubView* GetContent() const { return content; }
    XScaler* GetVerticalBar() const { return verticalBar; }
    XScaler* GetHorizontalBar() const { return horizontalBar; }
    bool IsVerticalBarShown() const;
    bool IsHorizontalBarShown() const;
    int32_t GetBarThickness() const { return barThickness; }
    /** The area the content is shown in: the bounds inset by 1 pixel. */
    XRect GetContentArea() const;
    const XRGB& GetBarForeColor() const { return barForeColor; }
    const XRGB& GetBarBackColor() const { return barBackColor; }

    // The content's scroll state, forwarded ([answer without content]) --------------------------

    int32_t GetScrollPosition(bool horizontal) const; // [0]
    int32_t GetScrollRange(bool horizontal) const;    // [1]
    int32_t GetVisibleSize(bool horizontal) const;    // [1]
    void SetScrollRange(double start, double end, bool horizontal);
    void SetScrollPosition(int32_t value, bool horizontal);
    void StepScroll(bool page, bool horizontal);

    /** Makes the bars on first use, then shows each where the content needs it (or the style asks)
        and binds it to the content, or hides and releases it. Nothing without content or for a
        marquee. */
    void LayoutBars();

    // XView -------------------------------------------------------------------------------------

    /** The view's keys, "style" (showVScroll, showHScroll), "drawFrame", "useScrollImages",
        "scrollForecolor", "scrollBackcolor"; then the block goes to the content with "forecolor" the
        pane's back colour and "frame" the content area. */
    void ReadAttributes(XMessage& block) override;
    /** The view's, then the content is made when missing; a transparent pane has a transparent
        content. */
    void ApplyStyle() override;
    void Draw(XCanvas& canvas) override;
    void Show() override;
    void SizeChanged(int32_t dw, int32_t dh) override;
    /** The content and the bars are the pane's own; any other view goes into the content. */
    void AddChild(XView* child) override;
    using XView::AddChild;

private:
    /** The content, made and added on first need with the frame and colours given. */
    SubView& MakeContent(const XRect& frame, const XRGB& fore, const XRGB& back);
    XScaler* MakeBar(bool horizontal);
    /** The thickness of the bar across the given axis while it is shown, else 0. */
    int32_t OtherBarThickness(bool horizontal) const;

    bool showHorizontal = false;
    bool showVertical = false;
    bool drawFrame = false;
    bool useScrollImages = true;
    XRGB barForeColor;
    XRGB barBackColor;
    int32_t barThickness = kDefaultBarThickness;
    SubView* content = nullptr;
    XScaler* verticalBar = nullptr;
    XScaler* horizontalBar = nullptr;
};
