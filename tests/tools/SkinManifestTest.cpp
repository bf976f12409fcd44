#include "skingen/SkinManifest.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <random>

namespace
{
juce::String ShippedManifest()
{
    return juce::File(KRX_SOURCE_DIR).getChildFile("tools/skingen/ImageManifest.txt").loadFileAsString();
}

/** What every accepted row keeps, whatever the text around it. */
void ExpectRowWithinLimits(const SkinImageRow& row)
{
    EXPECT_TRUE(row.name.isNotEmpty()) << "line " << row.line;
    EXPECT_GE(row.width, 1);
    EXPECT_LE(row.width, SkinManifest::kMaxSide);
    EXPECT_GE(row.height, 1);
    EXPECT_LE(row.height, SkinManifest::kMaxSide);
    EXPECT_GE(row.frames, 1);
    EXPECT_LE(row.frames, SkinManifest::kMaxFrames);
    for (const SkinCaption& caption : row.captions)
    {
        EXPECT_GE(caption.x, 0) << "line " << caption.line;
        EXPECT_GE(caption.y, 0) << "line " << caption.line;
        EXPECT_LE(caption.x + caption.width, row.width) << "line " << caption.line;
        EXPECT_LE(caption.y + caption.height, row.height) << "line " << caption.line;
        EXPECT_LE(caption.size, SkinManifest::kMaxCaptionSize);
    }
}
} // namespace

TEST(SkinManifestTest, TheShippedManifestReadsWithoutErrors)
{
    SkinManifest manifest;
    EXPECT_TRUE(manifest.Parse(ShippedManifest())) << manifest.GetErrors().joinIntoString("\n");
    EXPECT_GT(manifest.GetRows().size(), 100);
    for (const SkinImageRow& row : manifest.GetRows())
        ExpectRowWithinLimits(row);
}

// Damaged manifests (bytes changed, lines cut short or repeated) keep every row they accept within
// the limits, and every refusal names a line: meant for the address sanitizer build.
TEST(SkinManifestTest, DamagedManifestsKeepTheirRowsWithinLimits)
{
    const juce::StringArray lines = juce::StringArray::fromLines(ShippedManifest());
    ASSERT_GT(lines.size(), 10);
    const char alphabet[] = "0123456789x,-\" #abcAZ.\t";
    std::mt19937 random(640);
    for (int round = 0; round < 300; ++round)
    {
        juce::StringArray damaged;
        for (int i = 0; i < 40; ++i)
        {
            juce::String line = lines[static_cast<int>(random() % static_cast<unsigned>(lines.size()))];
            for (int hits = static_cast<int>(random() % 4); hits > 0 && line.isNotEmpty(); --hits)
            {
                const int at = static_cast<int>(random() % static_cast<unsigned>(line.length()));
                line = line.substring(0, at) +
                       juce::String::charToString(alphabet[random() % (sizeof alphabet - 1)]) +
                       line.substring(random() % 2 == 0 ? at + 1 : at);
            }
            if (random() % 8 == 0)
                line =
                    line.substring(0, static_cast<int>(random() % static_cast<unsigned>(line.length() + 1)));
            damaged.add(line);
        }
        SkinManifest manifest;
        const bool clean = manifest.Parse(damaged.joinIntoString("\n"));
        EXPECT_EQ(clean, manifest.GetErrors().isEmpty());
        for (const juce::String& error : manifest.GetErrors())
            EXPECT_TRUE(error.containsIgnoreCase("line")) << error;
        for (const SkinImageRow& row : manifest.GetRows())
            ExpectRowWithinLimits(row);
    }
}
