#include "gui/XFrame.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"
#include "gui/XStyle.h"

XClassPropertyTable* XFrame::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XFrame", XView::GetClassPropertyTable());
    return table;
}

XFrame::_prop_FrameWidth::_prop_FrameWidth(XFrame* owner) : PropertyTyped<int32_t>(owner, kDefaultFrameWidth)
{
    GetInfo();
}

const XPropertyInfo& XFrame::_prop_FrameWidth::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("int32", "FrameWidth", XVariant(kDefaultFrameWidth));
    return info;
}

XFrame::XFrame() : frameWidth(this) {}

void XFrame::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    int32_t width = 0;
    if (block.FindInt32("framewidth", width) == 0 && width > 0)
        frameWidth.Set(width);
}

void XFrame::ApplyStyle()
{
    if (XStyle* style = GetStyle())
        style->AdjustView(this);
}

void XFrame::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawFrame(this, GetBounds(), canvas, frameWidth.Get());
}

void XFrame::PropertyChanged(XProperty* property)
{
    XView::PropertyChanged(property);
    if (property == &frameWidth)
        Invalidate();
}
