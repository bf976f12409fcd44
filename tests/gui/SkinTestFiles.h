#pragma once

#include <juce_graphics/juce_graphics.h>
#include <string>

/** Small image and file fixtures made by the tests of the canvas, images and skin resources. */
namespace SkinTestFiles
{
inline juce::Image SolidImage(int width, int height, juce::Colour colour,
                              juce::Image::PixelFormat format = juce::Image::ARGB)
{
    juce::Image image(format, width, height, true, juce::SoftwareImageType());
    image.clear(image.getBounds(), colour);
    return image;
}

inline juce::MemoryBlock EncodePng(const juce::Image& image)
{
    juce::MemoryOutputStream out;
    juce::PNGImageFormat().writeImageToStream(image, out);
    return out.getMemoryBlock();
}

/** Writes the bytes to path, making the folders on the way. */
inline void WriteFile(const std::string& path, const void* data, size_t size)
{
    const juce::File file(juce::String::fromUTF8(path.c_str()));
    file.getParentDirectory().createDirectory();
    file.replaceWithData(data, size);
}

inline void WriteText(const std::string& path, const std::string& text)
{
    WriteFile(path, text.data(), text.size());
}

inline void WritePng(const std::string& path, const juce::Image& image)
{
    const auto bytes = EncodePng(image);
    WriteFile(path, bytes.getData(), bytes.getSize());
}
} // namespace SkinTestFiles
