#pragma once

#include "core/ObjectArray.h"
#include "gui/XCanvas.h"
#include "gui/XView.h"

#include <cstdint>
#include <memory>

class XImage;
class XParam;

/** A picture: one skin image, a strip of tiles of one image, or one image out of an array that a
    parameter's value selects (type word "pict").

    Skin images belong to the skin resource manager's cache, a borrowed image to its lender; only an
    image handed to SetImage is owned by the picture. The bound parameter is not owned: the picture watches it
   and forgets it when it is destroyed. GUI thread only. */
class XPict : public XView
{
public:
    /** Limits that keep a mistyped description from loading or drawing without end. */
    static constexpr int32_t kMaxImageCount = 4096;
    static constexpr int32_t kMaxTiledLength = 32768;

    XPict();
    /** The skin image of that name becomes the only image; with resize the frame takes its size
        (left and top kept). */
    XPict(const XRect& frame, const char* name, const char* imageName, bool resize);
    ~XPict() override;

    /** A non-null image becomes the only image, owned by the picture (with resize the frame takes
        its size); then the picture repaints. */
    void SetImage(std::unique_ptr<XImage> image, bool resize);
    /** As SetImage, but the image stays the caller's, who keeps it alive while the picture shows it
        (an image that another part of the program draws into). */
    void SetBorrowedImage(XImage* image, bool resize);
    /** How an image stretched to the frame is resampled; smooth unless set. */
    void SetResampling(XCanvas::Resampling mode) { resampling = mode; }
    XCanvas::Resampling GetResampling() const { return resampling; }
    /** The skin image of that name becomes the only image (not owned); nothing when none loads. */
    void SetImageByName(const char* imageName, bool resize);

    int32_t CountImages() const { return images.GetCount(); }
    XImage* GetImageAt(int32_t index) const;
    int32_t GetCurrentIndex() const { return currentIndex; }
    int32_t GetTileCount() const { return tileCount; }
    bool IsTiledHorizontally() const { return tileHorizontal; }
    XParam* GetBoundParam() const { return boundParam; }

    /** The view's keys, then "stretch", "imagename", "currentArrayIndex", "imageArrayBase",
        "imageCount", "tilecount", "tileDirection" and "param". */
    void ReadAttributes(XMessage& block) override;
    /** Transparent when the first image has an alpha channel. */
    void ApplyStyle() override;
    void Draw(XCanvas& canvas) override;
    /** A value of the bound parameter in 0..count-1 selects the image (truncated). */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    void ResizeToImage(const XImage& image);
    /** A non-null image becomes the only image (the owned one, if any, goes unless it is the
        image); then the picture repaints. */
    void ShowOnly(XImage* image, bool resize);
    /** Stops watching the bound parameter, then watches param (told at once). */
    void Bind(XParam* param);

    XParam* boundParam = nullptr;
    /** The images drawn; skin images not owned, the owned one is also in ownedImage. */
    ObjectArray<XImage> images;
    std::unique_ptr<XImage> ownedImage;
    int32_t currentIndex = 0;
    bool tileHorizontal = true;
    int32_t tileCount = 0;
    XCanvas::Resampling resampling = XCanvas::Resampling::kSmooth;
};
