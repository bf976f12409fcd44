// Delays as distances at the speed of sound for the air temperature global\Temp.

#include "device/DelayUnits.h"

#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XParamGroup.h"
#include "device/GlobalParamTables.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
/** The editor's global settings, which hold global\Temp (20 degrees at first). */
class GlobalSettings
{
public:
    GlobalSettings() : group("main")
    {
        group.AddParams(GlobalSettingsParamTable, GlobalParamTables::kGlobalSettingsPrefix);
    }
    void SetTemperature(double celsius)
    {
        ASSERT_NE(FindParam("global\\Temp"), nullptr);
        FindParam("global\\Temp")->SetValue(celsius, false);
    }

private:
    XParamGroup group;
};

std::string Text(ParamTextCallback callback, double value)
{
    return callback(nullptr, value, 0).CStr();
}
} // namespace

TEST(DelayUnitsTest, TwentyDegreesWithoutTheTemperatureParameter)
{
    ASSERT_EQ(FindParam("global\\Temp"), nullptr);
    EXPECT_EQ(CurrentTemperature(), 20.0);
    EXPECT_NEAR(DelayMsToMeters(10.0), 3.432, 1e-12);
    EXPECT_NEAR(DelayMsToFeet(10.0), 11.2597, 1e-4);
    EXPECT_NEAR(MetersToDelayMs(1.0), 2.9138, 1e-4);
}

TEST(DelayUnitsTest, TheSpeedOfSoundFollowsTheTemperatureAtEveryCall)
{
    GlobalSettings settings;
    struct Case
    {
        double celsius;
        double metersPerSecond;
    };
    const Case cases[] = {{20.0, 343.2}, {-20.0, 318.8}, {60.0, 367.6}, {0.0, 331.0}};
    for (const Case& c : cases)
    {
        settings.SetTemperature(c.celsius);
        EXPECT_EQ(CurrentTemperature(), c.celsius);
        EXPECT_NEAR(DelayMsToMeters(1000.0), c.metersPerSecond, 1e-9) << c.celsius;
        EXPECT_NEAR(DelayMsToFeet(1000.0), c.metersPerSecond * 3.2808, 1e-9) << c.celsius;
        EXPECT_NEAR(MetersToDelayMs(c.metersPerSecond), 1000.0, 1e-9) << c.celsius;
        EXPECT_NEAR(FeetToDelayMs(c.metersPerSecond * 3.2808), 1000.0, 1e-9) << c.celsius;
        for (double ms : {-200.0, 0.02, 12.34, 700.0})
        {
            EXPECT_NEAR(MetersToDelayMs(DelayMsToMeters(ms)), ms, 1e-9);
            EXPECT_NEAR(FeetToDelayMs(DelayMsToFeet(ms)), ms, 1e-9);
        }
    }
    // Temp is clamped to its range, so the speed never leaves 318.8..367.6 m/s.
    settings.SetTemperature(-300.0);
    EXPECT_NEAR(DelayMsToMeters(1000.0), 318.8, 1e-9);
}

TEST(DelayUnitsTest, TextsFormatTheirUnit)
{
    EXPECT_EQ(Text(MetersText, 3.432), "3.43 meters");
    EXPECT_EQ(Text(FeetText, 11.2597), "11.26 feet");
    EXPECT_EQ(Text(MicrosecondsText, 1250.4), "1250 us");
    EXPECT_EQ(Text(CentimetersText, 343.26), "343.3 cm");
    EXPECT_EQ(Text(InchesText, 135.11), "135.1 inches");
}
