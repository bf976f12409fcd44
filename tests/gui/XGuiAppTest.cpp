#include "gui/XGuiApp.h"

#include "core/ChildScenario.h"
#include "core/IAppDocument.h"
#include "core/IPrefDocument.h"
#include "core/Log.h"
#include "core/SystemInfo.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XHandler.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMessenger.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/IVolumeUpdater.h"
#include "gui/IWindowPosition.h"
#include "gui/ViewKeywords.h"
#include "gui/XControl.h"
#include "gui/XDebugConsole.h"
#include "gui/XStyle.h"
#include "gui/XView.h"
#include "gui/XWindowList.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFonts.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"
#include "support/gui/GuiTestSupport.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
/** Time runs this much faster in the scenarios, so that the pauses of quit and destruction stay short. */
constexpr double kScenarioTimeScale = 10.0;
constexpr int kWaitMs = 20000;
constexpr uint32_t kWorkCode = 7101;
constexpr uint32_t kOpenModalCode = 7102;
constexpr int32_t kProbeTimerId = 1;
constexpr int32_t kProbeTimerPeriodMs = 20;
constexpr int kTimerFiresWanted = 5;

using Events = std::vector<std::string>;

std::string Join(const Events& events)
{
    std::string text;
    for (const std::string& event : events)
        text += event + "\n";
    return text;
}

/** Shuts JUCE down before the child process exits, so that its timer thread does not run on while
    the exit destroys JUCE's statics. Returns failures. */
int EndScenario(int failures)
{
    juce::shutdownJuce_GUI();
    return failures;
}

/** Runs an action once after kWaitMs unless destroyed before: keeps a fault from hanging a scenario. */
class SafetyExit final : public juce::Timer
{
public:
    explicit SafetyExit(std::function<void()> actionIn) : action(std::move(actionIn)) { startTimer(kWaitMs); }
    ~SafetyExit() override { stopTimer(); }
    void timerCallback() override
    {
        stopTimer();
        action();
    }

private:
    std::function<void()> action;
};

/** Reports a difference of two event lists in the child's failure output. */
int ExpectEvents(const Events& actual, const Events& expected)
{
    if (actual == expected)
        return 0;
    std::fprintf(stderr, "events:\n%s\nexpected:\n%s\n", Join(actual).c_str(), Join(expected).c_str());
    return 1;
}

/** A listed top-level window that records being hidden, saved and deleted. */
class RecordingWindow final : public XView, public IWindowPosition
{
public:
    RecordingWindow(std::string nameIn, Events& eventsIn, bool visible)
        : name(std::move(nameIn)), events(eventsIn)
    {
        XWindowList::Add(this);
        setSize(200, 100);
        setVisible(visible);
    }
    ~RecordingWindow() override
    {
        events.push_back("delete " + name);
        XWindowList::Remove(this);
    }
    void Hide() override
    {
        events.push_back("hide " + name);
        XView::Hide();
    }
    void SaveWindowPos() override { events.push_back("save " + name); }

private:
    std::string name;
    Events& events;
};

/** A command that records the view of its run request, and whether it was still registered anywhere
    when its deletion began. */
class RecordingCommand final : public XCommand
{
public:
    RecordingCommand(Events& eventsIn) : events(eventsIn) {}
    ~RecordingCommand() override
    {
        const bool registered =
            GetRegisteredWith() != nullptr || FindCommandByName(GetName().CStr()) != nullptr;
        events.push_back(std::string("delete command, registered ") + (registered ? "yes" : "no"));
    }
    void Execute(XMessage* request) override
    {
        lastView = request != nullptr ? request->GetPointer("pView") : nullptr;
        ++runs;
    }
    XString GetTitle() override { return "Probe"; }
    bool IsEnabled(XMessage*) override { return true; }

    void* lastView = nullptr;
    int runs = 0;

private:
    Events& events;
};

class RecordingPrefs final : public IPrefDocument
{
public:
    explicit RecordingPrefs(Events& eventsIn) : events(eventsIn) {}
    int32_t Save() override
    {
        events.push_back("prefs saved");
        return 0;
    }

private:
    Events& events;
};

