#pragma once

#include "gui/IScalerTarget.h"
#include "gui/XView.h"

#include <cstdint>
#include <memory>

class XListContainer;

/** The column header of a list view. It makes and owns the list's row container, and is the
    horizontal target of the list's scaler (IScalerTarget): the visible range runs from its scroll
    offset over its own width, the content is its content width, and scrolling moves header and
    rows together, never before 0 nor past the content's end (except SetRange, which only keeps
    the start from going below 0). Vertical requests answer 0 and change nothing; it neither
    zooms nor draws an overview. GUI thread. */
class XListHeader : public XView, public IScalerTarget
{
public:
    static constexpr int32_t kDefaultStepSize = 20;

    explicit XListHeader(const XRect& frame);
    ~XListHeader() override;

    XListContainer* GetContainer() const { return container.get(); }

    /** The width of all columns together; negative becomes 0. The offset is kept inside it. */
    void SetContentWidth(int32_t width);
    int32_t GetContentWidth() const { return contentWidth; }
    /** How far header and rows are scrolled to the left, 0..GetMaxScrollOffset. */
    int32_t GetScrollOffset() const { return scrollOffset; }
    /** The content width less the visible width, not below 0. */
    int32_t GetMaxScrollOffset() const;
    /** The pixels one Step scrolls across; values below 1 become 1. */
    void SetStepSize(int32_t pixels);
    int32_t GetStepSize() const { return stepSize; }

    // IScalerTarget --------------------------------------------------------------------------------

    double GetRangeStart(bool horizontal) override;
    double GetRangeEnd(bool horizontal) override;
    double GetContentLength(bool horizontal) override;
    bool HasOverview(bool horizontal) override { return false; }
    void DrawOverview(XCanvas& canvas, const XRect& area, const XRect& thumb, const XRect& track,
                      bool horizontal) override
    {
    }
    void SetRange(double start, double end, bool horizontal) override;
    void SetRangeStart(double start, bool horizontal) override;
    void Step(int flag, bool horizontal) override;
    bool CanZoom(bool horizontal) override { return false; }

private:
    /** Moves header and rows to offset (no clamping here) and repaints on a change. */
    void ScrollTo(int32_t offset);

    std::unique_ptr<XListContainer> container;
    int32_t scrollOffset = 0;
    int32_t contentWidth = 0;
    int32_t stepSize = kDefaultStepSize;
};
