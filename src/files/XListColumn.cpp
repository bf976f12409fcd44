#include "files/XListColumn.h"

#include "files/XListContainer.h"
#include "files/XListRow.h"
#include "files/XListView.h"
#include "gui/JUCECanvas.h"
#include "gui/XStyle.h"

#include <algorithm>

XListColumn::XListColumn(XListContainer* owner, const XRect& frame, const XString& title, int32_t id)
    : XView(frame), container(owner), identifier(id)
{
    SetLabel(title, true);
}

void XListColumn::Draw(XCanvas& canvas)
{
    XStyle* style = GetStyle();
    if (style == nullptr || container == nullptr)
        return;
    // Only the rows that meet the area being repainted are drawn.
    XRect area = GetVisibleFrame();
    if (auto* juceCanvas = dynamic_cast<JUCECanvas*>(&canvas))
        if (juce::Graphics* graphics = juceCanvas->GetGraphics())
        {
            const juce::Rectangle<int> clip = graphics->getClipBounds();
            area = area.Intersect(XRect(clip.getX(), clip.getY(), clip.getRight(), clip.getBottom()));
        }
    if (area.IsEmpty())
        return;
    PrepareCanvas(canvas);
    style->EraseBackground(area, canvas);

    XListView* list = container->GetOwner();
    const int32_t pitch = std::max(1, container->GetPitch());
    const bool focused = list != nullptr && list->HasKeyFocus();
    const int32_t firstRow = std::max(0, area.top / pitch);
    const int32_t lastRow = firstRow + (area.Height() + pitch - 1) / pitch;
    const int32_t width = GetWidth();
    for (int32_t index = firstRow; index <= lastRow; ++index)
    {
        const XRect cell(0, index * pitch, width, (index + 1) * pitch);
        XListRow* row = container->GetRowAt(index);
        if (row != nullptr)
            row->DrawCell(cell, canvas, style, identifier, row->IsSelected(), row->GetSelectionToggle(),
                          focused, container->GetDrawDividers(), index % 2 == 0, true);
        else
            style->DrawListColumn(canvas, cell, index % 2 == 0);
    }
}

void XListColumn::mouseDown(const juce::MouseEvent& event)
{
    if (container != nullptr)
        container->NotePressModifiers(event.mods);
    XView::mouseDown(event);
}

bool XListColumn::MouseDown(const XPoint& point, int32_t button)
{
    XListView* list = container != nullptr ? container->GetOwner() : nullptr;
    if (button == kButtonLeft && list != nullptr)
    {
        const int32_t position = container->GetColumnPosition(this);
        const int32_t columnIndex = container->GetColumnIndexAt(position);
        if (list->RowAtPoint(point) != nullptr)
        {
            const bool handled = IsDoubleClickInProgress() ? list->RowDoubleClicked(point, columnIndex)
                                                           : list->RowClicked(point, columnIndex);
            if (handled)
                return true;
        }
    }
    return XView::MouseDown(point, button);
}
