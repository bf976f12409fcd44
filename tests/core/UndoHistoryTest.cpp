#include "core/UndoHistory.h"

#include "CommandTestSupport.h"
#include "LooperTestSupport.h"
#include "support/ParamTestSupport.h"
#include "core/FloatParam.h"
#include "core/FrameworkCommands.h"
#include "core/UndoableCommand.h"
#include "core/XApplication.h"
#include "core/XAtom.h"
#include "core/XCommandManager.h"
#include "core/XElementList.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XOperation.h"
#include "platform/PlatformClock.h"
#include "support/TestSupport.h"

#include <ctime>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using CommandTest::ChildChecks;
using LooperTest::Journal;
using LooperTest::RecordingHandler;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kDoneCode = 5001;
constexpr uint32_t kUndoneCode = 5002;
constexpr double kScenarioTimeScale = 20.0;

/** An operation that writes what happens to it into a shared log and tells clients about it. */
class LoggedOperation final : public XOperation
{
public:
    LoggedOperation(const char* name, std::vector<std::string>& logIn, bool undoable = true) : log(logIn)
    {
        SetOperationName(name);
        SetFlag(undoable ? 1 : 0);
    }
    ~LoggedOperation() override { log.push_back("delete " + std::string(GetOperationName().CStr())); }
    std::unique_ptr<XElement> Clone() const override { return nullptr; }
    XMessage* GetNotification(bool undoing) override
    {
        return new XMessage(undoing ? kUndoneCode : kDoneCode, 0);
    }
    void Undo() override { log.push_back("undo " + std::string(GetOperationName().CStr())); }
    void Redo() override { log.push_back("redo " + std::string(GetOperationName().CStr())); }

private:
    std::vector<std::string>& log;
};

/** The simplest concrete element. */
class PlainAtom final : public XAtom
{
public:
    std::unique_ptr<XElement> Clone() const override { return std::make_unique<PlainAtom>(); }
};

std::unique_ptr<XOperation> Op(const char* name, std::vector<std::string>& log, bool undoable = true)
{
    return std::make_unique<LoggedOperation>(name, log, undoable);
}

TEST(XElementTest, AtomsAndOperationsNameTheirKinds)
{
    PlainAtom atom;
    std::vector<std::string> log;
    LoggedOperation operation("op", log);
    const int64_t now = static_cast<int64_t>(std::time(nullptr)) * 1000;

    EXPECT_STREQ(atom.GetClassName(), "ATOM");
    EXPECT_STREQ(operation.GetClassName(), "XOperation");
    EXPECT_TRUE(atom.IsKindOf(7));
    EXPECT_FALSE(atom.IsKindOf(31));
    EXPECT_TRUE(operation.IsKindOf(7));
    EXPECT_TRUE(operation.IsKindOf(31));
    EXPECT_FALSE(operation.IsKindOf(30));
    EXPECT_EQ(operation.GetTypeCode(), 31);
    EXPECT_EQ(operation.GetCreationTime() % 1000, 0);
    EXPECT_LE(std::llabs(operation.GetCreationTime() - now), 2000);

    TopUndoCommand top;
    EXPECT_STREQ(top.GetClassName(), "UndoableCommand");
    EXPECT_EQ(top.GetTypeCode(), 30);
    EXPECT_TRUE(top.IsKindOf(30) && top.IsKindOf(31) && top.IsKindOf(7));
}

