#include "core/XHandler.h"

#include "LooperTestSupport.h"
#include "support/ParamTestSupport.h"
#include "core/FloatParam.h"
#include "core/XLiveParamSet.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParamMessage.h"
#include "support/TestSupport.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <thread>
#include <vector>

using namespace LooperTest;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kCodeA = 4001;
constexpr uint32_t kCodeB = 4002;

struct DelegateRecord
{
    std::vector<std::string> calls;
};

template <int Tag> void RecordDelegate(void* userData, XMessage& message)
{
    static_cast<DelegateRecord*>(userData)->calls.push_back("delegate" + std::to_string(Tag) + ":" +
                                                            std::to_string(message.GetWhat()));
}

/** Registers a parameter pointer as alive for the scope. */
struct LiveParam
{
    explicit LiveParam(XParam* p) : param(p) { XLiveParamSet::Get().Add(param); }
    ~LiveParam() { XLiveParamSet::Get().Remove(param); }
    XParam* param;
};
} // namespace

TEST(XHandlerTest, UnattachedHandlerGetsPostsAtOnceThroughItsFirstDelegate)
{
    Journal journal;
    RecordingHandler handler("h", journal);
    DelegateRecord record;
    EXPECT_TRUE(handler.AddDelegate(kCodeA, &RecordDelegate<1>, &record));
    EXPECT_FALSE(handler.AddDelegate(kCodeA, &RecordDelegate<2>, &record)); // the first one stays

    XMessage withDelegate(kCodeA, 0);
    EXPECT_EQ(handler.PostMessage(&withDelegate), 0);
    EXPECT_EQ(handler.PostCode(kCodeB), 0);
    EXPECT_EQ(handler.PostMessage(nullptr), 0);

    EXPECT_EQ(record.calls, std::vector<std::string>{"delegate1:4001"});
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"h:msg:4002"});
}

TEST(XHandlerTest, TokensAreConsecutiveAndDestructionInvertsTokenAndClearsMagic)
{
    XHandler first("a");
    alignas(XHandler) unsigned char storage[sizeof(XHandler)];
    auto* second = new (storage) XHandler("b");
    const int32_t token = second->GetToken();
    EXPECT_EQ(token, first.GetToken() + 1);
    EXPECT_EQ(second->GetMagic(), XHandler::kValidMagic);

    // The dead object may not be called: its words are found and read in the raw storage.
    const auto wordAt = [&storage](size_t offset)
    {
        int32_t word;
        std::memcpy(&word, storage + offset, sizeof word);
        return word;
    };
    std::vector<size_t> magicOffsets, tokenOffsets;
    for (size_t offset = 0; offset + sizeof(int32_t) <= sizeof storage; offset += sizeof(int32_t))
    {
        if (wordAt(offset) == XHandler::kValidMagic)
            magicOffsets.push_back(offset);
        if (wordAt(offset) == token)
            tokenOffsets.push_back(offset);
    }
    ASSERT_EQ(magicOffsets.size(), 1u);
    ASSERT_FALSE(tokenOffsets.empty());

    second->~XHandler();
    EXPECT_EQ(wordAt(magicOffsets[0]), 0);
    bool inverted = false;
    for (size_t offset : tokenOffsets)
        inverted = inverted || wordAt(offset) == ~token;
    EXPECT_TRUE(inverted);
}

TEST(XHandlerTest, SetNextHandlerInsertsIntoTheChain)
{
    XHandler a("a"), b("b"), c("c"), d("d");

    a.SetNextHandler(&c);
    EXPECT_EQ(a.SetNextHandler(&b), &b); // a -> b -> c
    EXPECT_EQ(a.GetNextHandler(), &b);
    EXPECT_EQ(b.GetNextHandler(), &c);

    d.SetNextHandler(&c); // both a and d have a successor: nothing changes
    EXPECT_EQ(a.SetNextHandler(&d), &d);
    EXPECT_EQ(a.GetNextHandler(), &b);
    EXPECT_EQ(d.GetNextHandler(), &c);

    EXPECT_EQ(c.SetNextHandler(&c), &c); // itself: nothing
    EXPECT_EQ(c.GetNextHandler(), nullptr);

    XHandler e("e"), f("f"), g("g"); // e has none, f keeps its own successor
    f.SetNextHandler(&g);
    e.SetNextHandler(&f);
    EXPECT_EQ(e.GetNextHandler(), &f);
    EXPECT_EQ(f.GetNextHandler(), &g);

    EXPECT_EQ(a.SetNextHandler(nullptr), nullptr);
    EXPECT_EQ(a.GetNextHandler(), nullptr);
}