class RecordingDocument final : public IAppDocument
{
public:
    explicit RecordingDocument(Events& eventsIn) : events(eventsIn) {}
    int32_t Open(const char*) override { return 0; }
    int32_t SaveAs(const char*) override { return 0; }
    int32_t New(const char*) override { return 0; }
    void Reset() override { events.push_back("document reset"); }
    XString GetPath() const override { return XString(); }
    void SetModified(bool) override {}

private:
    Events& events;
};

/** The test application: records its start-up and shutdown steps and what each step finds done. */
class RecordingApp : public XGuiApp
{
public:
    explicit RecordingApp(Events& eventsIn) : XGuiApp("GuiAppTest"), events(eventsIn), document(eventsIn) {}

    void FindRootFolder(XString& root) override
    {
        events.push_back(std::string("root; command line \"") + GetCommandLineText().CStr() + "\"; log " +
                         (HasAppLog() ? "open" : "closed"));
        XGuiApp::FindRootFolder(root);
    }

    void InitCore() override
    {
        XGuiApp::InitCore();
        std::string event = std::string("core; log ") + (HasAppLog() ? "open" : "closed");
        for (const char* name : {"quit", "undo", "redo", "clearhistory", "topundo"})
        {
            XCommand* command = FindCommandByName(name);
            event += std::string("; ") + name + " " +
                     (command == nullptr ? "missing"
                                         : command->GetContext().CStr() + std::string(" ") +
                                               command->GetShortcutText().CStr());
        }
        int32_t value = 0;
        event += ViewKeywords::FindNamedConstant("THREAD_CTSW", value) ? "; keywords" : "; no keywords";
        events.push_back(event);
    }

    bool StartApp() override
    {
        events.push_back("start");
        const bool started = XGuiApp::StartApp();
        int32_t fullscreen = 0;
        int32_t close = 0;
        const bool constants = ViewKeywords::FindNamedConstant("X_TOGGLE_FULLSCREEN", fullscreen) &&
                               ViewKeywords::FindNamedConstant("X_CLOSE_REQUESTED", close) &&
                               fullscreen == 10000025 && close == 10000006;
        const bool styled = XStyle::GetCurrentStyle() != nullptr &&
                            &juce::LookAndFeel::getDefaultLookAndFeel() == XStyle::GetCurrentStyle();
        events.push_back(std::string("started; constants ") + (constants ? "yes" : "no") + "; style " +
                         (styled ? "yes" : "no") + "; tooltip " +
                         (GetTooltipWindow() != nullptr ? "yes" : "no"));
        return started;
    }

    int32_t Run() override
    {
        events.push_back("run");
        return XGuiApp::Run();
    }

    void Quit() override
    {
        events.push_back(std::string("quit; tooltip ") + (GetTooltipWindow() != nullptr ? "alive" : "gone"));
        XGuiApp::Quit();
    }

    void Exit() override
    {
        events.push_back("exit");
        XGuiApp::Exit();
    }

    IAppDocument* GetDocument() override { return &document; }

    void RequestToolkitQuit() override { ++quitRequests; }

    int quitRequests = 0;

private:
    Events& events;
    RecordingDocument document;
};

/** The scenario's surroundings: a fast clock, the settings and the log in a temporary folder. */
struct ScenarioSetting
{
    ScenarioSetting() : config("XDG_CONFIG_HOME", folder.Path())
    {
        PlatformClock::SetTimeScale(kScenarioTimeScale);
        SetAppLogFolder(folder.Path().c_str());
        SetLogLevel(5);
    }

    std::string ReadLog() const
    {
        std::ifstream stream(folder.Child("log.txt"));
        std::stringstream text;
        text << stream.rdbuf();
        return text.str();
    }

    TestSupport::TempFolder folder;
    ScopedEnvironment config;
};

