#include "core/XClipboard.h"

#include "core/XMessage.h"
#include "support/TestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace
{
/** Empties the process-wide clipboard so that each test starts from nothing. */
void EmptyClipboard()
{
    XClipboard clipboard;
    ASSERT_NE(clipboard.Open(), 0);
    clipboard.Clear();
    clipboard.Close();
}
} // namespace

TEST(XClipboardTest, ClipboardsShareContentThatOutlivesThem)
{
    EmptyClipboard();
    {
        XClipboard first;
        EXPECT_EQ(first.GetName(), "GLOBAL");
        EXPECT_EQ(first.GetContent(), nullptr) << "no content before Open";
        ASSERT_NE(first.Open(), 0);
        ASSERT_NE(first.GetContent(), nullptr);
        first.GetContent()->AddString("text/plain", "copied");
        first.Close();
        EXPECT_EQ(first.GetContent(), nullptr) << "no content after Close";
    }
    XClipboard second;
    ASSERT_NE(second.Open(), 0);
    EXPECT_STREQ(second.GetContent()->GetString("text/plain"), "copied");
    second.Clear();
    EXPECT_EQ(second.GetContent()->FindItem("text/plain"), nullptr);
    second.Close();
}

TEST(XClipboardTest, TheSameThreadMayOpenTwice)
{
    EmptyClipboard();
    XClipboard outer;
    XClipboard inner;
    ASSERT_NE(outer.Open(), 0);
    ASSERT_NE(inner.Open(), 0);
    EXPECT_EQ(inner.GetContent(), outer.GetContent());
    inner.Close();
    outer.Close();
}

TEST(XClipboardTest, ThreadsTakeTurnsOnTheContent)
{
    EmptyClipboard();
    constexpr int kRounds = 300;
    const auto work = []
    {
        for (int round = 0; round < kRounds; ++round)
        {
            XClipboard clipboard;
            ASSERT_NE(clipboard.Open(), 0);
            XMessage* content = clipboard.GetContent();
            int32_t count = 0;
            content->FindInt32("count", count);
            content->Clear();
            content->AddInt32("count", count + 1);
            clipboard.Close();
        }
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    XClipboard clipboard;
    ASSERT_NE(clipboard.Open(), 0);
    EXPECT_EQ(clipboard.GetContent()->GetInt32("count"), 2 * kRounds);
    clipboard.Clear();
    clipboard.Close();
}

TEST(XClipboardTest, AClipboardDestroyedWhileOpenLetsOthersIn)
{
    EmptyClipboard();
    std::thread holder(
        []
        {
            XClipboard forgotten;
            forgotten.Open();
            forgotten.Open();
        });
    holder.join();
    std::atomic<bool> opened{false};
    std::thread other(
        [&opened]
        {
            XClipboard clipboard;
            opened.store(clipboard.Open() != 0);
            clipboard.Close();
        });
    EXPECT_TRUE(TestSupport::WaitUntil([&opened] { return opened.load(); }, 10000));
    other.join();
}
