#include "gui/XFill.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"
#include "gui/XStyle.h"

XFill::XFill() = default;

void XFill::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    int32_t size = 0;
    if (block.FindInt32("effectsize", size) == 0)
        effectSize = static_cast<int16_t>(size);
    const char* text = nullptr;
    if (block.FindString("effect", text) == 0 && XString(text) == "sunken")
        effect = kEffectSunken;
}

void XFill::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->FillBackground(GetBounds(), canvas);
}
