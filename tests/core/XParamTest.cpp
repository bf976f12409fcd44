#include "core/XParam.h"

#include "support/ParamTestSupport.h"
#include "core/MemoryDataIO.h"
#include "core/ParamRegistry.h"
#include "core/ThreadServices.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "support/TestSupport.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Note;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kDestroyed = static_cast<int32_t>(XMsgCode::kParamDestroyed);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);
constexpr int kWaitMs = 10000;

class XParamTest : public ::testing::Test
{
protected:
    FakeHost host;
};

/** A watcher that, when told, removes itself and adds another watcher to the same parameter. */
class SelfRemovingWatcher final : public Recorder
{
public:
    explicit SelfRemovingWatcher(XHandler* replacementIn) : replacement(replacementIn) {}
    void ParamChanged(int32_t code, XParam* param, int32_t key) override
    {
        Recorder::ParamChanged(code, param, key);
        param->RemoveWatcher(this);
        param->AddWatcher(replacement, 9, false);
    }

private:
    XHandler* replacement;
};
} // namespace

TEST_F(XParamTest, WatchersKeepDuplicatesAndRemoveTheFirstEntry)
{
    Recorder watcher;
    FloatParam param(Desc(0, 0, 10, 0, 11));
    param.AddWatcher(&watcher, 1, false);
    param.AddWatcher(&watcher, 2, false);
    param.AddWatcher(nullptr, 3, false);
    EXPECT_EQ(2, param.GetWatcherCount());

    param.SetValue(1, true);
    EXPECT_EQ((std::vector<Note>{{kSet, &param, 1}, {kSet, &param, 2}}), watcher.Notes());

    param.RemoveWatcher(&watcher);
    EXPECT_FALSE(param.IsWatchedBy(&watcher, 1));
    EXPECT_TRUE(param.IsWatchedBy(&watcher, 2));
    EXPECT_FALSE(param.IsWatchedBy(nullptr, 2));
    watcher.Clear();
    param.SetValue(2, true);
    EXPECT_EQ((std::vector<Note>{{kSet, &param, 2}}), watcher.Notes());
}

TEST_F(XParamTest, NotifyWatchersSkipsTheExceptedHandlerButEmitsTheSignal)
{
    Recorder a("a"), b("b");
    FloatParam param(Desc(0, 0, 10, 0, 11));
    param.AddWatcher(&a, 0, false);
    param.AddWatcher(&b, 0, false);
    int emitted = 0;
    param.GetSignal().Connect(
        [&](XParam* p)
        {
            EXPECT_EQ(&param, p);
            ++emitted;
        });

    param.NotifyWatchers(kRefresh, &a);
    EXPECT_TRUE(a.Notes().empty());
    EXPECT_EQ((std::vector<int32_t>{kRefresh}), b.Codes());
    EXPECT_EQ(1, emitted);
}

TEST_F(XParamTest, AddWatcherWithNotifyNowDeliversAtOnce)
{
    Recorder watcher;
    FloatParam param(Desc(0, 0, 10, 0, 11));
    param.AddWatcher(&watcher, 5, true);
    EXPECT_EQ((std::vector<Note>{{kSet, &param, 5}}), watcher.Notes());
}

TEST_F(XParamTest, WatchersMayChangeTheListWhileBeingTold)
{
    Recorder replacement("replacement"), last("last");
    SelfRemovingWatcher first(&replacement);
    FloatParam param(Desc(0, 0, 10, 0, 11));
    param.AddWatcher(&first, 0, false);
    param.AddWatcher(&last, 0, false);

    param.SetValue(1, true);
    EXPECT_EQ(1u, first.Notes().size());
    EXPECT_EQ(1u, last.Notes().size());
    EXPECT_TRUE(replacement.Notes().empty());
    param.SetValue(2, true);
    EXPECT_EQ(1u, first.Notes().size());
    EXPECT_EQ((std::vector<Note>{{kSet, &param, 9}}), replacement.Notes());
}

