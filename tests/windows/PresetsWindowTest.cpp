// The presets window: the table of the 80 locations, the unit's preset replies kept in the list, the
// Locked and Visible toggles sent at once, the list cleared, and, in the real window against the
// simulated unit, the Visible cell of the first row clicked.

#include "windows/PresetsWindow.h"

#include "WindowTestSupport.h"
#include "core/IAppServices.h"
#include "core/XMessage.h"
#include "device/DeviceCommand.h"
#include "device/IDeviceRequests.h"
#include "device/PresetsManager.h"
#include "windows/ListBoxButtonComponent.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t kPresetInfo = FourCharCode("pInf");
constexpr uint32_t kPresetFlags = FourCharCode("prfg");

XMessage InfoMessage(int32_t number, int32_t configuration, const char* name)
{
    XMessage message(kPresetInfo);
    message.AddInt32("presetNum", number);
    message.AddInt32("presetConfig", configuration);
    message.AddString("presetName", name);
    return message;
}

XMessage FlagsMessage(int32_t number, int32_t flags, uint32_t what = kPresetFlags)
{
    XMessage message(what);
    message.AddInt32("presetNum", number);
    message.AddInt32("presetFlags", flags);
    return message;
}

PresetsManager::Preset Entry(int32_t index)
{
    PresetsManager::Preset preset(XString(), 0, 0);
    EXPECT_TRUE(PresetsManager::Instance().GetEntry(index, &preset)) << index;
    return preset;
}

/** The little-endian int32 at a position of a payload, as the flag word travels. */
int32_t LittleInt32(const FrameBytes::Bytes& bytes, size_t at)
{
    return static_cast<int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                (static_cast<uint32_t>(bytes[at + 3]) << 24));
}

std::vector<int> Commands(const std::vector<FrameBytes::Sent>& frames)
{
    std::vector<int> commands;
    for (const FrameBytes::Sent& frame : frames)
        commands.push_back(frame.command);
    return commands;
}

/** The toggle of the row's cell in the column, as the table makes it. */
ListBoxButtonComponent* Toggle(PresetsWindow& window, int row, int columnId)
{
    return dynamic_cast<ListBoxButtonComponent*>(
        window.GetModel().refreshComponentForCell(row, columnId, false, nullptr));
}

/** Requests that record what the window asks (a full request is not repeated by the real watcher
    while one is pending, so the count is taken here). */
class RecordingRequests final : public IDeviceRequests
{
public:
    bool IsConnected() override { return connected; }
    int32_t FindLiveWireId(const XParam*) override { return -1; }
    void SendParamValue(XParam*, int) override {}
    void RequestAllParams() override { asked.push_back("all"); }
    void SetGetAllFromRecall(bool on) override { asked.push_back(on ? "recall" : "no recall"); }
    void RequestPresetInfo(int number) override { asked.push_back("info " + std::to_string(number)); }
    void RequestPresetFlags(int number) override { asked.push_back("flags " + std::to_string(number)); }
    void SetPresetFlags(int, int32_t) override {}
    bool IsSendingEnabled() override { return true; }
    void SetSendingEnabled(bool) override {}

    bool connected = true;
    std::vector<std::string> asked;
};

class PresetsWindowTest : public WindowTest::WindowTestBase
{
protected:
    void TearDown() override
    {
        window.reset();
        WindowTestBase::TearDown();
    }
    PresetsWindow& Window()
    {
        if (window == nullptr)
            window = std::make_unique<PresetsWindow>();
        return *window;
    }
    std::unique_ptr<PresetsWindow> window;
};

TEST_F(PresetsWindowTest, TheTableHasTheEightyLocationsInItsFiveColumns)
{
    juce::TableListBox* table = Window().GetTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->getName(), juce::String("PresetsTable"));
    EXPECT_EQ(table->getRowHeight(), 25);
    EXPECT_EQ(table->getHeader().getHeight(), 0);
    struct Column
    {
        int id;
        const char* title;
        int width;
    };
    const Column columns[] = {
        {2, "Locked", 27}, {1, "Visible", 34}, {3, "Location", 41}, {4, "Name", 255}, {5, "Config", 315}};
    juce::TableHeaderComponent& header = table->getHeader();
    ASSERT_EQ(header.getNumColumns(false), 5);
    for (int index = 0; index < 5; ++index)
    {
        EXPECT_EQ(header.getColumnIdOfIndex(index, false), columns[index].id);
        EXPECT_EQ(header.getColumnName(columns[index].id), juce::String(columns[index].title));
        EXPECT_EQ(header.getColumnWidth(columns[index].id), columns[index].width);
    }
    EXPECT_EQ(Window().GetModel().getNumRows(), 80);
    // Only the two flag columns have a component.
    EXPECT_EQ(Window().GetModel().refreshComponentForCell(0, 3, false, nullptr), nullptr);
    ASSERT_TRUE(WindowTest::ShowOnScreen(Window()));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    EXPECT_EQ(table->getParentComponent(), Window().GetContentView());
    EXPECT_EQ(table->getBounds(), juce::Rectangle<int>(25, 22, 757, 408));
}

