#include "core/XApplication.h"

#include "LooperTestSupport.h"
#include "core/CoreModules.h"
#include "core/FloatParam.h"
#include "core/IAppDocument.h"
#include "core/ICommandRunner.h"
#include "core/ILog.h"
#include "core/IParamHost.h"
#include "core/IPrefDocument.h"
#include "core/Log.h"
#include "core/LongArray.h"
#include "core/ProcessState.h"
#include "core/SystemInfo.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMessenger.h"
#include "core/XMsgPort.h"
#include "core/XParamDesc.h"
#include "core/XResult.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformRegistry.h"
#include "platform/PlatformThreads.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace LooperTest;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kBoundElsewhere = 7001;
constexpr uint32_t kBoundHere = 7002;
constexpr int32_t kNewFails = static_cast<int32_t>(0x80000006);
/** Time runs this much faster in the scenarios, so that the fixed pauses of quit and destruction
    stay short. */
constexpr double kScenarioTimeScale = 10.0;

/** The checks of a scenario that runs in a child process: failures go to the standard error
    stream, which the parent shows, and make the child's exit code non-zero. */
class Checks
{
public:
    void Expect(bool ok, const char* what, int line)
    {
        if (ok)
            return;
        std::fprintf(stderr, "XApplicationTest.cpp:%d: check failed: %s\n", line, what);
        ++failures;
    }
    int ExitCode() const { return failures.load() == 0 ? 0 : 1; }

private:
    std::atomic<int> failures{0};
};
#define CHECK(condition) checks.Expect((condition), #condition, __LINE__)

/** Runs scenario in a fresh copy of the test program and expects it to end with exit code 0: an
    application marks the process as shutting down for good, which would stop the loopers of every
    later test in this process. */
void ExpectScenarioPasses(const std::function<int()>& scenario)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(scenario()), ::testing::ExitedWithCode(0), "");
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

bool ThreadIsRunning(int32_t id)
{
    LongArray threads;
    ListProcessThreads(PlatformThreads::CurrentProcessId(), threads);
    for (int i = 0; i < threads.GetCount(); ++i)
        if (threads.GetAt(i) == id)
            return true;
    return false;
}

class FakeDocument final : public IAppDocument
{
public:
    int32_t Open(const char* newPath) override
    {
        path = newPath;
        opened = newPath;
        return 0;
    }
    int32_t SaveAs(const char* newPath) override
    {
        path = newPath;
        saved = newPath;
        return 0;
    }
    int32_t New(const char* newPath) override { return kNewFails; }
    void Reset() override
    {
        ++resets;
        path = XString();
    }
    XString GetPath() const override { return path; }
    void SetModified(bool isModified) override { modified.store(isModified); }

    XString path;
    std::atomic<bool> modified{false};
    std::string opened;
    std::string saved;
    int resets = 0;
};

class CountingPrefs final : public IPrefDocument
{
public:
    explicit CountingPrefs(std::atomic<int>& savesIn) : saves(savesIn) {}
    int32_t Save() override
    {
        ++saves;
        return XResult::kFailed; // a failed save is not reported and clears the dirty mark all the same
    }

private:
    std::atomic<int>& saves;
};

class FakeRunner final : public ICommandRunner
{
public:
    bool RunCommand(const char* name, XMessage& request) override
    {
        ran.push_back(name);
        return true;
    }
    std::vector<std::string> ran;
};

/** A headless application that records what reaches its MessageReceived and runs a driver on
    another thread once started. */
class TestApplication : public XApplication
{
public:
    TestApplication(const char* name, Journal& journalIn) : XApplication(name), journal(journalIn) {}
    ~TestApplication() override
    {
        if (driverThread.joinable())
            driverThread.join();
    }

    void MessageReceived(XMessage& message) override
    {
        journal.Add("app:msg:" + std::to_string(message.GetWhat()));
        XApplication::MessageReceived(message);
    }
    bool StartApp() override
    {
        const bool started = XApplication::StartApp();
        if (driver)
            driverThread = std::thread(driver);
        return started;
    }
    IAppDocument* GetDocument() override { return withDocument ? &document : nullptr; }
    IAppDocument* GetDocumentFor(const char* type) override { return withDocument ? &document : nullptr; }
    bool IsDriveAllowed(const char* path) override { return drivesAllowed; }
    /** "label:" and the item, but nothing for "On", so that the name of an on/off parameter shows. */
    XString GetMenuLabel(const char* menu, const char* item) override
    {
        if (std::string(menu) != "MainMenu" || std::string(item) == "On")
            return XString();
        return XString("label:") + item;
    }

