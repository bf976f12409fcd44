#pragma once

#include "core/XRect.h"
#include "core/XResult.h"

#include <cstddef>
#include <cstdint>
#include <juce_graphics/juce_graphics.h>
#include <memory>

class XString;

/** The framework's picture: the owner of one juce::Image, with size queries. Skin images come from
    the skin resource manager, which keeps them; views draw them through XCanvas.

    An image that failed to load holds no picture: every query then answers 0 or false and drawing
    it draws nothing. Decoding picks the format by content (PNG, JPEG or GIF, the formats JUCE reads
    here), not by the file name, and survives damaged data. Not thread-safe; used on the GUI thread. */
class XImage
{
public:
    static constexpr int32_t kResultOk = 0;

    /** Holds no picture. */
    XImage() = default;
    /** Keeps a copy of the image (a null image gives no picture). */
    explicit XImage(const juce::Image& image);
    /** Loads the file at the path (LoadFromFile). */
    explicit XImage(const XString& path);
    XImage(const XImage&) = delete;
    XImage& operator=(const XImage&) = delete;
    virtual ~XImage();

    /** Drops the current picture and decodes the file at the path ('\' or '/' separated, names
        matched regardless of case): 0 when a picture was decoded, else 0x80000001 with no picture. */
    int32_t LoadFromFile(const XString& path);
    /** As LoadFromFile, from the rest of a stream. */
    int32_t LoadFromStream(juce::InputStream& stream);
    /** As LoadFromFile, from encoded bytes in memory. */
    int32_t LoadFromData(const void* data, size_t size);

    bool HasPicture() const { return image != nullptr; }
    int GetWidth() const;
    int GetHeight() const;
    /** 0, 0, width, height as left, top, right, bottom. */
    XRect GetBounds() const;
    /** True when a picture is held whose pixel format is not plain RGB (ARGB or single channel). */
    bool HasAlpha() const;

    /** The held picture for drawing, null when none is held. */
    const juce::Image* GetJuceImage() const { return image.get(); }

private:
    int32_t Keep(const juce::Image& decoded);

    std::unique_ptr<juce::Image> image;
};