TEST(XElementTest, ListsLinkTakeAndUnlinkTheirElements)
{
    XElementList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.TakeHead(), nullptr);
    EXPECT_EQ(list.TakeTail(), nullptr);

    list.InsertHead(std::make_unique<PlainAtom>()); // head and tail of an empty list
    EXPECT_EQ(list.GetHead(), list.GetTail());
    std::unique_ptr<XElement> only = list.TakeHead();
    ASSERT_NE(only, nullptr);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTail(), nullptr);

    auto first = std::make_unique<PlainAtom>();
    auto middle = std::make_unique<PlainAtom>();
    auto last = std::make_unique<PlainAtom>();
    XElement* a = first.get();
    XElement* b = middle.get();
    XElement* c = last.get();
    list.Append(std::move(middle));
    list.Append(std::move(last));
    list.InsertHead(std::move(first));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetHead(), a);
    EXPECT_EQ(list.GetTail(), c);

    std::unique_ptr<XElement> unlinked = list.Unlink(b);
    EXPECT_EQ(unlinked.get(), b);
    EXPECT_EQ(a->GetNext(), c);
    EXPECT_EQ(c->GetPrevious(), a);
    EXPECT_EQ(list.TakeTail().get(), c);
    EXPECT_EQ(list.Count(), 1);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(UndoHistoryTest, KeepsTheNewestEntriesToItsDepthAndAPushEmptiesRedo)
{
    ParamTest::FakeHost host;
    std::vector<std::string> log;
    ParamTest::Recorder recorder;
    FloatParam watched(ParamTest::Desc(1, 0, 1, 0, 2));
    watched.AddWatcher(&recorder, 9, false);
    UndoHistory history(2);
    SetUndoHistoryParam(&watched);

    EXPECT_STREQ(history.GetUndoName().CStr(), " ");
    EXPECT_STREQ(history.GetRedoName().CStr(), "-");
    EXPECT_EQ(history.GetCurrentIndex(), -1);

    history.Push(Op("one", log));
    history.Push(Op("two", log));
    history.Push(Op("three", log));
    EXPECT_EQ(log, std::vector<std::string>{"delete one"});
    EXPECT_EQ(history.GetUndoCount(), 2);
    EXPECT_EQ(history.GetCurrentIndex(), 1);
    EXPECT_STREQ(history.GetUndoName().CStr(), "three");
    EXPECT_EQ(recorder.Codes(), (std::vector<int32_t>(3, XMsgCode::kParamValueSet)));

    log.clear();
    history.Undo(1);
    EXPECT_TRUE(history.CanRedo());
    EXPECT_STREQ(history.GetRedoName().CStr(), "three");
    history.Push(Op("four", log));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(log, (std::vector<std::string>{"undo three", "delete three"}));
    EXPECT_STREQ(history.GetUndoName().CStr(), "four");

    // Undoing more than there is stops when the list runs out, and notifies once.
    log.clear();
    recorder.Clear();
    history.Undo(5);
    EXPECT_EQ(log, (std::vector<std::string>{"undo four", "undo two"}));
    EXPECT_EQ(history.GetCurrentIndex(), -1);
    EXPECT_EQ(recorder.Codes().size(), 1u);
    EXPECT_STREQ(history.GetRedoName().CStr(), "two");

    log.clear();
    history.Redo(1);
    EXPECT_EQ(log, std::vector<std::string>{"redo two"});
    EXPECT_STREQ(history.GetUndoName().CStr(), "two");
    EXPECT_STREQ(history.GetRedoName().CStr(), "four");

    // An operation that cannot be undone is told about and dropped; the lists stay.
    log.clear();
    history.Push(Op("fleeting", log, false));
    EXPECT_EQ(log, std::vector<std::string>{"delete fleeting"});
    EXPECT_TRUE(history.CanRedo());

    log.clear();
    history.Clear();
    EXPECT_FALSE(history.CanUndo() || history.CanRedo());
    EXPECT_EQ(history.GetCurrentIndex(), -1);
    EXPECT_EQ(log.size(), 2u);
    SetUndoHistoryParam(nullptr);
}

