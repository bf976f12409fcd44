#include "core/StringParam.h"

#include "support/ParamTestSupport.h"
#include "XStringPrinter.h"
#include "core/XMessageCodes.h"

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChanged = static_cast<int32_t>(XMsgCode::kParamChangedByUser);

XString OffOnText(XParam* param, double value, int32_t user)
{
    return XString(static_cast<int>(value) == 0 ? "Off" : (static_cast<int>(value) == 1 ? "On" : "?"));
}

/** Refuses index 1 ("On"); records the last value it was offered. */
std::atomic<double> lastVetoed{-1.0};
bool RefuseOn(XParam* param, double* value, int32_t user, int32_t phase)
{
    lastVetoed.store(*value);
    return *value != 1.0;
}

XParamDesc OffOnDesc(XParamDescExt& ext, int32_t flags = 0)
{
    ext.textCallback = OffOnText;
    XParamDesc desc = Desc(XParamDesc::kTypeText, 0, 1, 1, 2, flags, "Mode");
    desc.ext = &ext;
    return desc;
}

class StringParamTest : public ::testing::Test
{
protected:
    FakeHost host;
};
} // namespace

TEST_F(StringParamTest, TextEqualIgnoringCaseChangesNothing)
{
    Recorder watcher;
    StringParam param;
    param.AddWatcher(&watcher, 0, false);
    EXPECT_EQ(param.GetType(), XParamDesc::kTypeText);
    EXPECT_EQ(param.GetId(), -1);
    EXPECT_TRUE(param.SetText("ABC", true));
    const uint32_t stamp = param.GetLastChangeTick();
    EXPECT_NE(stamp, 0u);
    EXPECT_FALSE(param.SetText("abc", true));
    EXPECT_EQ(param.GetText(), "ABC");
    EXPECT_EQ(watcher.Codes(), std::vector<int32_t>{kSet});
    EXPECT_EQ(host.marks.load(), 1);
}

TEST_F(StringParamTest, TextCallbackListsTheAcceptedWords)
{
    XParamDescExt ext;
    StringParam param(OffOnDesc(ext));
    EXPECT_EQ(param.GetText(), "");
    EXPECT_TRUE(param.SetText("on", false));
    EXPECT_EQ(param.GetText(), "on"); // kept as typed
    EXPECT_DOUBLE_EQ(param.GetValue(), 1.0);
    EXPECT_EQ(param.GetDisplayText(), "On");
    EXPECT_FALSE(param.SetText("maybe", false));
    EXPECT_EQ(param.GetText(), "on");
    EXPECT_TRUE(param.SetText("", false));
    EXPECT_DOUBLE_EQ(param.GetValue(), 0.0);
    EXPECT_TRUE(param.SetValue(1, false));
    EXPECT_EQ(param.GetText(), "On");
    EXPECT_TRUE(param.SetValue(0, false));
    EXPECT_EQ(param.GetText(), "Off");
    EXPECT_TRUE(param.ResetToDefault()); // the default's word
    EXPECT_EQ(param.GetText(), "On");
    EXPECT_EQ(param.ValueToText(0), "Off");
}

TEST_F(StringParamTest, WithoutCallbackTheValueIsTheNumberTheTextSpells)
{
    struct Case
    {
        const char* text;
        double value;
    };
    const Case cases[] = {{"12", 12.0}, {"1.5", 1.5}, {"x1", 0.0}, {"-3", -3.0}, {"", 0.0}};
    StringParam param;
    for (const Case& c : cases)
    {
        param.SetText(c.text, false);
        EXPECT_DOUBLE_EQ(param.GetValue(), c.value) << c.text;
    }
    EXPECT_TRUE(param.SetValue(12, false));
    EXPECT_EQ(param.GetText(), "12.00");
    EXPECT_TRUE(param.SetValue(2.25, false));
    EXPECT_EQ(param.GetText(), "2.25");
    EXPECT_FALSE(param.SetValue(std::nan(""), false));
    EXPECT_TRUE(param.ResetToDefault());
    EXPECT_EQ(param.GetText(), "");
}

TEST_F(StringParamTest, UserChangesPassTheVetoAndReportChangedByUser)
{
    XParamDescExt ext;
    ext.vetoCallback = RefuseOn;
    Recorder watcher;
    StringParam param(OffOnDesc(ext));
    param.AddWatcher(&watcher, 0, false);

    EXPECT_FALSE(param.ChangeText("ON", true));
    EXPECT_DOUBLE_EQ(lastVetoed.load(), 1.0); // the index of the word was offered
    EXPECT_TRUE(param.ChangeText("off", true));
    EXPECT_FALSE(param.ChangeValue(1, true));
    EXPECT_FALSE(param.ChangeValue(0, true)); // "Off" equals "off": no change
    EXPECT_EQ(watcher.Codes(), std::vector<int32_t>{kChanged});

    EXPECT_FALSE(param.ApplyEvent(nullptr));
    EXPECT_FALSE(param.StepBy(1, true));
    EXPECT_EQ(param.IndexToValue(-1), 4294967295.0);
    EXPECT_EQ(param.ValueToIndex(2.9), 2);
}

TEST_F(StringParamTest, TransientTextDoesNotMarkTheDocument)
{
    XParamDescExt ext;
    StringParam param(OffOnDesc(ext, XParamDesc::kFlagTransient));
    EXPECT_TRUE(param.SetText("Off", true));
    EXPECT_EQ(host.marks.load(), 0);
}

TEST_F(StringParamTest, DisplayTextShowsWhatFollowsTheLastColon)
{
    StringParam param;
    param.SetText("Mode:Cut|Boost", false);
    EXPECT_EQ(param.GetDisplayText(), "Cut:Boost");
}

// Texts set from two threads while two others read them: meant for the thread sanitizer build. The
// writers wait after their first text until a reader has read since, and the readers read until the
// writers are done, so reads and writes overlap however the threads are scheduled.
TEST_F(StringParamTest, TextsSetAndReadFromSeveralThreads)
{
    StringParam param;
    constexpr int kRounds = 2000;
    constexpr int kWriters = 2;
    constexpr int kReaders = 2;
    std::atomic<int> writersStarted{0};
    std::atomic<int> writersDone{0};
    std::atomic<int> readsAfterFirstWrites{0};
    std::atomic<bool> badValueRead{false};
    std::vector<std::thread> threads;
    for (int writer = 0; writer < kWriters; ++writer)
    {
        threads.emplace_back(
            [&, writer]()
            {
                param.SetValue(writer * kRounds, true);
                writersStarted.fetch_add(1);
                while (readsAfterFirstWrites.load() == 0)
                    std::this_thread::yield();
                for (int i = 1; i < kRounds; ++i)
                    param.SetValue(writer * kRounds + i, true);
                writersDone.fetch_add(1);
            });
    }
    for (int reader = 0; reader < kReaders; ++reader)
    {
        threads.emplace_back(
            [&]()
            {
                while (writersDone.load() < kWriters)
                {
                    const bool afterFirstWrites = writersStarted.load() == kWriters;
                    const double value = param.GetValue();
                    if (!(value >= 0.0 && value < kWriters * kRounds))
                        badValueRead.store(true);
                    if (afterFirstWrites)
                        readsAfterFirstWrites.fetch_add(1);
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_FALSE(badValueRead.load()) << "a reader saw a value no writer set";
    EXPECT_GT(readsAfterFirstWrites.load(), 0);
    EXPECT_TRUE(param.GetValue() == kRounds - 1 || param.GetValue() == 2 * kRounds - 1);
}
