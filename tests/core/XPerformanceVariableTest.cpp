#include "core/XPerformanceVariable.h"

#include "ChildScenario.h"
#include "LooperTestSupport.h"
#include "XStringPrinter.h"
#include "core/IPropertyData.h"
#include "core/XApplication.h"
#include "platform/PlatformClock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{
/** Time runs this much faster in the child process, so the application's fixed pauses stay short. */
constexpr double kScenarioTimeScale = 10.0;

/** Records (object, property id) of every notice. */
class Watcher final : public IPropertyWatcher
{
public:
    void PropertyDataChanged(IPropertyData* object, int32_t propertyId) override
    {
        std::lock_guard<std::mutex> hold(lock);
        notices.emplace_back(object, propertyId);
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> hold(lock);
        return notices.size();
    }
    std::vector<std::pair<IPropertyData*, int32_t>> notices;
    std::mutex lock;
};

TEST(XPerformanceVariableTest, RegistrationIgnoresCaseAndKeepsTheFirstObject)
{
    IPropertyData first;
    first.Register("Mixer Load");
    EXPECT_EQ(first.GetName(), "Mixer Load");
    {
        IPropertyData second;
        second.Register("MIXER load");
        EXPECT_EQ(second.GetName(), "") << "the name is taken";
        EXPECT_EQ(FindPropertyData("mixer LOAD"), &first);
    }
    EXPECT_EQ(FindPropertyData("Mixer Load"), &first) << "the refused object took nothing with it";
    EXPECT_EQ(FindPropertyData(""), nullptr);
    EXPECT_EQ(FindPropertyData(nullptr), nullptr);

    {
        IPropertyData shortLived;
        shortLived.Register("Short Lived");
        EXPECT_EQ(FindPropertyData("short lived"), &shortLived);
    }
    EXPECT_EQ(FindPropertyData("short lived"), nullptr) << "a destroyed object leaves the map";
}

TEST(XPerformanceVariableTest, PropertiesReadAndWriteByIdAndKind)
{
    XPerformanceVariable variable;
    variable.AddMeasurement(1000);
    variable.AddMeasurement(2500);
    variable.SetCpuPercent(12.345);

    struct Case
    {
        int32_t id;
        const char* name;
        int32_t kind;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, "Total Micros", IPropertyData::kKindInteger, "3500"},
        {2, "Measurements", IPropertyData::kKindInteger, "2"},
        {3, "Avg Micros", IPropertyData::kKindReal, "1,750.00"},
        {4, "Peak Micros", IPropertyData::kKindInteger, "2500"},
        {5, "CPU %", IPropertyData::kKindReal, "12.35"},
        {6, "uS Per Sample", IPropertyData::kKindReal, "0.00"}, // never stored: reads 0
        {7, "Frame Micros", IPropertyData::kKindReal, "0.00"},
        {8, "", IPropertyData::kKindInvalid, "invalid"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(variable.GetPropertyName(c.id), c.name) << c.id;
        EXPECT_EQ(variable.GetPropertyKind(c.id), c.kind) << c.id;
        EXPECT_EQ(variable.GetPropertyText(c.id), c.text) << c.id;
    }
    EXPECT_EQ(variable.GetIntegerProperty(8), 2500) << "id 8 holds the last measurement";
    EXPECT_EQ(variable.GetLowLimit(), 5000);
    EXPECT_EQ(variable.GetHighLimit(), 30000);
}

/** A bool property and a kind the base does not know, to see the base's text rules. */
class FlagData final : public IPropertyData
{
public:
    int32_t GetPropertyKind(int32_t id) const override { return id; }
    int32_t GetIntegerProperty(int32_t id) const override { return 1; }
};

TEST(XPerformanceVariableTest, BaseTextsFollowTheKind)
{
    FlagData data;
    EXPECT_EQ(data.GetPropertyText(IPropertyData::kKindBool), "On");
    EXPECT_EQ(data.GetPropertyText(IPropertyData::kKindReal3), "0.00");
    EXPECT_EQ(data.GetPropertyText(9), "");
}

TEST(XPerformanceVariableTest, WatchersAreToldInOrderFromManyThreads)
{
    IPropertyData data;
    Watcher first;
    Watcher second;
    data.AddWatcher(&first);
    data.AddWatcher(&second);
    data.AddWatcher(&first); // once only
    data.NotifyWatchers(3);
    ASSERT_EQ(first.notices.size(), 1u);
    EXPECT_EQ(first.notices[0], std::make_pair(static_cast<IPropertyData*>(&data), 3));

    // Notices and measurements from several threads at once (meaningful under the thread sanitizer).
    XPerformanceVariable variable;
    variable.AddWatcher(&second);
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [&]
            {
                for (int i = 0; i < kRounds; ++i)
                {
                    data.NotifyWatchers(IPropertyData::kAllProperties);
                    variable.AddMeasurement(i);
                    variable.NotifyWatchers(1);
                    (void)variable.GetPropertyText(3);
                }
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(first.Count(), 1u + kThreads * kRounds);
    EXPECT_EQ(second.Count(), 1u + 2u * kThreads * kRounds);
    EXPECT_EQ(variable.GetIntegerProperty(XPerformanceVariable::kIdMeasurements), kThreads * kRounds);
    EXPECT_EQ(variable.GetIntegerProperty(XPerformanceVariable::kIdPeakMicros), kRounds - 1);
    data.RemoveWatcher(&first);
    data.RemoveWatcher(&second);
    variable.RemoveWatcher(&second);
}

int RunPublisher()
{
    int failures = 0;
    PlatformClock::SetTimeScale(kScenarioTimeScale);
    LooperTest::FakeClock clock(50000);
    XApplication app("PerformanceTest");
    app.SetTickClock(&clock);

    XPerformanceVariable quiet;
    XPerformanceVariable busy;
    Watcher watcher;
    quiet.AddWatcher(&watcher);
    busy.AddWatcher(&watcher);
    quiet.Register("Quiet");
    busy.Register("Busy");
    busy.AddMeasurement(100);

    clock.Advance(1999);
    app.PumpMessages();
    SCENARIO_CHECK(watcher.Count() == 0); // not yet due
    clock.Advance(1);
    app.PumpMessages();
    SCENARIO_CHECK(watcher.Count() == 1); // only the changed variable, for all its properties
    SCENARIO_CHECK(watcher.notices[0] == std::make_pair(static_cast<IPropertyData*>(&busy), -1));
    SCENARIO_CHECK(!busy.IsChanged());

    clock.Advance(2000);
    app.PumpMessages();
    SCENARIO_CHECK(watcher.Count() == 1); // nothing changed since
    quiet.SetCpuPercent(3.0);
    clock.Advance(2000);
    app.PumpMessages();
    SCENARIO_CHECK(watcher.Count() == 2);
    SCENARIO_CHECK(watcher.notices[1].first == &quiet);
    quiet.RemoveWatcher(&watcher);
    busy.RemoveWatcher(&watcher);
    return failures == 0 ? 0 : 1;
}

TEST(XPerformanceVariableTest, PublisherFiresEvery2000MsOnTheApplicationLooper)
{
    ChildScenario::ExpectPasses(RunPublisher);
}
} // namespace