TEST_F(PresetsWindowTest, APresetInfoReplyStoresTheNameAndConfigurationAndAsksForEveryValue)
{
    PresetsWindow& window = Window();
    RecordingRequests recording;
    SetDeviceRequests(&recording);
    struct Case
    {
        int32_t number;
        const char* name;
        int32_t configuration;
        const char* stored; // null: nothing changes and nothing is asked
    };
    const Case cases[] = {
        {1, "Main Hall   ", 2, "Main Hall"}, {20, "?garbage", 0, "?"},
        {21, "Factory 1", 6, "Factory 1"},   {80, "Last", 1, "Last"},
        {81, "Beyond", 1, nullptr},          {0, "None", 1, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.number);
        recording.asked.clear();
        XMessage message = InfoMessage(c.number, c.configuration, c.name);
        window.HandlePresetInfo(message);
        if (c.stored == nullptr)
        {
            EXPECT_TRUE(recording.asked.empty());
            continue;
        }
        EXPECT_EQ(std::string(Entry(c.number - 1).name.CStr()), c.stored);
        EXPECT_EQ(Entry(c.number - 1).configuration, c.configuration);
        EXPECT_EQ(recording.asked, (std::vector<std::string>{"recall", "all"}));
    }
    // Without a connection a reply changes nothing.
    recording.connected = false;
    recording.asked.clear();
    XMessage late = InfoMessage(2, 3, "Late");
    window.HandlePresetInfo(late);
    EXPECT_EQ(std::string(Entry(1).name.CStr()), "---");
    EXPECT_TRUE(recording.asked.empty());
    SetDeviceRequests(requests.get());
    // Through the real watcher the full request goes out.
    XMessage again = InfoMessage(3, 1, "Again");
    window.HandlePresetInfo(again);
    EXPECT_EQ(Commands(TakeFrames()), std::vector<int>{kCmdRequestAllParams});
}

TEST_F(PresetsWindowTest, AToggleSendsTheFlagsAndAsksThemBackForTheCurrentPreset)
{
    PresetsWindow& window = Window();
    XParam* current = GetAppServices().GetParam(PresetsModel::kCurrentPresetId);
    struct Case
    {
        int32_t currentPreset;
        int row;
        int columnId;
        bool on;
        int32_t flags;             // the preset's flags afterwards
        std::vector<int> commands; // sent
    };
    const Case cases[] = {
        {1, 0, PresetsModel::kColumnVisible, false, 8, {kCmdSetPresetFlags, kCmdPresetFlags}},
        {1, 0, PresetsModel::kColumnLocked, true, 12, {kCmdSetPresetFlags, kCmdPresetFlags}},
        {1, 0, PresetsModel::kColumnVisible, true, 4, {kCmdSetPresetFlags, kCmdPresetFlags}},
        {5, 1, PresetsModel::kColumnLocked, true, 4, {kCmdSetPresetFlags}},
        {5, 79, PresetsModel::kColumnVisible, false, 8, {kCmdSetPresetFlags}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.columnId);
        current->SetValue(c.currentPreset, true);
        TakeFrames();
        ListBoxButtonComponent* toggle = Toggle(window, c.row, c.columnId);
        ASSERT_NE(toggle, nullptr);
        toggle->GetButton().setToggleState(c.on, juce::sendNotificationSync);
        delete toggle;
        EXPECT_EQ(Entry(c.row).flags, c.flags);
        const std::vector<FrameBytes::Sent> frames = TakeFrames();
        EXPECT_EQ(Commands(frames), c.commands);
        ASSERT_FALSE(frames.empty());
        ASSERT_GE(frames[0].payload.size(), 5u);
        EXPECT_EQ(frames[0].payload[0], c.row + 1);
        EXPECT_EQ(LittleInt32(frames[0].payload, 1), c.flags);
    }
}

