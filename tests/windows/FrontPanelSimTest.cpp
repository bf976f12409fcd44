// The flag windows in real windows against the simulated unit, worked with real mouse events: a
// region hidden and a parameter locked reach the unit with their wire flags, the preset's lock
// button sends the preset's flags and asks them back.

#include "FlagTableTestSupport.h"
#include "WindowTestSupport.h"
#include "core/XMessage.h"
#include "device/DeviceCommand.h"
#include "device/WireId.h"
#include "gui/XButton.h"
#include "windows/FrontPanelWindow.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace
{
/** Where a value's wire flags sit in a set-parameter payload: id (2), kind (1), value (4). */
constexpr size_t kWireFlagsAt = 7;
constexpr uint8_t kWireHidden = 8;
constexpr uint8_t kWireLocked = 4;

/** A press and release at the centre of a component inside the window. */
void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& target)
{
    const juce::Point<int> centre = target.getLocalBounds().getCentre();
    mouse.Send(target, centre, juce::ModifierKeys());
    mouse.Send(target, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(target, centre, juce::ModifierKeys());
}

/** The window's button bound to param; null when there is none. */
XButton* ButtonOf(FrontPanelWindow& window, const XParam* param)
{
    for (juce::Component* child : window.GetContentView()->getChildren())
        if (auto* button = dynamic_cast<XButton*>(child); button != nullptr && button->GetPot() == param)
            return button;
    return nullptr;
}

class FrontPanelSimTest : public WindowTest::WindowSimTestBase
{
protected:
    /** Ends the test's editor when it goes; declared after what the editor's threads use. */
    class EndsEditorFirst final
    {
    public:
        explicit EndsEditorFirst(FrontPanelSimTest& test) : test(test) {}
        ~EndsEditorFirst() { test.EndEditor(); }
        EndsEditorFirst(const EndsEditorFirst&) = delete;
        EndsEditorFirst& operator=(const EndsEditorFirst&) = delete;

    private:
        FrontPanelSimTest& test;
    };

    /** The wire ids whose values the unit has received with all of the wire flags. */
    std::set<int> ReceivedWithFlags(uint8_t wireFlags) const
    {
        std::set<int> ids;
        for (const FrameBytes::Sent& frame : UnitReceived(kCmdSetParamValue))
            if (frame.payload.size() > kWireFlagsAt && (frame.payload[kWireFlagsAt] & wireFlags) == wireFlags)
                ids.insert(FrameBytes::U16At(frame.payload, 0));
        return ids;
    }
    bool WaitForFlags(const std::set<int>& ids, uint8_t wireFlags)
    {
        return ViewTest::PumpUntil(
            [&]
            {
                const std::set<int> received = ReceivedWithFlags(wireFlags);
                return std::includes(received.begin(), received.end(), ids.begin(), ids.end());
            },
            kSimWaitMs);
    }
};
} // namespace

TEST_F(FrontPanelSimTest, ClicksHideARegionLockAParameterAndLockThePresetOnTheUnit)
{
    ASSERT_TRUE(ConnectEditor());
    DeviceCommWatcher& watcher = editor->watcher;
    FlagTableTest::SendingServices services(rig->groups->services, watcher);
    // The watcher's sender thread reads the services: the editor ends before they go.
    const EndsEditorFirst endsEditor(*this);
    FrontPanelWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    ViewTest::Pump();
    GuiTestSupport::PeerMouse mouse(window);
    juce::TableListBox* regions = window.GetRegionsTable();
    juce::TableListBox* parameters = window.GetParametersTable();

    // The input PEQ region's visible cell hides every one of its parameters on the unit.
    std::set<int> peqIds;
    for (XParam* param : FlagTableTest::RegionParams(0))
        if (const int id = watcher.FindLiveWireId(param); id >= 0 && IsWireIdSent(id))
            peqIds.insert(id);
    ASSERT_FALSE(peqIds.empty());
    juce::Component* visible = regions->getCellComponent(FPModel::kColumnVisible, 0);
    ASSERT_NE(visible, nullptr);
    Click(mouse, *visible);
    EXPECT_TRUE(WaitForFlags(peqIds, kWireHidden));

    // Selecting the input delay region and clicking its first parameter's lock cell locks it.
    const int nameX = regions->getHeader().getColumnPosition(2).getCentreX();
    const juce::Point<int> delayRow(nameX, 2 * FPModel::kRowHeight + FPModel::kRowHeight / 2);
    mouse.Send(*regions, delayRow, juce::ModifierKeys());
    mouse.Send(*regions, delayRow, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*regions, delayRow, juce::ModifierKeys());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return parameters->getNumRows() > 0; }, WindowTest::kWaitMs));
    XParam* delay = window.GetParametersModel().ParamAtRow(0);
    ASSERT_NE(delay, nullptr);
    juce::Component* lock = parameters->getCellComponent(FPModel::kColumnLocked, 0);
    ASSERT_NE(lock, nullptr);
    Click(mouse, *lock);
    EXPECT_NE(delay->GetFlags() & FPModel::kFlagLocked, 0);
    EXPECT_TRUE(WaitForFlags({watcher.FindLiveWireId(delay)}, kWireLocked));

    // The preset's lock button sends the preset's flags, then asks for them.
    XButton* presetLock = ButtonOf(window, &window.GetPresetLockParam());
    ASSERT_NE(presetLock, nullptr);
    const size_t asked = UnitReceived(kCmdPresetFlags).size();
    Click(mouse, *presetLock);
    EXPECT_EQ(window.GetPresetLockParam().GetValue(), 1.0);
    ASSERT_TRUE(WaitForUnitFrames(kCmdPresetFlags, asked + 1));
    std::vector<int> order;
    for (const FrameBytes::Sent& frame : UnitReceived())
        if (frame.command == kCmdSetPresetFlags || frame.command == kCmdPresetFlags)
            order.push_back(frame.command);
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(std::vector<int>(order.end() - 2, order.end()),
              (std::vector<int>{kCmdSetPresetFlags, kCmdPresetFlags}));
    // The unit's answer, handed on as the application does, keeps the button on.
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return looper.CountOf(DeviceCommWatcher::kMsgPresetFlags) >= 2; },
                                    kSimWaitMs));
    const std::vector<WatcherRig::RecordingLooper::Posted> posts = looper.Posts();
    const auto answer =
        std::find_if(posts.rbegin(), posts.rend(),
                     [](const auto& posted) { return posted.what == DeviceCommWatcher::kMsgPresetFlags; });
    XMessage report(answer->what);
    report.AddInt32("presetNum", answer->presetNum);
    report.AddInt32("presetFlags", answer->second);
    window.HandlePresetFlags(report);
    EXPECT_EQ(window.GetPresetLockParam().GetValue(), 1.0);
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "front_panel_access");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
