#include "gui/XColorPicker.h"

#include "ControlTestSupport.h"
#include "gui/GuiHelpers.h"
#include "gui/IColourChooser.h"
#include "gui/JUCEColourChooser.h"

#include <gtest/gtest.h>
#include <juce_gui_extra/juce_gui_extra.h>
#include <vector>

namespace
{
using ViewTest::Application;
using ViewTest::MakeParam;

/** Works the colour dialog as soon as it is modal: records its custom colours, optionally sets one
    custom colour and the current colour, takes a picture, and presses a button. */
class DialogDriver final
{
public:
    DialogDriver(const char* buttonNameIn, juce::Colour colourIn)
        : buttonName(buttonNameIn), colour(colourIn),
          driver([this](juce::Component& modal) { return Work(modal); })
    {
    }

    int swatchCount = -1;
    std::vector<juce::Colour> swatches;
    int customIndexToSet = -1;
    juce::Colour customColour;

private:
    bool Work(juce::Component& modal)
    {
        if (auto* selector = dynamic_cast<juce::ColourSelector*>(
                GuiTestSupport::FindNamed(modal, JUCEColourChooser::kSelectorName)))
        {
            swatchCount = selector->getNumSwatches();
            for (int i = 0; i < swatchCount; ++i)
                swatches.push_back(selector->getSwatchColour(i));
            if (customIndexToSet >= 0)
                selector->setSwatchColour(customIndexToSet, customColour);
            selector->setCurrentColour(colour);
        }
        GuiTestSupport::TakeScreenshot(modal, "XColorPickerDialog");
        if (auto* button = dynamic_cast<juce::Button*>(GuiTestSupport::FindNamed(modal, buttonName)))
            button->triggerClick();
        return true;
    }

    const char* buttonName;
    juce::Colour colour;
    GuiTestSupport::ModalDialogDriver driver; // last: it may call Work once the rest is built
};

/** Counts the dialogs opened while installed. */
class CountingChooser final : public IColourChooser
{
public:
    CountingChooser() { SetColourChooser(this); }
    ~CountingChooser() override { SetColourChooser(nullptr); }
    bool Choose(const XRGB&, XRGB&) override
    {
        ++opened;
        return false;
    }
    int opened = 0;
};

class PickerTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        root.SetFrameXYWH(0, 0, 100, 60);
        root.SetBackColor(XRGB(220, 220, 220));
        root.Show();
        root.Attach();
        picker = new XColorPicker();
        picker->SetFrameXYWH(20, 10, 40, 30);
        root.AddChild(picker);
    }

    XView root;
    XColorPicker* picker = nullptr;
};

TEST_F(PickerTree, ThePositionIsThePackedColourThatThePickerShows)
{
    struct Case
    {
        uint32_t packed;
        XRGB colour;
    };
    const Case cases[] = {{0x0000FF00u, XRGB(0, 255, 0)},
                          {0x000000FFu, XRGB(255, 0, 0)},
                          {0x00FF0000u, XRGB(0, 0, 255)},
                          {0x00123456u, XRGB(0x56, 0x34, 0x12)}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(XColorPicker::UnpackColour(c.packed), c.colour);
        EXPECT_EQ(XColorPicker::PackColour(c.colour), c.packed);
    }

    picker->SetPosition(0x0000FF00);
    EXPECT_EQ(picker->GetForeColor(), XRGB(0, 255, 0, 255));
    EXPECT_EQ(picker->GetPosition(), 0x0000FF00);
    const juce::Image picture = GuiTestSupport::TakeScreenshot(root, "XColorPickerGreen");
    EXPECT_EQ(picture.getPixelAt(40, 25), juce::Colour(0, 255, 0)) << "filled with the colour";
    EXPECT_EQ(picture.getPixelAt(20, 10), juce::Colour(0, 0, 0)) << "outlined in black";

    EXPECT_EQ(picker->GetPixelRange(), XColorPicker::kUnboundPixelRange);
    auto param = MakeParam(0, 6);
    picker->SetPot(param.get());
    EXPECT_EQ(picker->GetPixelRange(), 7);
}

TEST_F(PickerTree, APressOpensTheModalDialogWithTheCustomColoursAndAppliesTheChoice)
{
    std::vector<uint32_t> emitted;
    picker->GetPositionSignal().Connect([&](uint32_t p) { emitted.push_back(p); });
    picker->SetPosition(static_cast<int32_t>(XColorPicker::PackColour(XRGB(200, 10, 10))));
    emitted.clear();
    {
        DialogDriver driver(JUCEColourChooser::kOkButtonName, juce::Colour(10, 20, 30));
        driver.customIndexToSet = 3;
        driver.customColour = juce::Colour(250, 0, 250);
        EXPECT_TRUE(picker->MouseDown(XPoint(5, 5), XView::kButtonLeft));
        EXPECT_EQ(driver.swatchCount, JUCEColourChooser::kCustomColourCount);
        ASSERT_EQ(driver.swatches.size(), static_cast<size_t>(JUCEColourChooser::kCustomColourCount));
        for (int i = 0; i < JUCEColourChooser::kCustomColourCount; ++i)
        {
            const XRGB custom = JUCEColourChooser::GetCustomColour(i);
            if (i != 3)
            {
                EXPECT_EQ(driver.swatches[static_cast<size_t>(i)],
                          juce::Colour(custom.r, custom.g, custom.b));
            }
        }
    }
    EXPECT_EQ(picker->GetForeColor(), XRGB(10, 20, 30));
    EXPECT_EQ(emitted, std::vector<uint32_t>({XColorPicker::PackColour(XRGB(10, 20, 30))}));
    EXPECT_EQ(root.GetFocusView(), picker);

    {
        DialogDriver driver(JUCEColourChooser::kCancelButtonName, juce::Colour(90, 90, 90));
        picker->MouseDown(XPoint(5, 5), XView::kButtonLeft);
        ASSERT_GT(driver.swatches.size(), 3u);
        EXPECT_EQ(driver.swatches[3], juce::Colour(250, 0, 250)) << "custom colours are kept for the process";
    }
    EXPECT_EQ(picker->GetForeColor(), XRGB(10, 20, 30)) << "a cancelled dialog changes nothing";

    CountingChooser chooser;
    picker->SetControlEnabled(false);
    picker->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(chooser.opened, 0) << "a disabled picker opens no dialog";
    picker->SetControlEnabled(true);
    picker->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_EQ(chooser.opened, 1);
}
} // namespace