    std::function<void()> driver;
    std::thread driverThread;
    FakeDocument document;
    bool withDocument = true;
    bool drivesAllowed = true;

private:
    Journal& journal;
};

/** A document request sent to the application from another thread, waiting for the answer. */
XMessage Ask(XApplication& app, uint32_t code, const char* path, const char* type = nullptr)
{
    XMessage request(code, 0);
    if (path != nullptr)
        request.AddString("docPath", path);
    if (type != nullptr)
        request.AddString("docTypeName", type);
    XMessage reply;
    XMessenger(&app).SendAndWait(&request, &reply);
    return reply;
}

int RunLifecycle()
{
    Checks checks;
    PlatformClock::SetTimeScale(kScenarioTimeScale);
    const uint64_t started = PlatformClock::GetRealMicroseconds();
    TestSupport::TempFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.Path());
    CHECK(::chdir(folder.Path().c_str()) == 0);
    const std::string root = PlatformFileSystem::CurrentFolder();
    // The log opens before the start-up, which finds the root folder before it would open one.
    const std::string logPath = folder.Child("log.txt");
    SetAppLog(OpenLogFile(logPath.c_str(), true));
    SetLogLevel(5);

    Journal journal;
    auto worker = std::make_unique<XLooper>("lifecycle-worker");
    RecordingHandler elsewhere("elsewhere", journal);
    worker->AddHandler(&elsewhere);
    const int32_t workerThread = worker->Run();
    CHECK(workerThread != 0);

    std::atomic<int> saves{0};
    {
        TestApplication app("HeadlessTest", journal);
        RecordingHandler here("here", journal);
        app.AddHandler(&here);
        app.SetCodeHandler(kBoundElsewhere, &elsewhere);
        app.SetCodeHandler(kBoundHere, &here);
        app.SetPrefDocument(std::make_unique<CountingPrefs>(saves));
        app.driver = [&]
        {
            XMessage bound(kBoundElsewhere, 0);
            CHECK(app.PostMessage(&bound) == 0);
            CHECK(TestSupport::WaitUntil([&] { return elsewhere.lastThread.load() != 0; }, kWaitMs));
            CHECK(elsewhere.lastThread.load() == workerThread);
            CHECK(app.PostCode(kBoundHere) == 0);
            CHECK(TestSupport::WaitUntil([&] { return here.lastThread.load() != 0; }, kWaitMs));
            CHECK(here.lastThread.load() == app.GetThreadId());

            const XMessage opened = Ask(app, XMsgCode::kOpenDocument, "C:\\docs\\a.doc");
            CHECK(opened.GetWhat() == XMsgCode::kDocumentReply);
            CHECK(opened.GetInt32("result", 0) == 0);
            CHECK(app.document.opened == "C:\\docs\\a.doc");
            CHECK(Ask(app, XMsgCode::kOpenDocument, nullptr).GetInt32("result") == XResult::kFailed);
            const XMessage saved = Ask(app, XMsgCode::kSaveDocument, "");
            CHECK(saved.GetWhat() == XMsgCode::kDocumentReply);
            CHECK(saved.GetInt32("result", -1) == 0);
            CHECK(app.document.saved == "C:\\docs\\a.doc");
            const XMessage created = Ask(app, XMsgCode::kNewDocument, "C:\\docs\\b.doc", "Project");
            CHECK(created.GetWhat() == XMsgCode::kDocumentReply);
            CHECK(created.GetInt32("result") == kNewFails);
            CHECK(app.document.resets == 1);

            CHECK(app.PostCode(XMsgCode::kQuitRequested) == 0);
        };

        app.Startup();
        CHECK(app.IsStartupComplete());
        CHECK(IsShuttingDown());
        CHECK(saves.load() >= 1);
        CHECK(GetSystemFolder() == (root + "\\System").c_str());
        CHECK(Contents(logPath).find("XApp::Root Folder: " + root) != std::string::npos);
        CHECK(PlatformRegistry::KeyExists(0x80000002, "software\\TARNWELL\\HeadlessTest\\Prefs"));
        CHECK(PlatformRegistry::FilePath().rfind(folder.Path(), 0) == 0);
        for (const auto& entry : journal.Take())
            CHECK(entry != "app:msg:" + std::to_string(kBoundElsewhere));

        app.Exit();
        CHECK(!ThreadIsRunning(workerThread));
        app.SetCodeHandler(kBoundElsewhere, nullptr);
        app.SetCodeHandler(kBoundHere, nullptr);
        app.RemoveHandler(&here);
    }
    CHECK(GetApplication() == nullptr);
    worker.reset();
    const uint64_t elapsedMs = (PlatformClock::GetRealMicroseconds() - started) / 1000;
    CHECK(elapsedMs < 3000);
    CHECK(::chdir("/") == 0);
    return checks.ExitCode();
}