TEST_F(XParamTest, DestructionTellsWatchersAndFreesThePath)
{
    Recorder watcher;
    auto param = std::make_unique<FloatParam>(Desc(0, 0, 10, 0, 11));
    ASSERT_TRUE(param->SetPath("Output%d\\Gain", 3));
    param->AddWatcher(&watcher, 4, false);
    XParam* const address = param.get();
    ASSERT_EQ(address, FindParam("output3\\gain"));

    param.reset();
    EXPECT_EQ((std::vector<Note>{{kDestroyed, address, 4}}), watcher.Notes());
    EXPECT_EQ(nullptr, FindParam("Output3\\Gain"));
    FloatParam successor(Desc(0, 0, 10, 0, 11));
    EXPECT_TRUE(successor.SetPath("Output3\\Gain"));
}

TEST_F(XParamTest, NothingIsToldWhileShuttingDown)
{
    Recorder watcher;
    auto param = std::make_unique<FloatParam>(Desc(0, 0, 10, 0, 11));
    ASSERT_TRUE(param->SetPath("ShutdownTest\\Gain"));
    param->AddWatcher(&watcher, 0, false);

    host.shuttingDown = true;
    param->SetValue(3, true);
    param->Notify(kRefresh);
    param->AddWatcher(&watcher, 1, true);
    param.reset();
    host.shuttingDown = false;
    EXPECT_TRUE(watcher.Notes().empty());
    EXPECT_EQ(nullptr, FindParam("ShutdownTest\\Gain"));
}

TEST_F(XParamTest, ParametersPassCodesOnButNotTheEndOfTheOneTheyWatch)
{
    Recorder watcher;
    auto source = std::make_unique<FloatParam>(Desc(0, 0, 10, 0, 11));
    auto follower = std::make_unique<FloatParam>(Desc(0, 0, 10, 0, 11));
    source->AddWatcher(follower.get(), 0, false);
    follower->AddWatcher(&watcher, 6, false);

    source->SetValue(2, true);
    EXPECT_EQ((std::vector<Note>{{kSet, follower.get(), 6}}), watcher.Notes());

    watcher.Clear();
    source.reset();
    EXPECT_TRUE(watcher.Notes().empty());

    // A follower that goes first leaves the source's list.
    auto second = std::make_unique<FloatParam>(Desc(0, 0, 10, 0, 11));
    second->AddWatcher(follower.get(), 0, false);
    follower.reset();
    EXPECT_EQ(0, second->GetWatcherCount());
    second->SetValue(1, true);
}

TEST_F(XParamTest, ADestroyedHandlerLeavesEveryListItWasOn)
{
    FloatParam first(Desc(0, 0, 10, 0, 11)), second(Desc(0, 0, 10, 0, 11));
    auto watcher = std::make_unique<Recorder>();
    first.AddWatcher(watcher.get(), 0, false);
    first.AddWatcher(watcher.get(), 1, false);
    second.AddWatcher(watcher.get(), 0, false);
    watcher.reset();
    EXPECT_EQ(0, first.GetWatcherCount());
    EXPECT_EQ(0, second.GetWatcherCount());
    first.SetValue(1, true);
    second.Notify(kRefresh);
}

TEST_F(XParamTest, ChangeTrackingPassesOnToWatchersWithoutLooping)
{
    FloatParam a(Desc(0, 0, 10, 0, 11)), b(Desc(0, 0, 10, 0, 11));
    a.AddWatcher(&b, 0, false);
    b.AddWatcher(&a, 0, false);
    a.SetChangeTracking(false);
    EXPECT_FALSE(a.IsChangeTracking());
    EXPECT_FALSE(b.IsChangeTracking());
    b.SetMode(1);
    EXPECT_TRUE(a.IsChangeTracking());
    EXPECT_TRUE(b.IsChangeTracking());
}

