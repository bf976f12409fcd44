#include "support/ParamTestSupport.h"
#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XLooper.h"
#include "support/TestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <thread>
#include <vector>

using ParamTest::Desc;

namespace
{
constexpr int kSharedParams = 8;
constexpr int kGroupParams = 32;
constexpr int kSetterThreads = 3;
/** Rounds of each setter after the group is gone. */
constexpr int kRoundsAfterGroup = 2000;
constexpr int kWaitMs = 60000;

/** Counts what it is told and reads the parameter back, as a bound view would. */
class CountingWatcher final : public XHandler
{
public:
    CountingWatcher() = default;
    // Destroyed while other threads notify: off the lists before any of it is torn down.
    ~CountingWatcher() override { XParam::ForgetWatcher(this); }

    void ParamChanged(int32_t code, XParam* param, int32_t key) override
    {
        if (param != nullptr)
            lastValue.store(param->GetValue());
        count.fetch_add(1);
    }
    std::atomic<int> count{0};
    std::atomic<double> lastValue{0.0};
};
} // namespace

// Values set from three threads while watchers come and go (some destroyed without removing
// themselves) and a group of parameters that watch the shared ones is destroyed, with changes also
// posted to a looper thread. Meant for the thread and address sanitizer builds.
TEST(XParamStress, SettersWatchersAndAGroupDestroyedAtOnce)
{
    std::vector<std::unique_ptr<FloatParam>> shared;
    for (int i = 0; i < kSharedParams; ++i)
    {
        shared.push_back(std::make_unique<FloatParam>(Desc(0, 0, 100, 0, 101)));
        ASSERT_TRUE(shared.back()->SetPath("Stress\\Shared%d", i));
    }

    auto looper = std::make_unique<XLooper>("ParamStressLooper");
    ASSERT_NE(0, looper->Run());
    CountingWatcher posted;
    ASSERT_TRUE(looper->AddHandler(&posted));
    CountingWatcher direct;

    std::vector<std::unique_ptr<FloatParam>> group;
    for (int i = 0; i < kGroupParams; ++i)
    {
        group.push_back(std::make_unique<FloatParam>(Desc(0, 0, 100, 0, 101)));
        ASSERT_TRUE(group.back()->SetPath("Stress\\Group\\%d", i));
        shared[i % kSharedParams]->AddWatcher(group.back().get(), i, false);
        group.back()->AddWatcher(&posted, i, false);
        group.back()->AddWatcher(&direct, i, false);
    }

    std::atomic<bool> stop{false};
    std::atomic<int> rounds{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kSetterThreads; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                std::mt19937 random(static_cast<unsigned>(t + 1));
                for (int round = 0; !stop.load(); ++round)
                {
                    FloatParam& param = *shared[random() % kSharedParams];
                    const double value = static_cast<double>(random() % 101);
                    switch (round % 4)
                    {
                    case 0:
                        param.SetValue(value, true);
                        break;
                    case 1:
                        param.ChangeValue(value, true);
                        break;
                    case 2:
                        param.SetValueNow(value, true);
                        break;
                    default:
                        param.StepBy(1, true);
                        break;
                    }
                    (void)FindParam("Stress\\Group\\%d", static_cast<int>(random() % kGroupParams));
                    rounds.fetch_add(1);
                }
            });
    }
    threads.emplace_back(
        [&]
        {
            std::mt19937 random(99);
            while (!stop.load())
            {
                auto watcher = std::make_unique<CountingWatcher>();
                FloatParam& param = *shared[random() % kSharedParams];
                param.AddWatcher(watcher.get(), 1, random() % 2 == 0);
                param.AddWatcher(watcher.get(), 2, false);
                std::this_thread::yield();
                if (random() % 2 == 0)
                    param.RemoveWatcher(watcher.get());
                // Destroyed with one or both entries still listed: it must take itself off.
            }
        });

    ASSERT_TRUE(TestSupport::WaitUntil([&] { return direct.count.load() > 200; }, kWaitMs));
    for (auto& param : group)
        param.reset();
    const int roundsAtEnd = rounds.load() + kSetterThreads * kRoundsAfterGroup;
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return rounds.load() >= roundsAtEnd; }, kWaitMs));
    stop.store(true);
    for (std::thread& thread : threads)
        thread.join();

    for (auto& param : shared)
        EXPECT_EQ(0, param->GetWatcherCount());
    EXPECT_EQ(nullptr, FindParam("Stress\\Group\\0"));
    looper->RemoveHandler(&posted);
    looper.reset();
}