int RunPulseAndQuit()
{
    Checks checks;
    PlatformClock::SetTimeScale(kScenarioTimeScale);
    Journal journal;
    FakeClock clock(10000);
    std::atomic<int> saves{0};
    TestApplication app("PulseTest", journal);
    app.SetPulseClock(&clock);
    app.SetPrefDocument(std::make_unique<CountingPrefs>(saves));

    CHECK(app.Pulse());
    CHECK(saves.load() == 0); // nothing dirty
    CHECK(app.GetLastPulseTick() == 10000);
    app.SetPrefsDirty(true);
    clock.Advance(2000);
    app.Pulse();
    CHECK(saves.load() == 0); // not more than 2000 ms since the last save tick
    clock.Advance(1);
    app.Pulse();
    CHECK(saves.load() == 1);
    CHECK(!app.IsPrefsDirty());
    app.SetPrefsDirty(true);
    clock.Advance(500);
    app.Pulse();
    clock.Advance(1000);
    app.Pulse();
    CHECK(saves.load() == 1); // two pulses within 2000 ms of a save
    CHECK(app.GetLastPulseTick() == 13501);

    app.SetPrefsDirty(false);
    app.Quit();
    CHECK(saves.load() == 2); // Quit always saves
    CHECK(IsShuttingDown());

    CHECK(app.PostCode(kBoundHere) == 0);
    CHECK(app.PumpMessages());
    CHECK(journal.Count() == 0); // no turn while shutting down
    return checks.ExitCode();
}

