// The list of the unit's preset slots and its texts.

#include "device/PresetsManager.h"

#include "device/GlobalParamCallbacks.h"

#include <gtest/gtest.h>

TEST(PresetsManager, LocationAndConfigurationTexts)
{
    struct LocationCase
    {
        int32_t index;
        const char* text;
    };
    for (const LocationCase& c :
         {LocationCase{0, "U01"}, LocationCase{19, "U20"}, LocationCase{20, "F01"}, LocationCase{79, "F60"}})
        EXPECT_STREQ(PresetsManager::Preset::LocationName(c.index), c.text) << c.index;

    struct ConfigCase
    {
        int32_t configuration;
        const char* text;
    };
    for (const ConfigCase& c :
         {ConfigCase{0, "2-Way Stereo + FR"}, ConfigCase{4, "Free Configuration"},
          ConfigCase{6, "4W Stereo-Mono Sub/LF"}, ConfigCase{-1, "---"}, ConfigCase{7, "---"}})
        EXPECT_STREQ(PresetsManager::Preset::ConfigName(c.configuration).CStr(), c.text) << c.configuration;
}

TEST(PresetsManager, InsertsBeforeAnIndexAndAppendsOtherwise)
{
    PresetsManager presets;
    auto* a = new PresetsManager::Preset("a", 0, 0);
    auto* b = new PresetsManager::Preset("b", 1, 0);
    auto* c = new PresetsManager::Preset("c", 2, 0);
    auto* d = new PresetsManager::Preset("d", 3, 0);
    EXPECT_EQ(presets.InsertPreset(a, -1), 0);
    EXPECT_EQ(presets.InsertPreset(b, -1), 0);
    EXPECT_EQ(presets.InsertPreset(c, 0), 0);
    EXPECT_EQ(presets.InsertPreset(d, 99), 0);
    EXPECT_EQ(presets.InsertPreset(nullptr, 0), 0);
    ASSERT_EQ(presets.Count(), 4);
    EXPECT_EQ(presets.GetPreset(0), c);
    EXPECT_EQ(presets.GetPreset(1), a);
    EXPECT_EQ(presets.GetPreset(2), b);
    EXPECT_EQ(presets.GetPreset(3), d);
    EXPECT_EQ(presets.GetPreset(4), nullptr);
    EXPECT_EQ(presets.GetPreset(-1), nullptr);

    EXPECT_TRUE(presets.SetEntryInfo(1, "Main Hall", 5));
    EXPECT_TRUE(presets.SetEntryFlags(1, 4));
    EXPECT_FALSE(presets.SetEntryInfo(4, "x", 0));
    EXPECT_FALSE(presets.SetEntryFlags(-1, 0));
    PresetsManager::Preset copy("", 0, 0);
    ASSERT_TRUE(presets.GetEntry(1, &copy));
    EXPECT_STREQ(copy.name.CStr(), "Main Hall");
    EXPECT_EQ(copy.configuration, 5);
    EXPECT_EQ(copy.flags, 4);
    EXPECT_FALSE(presets.GetEntry(4, &copy));
}

TEST(PresetsManager, TheProgramsManagerHoldsPlaceholdersAndServesThePresetTexts)
{
    PresetsManager& presets = PresetsManager::Instance();
    EXPECT_EQ(&presets, &PresetsManager::Instance());
    presets.FillPlaceholders();
    presets.FillPlaceholders();
    ASSERT_EQ(presets.Count(), PresetsManager::kPresetCount);
    PresetsManager::Preset copy("", 0, 0);
    ASSERT_TRUE(presets.GetEntry(79, &copy));
    EXPECT_STREQ(copy.name.CStr(), "---");
    EXPECT_EQ(copy.configuration, -1);
    EXPECT_EQ(copy.flags, 0);

    presets.SetEntryInfo(20, "Arena", 2);
    presets.SetEntryFlags(20, 0x4);
    XString name;
    int32_t flags = 0;
    ASSERT_TRUE(GetPresetEntry(20, &name, &flags));
    EXPECT_STREQ(name.CStr(), "Arena");
    EXPECT_EQ(flags, 0x4);
    EXPECT_FALSE(GetPresetEntry(80, &name, &flags));
    EXPECT_STREQ(PresetLocationText(nullptr, 21, 0).CStr(), "F01 Arena");
}
