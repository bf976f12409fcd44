#include "gui/XImage.h"

#include "core/XResult.h"
#include "core/XString.h"
#include "platform/PlatformImageDecoder.h"
#include "platform/PlatformPathResolver.h"

XImage::XImage(const juce::Image& imageIn)
{
    Keep(imageIn);
}

XImage::XImage(const XString& path)
{
    LoadFromFile(path);
}

XImage::~XImage() = default;

int32_t XImage::Keep(const juce::Image& decoded)
{
    if (!decoded.isValid())
    {
        image.reset();
        return XResult::kFailed;
    }
    image = std::make_unique<juce::Image>(decoded);
    return kResultOk;
}

int32_t XImage::LoadFromFile(const XString& path)
{
    image.reset();
    if (path.IsEmpty())
        return XResult::kFailed;
    const std::string systemPath = PlatformPathResolver::ResolveIgnoringCase(path.CStr());
    if (!PlatformPathResolver::IsExistingFile(systemPath))
        return XResult::kFailed;
    const auto file =
        juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(systemPath.c_str()));
    juce::MemoryBlock data;
    if (!file.loadFileAsData(data))
        return XResult::kFailed;
    return LoadFromData(data.getData(), data.getSize());
}

int32_t XImage::LoadFromStream(juce::InputStream& stream)
{
    image.reset();
    juce::MemoryBlock data;
    stream.readIntoMemoryBlock(data);
    return LoadFromData(data.getData(), data.getSize());
}

int32_t XImage::LoadFromData(const void* data, size_t size)
{
    image.reset();
    if (data == nullptr || size == 0)
        return XResult::kFailed;
    return Keep(PlatformImageDecoder::Decode(data, size));
}

int XImage::GetWidth() const
{
    return image != nullptr ? image->getWidth() : 0;
}

int XImage::GetHeight() const
{
    return image != nullptr ? image->getHeight() : 0;
}

XRect XImage::GetBounds() const
{
    return XRect(0, 0, GetWidth(), GetHeight());
}

bool XImage::HasAlpha() const
{
    return image != nullptr && image->getFormat() != juce::Image::RGB;
}