TEST(XHandlerTest, ParamChangeOnTheLoopersThreadRunsAtOnceAndFromElsewhereInItsNextTurn)
{
    Journal journal;
    XLooper looper("params");
    looper.StartupInit(); // this thread becomes the looper's thread
    RecordingHandler handler("h", journal);
    ASSERT_TRUE(looper.AddHandler(&handler));
    LiveParam live(FakeParam(7));

    EXPECT_EQ(handler.NotifyParamChanged(1000000, live.param, 11), 0);
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"h:param:1000000:11"});

    std::thread other([&] { EXPECT_EQ(handler.NotifyParamChanged(1000001, live.param, 12), 0); });
    other.join();
    EXPECT_EQ(journal.Count(), 0u); // not yet: it waits in the port

    handler.lastParam.store(nullptr);
    EXPECT_TRUE(looper.LoopOnce(false));
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"h:param:1000001:12"});
    EXPECT_EQ(handler.lastParam.load(), live.param);
    EXPECT_EQ(handler.lastThread.load(), CurrentThreadId());
}

TEST(XHandlerTest, ParamChangeIsPostedWhileTheLooperHasNoThreadAndDirectWhenUnattached)
{
    Journal journal;
    XLooper looper("no thread");
    RecordingHandler attached("a", journal);
    RecordingHandler unattached("u", journal);
    looper.AddHandler(&attached);
    LiveParam live(FakeParam(3));

    EXPECT_EQ(unattached.DeliverParamChanged(1000000, live.param, 1), 0);
    EXPECT_EQ(attached.DeliverParamChanged(1000000, live.param, 2), 0);
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"u:param:1000000:1"});

    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"a:param:1000000:2"});
}

TEST(XHandlerTest, PostedParamChangeOfAParameterThatIsGoneIsDropped)
{
    Journal journal;
    XLooper looper("gone");
    RecordingHandler handler("h", journal);
    looper.AddHandler(&handler);

    {
        LiveParam live(FakeParam(5));
        handler.NotifyParamChanged(1000000, live.param, 1);
    }                                                     // destroyed while the change waits in the port
    handler.NotifyParamChanged(1000000, FakeParam(6), 2); // never alive
    handler.NotifyParamChanged(1000008, nullptr, 3);      // no parameter: nothing to check

    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"h:param:1000008:3"});
}

TEST(XHandlerTest, UnhandledMessageGoesToTheNextHandlerOfTheSameLooper)
{
    Journal journal;
    XLooper looper("chain");
    RecordingHandler first("first", journal), second("second", journal);
    looper.AddHandler(&first);
    looper.AddHandler(&second);
    first.SetNextHandler(&second);

    XMessage message(kCodeA, 0);
    first.PostMessage(&message);
    looper.LoopOnce(false);
    looper.LoopOnce(false); // the forwarded copy is posted during the first turn's dispatch
    EXPECT_EQ(journal.Take(), (std::vector<std::string>{"first:msg:4001", "second:msg:4001"}));
}

TEST(XHandlerTest, ConcurrentNotifiersReachTheLoopersThreadInOrder)
{
    constexpr int kThreads = 4;
    constexpr int kChangesPerThread = 200;
    Journal journal;
    auto* looper = new XLooper("concurrent");
    RecordingHandler handler("h", journal);
    looper->AddHandler(&handler);
    LiveParam live(FakeParam(9));
    ASSERT_NE(looper->Run(), 0);

    std::vector<std::thread> notifiers;
    for (int t = 0; t < kThreads; ++t)
        notifiers.emplace_back(
            [&, t]
            {
                for (int i = 0; i < kChangesPerThread; ++i)
                    handler.NotifyParamChanged(1000000, live.param, t * 1000 + i);
            });
    for (auto& notifier : notifiers)
        notifier.join();
    ASSERT_TRUE(
        TestSupport::WaitUntil([&] { return journal.Count() == kThreads * kChangesPerThread; }, kWaitMs));
    EXPECT_EQ(handler.lastThread.load(), looper->GetThreadId());

    std::vector<int> nextKey(kThreads, 0);
    for (const std::string& entry : journal.Take())
    {
        const int key = std::stoi(entry.substr(entry.rfind(':') + 1));
        EXPECT_EQ(key % 1000, nextKey[key / 1000]++) << "changes of one thread arrive in order";
    }
    delete looper; // stops the thread and waits for it
    EXPECT_EQ(handler.GetLooper(), nullptr);
}

