#include "ViewTypeTable.h"
#include "WidgetTypeWords.h"
#include "files/FileViewTypes.h"
#include "gui/DescriptionTestSupport.h"
#include "gui/ViewFactory.h"
#include "gui/ViewKeywords.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XPopupWindow.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XViewBuilder.h"
#include "gui/XWindowList.h"
#include "support/gui/GuiTestSupport.h"
#include "widgets/IMatrixSource.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
using ControlTest::PathParam;

constexpr const char* kDescriptionName = "AllViewTypes.txt";
constexpr int kWaitMs = 5000;

juce::File DataFolder()
{
    return DescriptionTest::TestDataFolder("widgets");
}

/** The keys whose values name a skin image or a colour of the dictionary. */
bool IsImageKey(const juce::String& key)
{
    return key == "imagename" || key == "ballimage";
}

bool IsColourKey(const juce::String& key)
{
    static const std::set<std::string> keys{"backcolor",       "forecolor",  "textcolor", "hiliteforecolor",
                                            "hilitebackcolor", "color1",     "color2",    "color3",
                                            "color4",          "effectcolor"};
    return keys.count(key.toLowerCase().toStdString()) != 0;
}

/** Every view below root (root included), depth first, across owned child views. */
void CollectViews(XView& view, std::vector<XView*>& views)
{
    views.push_back(&view);
    for (juce::Component* child : view.getChildren())
    {
        if (auto* childView = dynamic_cast<XView*>(child))
            CollectViews(*childView, views);
    }
}

/** A three by three matrix of cell numbers under plain titles. */
class NumberedCells final : public IMatrixSource
{
public:
    void GetCellText(XString& text, XMatrixView*, int32_t column, int32_t row) override
    {
        text = XString(juce::String(row * 3 + column + 1).toRawUTF8());
    }
    void GetColumnTitle(XString& text, XMatrixView*, int32_t column) override
    {
        text = XString(juce::String::charToString(static_cast<juce::juce_wchar>('A' + column)).toRawUTF8());
    }
    void GetRowTitle(XString& text, XMatrixView*, int32_t row) override
    {
        text = XString(juce::String(row + 1).toRawUTF8());
    }
    bool GetColumnHeaderColour(XMatrixView*, XRGB&) override { return false; }
    bool GetRowHeaderColour(XMatrixView*, XRGB&) override { return false; }
    void CellClicked(XMatrixView*, int32_t, int32_t, bool, XMessage&) override {}
};

/** The factory with every layer's words, the skin's colours, fonts and images, and a plain style;
    all undone afterwards. */
class AllViewTypesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WidgetTest::UseBuiltSkinTables());
        ViewTest::Application();
        XStyle::SetCurrentStyle(&style);
        XView::ResetClassFactory();
        XView::ResetAttributeDefaults();
        ViewFactory::ResetSteps();
        WidgetViewTypes::Install();
        FileViewTypes::Install();
        RegisterViewTypes();
        ViewKeywords::ResetNamedConstants();
        RegisterViewKeywords();
    }

    void TearDown() override
    {
        XView::ResetClassFactory();
        ViewFactory::ResetSteps();
        ViewKeywords::ResetNamedConstants();
        XStyle::SetCurrentStyle(nullptr);
    }

    XStyle style;
};
} // namespace

TEST_F(AllViewTypesTest, EveryResourceTheDescriptionNamesIsInTheSkin)
{
    juce::StringArray lines;
    lines.addLines(DataFolder().getChildFile(kDescriptionName).loadFileAsString());
    ASSERT_GT(lines.size(), 100);
    int images = 0;
    int colours = 0;
    for (const juce::String& line : lines)
    {
        const juce::String key = line.upToFirstOccurrenceOf(":", false, false).trim();
        const juce::String value = line.fromFirstOccurrenceOf(":", false, false).trim();
        if (IsImageKey(key))
        {
            ++images;
            EXPECT_NE(GetResourceManager().GetImage(XString(value.toRawUTF8())), nullptr) << line;
        }
        else if (key == "imageArrayBase")
        {
            ++images;
            EXPECT_NE(GetResourceManager().GetImage(XString((value + "0.png").toRawUTF8())), nullptr) << line;
        }
        else if (IsColourKey(key) && !juce::CharacterFunctions::isDigit(value[0]))
        {
            ++colours;
            XRGB colour;
            EXPECT_EQ(GetColorDictionary().FindColor(value.toRawUTF8(), colour), XColorDictionary::kResultOk)
                << line;
        }
    }
    EXPECT_GT(images, 5);
    EXPECT_GT(colours, 20);
}