TEST_F(XParamTest, WatcherOnAnotherLooperGetsAPostedMessageOnItsThread)
{
    auto looper = std::make_unique<XLooper>("ParamWatchLooper");
    ASSERT_NE(0, looper->Run());
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return looper->GetThreadId() != 0; }, kWaitMs));

    /** Records the thread the change arrived on. */
    class ThreadRecorder final : public Recorder
    {
    public:
        void ParamChanged(int32_t code, XParam* param, int32_t key) override
        {
            thread.store(CurrentThreadId());
            Recorder::ParamChanged(code, param, key);
        }
        std::atomic<int32_t> thread{0};
    };
    ThreadRecorder watcher;
    ASSERT_TRUE(looper->AddHandler(&watcher));
    FloatParam param(Desc(0, 0, 10, 0, 11));
    param.AddWatcher(&watcher, 8, false);

    param.SetValue(4, true);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !watcher.Notes().empty(); }, kWaitMs));
    EXPECT_EQ((std::vector<Note>{{kSet, &param, 8}}), watcher.Notes());
    EXPECT_EQ(looper->GetThreadId(), watcher.thread.load());
    EXPECT_NE(CurrentThreadId(), watcher.thread.load());

    param.RemoveWatcher(&watcher);
    looper->RemoveHandler(&watcher);
    looper.reset();
}

TEST_F(XParamTest, PathsAreFoundWithoutCaseAndKeepTheirOwn)
{
    FloatParam bypass(Desc(0, 0, 1, 0, 2, 0, "Bypass"));
    EXPECT_STREQ("Bypass", bypass.GetName().CStr());
    ASSERT_TRUE(bypass.SetPath("InputA\\%s", "GEQBandBypass"));
    EXPECT_EQ(&bypass, FindParam("INPUTA\\geqbandbypass"));
    EXPECT_EQ(&bypass, FindParam("%s\\GEQBandBypass", "inputA"));
    EXPECT_STREQ("InputA\\GEQBandBypass", bypass.GetFullPath().CStr());
    EXPECT_STREQ("GEQBandBypass", bypass.GetName().CStr());
    EXPECT_STREQ("InputA", bypass.GetPath().CStr());

    FloatParam rival(Desc(0, 0, 1, 0, 2));
    EXPECT_FALSE(rival.SetPath("inputa\\GEQBANDBYPASS"));
    EXPECT_TRUE(rival.GetFullPath().IsEmpty());
    EXPECT_FALSE(rival.SetPath("InputA"));
    EXPECT_FALSE(rival.SetPath("InputA\\GEQBandBypass\\Deeper"));
    EXPECT_TRUE(rival.GetFullPath().IsEmpty());

    const XString emptyText;
    const char* const empty = emptyText.CStr();
    EXPECT_EQ(nullptr, FindParam(empty));
    EXPECT_EQ(nullptr, FindParam(nullptr));
    EXPECT_EQ(nullptr, FindParam("InputA"));

    ASSERT_TRUE(bypass.SetPath("InputA\\Other"));
    EXPECT_EQ(nullptr, FindParam("InputA\\GEQBandBypass"));
    EXPECT_EQ(&bypass, FindParam("inputa\\other"));
    EXPECT_TRUE(rival.SetPath("InputA\\GEQBandBypass"));
    EXPECT_TRUE(bypass.SetPath(empty));
    EXPECT_EQ(nullptr, FindParam("InputA\\Other"));
    EXPECT_STREQ("Bypass", bypass.GetName().CStr());
}

TEST_F(XParamTest, OneParameterFormByteForByte)
{
    FloatParam gain(Desc(0, -96, 10, -3.5, 1061));
    ASSERT_TRUE(gain.SetPath("FormTest\\Gain"));
    uint8_t buffer[64] = {};
    MemoryDataIO out(buffer, sizeof buffer);
    gain.WriteTo(&out, XParam::kWriteWithRange);
    const uint8_t expected[] = {0x02, 0x00, 0x00, 0x00, 0x04, 0x00, 'G',  'a',  'i',  'n',  0x00,
                                0x00, 0xC0, 0xC2, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0x60, 0xC0};
    ASSERT_EQ(static_cast<int32_t>(sizeof expected), out.GetPosition());
    EXPECT_EQ(0, std::memcmp(expected, buffer, sizeof expected));

    uint8_t plain[8] = {};
    MemoryDataIO plainOut(plain, sizeof plain);
    gain.WriteTo(&plainOut, 0);
    const uint8_t plainExpected[] = {0, 0, 0, 0, 0x00, 0x00, 0x60, 0xC0};
    EXPECT_EQ(0, std::memcmp(plainExpected, plain, sizeof plain));

    Recorder watcher;
    FloatParam copy(Desc(0, -96, 10, 0, 1061));
    copy.AddWatcher(&watcher, 0, false);
    MemoryDataIO in(buffer, sizeof expected);
    EXPECT_TRUE(copy.ReadFrom(&in));
    EXPECT_DOUBLE_EQ(-3.5, copy.GetValue());
    EXPECT_EQ((std::vector<int32_t>{kSet}), watcher.Codes());

    FloatParam cut(Desc(0, -96, 10, 0, 1061));
    MemoryDataIO shortIn(buffer, sizeof expected - 2);
    EXPECT_FALSE(cut.ReadFrom(&shortIn));
    EXPECT_DOUBLE_EQ(0.0, cut.GetValue());
}

