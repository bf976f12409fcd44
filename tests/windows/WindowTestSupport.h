#pragma once

// What every editor window's test stands on: the application's groups and channels as the
// application builds them, the regions and presets over them, the windows' shared state, the
// build's skin with a style current, the settings store in a folder of the test's own, a fast clock,
// answered dialogs, and a device watcher registered as the windows' way to the unit, either over a
// connection that records its frames (WindowTest) or connected to the simulated unit (WindowSimTest).

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/DeviceCommWatcher.h"
#include "device/DeviceJobLink.h"
#include "device/IDeviceRequests.h"
#include "device/PresetsManager.h"
#include "device/RegionsManager.h"
#include "gui/XResourceManager.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformRegistry.h"
#include "support/FrameBytes.h"
#include "support/ScopedEnvironment.h"
#include "support/SimUnitTest.h"
#include "support/TestSupport.h"
#include "support/WatcherTestRig.h"
#include "support/gui/DialogTestSupport.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/QM7Style.h"
#include "windows/SharedWindowState.h"
#include "windows/SubWindow.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace WindowTest
{
/** Fixed waits run this much faster (XSleep, PlatformClock::Sleep). */
constexpr double kTimeScale = 20.0;
/** A generous bound for anything the tests wait for. */
constexpr int kWaitMs = 20000;

/** The ground of a window test, set up in this order and taken down in reverse: the settings store
    in a temporary folder (windows save their positions), the fast clock, the test application, the
    build's skin and the program's style (QM7Style), the groups with their channels (and the services that
   hand them out), the regions built over those channels, the 80 presets without flags, the shared window
    state reset, answered dialogs (DialogTest: Cancel unless the test queues answers) and an empty
    log of missing images. Main thread. */
class WindowRig final
{
public:
    WindowRig()
        : configHome("XDG_CONFIG_HOME", configFolder.Path()), savedTimeScale(PlatformClock::GetTimeScale())
    {
        PlatformRegistry::Reset();
        PlatformClock::SetTimeScale(kTimeScale);
        ViewTest::Application();
        skinLoaded = SkinTestSupport::UseBuiltSkin();
        XStyle::SetCurrentStyle(&style);
        groups = std::make_unique<WatcherRig::Groups>();
        RegionsManager::Instance().Clear();
        RegionsManager::Instance().BuildRegions();
        PresetsManager& presets = PresetsManager::Instance();
        presets.FillPlaceholders();
        for (int32_t index = 0; index < presets.Count(); ++index)
            presets.SetEntryFlags(index, 0);
        SharedWindowState::Instance().Reset();
        GetResourceManager().ClearImageMisses();
    }
    ~WindowRig()
    {
        RegionsManager::Instance().Clear();
        groups.reset();
        XStyle::SetCurrentStyle(nullptr);
        PlatformClock::SetTimeScale(savedTimeScale);
        PlatformRegistry::Reset();
    }
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;

    bool IsSkinLoaded() const { return skinLoaded; }

    TestSupport::TempFolder configFolder;
    ScopedEnvironment configHome;
    double savedTimeScale;
    bool skinLoaded = false;
    QM7Style style;
    std::unique_ptr<WatcherRig::Groups> groups;
    DialogTest::DialogAnswerer dialogs;
};

/** The parameter at a path (printf-style lookup, case ignored); null when there is none. */
inline XParam* Param(const char* path)
{
    return FindParam("%s", path);
}

/** The images that code or descriptions asked of the skin since the rig was set up and that it
    lacks, one per line; empty when none. */
inline std::string ImageMisses()
{
    std::string lines;
    const XStringArray& misses = GetResourceManager().GetImageMisses();
    for (int index = 0; index < misses.GetCount(); ++index)
        lines += std::string(misses.GetAt(index).CStr()) + "\n";
    return lines;
}

/** Shows the window (Show: content, desktop, front) and runs the message loop until it is on the
    screen; whether it got there. */
inline bool ShowOnScreen(SubWindow& window)
{
    window.Show();
    return ViewTest::PumpUntil([&] { return window.getPeer() != nullptr && window.isShowing(); }, kWaitMs);
}

/** Puts the editor in compare mode (connected, not listening live) or out of it; the windows' compare
    covers follow "QM7\\lockUIForEditCompare". */
inline void SetCompareMode(bool on)
{
    Param("QM7\\usbActive")->SetValue(1, true);
    Param("global\\ListenMode")->SetValue(on ? 0 : 1, true);
    Param("QM7\\lockUIForEditCompare")->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

/** Whether a click at the centre of the control lands on a compare cover of its window. */
inline bool IsUnderCompareCover(juce::Component& window, juce::Component& control)
{
    const juce::Point<int> centre = window.getLocalPoint(&control, control.getLocalBounds().getCentre());
    const auto* view = dynamic_cast<const XView*>(window.getComponentAt(centre));
    return view != nullptr && view->GetTooltipText() == "Compare Mode";
}

/** The frames of one command among frames (all of them for command -1). */
inline std::vector<FrameBytes::Sent> OfCommand(const std::vector<FrameBytes::Sent>& frames, int command)
{
    std::vector<FrameBytes::Sent> matching;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(matching),
                 [command](const FrameBytes::Sent& frame)
                 { return command < 0 || frame.command == command; });
    return matching;
}

/** A window test with the watcher over a connection that records the frames sent (connected until
    the test says otherwise), its maps built and its sender ticked by the test (SendChanges), and
    registered as the windows' device requests. The watcher posts the application's messages
    ('pInf', 'prfg', ...) to a recording looper. Skipped when the skin is not built. */
class WindowTestBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rig = std::make_unique<WindowRig>();
        if (!rig->IsSkinLoaded())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
        ASSERT_NE(looper.Run(), 0);
        watcher = std::make_unique<DeviceCommWatcher>(&connection);
        ASSERT_TRUE(looper.AddHandler(watcher.get()));
        watcher->BuildWireIdMaps(true);
        requests = std::make_unique<DeviceJobLink>(watcher.get());
        SetDeviceRequests(requests.get());
        SendChanges(); // starts the sender's count of time
        connection.Take();
    }
    void TearDown() override
    {
        SetDeviceRequests(nullptr);
        requests.reset();
        watcher.reset();
        rig.reset();
    }

    /** One tick of the watcher's sender: what changed since the last tick goes to the connection. */
    void SendChanges() { watcher->OnTimer(DeviceCommWatcher::kIdleTimerId); }
    /** The frames sent since the last call, of one command (-1: all). */
    std::vector<FrameBytes::Sent> TakeFrames(int command = -1)
    {
        return OfCommand(connection.Take(), command);
    }

    std::unique_ptr<WindowRig> rig;
    WatcherRig::RecordingConnection connection;
    WatcherRig::RecordingLooper looper;
    std::unique_ptr<DeviceCommWatcher> watcher;
    std::unique_ptr<DeviceJobLink> requests;
};