TEST_F(AllViewTypesTest, ADescriptionWithEveryTypeWordBuildsEachWidgetInARealWindow)
{
    const std::vector<std::unique_ptr<PathParam>> params = []
    {
        std::vector<std::unique_ptr<PathParam>> made;
        const struct
        {
            const char* path;
            double max;
            double value;
        } specs[] = {{"allTypes\\check", 1, 1},     {"allTypes\\switch", 1, 1},
                     {"allTypes\\menu", 3, 2},      {"allTypes\\pot", 100, 40},
                     {"allTypes\\slider", 100, 70}, {"allTypes\\fader", 100, 60},
                     {"allTypes\\meter", 100, 80},  {"allTypes\\spin", 20, 7},
                     {"allTypes\\x", 100, 30},      {"allTypes\\y", 100, 60}};
        for (const auto& spec : specs)
            made.push_back(std::make_unique<PathParam>(spec.path, 0, spec.max, spec.value));
        return made;
    }();

    XView root;
    root.Attach();
    XViewBuilder builder(kDescriptionName);
    builder.SetTextReader(DescriptionTest::FolderReader(DataFolder()));
    builder.BuildInto(&root);
    ASSERT_EQ(root.GetFrame(), XRect(0, 0, 1000, 790));
    // What the program's own code gives these two: a source of cells and the unit's display text.
    NumberedCells cells;
    auto* matrix = dynamic_cast<XMatrixView*>(root.FindChild("Matrix", true));
    ASSERT_NE(matrix, nullptr);
    matrix->SetSource(&cells);
    auto* lcd = dynamic_cast<XLCDView*>(root.FindChild("LCDView", true));
    ASSERT_NE(lcd, nullptr);
    lcd->SetRowText("KRX-640", 0);
    lcd->SetRowText("Preset 1", 1);
    root.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    root.setVisible(true);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return root.isShowing(); }, kWaitMs));
    ViewTest::Pump();

    // A pop-up window goes on the desktop of its own, out of the window's view tree, which owns it
    // there: it is found through the window list.
    XPopupWindow* popup = nullptr;
    for (int32_t index = 0; index < GetWindowCount() && popup == nullptr; ++index)
    {
        auto* window = dynamic_cast<XPopupWindow*>(GetWindowAt(index));
        if (window != nullptr && window->GetName() == XString("PopupWindow"))
            popup = window;
    }
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(popup->GetOwnerView(), nullptr);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return popup->isShowing(); }, kWaitMs));
    EXPECT_TRUE(GuiTestSupport::TakeScreenshot(*popup, "AllViewTypes-popupwindow").isValid());

    std::vector<XView*> views;
    CollectViews(root, views);
    views.push_back(popup);
    for (const WidgetTest::TypeCase& entry : WidgetTest::AllTypes())
    {
        int made = 0;
        for (XView* view : views)
            made += std::type_index(typeid(*view)) == entry.type ? 1 : 0;
        EXPECT_GT(made, 0) << entry.word << " is in the window";
    }

    const juce::Image shot = GuiTestSupport::TakeScreenshot(root, "AllViewTypes");
    ASSERT_TRUE(shot.isValid());
    const XImage* plane = GetResourceManager().GetImage("widgets\\panner\\plane.png");
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(shot.getPixelAt(252, 622), plane->GetJuceImage()->getPixelAt(2, 2))
        << "the skin's plane is shown";
}
