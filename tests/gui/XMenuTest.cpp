#include "gui/XMenu.h"

#include "MenuTestSupport.h"
#include "core/XMessage.h"
#include "gui/ShowViewCmd.h"
#include "gui/XMenuItem.h"

#include <gtest/gtest.h>

namespace
{
using MenuTest::CountingCommand;
using MenuTest::Entry;
using MenuTest::ModalMenuDriver;
using MenuTest::OnOffParam;
using MenuTest::Prepared;
using MenuTest::TextParam;

class XMenuTest : public ::testing::Test
{
protected:
    void SetUp() override { ViewTest::Application(); }

    /** Runs the run requests the menu sent to the application. */
    void RunRequests() { ViewTest::Pump(); }

    XCommandManager commands;
};

TEST_F(XMenuTest, ParameterValuesAreListedByTheirTextsWithTheCurrentOneTicked)
{
    auto param = TextParam({"Low", "Mid", "High"}, 1);
    XMenu menu("Band", false);
    menu.AddParamItems(param.get(), false, false, "");

    const std::vector<Entry> entries = Prepared(menu);
    ASSERT_EQ(entries.size(), 3u);
    const char* texts[] = {"Low", "Mid", "High"};
    for (size_t index = 0; index < entries.size(); ++index)
    {
        EXPECT_EQ(entries[index].text, texts[index]);
        EXPECT_TRUE(entries[index].enabled);
        EXPECT_EQ(entries[index].ticked, index == 1) << index;
    }
    EXPECT_EQ(menu.GetSelectedItem(), menu.GetItemAt(1));

    // Choosing an item sets the value; the next showing ticks it.
    menu.FindItemById(entries[2].id)->Execute(nullptr);
    EXPECT_EQ(param->GetValue(), 2);
    EXPECT_TRUE(Prepared(menu)[2].ticked);
}

TEST_F(XMenuTest, ParametersOfTooManyValuesOrNoneAddNothing)
{
    auto huge = ViewTest::MakeParam(0, 1025); // 1026 values
    auto largest = ViewTest::MakeParam(1, 1025);
    XMenu menu("m", false);
    menu.AddParamItems(huge.get(), false, false, "");
    EXPECT_EQ(menu.GetItemCount(), 0);
    menu.AddParamItems(largest.get(), false, false, "");
    EXPECT_EQ(menu.GetItemCount(), 1025);

    // A missing parameter gives one inert item.
    XMenu missing("m", false);
    missing.AddParamItemsByPath("no\\suchParam", false, false, "x");
    missing.AddParamItemsByPath(nullptr, false, false, "x");
    const std::vector<Entry> entries = Prepared(missing);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, XParamItem::kNotFoundLabel);
    EXPECT_FALSE(entries[0].enabled);
    missing.FindItemById(entries[0].id)->Execute(nullptr); // does nothing
}

TEST_F(XMenuTest, AnOnOffParameterGivesOneItemThatToggles)
{
    auto mute = OnOffParam("Mute", 0);
    XMenu labelled("m", false);
    labelled.AddParamItems(mute.get(), false, false, "Mute all");
    XMenu unlabelled("m", false);
    unlabelled.AddParamItems(mute.get(), false, false, "");

    std::vector<Entry> entries = Prepared(labelled);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "Mute all");
    EXPECT_FALSE(entries[0].ticked);
    EXPECT_EQ(Prepared(unlabelled)[0].text, mute->GetDisplayTextOf(0).CStr());

    labelled.FindItemById(entries[0].id)->Execute(nullptr);
    EXPECT_EQ(mute->GetValue(), 1);
    EXPECT_TRUE(Prepared(labelled)[0].ticked);
    labelled.GetItemAt(0)->Execute(nullptr);
    EXPECT_EQ(mute->GetValue(), 0);
}