TEST(UndoHistoryTest, ClientsOnTheCallingThreadAreCalledAndOthersGetItPosted)
{
    Journal journal;
    std::vector<std::string> log;
    auto looper = std::make_unique<XLooper>("undo-clients");
    RecordingHandler remote("remote", journal);
    looper->AddHandler(&remote);
    ASSERT_NE(looper->Run(), 0);
    RecordingHandler local("local", journal);
    {
        UndoHistory history(10);
        history.AddClient(&local);
        history.AddClient(&remote);
        history.AddClient(&local);

        history.Push(Op("edit", log));
        // The local client was called before Push returned; the remote one may already have
        // had its posted copy too, but never before the local call.
        ASSERT_GE(journal.Count(), 1u);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return journal.Count() == 2; }, kWaitMs));
        EXPECT_EQ(journal.Take(), (std::vector<std::string>{"local:msg:5001", "remote:msg:5001"}));
        EXPECT_EQ(remote.lastThread.load(), looper->GetThreadId());

        history.RemoveClient(&remote);
        history.Undo(1);
        EXPECT_EQ(journal.Take(), std::vector<std::string>{"local:msg:5002"});
    }
    looper->RemoveHandler(&remote);
    looper.reset();
}

/** What the clones of a CountingUndoable did. */
struct Tally
{
    int performs = 0;
    int performsWithRequest = 0;
};

/** An undoable command whose clones record their runs in a shared tally. */
class CountingUndoable final : public UndoableCommand
{
public:
    CountingUndoable(Tally& tallyIn, bool finishedIn)
        : UndoableCommand("counting"), tally(tallyIn), finished(finishedIn)
    {
    }
    std::unique_ptr<XElement> Clone() const override
    {
        return std::make_unique<CountingUndoable>(tally, finished);
    }
    XString GetTitle() override { return "Count"; }
    bool IsEnabled(XMessage* request) override { return enabled; }
    void Undo() override {}
    void Redo() override {}
    bool Perform() override
    {
        ++tally.performs;
        if (GetRequest() != nullptr && GetRequest()->GetWhat() == XMsgCode::kRunCommand)
            ++tally.performsWithRequest;
        return finished;
    }

    bool enabled = true;

private:
    Tally& tally;
    bool finished;
};

TEST(UndoHistoryTest, RunningAnUndoableCommandRecordsAClonePerformedWithTheRequest)
{
    Tally tally;
    XMessage request(XMsgCode::kRunCommand, 0);
    CountingUndoable command(tally, false);

    command.Execute(&request); // no history: the clone is performed and dropped
    EXPECT_EQ(tally.performs, 1);

    UndoHistory history(5);
    SetUndoHistory(&history);
    command.Execute(&request);
    EXPECT_EQ(tally.performs, 2);
    EXPECT_EQ(tally.performsWithRequest, 2);
    EXPECT_EQ(history.GetUndoCount(), 1);

    CountingUndoable finished(tally, true); // finished: performed, not recorded
    finished.Execute(&request);
    EXPECT_EQ(tally.performs, 3);
    EXPECT_EQ(history.GetUndoCount(), 1);

    command.enabled = false;
    command.Execute(&request);
    EXPECT_EQ(tally.performs, 3);

    TopUndoCommand top; // never enabled: nothing is performed or recorded
    top.Execute(&request);
    EXPECT_EQ(history.GetUndoCount(), 1);
    SetUndoHistory(nullptr);
}

