// The factory-preset builder's developer window in a real window: its controls, building through
// its "Load Data" button and saving.

#include "device/ui/BuildPresetDataWindow.h"

#include "core/XParamGroup.h"
#include "device/ChannelInput.h"
#include "device/ChannelOutput.h"
#include "device/GlobalParamTables.h"
#include "gui/SkinLookAndFeel.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "platform/PlatformClock.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using GuiTestSupport::FindButton;
using GuiTestSupport::FindShowingWindow;

namespace
{
constexpr int kWaitMs = 10000;
constexpr double kFastTimeScale = 1000.0;

juce::Colour SkinColour(const char* name)
{
    return GetColorDictionary().GetColor(name).ToColour();
}

bool ShowsLabel(juce::Component& root, const juce::String& text)
{
    for (juce::Component* child : root.getChildren())
    {
        if (auto* label = dynamic_cast<juce::Label*>(child); label != nullptr && label->getText() == text)
            return label->isShowing();
        if (ShowsLabel(*child, text))
            return true;
    }
    return false;
}
} // namespace

TEST(BuildPresetDataWindow, BuildsAndSavesFromItsControls)
{
    const double savedTimeScale = PlatformClock::GetTimeScale();
    PlatformClock::SetTimeScale(kFastTimeScale);
    XParamGroup presetGroup("preset");
    presetGroup.AddParams(PresetInfoParamTable, GlobalParamTables::kPresetInfoPrefix);
    std::vector<std::unique_ptr<XABGroup>> channels;
    channels.push_back(std::make_unique<ChannelInput>("InputA"));
    channels.push_back(std::make_unique<ChannelInput>("InputB"));
    for (int output = 1; output <= 6; ++output)
        channels.push_back(std::make_unique<ChannelOutput>(("Output" + std::to_string(output)).c_str()));

    TestSupport::TempFolder folder;
    const juce::File presets = juce::File(folder.Path()).getChildFile("presets");
    ASSERT_TRUE(presets.createDirectory().wasOk());
    presets.getChildFile("a.qm7").replaceWithText(
        "<QM-Seven><Output3><param pid=\"115\" flags=\"0\" valstr=\"Sub L\"/></Output3></QM-Seven>");
    const std::string headerFolder = folder.Child("src");
    ASSERT_TRUE(SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()));

    {
        BuildPresetDataWindow window(&presetGroup, headerFolder.c_str());
        EXPECT_EQ(window.getContentComponent(), nullptr);
        window.Show();
        EXPECT_TRUE(window.IsShown());
        ASSERT_TRUE(GuiTestSupport::RunLoopUntil([&] { return window.isOnDesktop() && window.isShowing(); },
                                                 kWaitMs));
        EXPECT_EQ(window.getName(), "Build Factory Presets");
        EXPECT_EQ(std::string(window.GetStatusText().CStr()), "status...");
        EXPECT_EQ(std::string(window.GetSourceFolderText().CStr()), "source folder");
        for (const char* text : {"...", "Load Data", "Save"})
            EXPECT_NE(FindButton(window, text), nullptr) << text;
        EXPECT_TRUE(ShowsLabel(window, "Compare Mode"));

        // Drawn in the skin's colours and fonts.
        EXPECT_EQ(window.getBackgroundColour(), SkinColour(SkinLookAndFeel::kWindowBackground));
        juce::Button* load = FindButton(window, "Load Data");
        EXPECT_EQ(load->findColour(juce::TextButton::buttonColourId),
                  SkinColour(SkinLookAndFeel::kButtonFace));
        EXPECT_EQ(load->findColour(juce::TextButton::textColourOffId),
                  SkinColour(SkinLookAndFeel::kButtonText));
        juce::Label probe;
        EXPECT_EQ(load->getLookAndFeel().getLabelFont(probe),
                  XFont::FindNamedFont(SkinLookAndFeel::kTextFont, false)->GetJuceFont());

        window.SetSourceFolder(presets.getFullPathName().toRawUTF8());
        FindButton(window, "Load Data")->triggerClick();
        ASSERT_TRUE(GuiTestSupport::RunLoopUntil(
            [&] { return std::string(window.GetStatusText().CStr()) == "finished"; }, kWaitMs));
        EXPECT_EQ(window.GetBuilder().GetImages().size(), 60u);
        EXPECT_TRUE(juce::File(headerFolder).getChildFile("KRX640FactoryChannelNames.h").existsAsFile());
        GuiTestSupport::TakeScreenshot(window, "build-preset-data-window");

        ASSERT_EQ(window.SaveImages(folder.Child("factory").c_str()), 0);
        EXPECT_EQ(juce::File(folder.Child("factory.fps")).getSize(), 259248);
        EXPECT_EQ(std::string(window.GetStatusText().CStr()), "file saved: " + folder.Child("factory.fps"));

        // The choosers open with their titles; cancelling one changes nothing.
        for (const auto& [button, title] : {std::pair<const char*, const char*>{"...", "Browse for folder"},
                                            std::pair<const char*, const char*>{"Save", "factoryPresets"}})
        {
            FindButton(window, button)->triggerClick();
            juce::TopLevelWindow* chooser = nullptr;
            ASSERT_TRUE(GuiTestSupport::RunLoopUntil(
                [&] { return (chooser = FindShowingWindow(title)) != nullptr; }, kWaitMs))
                << title;
            chooser->exitModalState(0);
            ASSERT_TRUE(
                GuiTestSupport::RunLoopUntil([&] { return FindShowingWindow(title) == nullptr; }, kWaitMs))
                << title;
        }
        EXPECT_EQ(std::string(window.GetSourceFolderText().CStr()), presets.getFullPathName().toStdString());

        // Showing again starts from the initial texts; closing hides.
        window.Hide();
        EXPECT_FALSE(window.IsShown());
        window.Show();
        EXPECT_EQ(std::string(window.GetStatusText().CStr()), "status...");
        EXPECT_EQ(std::string(window.GetSourceFolderText().CStr()), "source folder");
        window.closeButtonPressed();
        EXPECT_FALSE(window.IsShown());
    }
    PlatformClock::SetTimeScale(savedTimeScale);
}
