#include "core/XMessage.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"
#include "support/gui/ViewTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{
using ViewTest::Application;
using ViewTest::MakeParam;

/** A description block of string items. */
XMessage Block(std::initializer_list<std::pair<const char*, const char*>> items)
{
    XMessage block(0, 0);
    for (const auto& item : items)
        block.AddString(item.first, item.second);
    return block;
}

class Attributes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        XView::ResetAttributeDefaults();
        root.SetFrameXYWH(0, 0, 300, 300);
        root.Show();
        root.Attach();
    }
    void TearDown() override { XView::ResetAttributeDefaults(); }

    /** A new child of the root that has read block. */
    XView* Read(XMessage block)
    {
        auto* view = new XView();
        view->ReadAttributes(block);
        root.AddChild(view);
        return view;
    }

    void Drop(XView* view)
    {
        root.RemoveChild(view);
        delete view;
    }

    XView root;
};

TEST_F(Attributes, LaterBlocksInheritFontJustificationAndColoursOfTheOneBefore)
{
    XMessage first = Block({{"font", "Arial,12,1,0,0"}, {"textjustify", "center"}});
    first.AddColor("forecolor", XRGB(200, 10, 10));
    first.AddColor("backcolor", XRGB(5, 6, 7));
    XView* a = Read(first);
    EXPECT_EQ(a->GetJustification(), XView::kJustifyCentred);
    EXPECT_EQ(a->GetFont(), XFont::GetFont("Arial", 12, true, false, false));
    EXPECT_EQ(a->GetTextColor(), XRGB(200, 10, 10)) << "forecolor sets the text colour too";

    XView* b = Read(Block({{"name", "second"}}));
    EXPECT_EQ(b->GetFont(), a->GetFont());
    EXPECT_EQ(b->GetJustification(), XView::kJustifyCentred);
    EXPECT_EQ(b->GetForeColor(), XRGB(200, 10, 10));
    EXPECT_EQ(b->GetBackColor(), XRGB(5, 6, 7));

    XMessage third = Block({{"textjustify", "middle"}});
    third.AddPointer("font", XFont::GetFont("Arial", 20, false, false, false));
    third.AddColor("forecolor", XRGB(1, 1, 1));
    third.AddColor("textcolor", XRGB(2, 2, 2));
    XView* c = Read(third);
    EXPECT_EQ(c->GetJustification(), XView::kJustifyLeft) << "an unknown word keeps the view's own";
    EXPECT_EQ(c->GetTextColor(), XRGB(2, 2, 2)) << "textcolor wins over forecolor";
    XView* d = Read(Block({{"textcolor", "ignored: not a colour item"}}));
    EXPECT_EQ(d->GetFont(), a->GetFont()) << "a font given by pointer is not carried";
    EXPECT_EQ(d->GetJustification(), XView::kJustifyLeft) << "and the view's own became the carried one";
    std::unique_ptr<XView> next(XView::CreateViewByName("basic"));
    EXPECT_EQ(next->GetForeColor(), XRGB(1, 1, 1));
}

TEST_F(Attributes, LabelsTakeTheArrayIndexAsTextNeverAsAFormat)
{
    const struct
    {
        const char* label;
        int32_t index;
        const char* expected;
    } cases[] = {{"Ch %d", 3, "Ch 3"},     {"%s %d %d", 2, "%s 2 %d"},  {"100%% %d", 7, "100% 7"},
                 {"Out %d", -1, "Out -1"}, {"plain %%", 4, "plain %%"}, {"%n%d%x", 5, "%n5%x"}};
    for (const auto& c : cases)
    {
        XMessage block = Block({{"label", c.label}});
        if (c.index != 0)
            block.AddInt32("currentArrayIndex", c.index);
        EXPECT_EQ(Read(block)->GetLabel(), c.expected) << c.label;
    }
    EXPECT_EQ(Read(Block({{"label", "Ch %d"}}))->GetLabel(), "Ch 0");
}

