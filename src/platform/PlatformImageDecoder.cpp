#include "platform/PlatformImageDecoder.h"

#include "platform/PlatformGifDecoder.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <png.h>
#include <vector>

namespace
{
/** The leading bytes by which data counts as PNG or JPEG (as JUCE's format detection reads them). */
constexpr uint8_t kPngStart[] = {0x89, 'P', 'N', 'G'};
constexpr uint8_t kJpegStart[] = {0xFF, 0xD8};
constexpr int kRgbaBytes = 4;
constexpr int kRgbBytes = 3;

/** Decoded pixels, kept outside the frames that a library error jumps out of. */
struct DecodedPixels
{
    uint32_t width = 0;
    uint32_t height = 0;
    bool hasAlpha = false;
    /** RGBA rows for PNG, RGB rows for JPEG. */
    std::vector<uint8_t> bytes;
    std::vector<uint8_t*> rows;
};

bool FitsLimits(uint32_t width, uint32_t height)
{
    return width > 0 && height > 0 && width <= static_cast<uint32_t>(PlatformImageDecoder::kMaxSide) &&
           height <= static_cast<uint32_t>(PlatformImageDecoder::kMaxSide);
}

juce::Image ToJuceImage(const DecodedPixels& pixels, int bytesPerPixel)
{
    const int width = static_cast<int>(pixels.width);
    const int height = static_cast<int>(pixels.height);
    juce::Image image(pixels.hasAlpha ? juce::Image::ARGB : juce::Image::RGB, width, height, false,
                      juce::SoftwareImageType());
    const juce::Image::BitmapData target(image, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* source = pixels.rows[static_cast<size_t>(y)];
        uint8_t* line = target.getLinePointer(y);
        for (int x = 0; x < width; ++x, source += bytesPerPixel, line += target.pixelStride)
        {
            const uint8_t alpha = bytesPerPixel == kRgbaBytes ? source[3] : 0xFF;
            if (pixels.hasAlpha)
            {
                auto* pixel = reinterpret_cast<juce::PixelARGB*>(line);
                pixel->setARGB(alpha, source[0], source[1], source[2]);
                pixel->premultiply();
            }
            else
            {
                reinterpret_cast<juce::PixelRGB*>(line)->setARGB(0xFF, source[0], source[1], source[2]);
            }
        }
    }
    return image;
}

// PNG ------------------------------------------------------------------------------------------

struct PngInput
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

void ReadPngBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->size - input->position)
        png_error(png, "truncated");
    std::memcpy(out, input->data + input->position, length);
    input->position += length;
}

/** libpng errors must not return: leave through the jump buffer of ReadPng. */
[[noreturn]] void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

/** Everything between setjmp and a possible jump keeps its state outside this frame. */
bool ReadPng(png_structp png, png_infop info, PngInput& input, DecodedPixels& pixels)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_set_read_fn(png, &input, ReadPngBytes);
    png_set_user_limits(png, PlatformImageDecoder::kMaxSide, PlatformImageDecoder::kMaxSide);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (!FitsLimits(width, height))
        return false;
    const bool transparentColour = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    pixels.width = width;
    pixels.height = height;
    pixels.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparentColour;

    // Every layout becomes 8-bit RGBA.
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (transparentColour)
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = static_cast<size_t>(width) * kRgbaBytes;
    if (png_get_rowbytes(png, info) != rowBytes)
        return false;

    pixels.bytes.resize(rowBytes * height);
    pixels.rows.resize(height);
    for (size_t y = 0; y < height; ++y)
        pixels.rows[y] = pixels.bytes.data() + y * rowBytes;
    png_read_image(png, pixels.rows.data());
    png_read_end(png, nullptr);
    return true;
}

// JPEG -----------------------------------------------------------------------------------------

struct JpegErrors
{
    jpeg_error_mgr manager; // first: libjpeg hands this pointer to the handlers
    std::jmp_buf jump;
};

/** libjpeg errors must not return: leave through the jump buffer of ReadJpeg. */
[[noreturn]] void OnJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

bool ReadJpeg(jpeg_decompress_struct& decoder, JpegErrors& errors, const uint8_t* data, size_t size,
              DecodedPixels& pixels)
{
    if (setjmp(errors.jump) != 0)
        return false;
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, data, static_cast<unsigned long>(size));
    jpeg_read_header(&decoder, TRUE);
    if (!FitsLimits(decoder.image_width, decoder.image_height))
        return false;
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);
    if (decoder.output_components != kRgbBytes)
        return false;

    pixels.width = decoder.output_width;
    pixels.height = decoder.output_height;
    pixels.hasAlpha = false;
    const size_t rowBytes = static_cast<size_t>(pixels.width) * kRgbBytes;
    pixels.bytes.resize(rowBytes * pixels.height);
    pixels.rows.resize(pixels.height);
    for (size_t y = 0; y < pixels.height; ++y)
        pixels.rows[y] = pixels.bytes.data() + y * rowBytes;
    while (decoder.output_scanline < decoder.output_height)
    {
        JSAMPROW row = pixels.rows[decoder.output_scanline];
        if (jpeg_read_scanlines(&decoder, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&decoder);
    return true;
}
} // namespace

juce::Image PlatformImageDecoder::Decode(const void* data, size_t size)
{
    if (IsPng(data, size))
        return DecodePng(data, size);
    if (IsJpeg(data, size))
        return DecodeJpeg(data, size);
    if (PlatformGifDecoder::IsGif(data, size))
        return PlatformGifDecoder::Decode(data, size);
    return {};
}

bool PlatformImageDecoder::IsPng(const void* data, size_t size)
{
    return data != nullptr && size >= sizeof(kPngStart) &&
           std::memcmp(data, kPngStart, sizeof(kPngStart)) == 0;
}

bool PlatformImageDecoder::IsJpeg(const void* data, size_t size)
{
    return data != nullptr && size >= sizeof(kJpegStart) &&
           std::memcmp(data, kJpegStart, sizeof(kJpegStart)) == 0;
}

juce::Image PlatformImageDecoder::DecodePng(const void* data, size_t size)
{
    if (!IsPng(data, size))
        return {};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png == nullptr)
        return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return {};
    }
    PngInput input{static_cast<const uint8_t*>(data), size, 0};
    DecodedPixels pixels;
    const bool decoded = ReadPng(png, info, input, pixels);
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded ? ToJuceImage(pixels, kRgbaBytes) : juce::Image();
}

juce::Image PlatformImageDecoder::DecodeJpeg(const void* data, size_t size)
{
    if (!IsJpeg(data, size))
        return {};
    jpeg_decompress_struct decoder;
    std::memset(&decoder, 0, sizeof(decoder));
    JpegErrors errors;
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnJpegError;
    errors.manager.output_message = OnJpegMessage;
    DecodedPixels pixels;
    const bool decoded = ReadJpeg(decoder, errors, static_cast<const uint8_t*>(data), size, pixels);
    jpeg_destroy_decompress(&decoder);
    return decoded ? ToJuceImage(pixels, kRgbBytes) : juce::Image();
}