/** A window test against the simulated unit (SimUnitTest: its own device folder, its frame log
    UnitReceived): ConnectEditor starts the unit with options, connects the editor's link and
    watcher to it, builds the watcher's maps with its 100 ms sender running, registers it as the
    windows' device requests and gives the sender time for its first tick. Skipped when the skin is
    not built. */
class WindowSimTestBase : public SimEditorTest<SimEditor>
{
protected:
    void SetUp() override
    {
        SimEditorTest<SimEditor>::SetUp();
        rig = std::make_unique<WindowRig>();
        if (!rig->IsSkinLoaded())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    }
    void TearDown() override
    {
        EndEditor();
        rig.reset();
        SimEditorTest<SimEditor>::TearDown();
    }

    /** Ends the editor's side, its watcher's sender thread with it: that thread reads the
        application's services, so a test that installs its own ends the editor before they go. */
    void EndEditor()
    {
        SetDeviceRequests(nullptr);
        requests.reset();
        editor.reset();
    }

    bool ConnectEditor(const juce::StringArray& options = {})
    {
        if (!StartConnectedEditor(options))
            return false;
        editor->watcher.BuildWireIdMaps(false);
        requests = std::make_unique<DeviceJobLink>(&editor->watcher);
        SetDeviceRequests(requests.get());
        // The sender's first tick is the point from which it passes changes on: a change made
        // before it (a fast test's first click) would never reach the unit.
        PlatformClock::Sleep(kSenderStartMs);
        return true;
    }

    /** Waits until the unit's log holds at least count frames of the command; whether it did. */
    bool WaitForUnitFrames(int command, size_t count)
    {
        return ViewTest::PumpUntil([&] { return UnitReceived(command).size() >= count; }, kSimWaitMs);
    }

    /** Two periods of the watcher's sender: long enough for its first tick. */
    static constexpr uint32_t kSenderStartMs = 2 * DeviceCommWatcher::kSendPeriodMs;

    std::unique_ptr<WindowRig> rig;
    std::unique_ptr<DeviceJobLink> requests;
};
} // namespace WindowTest
