#include "gui/XPict.h"

#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/DescriptionValues.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"

#include <algorithm>
#include <cmath>

namespace
{
/** Opaque white: what a picture without images shows. */
const XRGB kNoImageColour(255, 255, 255, 255);

/** The integer item, or def when there is none. */
int32_t IntOr(const XMessage& block, const char* key, int32_t def)
{
    int32_t value = def;
    return block.FindInt32(key, value) == 0 ? value : def;
}
} // namespace

XPict::XPict() = default;

XPict::XPict(const XRect& frame, const char* name, const char* imageName, bool resize) : XView(frame)
{
    SetName(name != nullptr ? name : "");
    if (imageName == nullptr)
        return;
    if (XImage* image = GetResourceManager().GetImage(imageName))
    {
        images.Add(image);
        if (resize)
            ResizeToImage(*image);
    }
}

XPict::~XPict()
{
    if (boundParam != nullptr)
        boundParam->RemoveWatcher(this);
}

XImage* XPict::GetImageAt(int32_t index) const
{
    return index >= 0 && index < images.GetCount() ? images.At(index) : nullptr;
}

void XPict::SetImage(std::unique_ptr<XImage> image, bool resize)
{
    XImage* const shown = image.get();
    if (image != nullptr)
    {
        images.RemoveAll();
        ownedImage = std::move(image);
    }
    ShowOnly(shown, resize);
}

void XPict::SetBorrowedImage(XImage* image, bool resize)
{
    ShowOnly(image, resize);
}

void XPict::ShowOnly(XImage* image, bool resize)
{
    if (image != nullptr)
    {
        if (resize)
            ResizeToImage(*image);
        images.RemoveAll();
        if (ownedImage.get() != image)
            ownedImage.reset();
        images.Add(image);
        currentIndex = 0;
    }
    Invalidate();
}

void XPict::SetImageByName(const char* imageName, bool resize)
{
    ShowOnly(imageName != nullptr ? GetResourceManager().GetImage(imageName) : nullptr, resize);
}

void XPict::ResizeToImage(const XImage& image)
{
    const XRect frame = GetFrame();
    SetFrame(XRect(frame.left, frame.top, frame.left + image.GetWidth(), frame.top + image.GetHeight()));
}

void XPict::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);

    bool stretch = false;
    DescriptionItems::FindFlag(block, "stretch", stretch);
    images.RemoveAll();

    XResourceManager& resources = GetResourceManager();
    const int32_t arrayIndex = IntOr(block, "currentArrayIndex", -1);
    const char* text = nullptr;
    for (int32_t index = 0; block.FindString("imagename", text, index) == 0 && text[0] != '\0'; ++index)
    {
        XString name(text);
        const int conversion = name.FindNoCase("%d");
        if (arrayIndex >= 0 && conversion >= 0)
            name = DescriptionValues::FormatWithIndex(name.Splice(conversion, 2, "%d"), arrayIndex);
        if (XImage* image = resources.GetImage(name))
            images.Add(image);
    }

    // A mistyped count would try to load numbers without end.
    const int32_t imageCount = std::min(IntOr(block, "imageCount", 0), XPict::kMaxImageCount);
    if (images.IsEmpty() && block.FindString("imageArrayBase", text) == 0 && text[0] != '\0' &&
        imageCount > 0)
        resources.LoadImageSequence(text, imageCount, images);
    if (currentIndex >= images.GetCount())
        currentIndex = 0;

    if (!images.IsEmpty() && !stretch)
        ResizeToImage(*images.At(0));

    if (images.GetCount() == 1)
    {
        tileCount = IntOr(block, "tilecount", 0);
        if (tileCount > 0)
        {
            const XImage& image = *images.At(0);
            tileHorizontal = !(block.FindString("tileDirection", text) == 0 &&
                               (XString(text) == "vert" || XString(text) == "vertical"));
            // A mistyped count would make a frame past the coordinate range and draw without end.
            const int32_t step = std::max(1, tileHorizontal ? image.GetWidth() : image.GetHeight());
            tileCount = std::min(tileCount, XPict::kMaxTiledLength / step);
            const XRect frame = GetFrame();
            if (tileHorizontal)
                SetFrame(
                    XRect(frame.left, frame.top, frame.left + image.GetWidth() * tileCount, frame.bottom));
            else
                SetFrame(
                    XRect(frame.left, frame.top, frame.right, frame.top + image.GetHeight() * tileCount));
        }
    }
    else if (images.GetCount() >= 2)
    {
        void* pointer = nullptr;
        XParam* param = nullptr;
        if (block.FindPointer("param", pointer) == 0)
            param = static_cast<XParam*>(pointer);
        else if (block.FindString("param", text) == 0)
            param = FindParam("%s", text);
        if (param != nullptr)
            Bind(param);
    }
}

void XPict::Bind(XParam* param)
{
    if (boundParam != nullptr)
        boundParam->RemoveWatcher(this);
    boundParam = param;
    boundParam->AddWatcher(this, 0, true);
}

void XPict::ApplyStyle()
{
    XView::ApplyStyle();
    const XImage* first = GetImageAt(0);
    if (!IsTransparent() && first != nullptr && first->HasAlpha())
        SetTransparent(true);
}

void XPict::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr || param != boundParam)
    {
        XView::ParamChanged(code, param, key);
        return;
    }
    if (code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
    {
        boundParam = nullptr;
        return;
    }
    if (!IsValueChangeCode(code))
    {
        XView::ParamChanged(code, param, key);
        return;
    }
    const double value = param->GetValue();
    if (value >= 0.0 && value < static_cast<double>(images.GetCount()))
    {
        currentIndex = static_cast<int32_t>(std::trunc(value));
        Invalidate();
    }
}

void XPict::Draw(XCanvas& canvas)
{
    const XRect bounds = GetBounds();
    if (images.IsEmpty())
    {
        canvas.FillRectColour(bounds, kNoImageColour);
        return;
    }
    const XImage* image = GetImageAt(currentIndex);
    if (image == nullptr)
        image = GetImageAt(0);
    if (image == nullptr)
        return;

    const uint32_t rop = IsTransparent() ? XCanvas::kRopTransparent : XCanvas::kRopCopy;
    if (tileCount <= 0)
    {
        if (image->GetBounds() == bounds)
        {
            canvas.DrawImageInRect(image, bounds, rop);
            return;
        }
        const XCanvas::Resampling before = canvas.GetResampling();
        canvas.SetResampling(resampling);
        canvas.StretchImage(image, image->GetBounds(), bounds);
        canvas.SetResampling(before);
        return;
    }
    const int32_t step = tileHorizontal ? image->GetWidth() : image->GetHeight();
    XRect tile(bounds.left, bounds.top, bounds.left + image->GetWidth(), bounds.top + image->GetHeight());
    for (int32_t index = 0; index < tileCount; ++index)
    {
        canvas.DrawImageInRect(image, tile, rop);
        if (tileHorizontal)
            tile = XRect(tile.left + step, tile.top, tile.right + step, tile.bottom);
        else
            tile = XRect(tile.left, tile.top + step, tile.right, tile.bottom + step);
    }
}