TEST_F(XParamTest, RandomInputNeverLeavesTheRange)
{
    std::mt19937 random(1234);
    FloatParam param(Desc(0, -96, 10, 0, 1061));
    FloatParam percent(Desc(3, 0, 1, 0, 101));
    for (int round = 0; round < 2000; ++round)
    {
        uint8_t bytes[24];
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(random());
        if (round % 3 == 0)
            std::memset(bytes, 0, 4); // plain form: the float follows at once
        MemoryDataIO in(bytes, static_cast<int>(random() % (sizeof bytes + 1)));
        param.ReadFrom(&in);

        char text[12];
        const char alphabet[] = "0123456789.-+eEinfa% ";
        const size_t length = random() % sizeof text;
        for (size_t i = 0; i < length; ++i)
            text[i] = alphabet[random() % (sizeof alphabet - 1)];
        text[length] = 0;
        param.SetText(text, true);
        param.ChangeText(text, true);
        percent.ChangeText(text, true);

        ASSERT_TRUE(std::isfinite(param.GetValue()));
        ASSERT_GE(param.GetValue(), -96.0);
        ASSERT_LE(param.GetValue(), 10.0);
        ASSERT_GE(percent.GetValue(), 0.0);
        ASSERT_LE(percent.GetValue(), 1.0);
    }
}

TEST_F(XParamTest, ReadValueFromMessageTakesTheIndexedValue)
{
    XMessage message;
    message.AddString("name", "Gain");
    message.AddFloat("min", -96);
    message.AddFloat("max", 10);
    message.AddFloat("value", 1.5f);
    message.AddFloat("value", 2.5f);
    FloatParam param(Desc(0, -96, 10, 0, 1061));
    EXPECT_TRUE(param.ReadValueFromMessage(&message, 1));
    EXPECT_DOUBLE_EQ(2.5, param.GetValue());
    EXPECT_TRUE(param.ReadValueFromMessage(&message, 0));
    EXPECT_DOUBLE_EQ(1.5, param.GetValue());
    EXPECT_FALSE(param.ReadValueFromMessage(&message, 2));
    EXPECT_FALSE(param.ReadValueFromMessage(nullptr, 0));
}

TEST_F(XParamTest, RangesAndDifferences)
{
    FloatParam a(Desc(0, 0, 10, 3, 11)), b(Desc(0, 0, 10, 3, 11)), c(Desc(0, 0, 20, 3, 21));
    struct Case
    {
        XParam* left;
        XParam* right;
        bool sameRange;
        bool differ;
    };
    const Case cases[] = {
        {&a, &a, true, false},      {&a, &b, true, false},      {&a, &c, false, true},
        {&a, nullptr, false, true}, {nullptr, &a, false, true}, {nullptr, nullptr, false, true},
    };
    for (const Case& k : cases)
    {
        EXPECT_EQ(k.sameRange, ParamsHaveSameRange(k.left, k.right));
        EXPECT_EQ(k.differ, ParamsDiffer(k.left, k.right));
    }
    b.SetValue(4, false);
    EXPECT_TRUE(ParamsDiffer(&a, &b));
    EXPECT_TRUE(IsValueChangeCode(1000000));
    EXPECT_TRUE(IsValueChangeCode(1000001));
    EXPECT_FALSE(IsValueChangeCode(1000006));
}
