#include "core/ObjectArray.h"
#include "gui/XImage.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kGalleryWidth = 1240;
constexpr int kMargin = 12;
constexpr int kCaptionHeight = 14;
constexpr int kSwatchSize = 22;

/** One picture of the gallery with the name shown under it. */
struct GalleryItem
{
    juce::Image picture;
    juce::String caption;
};

/** The skin on one page for a person to judge: every manifest image (first, middle and last frame
    of a sequence), the cursors, the colour table as swatches and the named fonts as samples. */
class SkinGallery final : public juce::Component
{
public:
    SkinGallery(std::vector<GalleryItem> galleryItems, juce::StringArray colourNames,
                juce::StringArray fontNames)
        : items(std::move(galleryItems)), colours(std::move(colourNames)), fonts(std::move(fontNames))
    {
        setSize(kGalleryWidth, Layout(nullptr));
    }

    void paint(juce::Graphics& g) override { Layout(&g); }

private:
    juce::Colour Colour(const juce::String& name) const
    {
        return GetColorDictionary().GetColor(name.toRawUTF8()).ToColour();
    }

    /** Lays the page out, drawing it when g is given; the page's height. */
    int Layout(juce::Graphics* g) const
    {
        if (g != nullptr)
            g->fillAll(Colour("windowBackground"));
        const juce::Font captionFont(9.0f);
        int x = kMargin;
        int y = kMargin;
        int rowHeight = 0;
        auto place = [&](int width, int height) -> juce::Point<int>
        {
            if (x + width > kGalleryWidth - kMargin)
            {
                x = kMargin;
                y += rowHeight + kMargin;
                rowHeight = 0;
            }
            const juce::Point<int> at(x, y);
            x += width + kMargin;
            rowHeight = std::max(rowHeight, height);
            return at;
        };
        auto newSection = [&]
        {
            x = kMargin;
            y += rowHeight + 2 * kMargin;
            rowHeight = 0;
        };

        for (const GalleryItem& item : items)
        {
            const int width = std::max(item.picture.getWidth(), 60);
            const juce::Point<int> at = place(width, item.picture.getHeight() + kCaptionHeight);
            if (g == nullptr)
                continue;
            // A dim outline shows the extent of pictures in the window's own colour.
            g->setColour(Colour("panelEdge").withAlpha(0.5f));
            g->drawRect(at.x - 1, at.y - 1, item.picture.getWidth() + 2, item.picture.getHeight() + 2);
            g->setOpacity(1.0f); // images are drawn at the current colour's opacity
            g->drawImageAt(item.picture, at.x, at.y);
            g->setColour(Colour("windowTextDim"));
            g->setFont(captionFont);
            g->drawText(item.caption, at.x, at.y + item.picture.getHeight() + 1, width + kMargin,
                        kCaptionHeight - 2, juce::Justification::topLeft, true);
        }
        newSection();
        for (const juce::String& name : colours)
        {
            const juce::Point<int> at = place(140, kSwatchSize);
            if (g == nullptr)
                continue;
            g->setColour(Colour(name));
            g->fillRect(at.x, at.y, kSwatchSize, kSwatchSize);
            g->setColour(Colour("faceEdge"));
            g->drawRect(at.x, at.y, kSwatchSize, kSwatchSize);
            g->setColour(Colour("windowText"));
            g->setFont(captionFont);
            g->drawText(name, at.x + kSwatchSize + 4, at.y, 114, kSwatchSize,
                        juce::Justification::centredLeft, true);
        }
        newSection();
        for (const juce::String& name : fonts)
        {
            XFont* font = XFont::FindNamedFont(name.toRawUTF8(), false);
            const juce::Point<int> at = place(290, 24);
            if (g == nullptr || font == nullptr)
                continue;
            g->setColour(Colour("windowText"));
            g->setFont(font->GetJuceFont());
            g->drawText(name + ": Output 3 gain -12.5 dB", at.x, at.y, 290, 24,
                        juce::Justification::centredLeft, true);
        }
        return y + rowHeight + kMargin;
    }

    std::vector<GalleryItem> items;
    juce::StringArray colours;
    juce::StringArray fonts;
};

/** The names a table file defines, in file order: the first word of each entry line. */
juce::StringArray NamesInTable(const juce::File& file, const juce::String& entryPrefix)
{
    juce::StringArray names;
    juce::StringArray lines;
    lines.addLines(file.loadFileAsString());
    for (juce::String line : lines)
    {
        line = line.trim();
        if (line.isEmpty() || line.startsWith("//") || !line.startsWith(entryPrefix))
            continue;
        line = line.substring(entryPrefix.length()).trim();
        names.add(line.initialSectionContainingOnly(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"));
    }
    return names;
}
} // namespace

TEST(SkinGallery, ShowsEveryImageCursorColourAndFontOfTheSkin)
{
    const juce::File systemFolder = SkinTestSupport::BuiltSystemFolder();
    ASSERT_TRUE(SkinTestSupport::LoadSkinTables(systemFolder));
    XResourceManager resources;
    resources.SetBaseFolder(systemFolder.getFullPathName().toRawUTF8());
    resources.AddSkinFolder(SkinTestSupport::kSkinFolder);

    std::vector<GalleryItem> items;
    for (const auto& row : SkinTestSupport::ReadManifestRows())
    {
        const juce::String name(row.name);
        if (row.frames == 1)
        {
            if (XImage* image = resources.GetImage(name.toRawUTF8()))
                items.push_back({*image->GetJuceImage(), name.fromLastOccurrenceOf("/", false, false)});
            continue;
        }
        ObjectArray<XImage> sequence;
        resources.LoadImageSequence(name.upToLastOccurrenceOf(".", false, false).toRawUTF8(), row.frames,
                                    sequence);
        for (int frame : {0, sequence.GetCount() / 2, sequence.GetCount() - 1})
        {
            if (frame >= 0 && frame < sequence.GetCount())
                items.push_back({*sequence.At(frame)->GetJuceImage(),
                                 name.fromLastOccurrenceOf("/", false, false) + " " + juce::String(frame)});
        }
    }
    for (int index = 0; index < XViewCursors::kImageCount; ++index)
        items.push_back({XViewCursors::DrawImage(index), XViewCursors::GetImage(index).fileName});

    const juce::StringArray colours = NamesInTable(systemFolder.getChildFile("GlobalColors.dat"), "");
    const juce::StringArray fonts = NamesInTable(systemFolder.getChildFile("GlobalFonts.dat"), "font :");
    EXPECT_GT(colours.size(), 60);
    // Every named font the framework asks for is shown; widgets may add their own.
    for (const char* required : {"tiny", "mini", "small", "smallbold", "medium", "large", "dialogLabel",
                                 "listText", "menuItem", "statusBar", "buttonSmall", "buttonTiny"})
        EXPECT_TRUE(fonts.contains(required)) << required;

    SkinGallery gallery(std::move(items), colours, fonts);
    const juce::Image shot = GuiTestSupport::TakeScreenshot(gallery, "SkinGallery");
    ASSERT_TRUE(shot.isValid());
    // The page shows the skin's own background, not an unpainted area.
    EXPECT_EQ(shot.getPixelAt(2, 2).getARGB(),
              GetColorDictionary().GetColor("windowBackground").ToColour().getARGB());
}