int RunStartupAndShutdownOrder()
{
    int failures = 0;
    ScenarioSetting setting;
    Events events;
    auto* app = new RecordingApp(events);
    app->SetPrefDocument(std::make_unique<RecordingPrefs>(events));
    app->initialise("--probe \"two words\"");

    // The root is the folder above bin that holds the skin's System folder, and is the current folder.
    const juce::File current = juce::File::getCurrentWorkingDirectory();
    SCENARIO_CHECK(current.getChildFile("System").isDirectory());
    SCENARIO_CHECK(juce::File(KRX_BIN_DIR).isAChildOf(current));
    SCENARIO_CHECK(std::string(GetSystemFolder().CStr()) ==
                   current.getFullPathName().toStdString() + "\\System");
    const Events expectedStart = {
        "root; command line \"--probe \"two words\"\"; log closed",
        "core; log open; quit Global Ctrl + Q; undo Global Ctrl + Z; redo Global Ctrl + Shift + Z; "
        "clearhistory Global ; topundo Global ; keywords",
        "start",
        "started; constants yes; style yes; tooltip yes",
        "run",
    };
    failures += ExpectEvents(events, expectedStart);
    events.clear();

    // Three windows, the main window first; the last one is hidden, so only the others save when
    // positions are saved.
    auto* main = new RecordingWindow("main", events, true);
    new RecordingWindow("second", events, true);
    new RecordingWindow("third", events, false);
    app->SetKeyFocusWindow(main);
    SCENARIO_CHECK(app->GetMainWindow() == main);
    app->AddCommand("probe", "Global", new RecordingCommand(events), "");
    SCENARIO_CHECK(FindCommandByName("probe") != nullptr);
    events.clear();

    // An exception that reached JUCE's loop is logged with the file name of its source.
    app->unhandledException(nullptr, "C:\\work\\src\\Thrower.cpp", 12);

    app->shutdown();
    const Events expectedShutdown = {
        "delete command, registered no",
        "quit; tooltip gone",
        "document reset",
        "save main",
        "save second",
        "hide third",
        "hide second",
        "hide main",
        // The preferences are saved with the windows' positions: only the main window saves now.
        "save main",
        "prefs saved",
        "delete main",
        "delete third",
        "delete second",
        "exit",
    };
    failures += ExpectEvents(events, expectedShutdown);
    SCENARIO_CHECK(GetWindowCount() == 0);
    SCENARIO_CHECK(app->GetMainWindow() == nullptr);
    SCENARIO_CHECK(FindCommandByName("quit") == nullptr);
    delete app;

    const std::string log = setting.ReadLog();
    SCENARIO_CHECK(log.find("Exception in file: Thrower.cpp, line: 12") != std::string::npos);
    const size_t exiting = log.find("Exiting ZUZov...");
    SCENARIO_CHECK(exiting != std::string::npos);
    SCENARIO_CHECK(log.find("All Modules Exited.") > exiting);
    SCENARIO_CHECK(log.find("All Modules Exited.") != std::string::npos);
    return EndScenario(failures);
}

/** A handler of the application that records where its messages and timer run, and opens a modal
    loop from a posted message. */
class LoopProbe final : public XHandler
{
public:
    LoopProbe() : XHandler("probe") {}

    void MessageReceived(XMessage& message) override
    {
        if (!juce::MessageManager::getInstance()->isThisTheMessageThread())
            offMessageThread = true;
        if (message.GetWhat() == kWorkCode)
        {
            ++workHandled;
            if (modal != nullptr)
                ++workHandledInModal;
            ExitModalWhenDone();
        }
        else if (message.GetWhat() == kOpenModalCode)
        {
            RunModal();
        }
        else
        {
            XHandler::MessageReceived(message);
        }
    }

    void OnTimer(int32_t timerId) override
    {
        if (!juce::MessageManager::getInstance()->isThisTheMessageThread())
            offMessageThread = true;
        if (modal != nullptr)
            ++timerFiresInModal;
        ExitModalWhenDone();
    }

    std::atomic<int> workHandled{0};
    int workHandledInModal = 0;
    int timerFiresInModal = 0;
    bool modalDone = false;
    bool offMessageThread = false;

private:
    void RunModal()
    {
        juce::Component dialog;
        dialog.setBounds(50, 50, 200, 100);
        dialog.addToDesktop(0);
        dialog.setVisible(true);
        modal = &dialog;
        // A worker posts while the dialog's loop runs; a safety exit keeps a fault from hanging.
        std::thread worker(
            [this]
            {
                PlatformClock::Sleep(static_cast<uint32_t>(50 * kScenarioTimeScale));
                PostCode(kWorkCode);
            });
        const SafetyExit safetyExit([&dialog] { dialog.exitModalState(0); });
        dialog.runModalLoop();
        worker.join();
        modal = nullptr;
        modalDone = true;
    }

    void ExitModalWhenDone()
    {
        if (modal != nullptr && workHandledInModal > 0 && timerFiresInModal >= kTimerFiresWanted)
            modal->exitModalState(0);
    }

