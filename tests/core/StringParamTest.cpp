#include "core/StringParam.h"

#include "ParamTestSupport.h"
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

// Texts set from two threads while two others read them: meant for the thread sanitizer build.
TEST_F(StringParamTest, TextsSetAndReadFromSeveralThreads)
{
    StringParam param;
    constexpr int kRounds = 2000;
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int writer = 0; writer < 2; ++writer)
    {
        threads.emplace_back(
            [&param, writer]()
            {
                for (int i = 0; i < kRounds; ++i)
                    param.SetValue(writer * kRounds + i, true);
            });
    }
    std::atomic<int> reads{0};
    for (int reader = 0; reader < 2; ++reader)
    {
        threads.emplace_back(
            [&]()
            {
                while (!stop.load())
                {
                    const double value = param.GetValue();
                    EXPECT_GE(value, 0.0);
                    reads.fetch_add(1);
                }
            });
    }
    threads[0].join();
    threads[1].join();
    stop.store(true);
    threads[2].join();
    threads[3].join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_TRUE(param.GetValue() == kRounds - 1 || param.GetValue() == 2 * kRounds - 1);
}
