#include "gui/XPopupMenu.h"

#include "MenuTestSupport.h"
#include "gui/JUCECanvas.h"
#include "gui/ViewFactory.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XMenuItem.h"
#include "gui/XStyle.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using GuiTestSupport::RunLoopUntil;
using MenuTest::kWaitMs;
using MenuTest::ModalMenuDriver;
using MenuTest::TextParam;

constexpr const char* kDropDownImage = "widgets/dropdown.png";

/** A style that records how it is asked to draw pop-up menus. */
class RecordingStyle final : public XStyle
{
public:
    void DrawPopupMenu(IStyledPopupMenu* menu, const XRect& rect, XCanvas& canvas, bool pressed,
                       bool dimmed) override
    {
        ++draws;
        lastPressed = pressed;
        lastBack = canvas.GetBackColor();
        XStyle::DrawPopupMenu(menu, rect, canvas, pressed, dimmed);
    }
    int draws = 0;
    bool lastPressed = false;
    XRGB lastBack;
};

class XPopupMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        root.SetFrameXYWH(0, 0, 300, 200);
    }

    /** Paints the view once into an image, as the window would. */
    static void Paint(XView& view)
    {
        juce::Image image(juce::Image::ARGB, std::max(1, view.getWidth()), std::max(1, view.getHeight()),
                          true);
        juce::Graphics g(image);
        view.paintEntireComponent(g, true);
    }

    XView root;
};

TEST_F(XPopupMenuTest, DescriptionKeysSetImagesStylesAndColours)
{
    struct Case
    {
        const char* name;
        std::function<void(XMessage&)> keys;
        std::function<void(const XPopupMenu&)> check;
    };
    const XRGB red(200, 10, 10);
    const XRGB blue(10, 10, 200);
    const Case cases[] = {
        {"color2 follows color1", [&](XMessage& b) { b.AddColor("color1", red); },
         [&](const XPopupMenu& p) { EXPECT_EQ(p.GetColor2(), red); }},
        {"hiliteforecolor wins over color2",
         [&](XMessage& b)
         {
             b.AddColor("hiliteforecolor", blue);
             b.AddColor("color2", red);
         },
         [&](const XPopupMenu& p) { EXPECT_EQ(p.GetColor2(), blue); }},
        {"color3 and color4 are the text colours",
         [&](XMessage& b)
         {
             b.AddColor("color3", red);
             b.AddColor("color4", blue);
         },
         [&](const XPopupMenu& p)
         {
             EXPECT_EQ(p.GetPopupTextColor(), red);
             EXPECT_EQ(p.GetHighlightTextColor(), blue);
         }},
        {"style words in any case",
         [](XMessage& b)
         {
             b.AddString("style", "NoArrow, NOTITLE");
             b.AddString("style", "noframe");
         },
         [](const XPopupMenu& p)
         {
             EXPECT_FALSE(p.IsArrowShown());
             EXPECT_FALSE(p.IsTitleShown());
             EXPECT_FALSE(p.IsFrameShown());
             EXPECT_FALSE(p.IsNoDraw());
         }},
        {"label rectangle, margin and flags",
         [](XMessage& b)
         {
             b.AddRect("labelRect", XRect(2, 1, 62, 18));
             b.AddInt32("titlemargin", 4);
             b.AddBool("stripValTreeLabels", true);
             b.AddString("attachmenu", "ignored");
         },
         [](const XPopupMenu& p)
         {
             EXPECT_EQ(p.GetLabelRect(), XRect(2, 1, 62, 18));
             EXPECT_EQ(p.GetTitleMargin(), 4);
             EXPECT_TRUE(p.GetStripValueTreeLabels());
             EXPECT_TRUE(p.IsArrowShown());
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        XMessage block;
        c.keys(block);
        XPopupMenu popup;
        EXPECT_EQ(popup.GetColor1(), XPopupMenu::kDefaultColor1);
        EXPECT_EQ(popup.GetColor2(), XPopupMenu::kDefaultColor2);
        popup.ReadAttributes(block);
        c.check(popup);
    }
}

TEST_F(XPopupMenuTest, TheMenuIsBuiltFromTheParameterOnlyInAWindow)
{
    auto first = TextParam({"Sine", "Square", "Saw"}, 2);
    auto popup = std::make_unique<XPopupMenu>(XRect(10, 10, 130, 30), "wave", nullptr);
    popup->SetPot(first.get());
    EXPECT_EQ(popup->GetMenu(), nullptr);

    XPopupMenu* shown = popup.get();
    root.AddChild(popup.release());
    ASSERT_NE(shown->GetMenu(), nullptr);
    EXPECT_EQ(shown->GetDisplayText(), XString("Saw"));
    const std::vector<MenuTest::Entry> entries = MenuTest::Prepared(*shown->GetMenu());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[2].ticked);

    // Binding another parameter in the window builds its menu.
    auto second = TextParam({"Off", "On", "Auto", "Hold"}, 0);
    shown->SetPot(second.get());
    EXPECT_EQ(MenuTest::Prepared(*shown->GetMenu()).size(), 4u);
    EXPECT_EQ(shown->GetDisplayText(), XString("Off"));

    // A description's "dynamic" makes the menu expand at each showing.
    XPopupMenu* dynamic = new XPopupMenu();
    XMessage block;
    block.AddBool("dynamic", true);
    dynamic->ReadAttributes(block);
    root.AddChild(dynamic);
    dynamic->SetPot(first.get());
    EXPECT_TRUE(dynamic->GetMenu()->IsDynamic());
    EXPECT_EQ(MenuTest::Prepared(*dynamic->GetMenu()).size(), 3u);
}

TEST_F(XPopupMenuTest, WithoutParameterAndMenuTheLabelIsShown)
{
    XPopupMenu popup(XRect(0, 0, 100, 20), "name", "Choose");
    popup.UpdateDisplayText();
    EXPECT_EQ(popup.GetDisplayText(), XString("Choose"));

    // An attached menu's ticked item gives the text.
    auto menu = std::make_unique<XMenu>("m", false);
    menu->AddTextItem("first", false);
    menu->AddTextItem("second", true);
    popup.SetContextMenu(menu.release());
    EXPECT_EQ(popup.GetDisplayText(), XString("second"));
}

TEST_F(XPopupMenuTest, AChoiceSetsTheParameterWithinAnEditAndRelabels)
{
    auto param = TextParam({"A:one", "A:two", "B:three"}, 0);
    XPopupMenu* popup = new XPopupMenu(XRect(10, 10, 130, 30), "mode", nullptr);
    XMessage block;
    block.AddBool("stripValTreeLabels", true);
    popup->ReadAttributes(block);
    root.AddChild(popup);
    popup->SetPot(param.get());
    EXPECT_EQ(popup->GetDisplayText(), XString("one"));

    std::vector<std::string> events;
    popup->GetPressedSignal().Connect([&] { events.push_back("pressed"); });
    popup->GetItemChosenSignal().Connect(
        [&](XMenuItem* item) { events.push_back(param->IsEditing() ? "chosen in edit" : "chosen"); });
    ModalMenuDriver choose([&](juce::Component& window) { MenuTest::ChooseByKeys(window, 2); });
    popup->MouseDown(XPoint(5, 5), XView::kButtonLeft);
    EXPECT_TRUE(choose.HasActed());
    EXPECT_EQ(param->GetValue(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"pressed", "chosen in edit"}));
    EXPECT_FALSE(param->IsEditing());
    EXPECT_FALSE(popup->IsPressed());
    EXPECT_FALSE(popup->IsMenuOpen());
    EXPECT_EQ(popup->GetDisplayText(), XString("three"));

    // Leaving without a choice ends no edit it did not begin (an edit begun elsewhere stays open).
    param->BeginEdit();
    ModalMenuDriver leave([&](juce::Component&) { popup->GetMenu()->Dismiss(false); });
    popup->ShowMenu();
    EXPECT_TRUE(leave.HasActed());
    EXPECT_TRUE(param->IsEditing());
    param->EndEdit();

    // A disabled control passes the press on and shows nothing.
    popup->SetControlEnabled(false);
    EXPECT_FALSE(popup->MouseDown(XPoint(5, 5), XView::kButtonLeft) && popup->IsPressed());
    EXPECT_FALSE(popup->IsMenuOpen());
}

