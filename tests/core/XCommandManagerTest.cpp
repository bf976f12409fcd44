#include "core/XCommandManager.h"

#include "CommandTestSupport.h"
#include "core/ICommandRunner.h"
#include "core/XApplication.h"
#include "core/XCommand.h"
#include "core/XKeyPress.h"
#include "core/XKeyPressMappingSet.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "platform/PlatformClock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

using CommandTest::ChildChecks;
using CommandTest::FakeCommand;

namespace
{
/** Time runs this much faster in the application scenarios, so that its fixed pauses stay short. */
constexpr double kScenarioTimeScale = 20.0;

TEST(XCommandManagerTest, RegistersByLowerCasedNameAndNormalisesHotKeys)
{
    FakeCommand early("early");
    EXPECT_FALSE(early.Register("Early", "Global", "Ctrl+E")); // no manager yet
    EXPECT_STREQ(early.GetName().CStr(), "early");
    EXPECT_EQ(FindCommandByName("early"), nullptr);

    XCommandManager manager;
    ASSERT_EQ(XCommandManager::GetProcessWide(), &manager);
    EXPECT_EQ(GetCommandRunner(), &manager);
    {
        XCommandManager second; // a later manager does not take over
        EXPECT_EQ(XCommandManager::GetProcessWide(), &manager);
    }
    EXPECT_EQ(XCommandManager::GetProcessWide(), &manager);
    EXPECT_EQ(GetCommandRunner(), &manager);

    FakeCommand quit("", "Quit");
    FakeCommand redo("", "Redo");
    FakeCommand plain("", "Plain");
    EXPECT_TRUE(quit.Register("Quit", "Global", "Ctrl+Q"));
    EXPECT_TRUE(redo.Register("redo", "Global", "Ctrl+Shift+Z"));
    EXPECT_TRUE(plain.Register("plain", "Other", ""));

    EXPECT_EQ(FindCommandByName("QUIT"), &quit);
    EXPECT_EQ(manager.FindCommand("quit"), &quit);
    EXPECT_EQ(FindCommandByName("missing"), nullptr);
    EXPECT_STREQ(quit.GetName().CStr(), "quit");
    EXPECT_STREQ(quit.GetContext().CStr(), "Global");

    EXPECT_STREQ(redo.GetHotKeyText().CStr(), "ctrl + shift + Z");
    EXPECT_STREQ(redo.GetRawShortcutText().CStr(), "ctrl + shift + Z");
    EXPECT_STREQ(redo.GetShortcutText().CStr(), "Ctrl + Shift + Z");
    EXPECT_STREQ(quit.GetShortcutText().CStr(), "Ctrl + Q");

    EXPECT_STREQ(plain.GetHotKeyText().CStr(), "");
    EXPECT_STREQ(plain.GetShortcutText().CStr(), "");
    XCommandManager::CmdContext* other = manager.FindContext("Other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->GetMappings().GetMappingCount(), 1);
    EXPECT_TRUE(other->GetMappings().GetMapping(0)->keyPresses.empty());
    EXPECT_EQ(other->GetMappings().GetMapping(0)->flagBits, XCommandManager::kRegisteredMappingFlags);
    EXPECT_STREQ(other->GetMappings().GetMapping(0)->name.CStr(), "Plain");

    // Adding the same command again keeps one entry.
    manager.AddCommand(&quit, "Global", "Ctrl+Q");
    manager.AddCommand(nullptr, "Global", "Ctrl+W");
    EXPECT_EQ(manager.GetCommandCount(), 3);
    EXPECT_EQ(manager.GetCommandAt(0), &quit);

    // Running by name honours the enabled state.
    XMessage request(XMsgCode::kRunCommand, 0);
    request.AddString(XCommandManager::kCommandNameItem, "Quit");
    EXPECT_TRUE(manager.RunCommand("Quit", request));
    EXPECT_EQ(quit.runs, 1);
    EXPECT_EQ(quit.lastRequestName, "Quit");
    quit.enabled = false;
    EXPECT_FALSE(manager.RunCommand("quit", request));
    EXPECT_FALSE(manager.RunCommand("missing", request));
    EXPECT_EQ(quit.runs, 1);
}

TEST(XCommandManagerTest, ShortcutTextCapitalisesWordStartsButNotDigits)
{
    XCommandManager manager;
    struct Case
    {
        const char* hotKey;
        const char* shown;
    };
    const Case cases[] = {
        {"ctrl+shift+f12", "Ctrl + Shift + F12"},
        {"alt+page down", "Alt + Page Down"},
        {"num+plus", "Num + Plus"},
        {"ctrl+#7f", "Ctrl + #07f"},
        {"shift+1", "Shift + 1"},
    };
    for (const Case& c : cases)
    {
        FakeCommand command;
        manager.AddCommand(&command, "Shortcuts", c.hotKey);
        EXPECT_STREQ(command.GetShortcutText().CStr(), c.shown) << c.hotKey;
    }
}

TEST(XCommandManagerTest, ADestroyedCommandLeavesItsManagerAndADestroyedManagerItsCommands)
{
    XCommandManager manager;
    auto doomed = std::make_unique<FakeCommand>("doomed");
    FakeCommand keeper("keeper");
    manager.AddCommand(doomed.get(), "Global", "Ctrl+D");
    manager.AddCommand(&keeper, "Global", "Ctrl+K");
    XCommandManager::CmdContext* global = manager.FindContext("Global");
    ASSERT_NE(global, nullptr);
    ASSERT_EQ(global->GetMappings().FindCommandForKey({'D', XKeyMod::kCtrl}), doomed.get());

    doomed.reset();
    EXPECT_EQ(FindCommandByName("doomed"), nullptr);
    EXPECT_EQ(manager.GetCommandCount(), 1);
    EXPECT_EQ(global->GetMappings().FindCommandForKey({'D', XKeyMod::kCtrl}), nullptr);
    EXPECT_EQ(global->GetMappings().FindCommandForKey({'K', XKeyMod::kCtrl}), &keeper);

    // A command that outlives its manager is not pointed at by anything.
    auto survivor = std::make_unique<FakeCommand>("survivor");
    {
        XCommandManager shortLived;
        shortLived.AddCommand(survivor.get(), "Global", "");
        EXPECT_EQ(survivor->GetRegisteredWith(), &shortLived);
    }
    EXPECT_EQ(survivor->GetRegisteredWith(), nullptr);
    survivor.reset();
}

TEST(XCommandManagerTest, LookUpsFromWorkerThreadsWhileCommandsComeAndGo)
{
    XCommandManager manager;
    FakeCommand steady("steady");
    manager.AddCommand(&steady, "Global", "Ctrl+S");
    std::atomic<bool> stop{false};
    std::atomic<int> misses{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 2; ++i)
        readers.emplace_back(
            [&]
            {
                while (!stop.load())
                    if (FindCommandByName("STEADY") != &steady)
                        misses.fetch_add(1);
            });
    for (int round = 0; round < 300; ++round)
    {
        FakeCommand transient("transient");
        manager.AddCommand(&transient, round % 2 == 0 ? "Global" : "Panel", "Ctrl+T");
    }
    stop.store(true);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(misses.load(), 0);
    EXPECT_EQ(manager.GetCommandCount(), 1);
}

/** A headless application that counts the close requests it receives. */
class CountingApplication final : public XApplication
{
public:
    CountingApplication() : XApplication("CommandTest") {}
    void MessageReceived(XMessage& message) override
    {
        if (message.GetWhat() == XMsgCode::kQuitApplication)
            ++closeRequests;
        XApplication::MessageReceived(message);
    }
    /** Runs the application's turns until its queue is empty. */
    void Drain()
    {
        for (int turn = 0; turn < 5; ++turn)
            PumpMessages();
    }
    int closeRequests = 0;
};

int RunKeyPressesAsRunRequests()
{
    ChildChecks checks;
    PlatformClock::SetTimeScale(kScenarioTimeScale);
    {
        CountingApplication app;
        XCommandManager manager;
        FakeCommand first("first");
        FakeCommand second("second");
        FakeCommand disabled("disabled");
        disabled.enabled = false;
        manager.AddCommand(&first, "Editor", "Ctrl+E");
        manager.AddCommand(&second, "Panel", "Ctrl+E");
        manager.AddCommand(&disabled, "Panel", "F2");

        // Two active contexts bind Ctrl+E: the context created first wins.
        CHILD_CHECK(checks, manager.HandleKeyPress('e', XKeyMod::kCtrl));
        app.Drain();
        CHILD_CHECK(checks, first.runs == 1);
        CHILD_CHECK(checks, first.lastRequestName == "first");
        CHILD_CHECK(checks, second.runs == 0);

        // One bit of a pair counts as the pair; a repeated key is ignored.
        CHILD_CHECK(checks, manager.HandleKeyPress('E', 0x04));
        CHILD_CHECK(checks, !manager.HandleKeyPress('E', XKeyMod::kCtrl | XKeyMod::kRepeat));
        app.Drain();
        CHILD_CHECK(checks, first.runs == 2);

        // An inactive context is skipped; an unbound key finds nothing.
        manager.FindContext("Editor")->SetActive(false);
        CHILD_CHECK(checks, manager.HandleKeyPress('E', XKeyMod::kCtrl));
        CHILD_CHECK(checks, !manager.HandleKeyPress('E', XKeyMod::kAlt));
        app.Drain();
        CHILD_CHECK(checks, first.runs == 2);
        CHILD_CHECK(checks, second.runs == 1);

        // A disabled command's key is still taken; the application then finds it disabled.
        CHILD_CHECK(checks, manager.HandleKeyPress(XKeyCode::kF1 + 1, 0));
        app.Drain();
        CHILD_CHECK(checks, disabled.runs == 0);
        CHILD_CHECK(checks, app.closeRequests == 0);
    }
    return checks.ExitCode();
}

TEST(XCommandManagerTest, KeyPressesBecomeRunRequestsThatTheApplicationCarriesOut)
{
    CommandTest::ExpectScenarioPasses(RunKeyPressesAsRunRequests);
}

TEST(XCommandManagerTest, KeyPressWithoutAnApplicationRunsNothing)
{
    XCommandManager manager;
    FakeCommand command("orphan");
    manager.AddCommand(&command, "Global", "Ctrl+O");
    EXPECT_FALSE(manager.HandleKeyPress('O', XKeyMod::kCtrl));
    EXPECT_EQ(command.runs, 0);
}
} // namespace