TEST_F(PresetsWindowTest, FlagRepliesAndAClearedListShowInTheToggles)
{
    PresetsWindow& window = Window();
    XMessage locked = FlagsMessage(3, 4 | 8);
    window.HandlePresetFlags(locked);
    EXPECT_EQ(Entry(2).flags, 12);
    std::unique_ptr<ListBoxButtonComponent> lock(Toggle(window, 2, PresetsModel::kColumnLocked));
    std::unique_ptr<ListBoxButtonComponent> visible(Toggle(window, 2, PresetsModel::kColumnVisible));
    EXPECT_TRUE(lock->IsOn());
    EXPECT_FALSE(visible->IsOn());

    // Replies outside the list, or of another kind, are ignored.
    XMessage beyond = FlagsMessage(81, 4);
    XMessage none = FlagsMessage(0, 4);
    XMessage otherKind = FlagsMessage(4, 4, kPresetInfo);
    for (XMessage* ignored : {&beyond, &none, &otherKind})
        window.HandlePresetFlags(*ignored);
    EXPECT_EQ(Entry(3).flags, 0);

    XMessage info = InfoMessage(3, 2, "Named");
    window.HandlePresetInfo(info);
    window.ClearPresetList(true);
    EXPECT_EQ(std::string(Entry(2).name.CStr()), "Named");
    window.ClearPresetList(false);
    for (int32_t index = 0; index < 80; ++index)
    {
        EXPECT_EQ(std::string(Entry(index).name.CStr()), "---");
        EXPECT_EQ(Entry(index).configuration, -1);
        EXPECT_EQ(Entry(index).flags, 0);
    }
    lock.reset(Toggle(window, 2, PresetsModel::kColumnLocked));
    visible.reset(Toggle(window, 2, PresetsModel::kColumnVisible));
    EXPECT_FALSE(lock->IsOn());
    EXPECT_TRUE(visible->IsOn());
}

TEST_F(PresetsWindowTest, AStoredPresetIsAskedForWhileConnected)
{
    Window().RequestPresetInfo(7);
    const std::vector<FrameBytes::Sent> frames = TakeFrames();
    EXPECT_EQ(Commands(frames), (std::vector<int>{kCmdPresetInfo, kCmdPresetFlags}));
    connection.connected = false;
    Window().RequestPresetInfo(7);
    EXPECT_TRUE(TakeFrames().empty());
}

class PresetsWindowSimTest : public WindowTest::WindowSimTestBase
{
};

TEST_F(PresetsWindowSimTest, ClickingTheFirstVisibleCellHidesThePresetOnTheUnit)
{
    ASSERT_TRUE(ConnectEditor());
    GetAppServices().GetParam(PresetsModel::kCurrentPresetId)->SetValue(1, true);
    PresetsWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    ViewTest::Pump();
    juce::TableListBox* table = window.GetTable();
    juce::Component* cell = table->getCellComponent(PresetsModel::kColumnVisible, 0);
    ASSERT_NE(cell, nullptr);
    GuiTestSupport::PeerMouse mouse(window);
    const juce::Point<int> centre = cell->getLocalBounds().getCentre();
    const size_t asked = UnitReceived(kCmdPresetFlags).size();
    mouse.Send(*cell, centre, juce::ModifierKeys());
    mouse.Send(*cell, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*cell, centre, juce::ModifierKeys());
    EXPECT_EQ(Entry(0).flags & 8, 8);
    ASSERT_TRUE(WaitForUnitFrames(kCmdPresetFlags, asked + 1));
    std::vector<int> order;
    for (const FrameBytes::Sent& frame : UnitReceived())
        if (frame.command == kCmdSetPresetFlags || frame.command == kCmdPresetFlags)
            order.push_back(frame.command);
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(std::vector<int>(order.end() - 2, order.end()),
              (std::vector<int>{kCmdSetPresetFlags, kCmdPresetFlags}));
    const std::vector<FrameBytes::Sent> set = UnitReceived(kCmdSetPresetFlags);
    EXPECT_EQ(set.back().payload[0], 1);
    EXPECT_EQ(LittleInt32(set.back().payload, 1) & 8, 8);

    // The unit's answer, handed on as the application does, keeps the cell off.
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return looper.CountOf(DeviceCommWatcher::kMsgPresetFlags) >= 1; },
                                    kSimWaitMs));
    const std::vector<WatcherRig::RecordingLooper::Posted> posts = looper.Posts();
    const auto answer =
        std::find_if(posts.rbegin(), posts.rend(),
                     [](const auto& posted) { return posted.what == DeviceCommWatcher::kMsgPresetFlags; });
    ASSERT_NE(answer, posts.rend());
    EXPECT_EQ(answer->presetNum, 1);
    XMessage report = FlagsMessage(answer->presetNum, answer->second);
    window.HandlePresetFlags(report);
    ViewTest::Pump();
    EXPECT_EQ(Entry(0).flags & 8, 8);
    auto* shown =
        dynamic_cast<ListBoxButtonComponent*>(table->getCellComponent(PresetsModel::kColumnVisible, 0));
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->IsOn());
    GuiTestSupport::TakeScreenshot(window, "PresetsWindow");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
} // namespace