TEST_F(XPopupMenuTest, AHiddenControlForgetsItsTextUntilTheNextRefresh)
{
    auto param = TextParam({"x", "y"}, 0);
    XPopupMenu* popup = new XPopupMenu(XRect(10, 10, 130, 30), "p", nullptr);
    root.AddChild(popup);
    popup->SetPot(param.get());
    popup->Hide();
    param->SetValue(1, true);
    ViewTest::Pump();
    EXPECT_TRUE(popup->GetDisplayText().IsEmpty());
    popup->Show();
    param->SetValue(0, true);
    ViewTest::Pump();
    EXPECT_EQ(popup->GetDisplayText(), XString("x"));
}

TEST_F(XPopupMenuTest, ATallFontKeepsTheTextBoxAtTheTop)
{
    XPopupMenu popup(XRect(0, 0, 100, 8), "p", nullptr);
    popup.SetFont(XFont::GetFont("arial", 20, false, false, false));
    EXPECT_EQ(popup.GetTextBox().top, 0);
    XPopupMenu roomy(XRect(0, 0, 100, 60), "p", nullptr);
    roomy.SetFont(XFont::GetFont("arial", 10, false, false, false));
    const int32_t fontHeight = roomy.GetFont()->GetHeight();
    EXPECT_EQ(roomy.GetTextBox().top, (60 - fontHeight + 1) / 2);
    EXPECT_EQ(roomy.GetTextBox().bottom, roomy.GetTextBox().top + fontHeight);
}