TEST_F(Attributes, ResizeMaskWordsNameStyleAndFrame)
{
    const struct
    {
        const char* words;
        uint32_t mask;
    } cases[] = {
        {"right,bottom", 0xA}, {"", 0}, {"Left, TOP", 0x5}, {"middle,foo", 0x10}, {"all,special", 0x4F}};
    for (const auto& c : cases)
        EXPECT_EQ(Read(Block({{"resizemask", c.words}}))->GetResizeMask(), c.mask) << c.words;
    EXPECT_EQ(Read(Block({{"name", "x"}}))->GetResizeMask(), XView::kDefaultResizeMask);

    XMessage styled = Block({{"name", "meter"}, {"style", "Transparent"}});
    styled.AddString("style", "swipeable, other");
    styled.AddRect("frame", XRect(10, 20, 60, 40));
    XView* view = Read(styled);
    EXPECT_EQ(view->GetName(), "meter");
    EXPECT_TRUE(view->IsTransparent());
    EXPECT_FALSE(view->isOpaque());
    EXPECT_TRUE(view->IsSwipeable());
    EXPECT_EQ(view->GetFrame(), XRect(10, 20, 60, 40));
    XMessage opaque = Block({{"style", "nonTransparent"}});
    view->ReadAttributes(opaque);
    EXPECT_FALSE(view->IsTransparent());
    EXPECT_TRUE(view->isOpaque());
}

TEST_F(Attributes, FrameIsCentredOnTheParentForViewsThatAskForIt)
{
    struct Centred : XView
    {
        bool ShouldCenterOnParent() const override { return true; }
    };
    auto* view = new Centred();
    root.AddChild(view);
    XMessage block(0, 0);
    block.AddRect("frame", XRect(0, 0, 100, 50));
    view->ReadAttributes(block);
    EXPECT_EQ(view->GetFrame(), XRect(100, 125, 200, 175));
}

TEST_F(Attributes, ShowKeysDecideForWhichValuesTheViewIsShown)
{
    auto param = MakeParam(0, 4);
    ASSERT_TRUE(param->SetPath("test\\showSelector"));
    struct Case
    {
        std::function<XMessage()> block;
        std::vector<bool> shownFor; // values 0..4
    };
    const std::vector<Case> cases = {
        {[] {
             return Block({{"showparam", "TEST\\showselector"}, {"showvalue", "1,3"}});
         },
         {false, true, false, true, false}},
        {[] {
             return Block({{"showparam", "test\\showSelector"}, {"showvaluerange", "2-4"}});
         },
         {false, false, true, true, true}},
        {[] {
             return Block({{"showparam", "test\\showSelector"}, {"hidevalue", "1,2"}});
         },
         {true, false, false, true, true}},
        {[] {
             return Block({{"showparam", "test\\showSelector"}, {"showvalue", "2,x,4"}});
         },
         {false, false, true, false, false}},
        {[] {
             return Block({{"showparam", "test\\showSelector"}});
         },
         {true, false, false, false, false}},
        {[]
         {
             XMessage block = Block({{"showparam", "test\\showSelector"}});
             block.AddInt32("showvalue", 3);
             return block;
         },
         {false, false, false, true, false}},
        {[&param]
         {
             XMessage block(0, 0);
             block.AddPointer("showparam", param.get());
             block.AddString("showvalue", "4");
             return block;
         },
         {false, false, false, false, true}},
    };
    for (size_t i = 0; i < cases.size(); ++i)
    {
        param->SetValue(0, true);
        XView* view = Read(cases[i].block());
        ASSERT_EQ(view->GetShowParam(), param.get()) << "case " << i;
        for (int value = 0; value <= 4; ++value)
        {
            param->SetValue(value, true);
            EXPECT_EQ(view->isVisible(), cases[i].shownFor[static_cast<size_t>(value)])
                << "case " << i << " value " << value;
        }
        Drop(view);
    }

    XView* unbound = Read(Block({{"showparam", "test\\nothingHere"}, {"showvalue", "1"}}));
    EXPECT_EQ(unbound->GetShowParam(), nullptr);
    EXPECT_TRUE(unbound->isVisible());
}

TEST_F(Attributes, GuiStyleNamesARegisteredStyle)
{
    XStyle fancy;
    XStyle::RegisterStyle(&fancy, "Fancy");
    XView* view = Read(Block({{"guiStyle", "FANCY"}}));
    EXPECT_EQ(view->GetStyle(), &fancy);
    XMessage missing = Block({{"guiStyle", "missing"}});
    view->ReadAttributes(missing);
    EXPECT_EQ(view->GetStyle(), &fancy);
    XStyle::RegisterStyle(nullptr, "Fancy");
}

