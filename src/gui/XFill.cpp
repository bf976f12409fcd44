#include "gui/XFill.h"

#include "core/XMessage.h"
#include "gui/ViewPool.h"
#include "gui/XCanvas.h"
#include "gui/XStyle.h"

void* XFill::operator new(std::size_t size)
{
    return ViewPool<XFill>::AllocateOrThrow(size);
}

void* XFill::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return ViewPool<XFill>::Allocate(size);
}

void XFill::operator delete(void* block, std::size_t size) noexcept
{
    ViewPool<XFill>::Release(block, size);
}

int32_t XFill::CountPooledBlocks()
{
    return ViewPool<XFill>::CountBlocksInUse();
}

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