    juce::Component* modal = nullptr;
};

int RunLooperOnGuiThread()
{
    int failures = 0;
    ScenarioSetting setting;
    Events events;
    auto* app = new RecordingApp(events);
    app->initialise("");
    LoopProbe probe;
    SCENARIO_CHECK(app->AddHandler(&probe));

    // A post from a worker thread is handled on the message thread by the pump alone.
    std::thread worker([&probe] { probe.PostCode(kWorkCode); });
    worker.join();
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return probe.workHandled.load() == 1; }, kWaitMs));
    // So is a messenger's, which writes to the port without a handler's posting path.
    std::thread messengerWorker(
        [&probe]
        {
            XMessage work(kWorkCode, 0);
            XMessenger(&probe).SendMessage(&work);
        });
    messengerWorker.join();
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return probe.workHandled.load() == 2; }, kWaitMs));

    // Inside a modal loop opened by a posted message, a worker's post is handled and the periodic
    // timer keeps firing.
    app->SetTimer(&probe, kProbeTimerId, kProbeTimerPeriodMs, false);
    probe.PostCode(kOpenModalCode);
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return probe.modalDone; }, 2 * kWaitMs));
    SCENARIO_CHECK(probe.workHandledInModal == 1);
    SCENARIO_CHECK(probe.timerFiresInModal >= kTimerFiresWanted);
    SCENARIO_CHECK(!probe.offMessageThread);

    app->RemoveHandler(&probe);
    app->shutdown();
    delete app;
    return EndScenario(failures);
}

class CountingVolumes final : public IVolumeUpdater
{
public:
    void UpdateVolumes() override { ++updates; }
    int updates = 0;
};

int RunMessagesAndCommands()
{
    int failures = 0;
    ScenarioSetting setting;
    Events events;
    auto* app = new RecordingApp(events);
    app->initialise("");
    auto* main = new RecordingWindow("main", events, true);
    app->SetKeyFocusWindow(main);
    auto* command = new RecordingCommand(events);
    app->AddCommand("probe", "Global", command, "");
    XView otherView;

    // A run request without "pView" gets the main window; one with it keeps its own.
    XMessage plain(XMsgCode::kRunCommand, 0);
    plain.AddString("commandname", "probe");
    app->PostMessage(&plain);
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return command->runs == 1; }, kWaitMs));
    SCENARIO_CHECK(command->lastView == main);
    XMessage withView(XMsgCode::kRunCommand, 0);
    withView.AddString("commandname", "probe");
    withView.AddPointer("pView", &otherView);
    app->PostMessage(&withView);
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return command->runs == 2; }, kWaitMs));
    SCENARIO_CHECK(command->lastView == &otherView);

    // Ctrl+Q at the main window runs the quit command, which asks JUCE's application to quit.
    SCENARIO_CHECK(app->keyPressed(juce::KeyPress('q', juce::ModifierKeys::ctrlModifier, 0), main));
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return app->quitRequests == 1; }, kWaitMs));
    app->PostCode(XMsgCode::kQuitGuiApplication);
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return app->quitRequests == 2; }, kWaitMs));

    // Volume changes: a burst posts one notice of each kind.
    CountingVolumes volumes;
    app->SetVolumeUpdater(&volumes);
    app->OnVolumeArrival();
    app->OnVolumeArrival();
    app->OnVolumeRemoval();
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return volumes.updates == 2; }, kWaitMs));
    GuiTestSupport::RunLoopFor(50);
    SCENARIO_CHECK(volumes.updates == 2);

    // The pulse refreshes controls queued from workers and flushes the debug console.
    XControl control;
    ControlRefreshQueue::Get().Enqueue(&control);
    SCENARIO_CHECK(
        GuiTestSupport::RunLoopUntil([] { return ControlRefreshQueue::Get().GetCount() == 0; }, kWaitMs));
    juce::TextEditor consoleText;
    XDebugConsole console;
    console.SetEditor(&consoleText);
    console.AddLine("from the console");
    app->SetDebugConsole(&console);
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil(
        [&] { return consoleText.getText().contains("from the console"); }, kWaitMs));
    app->SetDebugConsole(nullptr);

    // 10000045 hides and deletes the window it names.
    auto* extra = new RecordingWindow("extra", events, true);
    XMessage deleteWindow(XMsgCode::kDeleteWindow, 0);
    deleteWindow.AddPointer("_window", static_cast<XView*>(extra));
    app->PostMessage(&deleteWindow);
    SCENARIO_CHECK(GuiTestSupport::RunLoopUntil([&] { return !XWindowList::Contains(extra); }, kWaitMs));
    SCENARIO_CHECK(events.size() >= 2 && events[events.size() - 2] == "hide extra" &&
                   events.back() == "delete extra");

    app->shutdown();
    delete app;
    return EndScenario(failures);
}