TEST_F(XPopupMenuTest, WithoutImagesTheStyleDrawsItHighlightedWhilePressed)
{
    RecordingStyle style;
    XStyle::SetCurrentStyle(&style);
    auto param = TextParam({"a", "b"}, 0);
    XPopupMenu* popup = new XPopupMenu(XRect(10, 10, 130, 30), "p", nullptr);
    root.AddChild(popup);
    popup->SetPot(param.get());
    root.Show();
    Paint(*popup);
    EXPECT_GE(style.draws, 1);
    EXPECT_FALSE(style.lastPressed);

    // Pressed (the menu is left at once): drawn highlighted on color2.
    ModalMenuDriver paintWhileOpen(
        [&](juce::Component&)
        {
            Paint(*popup);
            popup->GetMenu()->Dismiss(false);
        });
    popup->ShowMenu();
    EXPECT_TRUE(style.lastPressed);
    EXPECT_EQ(style.lastBack, popup->GetColor2());
    XStyle::SetCurrentStyle(nullptr);
}

/** The pop-up menus in the built skin, in a window on the screen. */
TEST_F(XPopupMenuTest, OneImageIsDrawnInBothStatesAndSizesTheControl)
{
    if (!SkinTestSupport::BuiltSystemFolder().getChildFile("GlobalColors.dat").existsAsFile())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    XResourceManager& resources = GetResourceManager();
    resources.SetBaseFolder(SkinTestSupport::BuiltSystemFolder().getFullPathName().toRawUTF8());
    if (resources.CountSkinFolders() == 0)
        resources.AddSkinFolder(SkinTestSupport::kSkinFolder);
    ASSERT_TRUE(SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()));
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    XImage* image = resources.GetImage(kDropDownImage);
    ASSERT_NE(image, nullptr);

    auto param = TextParam({"Butterworth 12", "Linkwitz 24", "Bessel 18"}, 1);
    XPopupMenu* imaged =
        new XPopupMenu(XPopupMenu::ImageNames(), XRect(10, 10, 20, 20), kDropDownImage, nullptr);
    XMessage block;
    block.AddString("imagename", kDropDownImage);
    block.AddRect("labelRect", XRect(4, 0, 100, 20));
    imaged->ReadAttributes(block);
    EXPECT_EQ(imaged->GetSecondImage(), imaged->GetMainImage());
    root.SetBackColor(XRGB(38, 43, 50));
    root.AddChild(imaged);
    imaged->SetPot(param.get());
    EXPECT_EQ(imaged->GetFrame(), XRect(10, 10, 10 + image->GetWidth(), 10 + image->GetHeight()));

    XPopupMenu* styled = new XPopupMenu(XRect(10, 50, 150, 72), "styled", nullptr);
    root.AddChild(styled);
    styled->SetPot(param.get());
    XPopupMenu* noArrow = new XPopupMenu();
    XMessage noArrowKeys;
    noArrowKeys.AddRect("frame", XRect(10, 90, 150, 112));
    noArrowKeys.AddString("style", "NoArrow");
    noArrow->ReadAttributes(noArrowKeys);
    for (XPopupMenu* view : {styled, noArrow})
    {
        view->SetForeColor(GetColorDictionary().GetColor("widgetText"));
        view->SetBackColor(GetColorDictionary().GetColor("widgetBack"));
    }
    root.AddChild(noArrow);
    noArrow->SetPot(param.get());
    XPopupMenu* disabled =
        new XPopupMenu(XPopupMenu::ImageNames(), XRect(160, 10, 170, 20), kDropDownImage, nullptr);
    root.AddChild(disabled);
    disabled->SetPot(param.get());
    disabled->SetControlEnabled(false);

    root.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    root.Show();
    ASSERT_TRUE(RunLoopUntil([&] { return root.getPeer() != nullptr && root.isShowing(); }, kWaitMs));
    const juce::Image closed = GuiTestSupport::TakeScreenshot(root, "popupmenus");

    // Open, the same image is drawn (the text moves by one pixel).
    ModalMenuDriver shot(
        [&](juce::Component&)
        {
            GuiTestSupport::TakeScreenshot(root, "popupmenus-open");
            imaged->GetMenu()->Dismiss(false);
        });
    imaged->ShowMenu();
    EXPECT_TRUE(shot.HasActed());
    EXPECT_EQ(imaged->GetDisplayText(), XString("Linkwitz 24"));
    EXPECT_FALSE(closed.isNull());
    root.removeFromDesktop();
    XStyle::SetCurrentStyle(nullptr);
}

TEST_F(XPopupMenuTest, TheViewFactoryMakesItForPopupmenu)
{
    XView::ResetClassFactory();
    RegisterViewTypes();
    std::unique_ptr<XView> view(XView::CreateViewByName("PopupMenu"));
    EXPECT_NE(dynamic_cast<XPopupMenu*>(view.get()), nullptr);
}
} // namespace