int RunRoutingAndFiles()
{
    Checks checks;
    PlatformClock::SetTimeScale(kScenarioTimeScale);
    TestSupport::TempFolder folder;
    std::ofstream(folder.Child(".hidden")) << "x";
    std::ofstream(folder.Child("visible.txt")) << "x";
    Journal journal;
    const IParamHost* appHost = nullptr;
    {
        TestApplication app("RoutingTest", journal);
        appHost = &app;
        CHECK(GetApplication() == &app);
        CHECK(GetAppIdentity() == &app);
        CHECK(GetApplicationName() == "RoutingTest");
        CHECK(!app.HasGui());
        CHECK(app.GetVendorName() == "Tarnwell");
        CHECK(app.GetVersionString() == "0.0.000");
        CHECK(app.GetAuxText().IsEmpty());
        CHECK(app.XApplication::GetMenuLabel("MainMenu", "Quit") == "Quit");
        CHECK(GetPortName(app.GetReplyPort()) == "app_reply");
        CHECK(app.GetThreadId() == CurrentThreadId());

        // Files.
        struct FileCase
        {
            std::string path;
            bool allowed;
        };
        const FileCase files[] = {
            {"autoexec.bat", false},
            {"C:\\AUTOEXEC.BAT", false},
            {"dir/AutoExec.Bat", false},
            {"driver.sys", false},
            {"C:\\win\\X.SYS", false},
            {"notes.txt", true},
            {"sys", true},
            {"autoexec.bat.txt", true},
            {folder.Child(".hidden"), false},
            {folder.Child("visible.txt"), true},
        };
        for (const auto& c : files)
            checks.Expect(app.IsFileAllowed(c.path.c_str()) == c.allowed, c.path.c_str(), __LINE__);
        CHECK(!app.IsFileAllowed(nullptr));
        CHECK(app.IsFileAllowed("/"));
        app.drivesAllowed = false;
        CHECK(!app.IsFileAllowed("/")); // a drive root is judged by IsDriveAllowed

        struct NameCase
        {
            const char* path;
            const char* name;
        };
        const NameCase names[] = {
            {"C:\\dir\\file.txt", "file.txt"},
            {"C:\\dir\\", "dir"},
            {"C:\\", "C:"},
            {"/home/u/x.qm7", "x.qm7"},
            {nullptr, "Error"},
            {"/", "/"},
            {"\\\\", "/"},
        };
        for (const auto& c : names)
        {
            checks.Expect(app.GetEntryName(c.path) == c.name, c.name, __LINE__);
            checks.Expect(app.GetPathName(c.path) == c.name, c.name, __LINE__);
        }

        // Code handlers: one without a looper gets the message in the poster's thread.
        RecordingHandler unattached("unattached", journal);
        XMessage message(kBoundElsewhere, 0);
        CHECK(app.SendToCodeHandler(&message) == XResult::kFailed);
        app.SetCodeHandler(kBoundElsewhere, &unattached);
        CHECK(app.FindCodeHandler(kBoundElsewhere) == &unattached);
        CHECK(!app.AcceptMessage(&message));
        CHECK(app.SendToCodeHandler(&message) == 0);
        CHECK(journal.Take() == (std::vector<std::string>{"unattached:msg:7001", "unattached:msg:7001"}));
        XMessage echo(kBoundElsewhere, 0);
        echo.AddBool("isEcho", true);
        CHECK(app.AcceptMessage(&echo));
        CHECK(journal.Count() == 0);
        app.SetCodeHandler(kBoundElsewhere, nullptr);
        CHECK(app.FindCodeHandler(kBoundElsewhere) == nullptr);

        // Parameters: menu labels of their values, and the document they mark.
        CHECK(&GetParamHost() == &app);
        CHECK(!GetParamHost().IsShuttingDown());
        XParamDesc onOffDesc;
        onOffDesc.SetName("Mute");
        onOffDesc.type = XParamDesc::kTypeOnOff;
        onOffDesc.count = 2;
        FloatParam onOff(onOffDesc);
        CHECK(app.GetParamMenuLabel(&onOff, 0.0) == "label:Off");
        CHECK(app.GetParamMenuLabel(&onOff, 1.0) == "label:Mute");
        XParamDesc integerDesc = onOffDesc;
        integerDesc.type = XParamDesc::kTypeInteger;
        integerDesc.max = 10.0;
        integerDesc.count = 11;
        FloatParam integer(integerDesc);
        CHECK(app.GetParamMenuLabel(&integer, 3.0) == "label:3");
        CHECK(app.GetParamMenuLabel(nullptr, 0.0).IsEmpty());
        integer.SetValue(4.0, true);
        CHECK(app.document.modified.load());

        // Commands and document requests answered through a reply sink.
        FakeRunner runner;
        SetCommandRunner(&runner);
        XMessage run(XMsgCode::kRunCommand, 0);
        run.AddString("commandname", "quit");
        app.DispatchMessage(&run, nullptr);
        CHECK(runner.ran == std::vector<std::string>{"quit"});
        SetCommandRunner(nullptr);

        app.withDocument = false;
        XMessage request(XMsgCode::kSaveDocument, 0);
        request.AddString("docPath", "C:\\x.doc");
        XMessage reply;
        request.SetReplySink(&reply);
        app.DispatchMessage(&request, nullptr);
        CHECK(reply.GetWhat() == XMsgCode::kDocumentReply);
        CHECK(reply.GetInt32("result") == XResult::kFailed);
    }
    CHECK(GetApplication() == nullptr);
    CHECK(GetApplicationName() == "Error");
    CHECK(GetAppIdentity() == nullptr);
    CHECK(&GetParamHost() != appHost);
    return checks.ExitCode();
}

std::vector<std::string> moduleCalls;
void InitA()
{
    moduleCalls.push_back("initA");
}
void ExitA()
{
    moduleCalls.push_back("exitA");
}
void InitB()
{
    moduleCalls.push_back("initB");
}
} // namespace

TEST(XApplicationTest, HeadlessLifecycleRoutesAnswersQuitsAndJoinsItsLoopers)
{
    ExpectScenarioPasses(RunLifecycle);
}

TEST(XApplicationTest, PulseSavesDirtyPreferencesAtMostEvery2000MsAndQuitAlwaysSaves)
{
    ExpectScenarioPasses(RunPulseAndQuit);
}

TEST(XApplicationTest, FilesNamesCodeHandlersCommandsAndDocumentReplies)
{
    ExpectScenarioPasses(RunRoutingAndFiles);
}

TEST(XApplicationTest, NoApplicationNamesError)
{
    EXPECT_EQ(GetApplication(), nullptr);
    EXPECT_EQ(GetApplicationName(), "Error");
}

TEST(XApplicationTest, ModuleInitsRunOnceUntilTheExits)
{
    FreeModuleList();
    AddCoreModule({"a", InitA, ExitA});
    AddCoreModule({"b", InitB, nullptr});
    moduleCalls.clear();
    RunModuleExits(); // before any init: nothing
    RunModuleInits();
    RunModuleInits();
    RunModuleExits();
    RunModuleExits();
    RunModuleInits();
    EXPECT_EQ(moduleCalls, (std::vector<std::string>{"initA", "initB", "exitA", "initA", "initB"}));
    RunModuleExits();
    FreeModuleList();
    EXPECT_EQ(CountCoreModules(), 0);
}