/** The application under JUCE's own runner: Ctrl+Q ends the runner's loop, which shuts the
    application down and deletes it. */
class RunnerApp final : public XGuiApp
{
public:
    static inline std::atomic<int> started{0};
    static inline std::atomic<int> shutDown{0};
    static inline std::string commandLine;

    RunnerApp() : XGuiApp("GuiAppRunnerTest") {}

    bool StartApp() override
    {
        XGuiApp::StartApp();
        commandLine = GetCommandLineText().CStr();
        auto* main = new XView(XRect(0, 0, 300, 200));
        XWindowList::Add(main);
        SetKeyFocusWindow(main);
        ++started;
        juce::MessageManager::callAsync(
            [main] {
                XGuiApp::GetApp()->keyPressed(juce::KeyPress('q', juce::ModifierKeys::ctrlModifier, 0), main);
            });
        safetyExit = std::make_unique<SafetyExit>([] { juce::JUCEApplicationBase::quit(); });
        return true;
    }

    void shutdown() override
    {
        safetyExit.reset();
        XGuiApp::shutdown();
        ++shutDown;
    }

private:
    std::unique_ptr<SafetyExit> safetyExit;
};

int RunUnderJuceRunner()
{
    int failures = 0;
    ScenarioSetting setting;
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
    { return new RunnerApp(); };
    const char* arguments[] = {"KRX-640", "--runner", "two words"};
    const int result = juce::JUCEApplicationBase::main(3, arguments);
    SCENARIO_CHECK(result == 0);
    SCENARIO_CHECK(RunnerApp::started.load() == 1);
    SCENARIO_CHECK(RunnerApp::shutDown.load() == 1);
    SCENARIO_CHECK(RunnerApp::commandLine == "--runner \"two words\"");
    SCENARIO_CHECK(XGuiApp::GetApp() == nullptr);
    SCENARIO_CHECK(GetWindowCount() == 0);
    return EndScenario(failures);
}
} // namespace

TEST(XGuiApp, StartsAndShutsDownInOrder)
{
    ChildScenario::ExpectPasses(RunStartupAndShutdownOrder);
}

TEST(XGuiApp, RunsTheLooperOnTheGuiThreadAlsoInModalLoops)
{
    ChildScenario::ExpectPasses(RunLooperOnGuiThread);
}

TEST(XGuiApp, HandlesItsMessagesCommandsAndVolumes)
{
    ChildScenario::ExpectPasses(RunMessagesAndCommands);
}

TEST(XGuiApp, RunsUnderJucesApplicationRunner)
{
    ChildScenario::ExpectPasses(RunUnderJuceRunner);
}

TEST(XGuiApp, VolumeChangesAreDebounced)
{
    struct Case
    {
        std::vector<uint32_t> ticks;
        std::vector<bool> posts;
    };
    constexpr uint32_t kStart = 100000;
    const Case cases[] = {
        // 4999 ms apart post once; a third 5000 ms after the second posts again.
        {{kStart, kStart + 4999, kStart + 4999 + 5000}, {true, false, true}},
        // A steady stream every second posts only the first.
        {{kStart, kStart + 1000, kStart + 2000, kStart + 3000, kStart + 4000, kStart + 5000, kStart + 6000},
         {true, false, false, false, false, false, false}},
        // The first ever arrival posts once the tick counter is past the quiet time.
        {{4999}, {false}},
        {{5000}, {true}},
    };
    for (const Case& c : cases)
    {
        double stamp = 0.0;
        for (size_t i = 0; i < c.ticks.size(); ++i)
        {
            EXPECT_EQ(XGuiApp::IsDeviceChangeDue(stamp, c.ticks[i]), c.posts[i]) << "tick " << c.ticks[i];
            EXPECT_EQ(stamp, static_cast<double>(c.ticks[i]));
        }
    }
}