TEST_F(Attributes, ColoursAreTheXRGBPropertiesOfTheXViewTable)
{
    struct Watched : XView
    {
        std::vector<std::string> changed;
        void PropertyChanged(XProperty* property) override
        {
            changed.push_back(property->GetInfo().name.CStr());
        }
    } view;
    const XClassPropertyTable* table = XView::GetClassPropertyTable();
    EXPECT_EQ(table->GetClassName(), "XView");
    EXPECT_EQ(table->GetParent(), nullptr);
    ASSERT_EQ(table->GetCount(), 3);
    const struct
    {
        const char* name;
        XRGB byDefault;
    } rows[] = {{"ForeColor", {40, 40, 40}}, {"BackColor", {240, 240, 240}}, {"TextColor", {40, 40, 40}}};
    for (const auto& row : rows)
    {
        const XPropertyInfo* info = table->FindProperty(row.name);
        ASSERT_NE(info, nullptr) << row.name;
        EXPECT_EQ(info->typeName, "XRGB");
        EXPECT_EQ(info->defaultValue.GetColour(), row.byDefault) << row.name;
    }

    XProperty* fore = view.FindProperty("ForeColor");
    ASSERT_NE(fore, nullptr);
    EXPECT_EQ(fore->GetOwner(), &view);
    fore->FromString("#ff102030");
    EXPECT_EQ(view.GetForeColor(), XRGB(0x10, 0x20, 0x30));
    view.SetBackColor(view.GetBackColor());
    view.SetTextColor(XRGB(1, 2, 3));
    EXPECT_EQ(view.changed, (std::vector<std::string>{"TextColor"})) << "only a real change tells the view";
}

// View XML ------------------------------------------------------------------------------------------

TEST_F(Attributes, ViewXmlRoundTripsAndOnlyOneWordMasksAreWritten)
{
    XView panel;
    panel.SetName("panel");
    panel.SetLabel("Panel");
    panel.SetFrameXYWH(5, 6, 70, 80);
    panel.SetForeColor(XRGB(1, 2, 3, 4));
    panel.SetBackColor(XRGB(9, 8, 7));
    panel.SetSwipeable(true);
    auto* knob = new XView();
    knob->SetName("knob");
    knob->SetResizeMask(XView::kResizeRight);
    knob->SetFrameXYWH(1, 1, 10, 10);
    panel.AddChild(knob);
    panel.AddComponent(new juce::Component()); // plain children are left out
    std::unique_ptr<juce::Component> plain(panel.getChildComponent(1));

    juce::XmlElement saved("View");
    panel.SaveToXml(saved);
    EXPECT_EQ(saved.getStringAttribute("name"), "panel");
    EXPECT_EQ(saved.getStringAttribute("label"), "Panel");
    EXPECT_FALSE(saved.hasAttribute("resizeMask")) << "mask 5 has no word";
    EXPECT_FALSE(saved.hasAttribute("transparent"));
    EXPECT_EQ(saved.getIntAttribute("swipeable"), 1);
    const juce::XmlElement* frame = saved.getChildByName("frame");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->toString(juce::XmlElement::TextFormat().singleLine().withoutHeader()),
              "<frame x=\"5\" y=\"6\" w=\"70\" h=\"80\"/>");
    EXPECT_EQ(saved.getChildByName("forecolor")
                  ->toString(juce::XmlElement::TextFormat().singleLine().withoutHeader()),
              "<forecolor a=\"4\" r=\"1\" g=\"2\" b=\"3\"/>");
    EXPECT_EQ(saved.getNumChildElements(), 4) << "frame, two colours and one view";
    EXPECT_EQ(saved.getChildByName("View")->getStringAttribute("resizeMask"), "right");

    XView copy;
    copy.SetName("PANEL");
    copy.SetResizeMask(XView::kResizeAll);
    auto* copyKnob = new XView();
    copyKnob->SetName("knob");
    copy.AddChild(copyKnob);
    copy.LoadFromXml(saved);
    EXPECT_EQ(copy.GetFrame(), XRect(5, 6, 75, 86));
    EXPECT_EQ(copy.GetForeColor(), XRGB(1, 2, 3, 4));
    EXPECT_EQ(copy.GetBackColor(), XRGB(9, 8, 7));
    EXPECT_EQ(copy.GetResizeMask(), XView::kDefaultResizeMask);
    EXPECT_TRUE(copy.IsSwipeable());
    EXPECT_EQ(copy.GetLabel(), "Panel");
    EXPECT_EQ(copyKnob->GetResizeMask(), XView::kResizeRight);
    EXPECT_EQ(copyKnob->GetFrame(), XRect(1, 1, 11, 11));
    panel.RemoveComponent(plain.get());
}