TEST(FrameworkCommandsTest, UndoRedoAndClearFollowTheProcessWideHistory)
{
    UndoLastCommand undo;
    RedoLastCommand redo;
    ClearHistoryCommand clear;
    TopUndoCommand top;
    struct Expectation
    {
        XCommand* command;
        const char* name;
        const char* title;
    };
    const Expectation names[] = {{&undo, "undo", "Undo"},
                                 {&redo, "redo", "Redo"},
                                 {&clear, "clearhistory", "Clear History"},
                                 {&top, "topundo", "Top Level"}};
    for (const Expectation& e : names)
    {
        EXPECT_STREQ(e.command->GetName().CStr(), e.name);
        EXPECT_STREQ(e.command->GetTitle().CStr(), e.title);
        EXPECT_FALSE(e.command->IsEnabled(nullptr)) << e.name;
    }
    EXPECT_STREQ(undo.GetMenuLabel().CStr(), "Undo");
    EXPECT_STREQ(redo.GetMenuLabel().CStr(), "Redo");
    EXPECT_TRUE(undo.HasDynamicLabel() && redo.HasDynamicLabel());
    EXPECT_FALSE(clear.HasDynamicLabel());

    std::vector<std::string> log;
    UndoHistory history(5);
    SetUndoHistory(&history);
    history.Push(Op("Move", log));
    EXPECT_TRUE(undo.IsEnabled(nullptr));
    EXPECT_FALSE(redo.IsEnabled(nullptr));
    EXPECT_TRUE(clear.IsEnabled(nullptr));
    EXPECT_STREQ(undo.GetTitle().CStr(), "Undo Move");
    EXPECT_STREQ(undo.GetMenuLabel().CStr(), "Undo Move");
    EXPECT_STREQ(redo.GetTitle().CStr(), "Redo -");

    undo.Execute(nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"undo Move"});
    EXPECT_TRUE(redo.IsEnabled(nullptr));
    EXPECT_STREQ(redo.GetTitle().CStr(), "Redo Move");
    redo.Execute(nullptr);
    EXPECT_EQ(history.GetUndoCount(), 1);
    clear.Execute(nullptr);
    EXPECT_FALSE(clear.IsEnabled(nullptr));
    SetUndoHistory(nullptr);
    EXPECT_STREQ(undo.GetTitle().CStr(), "Undo");
}

/** A headless application that counts the close requests it receives. */
class QuitCountingApplication final : public XApplication
{
public:
    QuitCountingApplication() : XApplication("FrameworkCommandsTest") {}
    void MessageReceived(XMessage& message) override
    {
        if (message.GetWhat() == XMsgCode::kQuitApplication)
            ++closeRequests;
        XApplication::MessageReceived(message);
    }
    int closeRequests = 0;
};

int RunFrameworkCommandsByName()
{
    ChildChecks checks;
    PlatformClock::SetTimeScale(kScenarioTimeScale);
    {
        QuitCountingApplication app;
        XCommandManager manager;
        QuitCommand quit;
        UndoLastCommand undo;
        RedoLastCommand redo;
        ClearHistoryCommand clear;
        TopUndoCommand top;
        XCommand* const all[] = {&quit, &undo, &redo, &clear, &top};
        for (XCommand* command : all)
            manager.AddCommand(command, FrameworkCommands::kFrameworkContext, "");
        manager.AddCommand(&quit, FrameworkCommands::kFrameworkContext, QuitCommand::kHotKey);
        manager.AddCommand(&undo, FrameworkCommands::kFrameworkContext, UndoLastCommand::kHotKey);
        manager.AddCommand(&redo, FrameworkCommands::kFrameworkContext, RedoLastCommand::kHotKey);
        CHILD_CHECK(checks, redo.GetShortcutText() == "Ctrl + Shift + Z");

        auto run = [&](const char* name)
        {
            XMessage request(XMsgCode::kRunCommand, 0);
            request.AddString(XCommandManager::kCommandNameItem, name);
            app.PostMessage(&request);
            for (int turn = 0; turn < 5; ++turn)
                app.PumpMessages();
        };
        for (const char* name : {"undo", "redo", "clearhistory", "topundo"})
            run(name);
        CHILD_CHECK(checks, app.closeRequests == 0);
        CHILD_CHECK(checks, GetUndoHistory() == nullptr);

        run("QUIT");
        CHILD_CHECK(checks, app.closeRequests == 1);
        CHILD_CHECK(checks, manager.HandleKeyPress('q', XKeyMod::kCtrl));
        for (int turn = 0; turn < 5; ++turn)
            app.PumpMessages();
        CHILD_CHECK(checks, app.closeRequests == 2);
    }
    return checks.ExitCode();
}

TEST(FrameworkCommandsTest, RunByNameQuitPostsOneCloseRequestAndTheOthersDoNothing)
{
    CommandTest::ExpectScenarioPasses(RunFrameworkCommandsByName);
}
} // namespace