TEST_F(XMenuTest, CommandItemsFollowTheirCommandAndRunThroughTheApplication)
{
    CountingCommand save("Save");
    ASSERT_TRUE(save.Register("Save", "Global", "ctrl + S"));
    XMenu menu("File", false);
    menu.AddCommandItem("Save");
    menu.AddSpacer();
    menu.AddCommandItem("NoSuchCommand");

    std::vector<Entry> entries = Prepared(menu);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "Save");
    EXPECT_EQ(entries[0].shortcut, save.GetShortcutText().CStr());
    EXPECT_FALSE(entries[0].shortcut.empty());
    EXPECT_TRUE(entries[0].enabled);
    EXPECT_TRUE(entries[1].separator);
    EXPECT_EQ(entries[2].text, "NoSuchCommand - NA");
    EXPECT_FALSE(entries[2].enabled);
    EXPECT_FALSE(entries[2].ticked);

    save.enabled = false;
    save.checked = true;
    entries = Prepared(menu);
    EXPECT_FALSE(entries[0].enabled);
    EXPECT_TRUE(entries[0].ticked);

    save.enabled = true;
    menu.FindItemById(entries[0].id)->Execute(nullptr);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return save.runs == 1; }, MenuTest::kWaitMs));

    // A given request is reused: it carries the command's name.
    XMessage request(1234);
    menu.GetItemAt(0)->Execute(&request);
    EXPECT_EQ(request.GetWhat(), XMsgCode::kRunCommand);
    EXPECT_STREQ(request.GetString(XCommandManager::kCommandNameItem), "Save");
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return save.runs == 2; }, MenuTest::kWaitMs));

    // Removal finds the name in any case; JUCE drops the separator that now leads the menu.
    menu.RemoveCommandItem("save");
    menu.RemoveCommandItem(nullptr);
    EXPECT_EQ(menu.GetItemCount(), 2);
    EXPECT_EQ(Prepared(menu)[0].text, "NoSuchCommand - NA");
    commands.RemoveCommand(&save);
}

TEST_F(XMenuTest, MessageAndTextItems)
{
    ControlTest::Recorder target("menuTarget");
    XMenu menu("m", false);
    menu.AddMessageItem("Send", new XMessage(4711), &target);
    menu.AddMessageItem("Nowhere", new XMessage(4712), nullptr);
    menu.AddTextItem("Plain", true);

    const std::vector<Entry> entries = Prepared(menu);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[2].ticked);
    menu.FindItemById(entries[0].id)->Execute(nullptr);
    menu.FindItemById(entries[1].id)->Execute(nullptr);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return !target.messages.empty(); }, MenuTest::kWaitMs));
    ViewTest::Pump();
    ASSERT_EQ(target.messages.size(), 1u);
    EXPECT_EQ(target.messages[0].GetWhat(), 4711u);

    menu.GetItemAt(2)->SetChecked(false);
    EXPECT_FALSE(Prepared(menu)[2].ticked);
}

TEST_F(XMenuTest, DynamicMenusExpandAtEveryShowing)
{
    auto param = TextParam({"a", "b", "c"}, 0);
    auto huge = ViewTest::MakeParam(0, 2000);
    XMenu menu("dyn", false);
    menu.AddParamItems(param.get(), true, false, "");
    menu.AddParamItems(huge.get(), true, false, "");
    menu.AddTextItem("after", false);
    EXPECT_TRUE(menu.IsDynamic());

    // The parameter of 2001 values is left out; the item after it stays.
    std::vector<Entry> entries = Prepared(menu);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].text, "a");
    EXPECT_TRUE(entries[0].ticked);
    EXPECT_EQ(entries[2].text, "c");
    EXPECT_EQ(entries[3].text, "after");

    // The parameter's range grows: the next showing lists the new value.
    MenuTest::ValueTexts().push_back("d");
    param->SetMax(3);
    entries = Prepared(menu);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[3].text, "d");
    menu.FindItemById(entries[3].id)->Execute(nullptr);
    EXPECT_EQ(param->GetValue(), 3);

    // A first parameter of maximum 0 leaves the items unexpanded.
    auto single = ViewTest::MakeParam(0, 0);
    XMenu flat("flat", true);
    flat.AddParamItems(single.get(), true, false, "only");
    EXPECT_EQ(Prepared(flat).size(), 1u);
}

TEST_F(XMenuTest, TheValueTreeGroupsValuesByTheTextBeforeTheColon)
{
    auto param = TextParam({"A:x", "A:y", "B:x", "plain"}, 1);
    XMenu menu("tree", true);
    XMessage block;
    block.AddBool("valuetree", true);
    block.AddInt32("maxItemsPerColumn", 12);
    menu.ReadAttributes(block);
    menu.AddParamItems(param.get(), true, false, "");

    const std::vector<Entry> entries = Prepared(menu);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "A");
    ASSERT_EQ(entries[0].children.size(), 2u);
    EXPECT_EQ(entries[0].children[0].text, "x");
    EXPECT_EQ(entries[0].children[1].text, "y");
    EXPECT_TRUE(entries[0].children[1].ticked);
    EXPECT_EQ(entries[1].text, "B");
    ASSERT_EQ(entries[1].children.size(), 1u);
    EXPECT_EQ(entries[1].children[0].text, "x");
    EXPECT_EQ(entries[2].text, "plain");

    menu.FindItemById(entries[1].children[0].id)->Execute(nullptr);
    EXPECT_EQ(param->GetValue(), 2);
}