TEST_F(Attributes, XmlMasksOutsideTheWordListLoadAsTheDefaultAndOtherViewsIgnoreTheElement)
{
    const struct
    {
        uint32_t mask;
        uint32_t loaded;
    } cases[] = {{0x1, 0x1},   {0x2, 0x2},   {0x4, 0x4},   {0x8, 0x8}, {0xF, 0xF},
                 {0x10, 0x10}, {0x20, 0x20}, {0x40, 0x40}, {0xA, 0x5}, {0x0, 0x5}};
    for (const auto& c : cases)
    {
        XView view;
        view.SetName("v");
        view.SetResizeMask(c.mask);
        juce::XmlElement element("View");
        view.SaveToXml(element);
        view.SetResizeMask(0x3);
        view.LoadFromXml(element);
        EXPECT_EQ(view.GetResizeMask(), c.loaded) << c.mask;
    }
    juce::XmlElement shouted("View");
    shouted.setAttribute("name", "v");
    shouted.setAttribute("resizeMask", "ALL");
    XView named;
    named.SetName("v");
    named.LoadFromXml(shouted);
    EXPECT_EQ(named.GetResizeMask(), XView::kResizeAll);

    XView other;
    other.SetName("other");
    other.SetResizeMask(0x3);
    other.LoadFromXml(shouted);
    EXPECT_EQ(other.GetResizeMask(), 0x3u);
}

// Class factory -------------------------------------------------------------------------------------

TEST_F(Attributes, ClassFactoryIgnoresCaseAndGivesAPlainViewForUnknownNames)
{
    struct Knob : XView
    {
    };
    struct Switch : XView
    {
    };
    // A type name of the test's own, so that the registered views of the program stay as they are.
    XView::RegisterViewClass("TestButton", [] { return static_cast<XView*>(new Knob()); });
    for (const char* name : {"testbutton", "TESTBUTTON", "tEsTbUtToN"})
    {
        std::unique_ptr<XView> view(XView::CreateViewByName(name));
        EXPECT_NE(dynamic_cast<Knob*>(view.get()), nullptr) << name;
    }
    XView::RegisterViewClass("testbutton", [] { return static_cast<XView*>(new Switch()); });
    std::unique_ptr<XView> replaced(XView::CreateViewByName("TestButton"));
    EXPECT_NE(dynamic_cast<Switch*>(replaced.get()), nullptr);
    XView::RegisterViewClass("TestButton", nullptr);
    std::unique_ptr<XView> forgotten(XView::CreateViewByName("TestButton"));
    EXPECT_EQ(typeid(*forgotten), typeid(XView)) << "a null creator removes the type";
    for (const char* name : {"slidr", "", static_cast<const char*>(nullptr)})
    {
        std::unique_ptr<XView> plain(XView::CreateViewByName(name));
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(typeid(*plain), typeid(XView));
    }
}

TEST_F(Attributes, LoadDescriptionHandsTheNameToTheBuilder)
{
    ViewTest::FakeServices services;
    root.LoadDescription("Dialogs\\About.txt");
    ASSERT_EQ(services.built.size(), 1u);
    EXPECT_EQ(services.built[0].first, "Dialogs\\About.txt");
    EXPECT_EQ(services.built[0].second, &root);
}

TEST_F(Attributes, RandomDescriptionTextsNeverBreakTheReader)
{
    auto param = MakeParam(0, 50);
    ASSERT_TRUE(param->SetPath("test\\randomShow"));
    std::mt19937 random(1234);
    const std::string alphabet = "0123456789-,%dsxn \\rightbottomALL";
    auto text = [&]
    {
        std::string result(random() % 24, ' ');
        for (char& c : result)
            c = alphabet[random() % alphabet.size()];
        return result;
    };
    const char* keys[] = {"resizemask", "label", "showvalue",   "hidevalue", "showvaluerange",
                          "font",       "style", "textjustify", "guiStyle"};
    for (int round = 0; round < 300; ++round)
    {
        XMessage block(0, 0);
        block.AddString("showparam", "test\\randomShow");
        for (const char* key : keys)
        {
            if (random() % 2 == 0)
                block.AddString(key, text().c_str());
        }
        block.AddInt32("currentArrayIndex", static_cast<int32_t>(random()));
        XView* view = Read(block);
        EXPECT_EQ(view->GetShowParam(), param.get());
        Drop(view);
    }
}
} // namespace