TEST(XGuiApp, RootFolderIsFoundAboveTheProgramFolder)
{
    const juce::File before = juce::File::getCurrentWorkingDirectory();
    TestSupport::TempFolder folder;
    const juce::File top(folder.Path());
    // Deeper than the 255 characters a fixed buffer would hold.
    const juce::File root = top.getChildFile(std::string(100, 'a'))
                                .getChildFile(std::string(100, 'b'))
                                .getChildFile(std::string(100, 'c'))
                                .getChildFile("app");
    ASSERT_GT(root.getFullPathName().length(), 255);
    ASSERT_TRUE(root.getChildFile("System").createDirectory());
    ASSERT_TRUE(root.getChildFile("bin").createDirectory());

    const XString found = XGuiApp::FindRootFolderFrom(root.getChildFile("bin").getFullPathName().toRawUTF8());
    EXPECT_EQ(juce::File::getCurrentWorkingDirectory(), root);
    EXPECT_EQ(std::string(found.CStr()), root.getFullPathName().toStdString());

    // Without a System folder anywhere up the path, the current folder stays and is the root.
    ASSERT_TRUE(top.getChildFile("bare").getChildFile("bin").createDirectory());
    const XString unchanged = XGuiApp::FindRootFolderFrom(
        top.getChildFile("bare").getChildFile("bin").getFullPathName().toRawUTF8());
    EXPECT_EQ(juce::File::getCurrentWorkingDirectory(), root);
    EXPECT_EQ(std::string(unchanged.CStr()), root.getFullPathName().toStdString());
    before.setAsCurrentWorkingDirectory();
}

TEST(XGuiApp, CustomFontsWithTheTtfExtensionLoadIntoTheProcess)
{
    const juce::String family = "Krx Gui Fnt";
    const std::string renamed = TestSupport::RenamedFontBytes(family.toStdString());
    ASSERT_FALSE(renamed.empty()) << "DejaVu Sans is not installed";
    ASSERT_EQ(PlatformFonts::FindLoadedTypeface(family, false, false), nullptr);

    TestSupport::TempFolder folder;
    const juce::File fontFile(folder.Child("renamed.font"));
    ASSERT_TRUE(fontFile.replaceWithData(renamed.data(), renamed.size()));
    const juce::File system = juce::File(folder.Path()).getChildFile("System");
    const juce::File fonts = system.getChildFile("Custom Fonts");
    ASSERT_TRUE(fonts.createDirectory());
    const XString systemPath(system.getFullPathName().toRawUTF8());
    // Other extensions are skipped, a font in disguise included.
    ASSERT_TRUE(fontFile.copyFileTo(fonts.getChildFile("Renamed.otf")));
    ASSERT_TRUE(fonts.getChildFile("readme.txt").replaceWithText("not a font"));
    EXPECT_EQ(XGuiApp::InstallCustomFonts(systemPath), 0);
    EXPECT_EQ(PlatformFonts::FindLoadedTypeface(family, false, false), nullptr);
    // A folder without "Custom Fonts" loads nothing.
    EXPECT_EQ(XGuiApp::InstallCustomFonts(XString(folder.Path().c_str())), 0);

    // The extension counts in any case.
    ASSERT_TRUE(fontFile.copyFileTo(fonts.getChildFile("Renamed.TTF")));
    EXPECT_EQ(XGuiApp::InstallCustomFonts(systemPath), 1);
    EXPECT_NE(PlatformFonts::FindLoadedTypeface(family, false, false), nullptr);

    // A text in the loaded family renders with that family's glyphs.
    const juce::Font font = PlatformFonts::MakeFont(family, 40.0f, false, false);
    EXPECT_EQ(font.getTypefacePtr()->getName(), family);
    juce::Image picture(juce::Image::ARGB, 240, 60, true);
    {
        juce::Graphics g(picture);
        g.setColour(juce::Colours::black);
        g.setFont(font);
        g.drawText("KRX-640", picture.getBounds(), juce::Justification::centred);
    }
    int inked = 0;
    for (int y = 0; y < picture.getHeight(); ++y)
        for (int x = 0; x < picture.getWidth(); ++x)
            inked += picture.getPixelAt(x, y).getAlpha() > 0 ? 1 : 0;
    EXPECT_GT(inked, 100);
}