TEST_F(XMenuTest, DescriptionKeysSetTheFlags)
{
    struct Case
    {
        const char* style;
        bool dynamicKey;
        bool hasDynamicKey;
        bool expected;
    };
    const Case cases[] = {
        {"transparent, DYNAMIC", false, false, true},
        {"transparent", false, false, false},
        {"dynamic", false, true, false}, // the "dynamic" key wins over the style word
        {nullptr, true, true, true},
    };
    for (const Case& c : cases)
    {
        XMessage block;
        if (c.style != nullptr)
            block.AddString("style", c.style);
        if (c.hasDynamicKey)
            block.AddBool("dynamic", c.dynamicKey);
        XMenu menu("m", false);
        menu.ReadAttributes(block);
        EXPECT_EQ(menu.IsDynamic(), c.expected) << (c.style != nullptr ? c.style : "(no style)");
    }
    XMenu menu("m", false);
    EXPECT_EQ(menu.GetItemsPerColumn(), -1);
    EXPECT_EQ(menu.GetMaxHeight(), 768);
}

TEST_F(XMenuTest, AShowingLeftWithoutAChoiceEmitsNullThenClosedOnce)
{
    auto param = TextParam({"one", "two"}, 0);
    XMenu menu("m", false);
    menu.AddParamItems(param.get(), false, false, "");
    std::vector<std::string> signals;
    menu.GetItemChosenSignal().Connect([&](XMenuItem* item)
                                       { signals.push_back(item == nullptr ? "null" : "item"); });
    menu.GetMenuClosedSignal().Connect([&] { signals.push_back("closed"); });

    ModalMenuDriver dismiss([&](juce::Component&) { menu.Dismiss(false); });
    menu.PopupAt(XPoint(100, 100), nullptr);
    EXPECT_TRUE(dismiss.HasActed());
    EXPECT_EQ(signals, (std::vector<std::string>{"null", "closed"}));
    EXPECT_EQ(param->GetValue(), 0);
    EXPECT_FALSE(menu.IsShowing());

    // Outside a showing, Dismiss tells the menu's watchers that it is closed.
    menu.Dismiss(true);
    EXPECT_EQ(signals.back(), "closed");
}

TEST_F(XMenuTest, AChoiceRunsItsActionBeforeTheSignals)
{
    auto param = TextParam({"one", "two", "three"}, 0);
    XMenu menu("m", false);
    menu.AddParamItems(param.get(), false, false, "");
    std::vector<std::string> signals;
    menu.GetItemChosenSignal().Connect(
        [&](XMenuItem* item) {
            signals.push_back(item != nullptr && param->GetValue() == 1 ? "chosen after the value" : "wrong");
        });
    menu.GetMenuClosedSignal().Connect([&] { signals.push_back("closed"); });

    ModalMenuDriver choose([&](juce::Component& window) { MenuTest::ChooseByKeys(window, 1); });
    menu.PopupAt(XPoint(100, 100), nullptr);
    EXPECT_TRUE(choose.HasActed());
    EXPECT_EQ(param->GetValue(), 1);
    EXPECT_EQ(signals, (std::vector<std::string>{"chosen after the value", "closed"}));
}

TEST(ShowViewCmdTest, ShowsAndHidesItsViewAndTicksWhileVisible)
{
    ViewTest::Application();
    XCommandManager commands;
    auto view = std::make_unique<XView>();
    view->Show();
    ShowViewCmd show(view.get(), "Routing");
    ASSERT_TRUE(show.Register("Routing", "Global", "F5"));
    EXPECT_EQ(show.GetTitle(), XString("Routing"));
    EXPECT_TRUE(show.IsEnabled(nullptr));
    EXPECT_TRUE(show.IsChecked());

    show.Execute(nullptr);
    EXPECT_FALSE(view->IsVisible());
    EXPECT_FALSE(show.IsChecked());
    XMenu menu("Window", false);
    menu.AddCommandItem("routing");
    EXPECT_FALSE(Prepared(menu)[0].ticked);
    show.Execute(nullptr);
    EXPECT_TRUE(view->IsVisible());
    EXPECT_TRUE(Prepared(menu)[0].ticked);
    EXPECT_EQ(Prepared(menu)[0].text, "Routing");

    // A deleted view is forgotten, as a command made without one.
    view.reset();
    ShowViewCmd none(nullptr, "None");
    for (ShowViewCmd* command : {&show, &none})
    {
        EXPECT_TRUE(command->IsEnabled(nullptr));
        EXPECT_FALSE(command->IsChecked());
        command->Execute(nullptr);
    }
    commands.RemoveCommand(&show);
}
} // namespace