// Every way the looper's lock, the parameter lock and a parameter's signal lock are taken, at once
// on several threads: notifiers (parameter lock, then signal lock and port), the looper's thread
// delivering posted changes and setting the parameter from a timer (looper lock, then parameter
// lock, then signal lock), and a thread that connects and disconnects slots and watchers. Meant for
// the thread sanitizer build, which reports any two of these locks taken in both orders.
TEST(XHandlerTest, PostedChangesNotifiersAndSlotsTakeTheirLocksInOneOrder)
{
    constexpr int kNotifiers = 2;
    constexpr int kChangesPerNotifier = 300;
    constexpr int32_t kTimerId = 1;
    constexpr int kTimerSets = 50;
    ParamTest::FakeHost host;
    std::atomic<int> slotCalls{0}; // before the parameter: its slot runs until the parameter is gone

    /** Asks the parameter for its value and its signal from the looper's thread, under both locks. */
    class LockTakingWatcher final : public RecordingHandler
    {
    public:
        explicit LockTakingWatcher(Journal& journal) : RecordingHandler("watcher", journal) {}
        void ParamChanged(int32_t code, XParam* param, int32_t key) override
        {
            if (param != nullptr && param->GetValue() >= 0.0 && param->GetSignal().GetConnectionCount() >= 0)
                delivered.fetch_add(1);
            if (GetLooper() != nullptr && GetLooper()->GetThreadId() == CurrentThreadId())
                onLooperThread.fetch_add(1);
        }
        void OnTimer(int32_t timerId) override
        {
            if (timerSets.load() < kTimerSets && param != nullptr)
                param->SetValue(timerSets.fetch_add(1) % 10, true);
        }
        FloatParam* param = nullptr;
        std::atomic<int> delivered{0};
        std::atomic<int> onLooperThread{0};
        std::atomic<int> timerSets{0};
    };

    auto looper = std::make_unique<XLooper>("lock order");
    Journal journal;
    LockTakingWatcher watcher(journal);
    FloatParam param(ParamTest::Desc(0, 0, 10, 0, 11));
    watcher.param = &param;
    ASSERT_TRUE(looper->AddHandler(&watcher));
    param.AddWatcher(&watcher, 1, false);
    param.GetSignal().Connect(
        [&slotCalls](XParam* changed)
        {
            if (!changed->GetFullPath().IsEmpty() || changed->GetValue() >= 0.0)
                slotCalls.fetch_add(1);
        });
    ASSERT_NE(looper->Run(), 0);
    looper->SetTimer(&watcher, kTimerId, 1, false);

    std::atomic<bool> notifying{true};
    std::thread connector(
        [&]
        {
            XHandler unattached("unattached");
            while (notifying.load())
            {
                const int32_t id =
                    param.GetSignal().Connect([](XParam* changed) { changed->GetWatcherCount(); });
                param.AddWatcher(&unattached, 2, true);
                param.RemoveWatcher(&unattached);
                param.GetSignal().Disconnect(id);
            }
        });
    std::vector<std::thread> notifiers;
    for (int n = 0; n < kNotifiers; ++n)
        notifiers.emplace_back(
            [&, n]
            {
                for (int i = 0; i < kChangesPerNotifier; ++i)
                    param.SetValue((n + i) % 10, true);
            });
    for (std::thread& notifier : notifiers)
        notifier.join();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return watcher.timerSets.load() >= kTimerSets; }, kWaitMs));
    notifying.store(false);
    connector.join();
    looper->CancelTimer(&watcher, kTimerId);

    // Every posted change has reached the watcher on the looper's thread once the port is empty.
    XMessage marker(kCodeA, 0);
    std::atomic<bool> markerSeen{false};
    ASSERT_TRUE(watcher.AddDelegate(
        kCodeA, [](void* seen, XMessage&) { static_cast<std::atomic<bool>*>(seen)->store(true); },
        &markerSeen));
    ASSERT_EQ(watcher.PostMessage(&marker), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return markerSeen.load(); }, kWaitMs));
    EXPECT_GT(watcher.delivered.load(), 0);
    EXPECT_EQ(watcher.onLooperThread.load(), watcher.delivered.load());
    EXPECT_GT(slotCalls.load(), 0);

    param.RemoveWatcher(&watcher);
    looper->RemoveHandler(&watcher);
    looper.reset();
}
