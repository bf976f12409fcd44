#include "gui/XImage.h"

#include "core/XResult.h"
#include "core/XString.h"
#include "gui/SkinTestFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
/** A 1 x 1 GIF of one red pixel (global colour table red, black; one LZW-coded pixel 0). */
const uint8_t kRedPixelGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                                0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
} // namespace

TEST(XImage, LoadsEveryFormatByContentAndReportsItsSize)
{
    TestSupport::TempFolder folder;
    const auto png = SkinTestFiles::SolidImage(7, 5, juce::Colours::blue);
    SkinTestFiles::WritePng(folder.Child("a.png"), png);
    // A ".bmp" name that holds PNG bytes loads too: the content decides.
    SkinTestFiles::WritePng(folder.Child("b.bmp"), png);
    {
        juce::FileOutputStream out(juce::File(folder.Child("c.jpg")));
        juce::JPEGImageFormat().writeImageToStream(SkinTestFiles::SolidImage(9, 4, juce::Colours::green),
                                                   out);
    }
    SkinTestFiles::WriteFile(folder.Child("d.gif"), kRedPixelGif, sizeof(kRedPixelGif));

    struct Case
    {
        std::string name;
        int width;
        int height;
    };
    for (const Case& c : {Case{"a.png", 7, 5}, Case{"b.bmp", 7, 5}, Case{"c.jpg", 9, 4}, Case{"d.gif", 1, 1}})
    {
        XImage image;
        EXPECT_EQ(image.LoadFromFile(XString(folder.Child(c.name).c_str())), XImage::kResultOk) << c.name;
        EXPECT_TRUE(image.HasPicture()) << c.name;
        EXPECT_EQ(image.GetWidth(), c.width) << c.name;
        EXPECT_EQ(image.GetHeight(), c.height) << c.name;
        EXPECT_EQ(image.GetBounds(), XRect(0, 0, c.width, c.height)) << c.name;
    }
    XImage gif(XString(folder.Child("d.gif").c_str()));
    EXPECT_EQ(gif.GetJuceImage()->getPixelAt(0, 0).getARGB(), 0xFFFF0000u);
}

TEST(XImage, MissingOrUndecodableFilesLeaveNoPicture)
{
    TestSupport::TempFolder folder;
    SkinTestFiles::WritePng(folder.Child("Real.png"), SkinTestFiles::SolidImage(3, 3, juce::Colours::red));
    SkinTestFiles::WriteText(folder.Child("text.png"), "not an image");

    XImage missing(XString(folder.Child("none.png").c_str()));
    EXPECT_FALSE(missing.HasPicture());
    EXPECT_EQ(missing.GetWidth(), 0);
    EXPECT_EQ(missing.GetHeight(), 0);
    EXPECT_FALSE(missing.HasAlpha());
    EXPECT_EQ(missing.GetJuceImage(), nullptr);

    // A failed load drops the picture held before.
    XImage image(XString(folder.Child("real.PNG").c_str()));
    ASSERT_TRUE(image.HasPicture()) << "names on disk are matched regardless of case";
    EXPECT_EQ(image.LoadFromFile(XString(folder.Child("none.png").c_str())), XResult::kFailed);
    EXPECT_FALSE(image.HasPicture());
    EXPECT_EQ(image.LoadFromFile(XString(folder.Child("text.png").c_str())), XResult::kFailed);
    EXPECT_EQ(image.LoadFromFile(XString(folder.Path().c_str())), XResult::kFailed) << "a folder";
    EXPECT_EQ(image.LoadFromFile(XString()), XResult::kFailed);
}

TEST(XImage, LoadsFromStreamsAndMemory)
{
    const auto bytes = SkinTestFiles::EncodePng(SkinTestFiles::SolidImage(4, 2, juce::Colours::white));
    juce::MemoryInputStream stream(bytes, false);
    XImage fromStream;
    EXPECT_EQ(fromStream.LoadFromStream(stream), XImage::kResultOk);
    EXPECT_EQ(fromStream.GetWidth(), 4);

    XImage fromMemory;
    EXPECT_EQ(fromMemory.LoadFromData(bytes.getData(), bytes.getSize()), XImage::kResultOk);
    EXPECT_EQ(fromMemory.GetHeight(), 2);
    EXPECT_EQ(fromMemory.LoadFromData(nullptr, 0), XResult::kFailed);
}

TEST(XImage, ReportsAnAlphaChannelForEveryFormatButRgb)
{
    EXPECT_TRUE(
        XImage(SkinTestFiles::SolidImage(2, 2, juce::Colours::grey, juce::Image::SingleChannel)).HasAlpha());
    EXPECT_TRUE(XImage(SkinTestFiles::SolidImage(2, 2, juce::Colours::grey, juce::Image::ARGB)).HasAlpha());
    EXPECT_FALSE(XImage(SkinTestFiles::SolidImage(2, 2, juce::Colours::grey, juce::Image::RGB)).HasAlpha());
    EXPECT_FALSE(XImage(juce::Image()).HasPicture());
}
