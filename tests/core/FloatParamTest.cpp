#include "core/FloatParam.h"

#include "support/ParamTestSupport.h"
#include "core/GainLaws.h"
#include "core/XMessageCodes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kFlagsChanged = static_cast<int32_t>(XMsgCode::kParamFlagsChanged);

XString LevelNames(XParam*, double value, int32_t)
{
    static const char* const names[] = {"Low", "Mid", "High"};
    const int index = static_cast<int>(value);
    return XString(index >= 0 && index < 3 ? names[index] : "?");
}

XString ModeText(XParam*, double, int32_t)
{
    return XString("Mode:Cut|Boost");
}

XString RatioFormat(XParam*, double, int32_t, int32_t)
{
    return XString("Gain:3|1");
}

/** What the edit callbacks saw. */
struct CallbackLog
{
    std::vector<int32_t> eventTypes;
    std::vector<float> eventValues;
    std::vector<int32_t> vetoPhases;
    bool eventAnswer = true;
    bool vetoAnswer = true;
    double vetoRewrite = std::numeric_limits<double>::quiet_NaN();
};
CallbackLog* activeLog = nullptr;

bool LogEvent(XParam*, XParamEvent* event, int32_t)
{
    activeLog->eventTypes.push_back(event->type);
    activeLog->eventValues.push_back(event->value);
    EXPECT_NE(0u, event->tick);
    return activeLog->eventAnswer;
}

bool LogVeto(XParam*, double* value, int32_t, int32_t phase)
{
    activeLog->vetoPhases.push_back(phase);
    if (phase == 1 && !std::isnan(activeLog->vetoRewrite))
        *value = activeLog->vetoRewrite;
    return activeLog->vetoAnswer;
}

/** Callbacks that log into activeLog: the event callback, and the veto callback when asked. */
XParamDescExt LoggingExt(bool withVeto)
{
    XParamDescExt ext;
    ext.eventCallback = LogEvent;
    ext.vetoCallback = withVeto ? LogVeto : nullptr;
    return ext;
}

/** A 0..10 row of 11 steps with the callbacks of ext. */
XParamDesc DescWithExt(const XParamDescExt& ext)
{
    XParamDesc desc = Desc(0, 0, 10, 0, 11);
    desc.ext = &ext;
    return desc;
}

class FloatParamTest : public ::testing::Test
{
protected:
    void SetUp() override { activeLog = &log; }
    void TearDown() override { activeLog = nullptr; }

    FakeHost host;
    CallbackLog log;
};
} // namespace

TEST_F(FloatParamTest, ValueTextsFollowTheUnitCode)
{
    struct Case
    {
        int32_t type;
        double min, max;
        uint32_t count;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {9, 20, 20000, 1001, 999.5, "999.50 Hz"},
        {9, 20, 20000, 1001, 1000, "1000.00 Hz"},
        {9, 20, 20000, 1001, 1500, "1.50 kHz"},
        {14, -96, 0, 101, -96, "-oo dB"},
        {14, -96, 0, 101, -120, "-oo dB"},
        {14, -96, 0, 101, -95.99, "-95.99 dB"},
        {18, -96, 10, 101, 10, "10.00 dB"},
        {18, -96, 10, 101, -96, "-oo dB"},
        {19, 0, 100, 101, 50, "C"},
        {19, 0, 100, 101, 30, "L 20"},
        {19, 0, 100, 101, 75, "R 25"},
        {2, 0, 1, 2, 0, "Off"},
        {2, 0, 1, 2, 0.5, "On"},
        {3, 0, 1, 101, 0.255, "25%"},
        {3, 0, 1, 101, 0.29, "29%"},
        {3, 0, 1, 101, static_cast<float>(0.29), "29%"},
        {3, 0, 1, 101, 0.57, "57%"},
        {3, 0, 1, 101, 1.0, "100%"},
        {3, -1, 1, 201, -0.29, "-29%"},
        {1, 0, 10, 11, 3.9, "3"},
        {1, -10, 10, 21, -2.5, "-2"},
        {4, 0, 10, 101, 1.5, "1.50 s"},
        {5, 0, 10, 101, 2.5, "2.5 ms"},
        {0, 0, 10, 101, 1.234, "1.23"},
    };
    for (const Case& c : cases)
    {
        FloatParam param(Desc(c.type, c.min, c.max, c.min, c.count));
        EXPECT_STREQ(c.text, param.ValueToText(c.value).CStr()) << "type " << c.type << " value " << c.value;
    }
}

TEST_F(FloatParamTest, PercentStepsShowTheirOwnNumber)
{
    FloatParam percent(Desc(3, 0, 1, 0, 101));
    for (int32_t index = 0; index <= 100; ++index)
        EXPECT_EQ(std::to_string(index) + "%", percent.ValueToText(percent.IndexToValue(index)).CStr());
}

TEST_F(FloatParamTest, DisplayTextKeepsWhatFollowsTheLastColon)
{
    FloatParam format(Desc(0, 0, 10, 0, 11));
    format.SetFormatCallback(RatioFormat, 0, 0);
    EXPECT_STREQ("3:1", format.GetDisplayText().CStr());

    FloatParam text(Desc(0, 0, 10, 0, 11));
    text.SetTextCallback(ModeText, 0);
    EXPECT_STREQ("Cut:Boost", text.GetDisplayText().CStr());
    EXPECT_STREQ("Mode:Cut|Boost", text.GetText().CStr());

    FloatParam plain(Desc(9, 20, 20000, 1500, 1001));
    EXPECT_STREQ("1.50 kHz", plain.GetDisplayText().CStr());
}

TEST_F(FloatParamTest, FaderLawMatchesItsMarks)
{
    FloatParam fader(Desc(18, -96, 10, 0, 101));
    struct Case
    {
        int32_t index;
        double db;
    };
    const Case cases[] = {{100, 10}, {52, -10}, {16, -40}, {4, -60}, {0, -96}, {76, 0}};
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ(c.db, fader.IndexToValue(c.index)) << c.index;
        EXPECT_EQ(c.index, fader.ValueToIndex(c.db)) << c.db;
    }
    EXPECT_EQ(52, fader.ValueToIndex(-10));
    for (float pos = 0; pos <= 100; pos += 0.5f)
        EXPECT_NEAR(pos, GainLaws::DbToFaderPos(GainLaws::FaderPosToDb(pos)), 1e-3) << pos;
}

TEST_F(FloatParamTest, CubicGainLawRunsFromFloorToZero)
{
    FloatParam gain(Desc(14, -96, 0, 0, 101));
    EXPECT_DOUBLE_EQ(-96.0, gain.IndexToValue(0));
    EXPECT_DOUBLE_EQ(0.0, gain.IndexToValue(100));
    EXPECT_DOUBLE_EQ(0.0, gain.IndexToValue(101));
    EXPECT_NEAR(20 * std::log10(0.125), gain.IndexToValue(50), 1e-4);
    EXPECT_EQ(0, gain.ValueToIndex(-96));
    EXPECT_EQ(100, gain.ValueToIndex(0));
}

TEST_F(FloatParamTest, LinearStepsRoundToTheNearestIndexAndCapAtMax)
{
    FloatParam param(Desc(0, 0, 1, 0, 101));
    EXPECT_NEAR(0.29, param.IndexToValue(29), 1e-6);
    EXPECT_EQ(29, param.ValueToIndex(0.29));
    EXPECT_EQ(29, param.ValueToIndex(0.294));
    EXPECT_EQ(30, param.ValueToIndex(0.296));
    EXPECT_DOUBLE_EQ(1.0, param.IndexToValue(1000));

    FloatParam flat(Desc(0, 5, 5, 5, 1));
    EXPECT_EQ(0, flat.ValueToIndex(5));
    EXPECT_DOUBLE_EQ(5.0, flat.IndexToValue(3));
}

TEST_F(FloatParamTest, SetValueReportsOnlyRealWritesAndClampsAfterComparing)
{
    Recorder watcher;
    FloatParam param(Desc(1, 0, 10, 10, 11));
    param.AddWatcher(&watcher, 7, false);

    EXPECT_FALSE(param.SetValue(10, true));
    EXPECT_TRUE(watcher.Notes().empty());
    EXPECT_EQ(0, host.marks.load());

    EXPECT_TRUE(param.SetValue(11, true));
    EXPECT_DOUBLE_EQ(10.0, param.GetValue());
    EXPECT_EQ((std::vector<int32_t>{kSet}), watcher.Codes());
    EXPECT_EQ(&param, watcher.Notes()[0].param);
    EXPECT_EQ(7, watcher.Notes()[0].key);

    EXPECT_TRUE(param.SetValue(-3, false));
    EXPECT_DOUBLE_EQ(0.0, param.GetValue());
    EXPECT_EQ(1u, watcher.Notes().size());
    EXPECT_EQ(2, host.marks.load());
}

TEST_F(FloatParamTest, NonFiniteValuesAreRefused)
{
    Recorder watcher;
    FloatParam param(Desc(0, 0, 10, 4, 11));
    param.AddWatcher(&watcher, 0, false);
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (double v : bad)
    {
        EXPECT_FALSE(param.SetValue(v, true));
        EXPECT_FALSE(param.SetValueNow(v, true));
        EXPECT_FALSE(param.ChangeValue(v, true));
        EXPECT_FALSE(param.SetNormalised(v, true));
        param.SetMin(v);
        param.SetMax(v);
    }
    EXPECT_FALSE(param.ChangeText("nan", true));
    EXPECT_DOUBLE_EQ(4.0, param.GetValue());
    EXPECT_DOUBLE_EQ(0.0, param.GetMin());
    EXPECT_DOUBLE_EQ(10.0, param.GetMax());
    EXPECT_TRUE(watcher.Notes().empty());
}

TEST_F(FloatParamTest, ChangeValueAsksTheEventCallbackElseTheVeto)
{
    XParamDescExt ext = LoggingExt(true);
    const XParamDesc desc = DescWithExt(ext);
    FloatParam withEvent(desc);
    Recorder watcher;
    withEvent.AddWatcher(&watcher, 0, false);

    log.eventAnswer = false;
    EXPECT_FALSE(withEvent.ChangeValue(3, true));
    EXPECT_DOUBLE_EQ(0.0, withEvent.GetValue());
    log.eventAnswer = true;
    EXPECT_TRUE(withEvent.ChangeValue(3, true));
    EXPECT_DOUBLE_EQ(3.0, withEvent.GetValue());
    EXPECT_EQ((std::vector<int32_t>{1, 1}), log.eventTypes);
    EXPECT_FLOAT_EQ(3.0f, log.eventValues.back());
    EXPECT_TRUE(log.vetoPhases.empty());
    EXPECT_EQ((std::vector<int32_t>{kUser}), watcher.Codes());

    ext.eventCallback = nullptr;
    FloatParam withVeto(desc);
    log.vetoRewrite = 6;
    EXPECT_TRUE(withVeto.ChangeValue(2, true));
    EXPECT_DOUBLE_EQ(6.0, withVeto.GetValue());
    log.vetoAnswer = false;
    EXPECT_FALSE(withVeto.ChangeValue(9, true));
    EXPECT_DOUBLE_EQ(6.0, withVeto.GetValue());
    EXPECT_EQ((std::vector<int32_t>{1, 1}), log.vetoPhases);
}

TEST_F(FloatParamTest, TransientParametersNeverMarkTheDocument)
{
    FloatParam transient(Desc(0, 0, 10, 0, 11, XParamDesc::kFlagTransient));
    EXPECT_TRUE(transient.SetValue(1, true));
    EXPECT_TRUE(transient.ChangeValue(2, true));
    EXPECT_TRUE(transient.SetText("3", true));
    EXPECT_EQ(0, host.marks.load());

    FloatParam kept(Desc(0, 0, 10, 0, 11));
    EXPECT_TRUE(kept.ChangeValue(2, true));
    EXPECT_EQ(1, host.marks.load());
    EXPECT_TRUE(kept.SetValueNow(5, true));
    EXPECT_EQ(1, host.marks.load());
}

TEST_F(FloatParamTest, ChangeTickStampsWhileTrackingAndAlwaysForSetValueNow)
{
    FloatParam param(Desc(0, 0, 10, 0, 11));
    EXPECT_EQ(0u, param.GetLastChangeTick());
    param.SetChangeTracking(false);
    EXPECT_TRUE(param.SetValue(1, false));
    EXPECT_EQ(0u, param.GetLastChangeTick());
    EXPECT_TRUE(param.SetValueNow(2, false));
    EXPECT_NE(0u, param.GetLastChangeTick());

    FloatParam tracked(Desc(0, 0, 10, 0, 11));
    EXPECT_TRUE(tracked.SetValue(1, false));
    EXPECT_NE(0u, tracked.GetLastChangeTick());
}

TEST_F(FloatParamTest, SteppingWrapsSwitchesAndStopsAtTheEndsOtherwise)
{
    struct Case
    {
        XParamDesc desc;
        double start;
        int32_t steps;
        double expected;
    };
    const Case cases[] = {
        {Desc(2, 0, 1, 0, 2), 1, +1, 0},     {Desc(2, 0, 1, 0, 2), 0, +1, 1},
        {Desc(2, 0, 1, 0, 2), 0, -1, 1},     {Desc(2, 0, 1, 0, 2), 1, -1, 0},
        {Desc(1, 0, 10, 0, 11), 10, +1, 10}, {Desc(1, 0, 10, 0, 11), 0, -1, 0},
        {Desc(1, 0, 10, 0, 11), 2, +3, 5},   {Desc(1, 0, 10, 0, 11), 9, -4, 5},
        {Desc(0, 0, 2, 0, 2), 2, +1, 0},     {Desc(0, 0, 2, 0, 2), 0, -1, 2},
    };
    for (const Case& c : cases)
    {
        FloatParam param(c.desc);
        param.SetValue(c.start, false);
        param.StepBy(c.steps, true);
        EXPECT_DOUBLE_EQ(c.expected, param.GetValue())
            << "type " << c.desc.type << " from " << c.start << " by " << c.steps;
    }
    FloatParam top(Desc(1, 0, 10, 10, 11));
    EXPECT_FALSE(top.StepBy(1, true));
    EXPECT_TRUE(FloatParam(Desc(2, 0, 1, 0, 2)).WrapsOnStep());
    EXPECT_FALSE(FloatParam(Desc(1, 0, 10, 0, 11)).WrapsOnStep());
    EXPECT_FALSE(FloatParam(Desc(0, 1, 2, 1, 2)).WrapsOnStep());
}

TEST_F(FloatParamTest, TextEntryReadsNumbersAndPositionTexts)
{
    struct Case
    {
        XParamDesc desc;
        const char* text;
        bool accepted;
        double expected;
    };
    const Case cases[] = {
        {Desc(1, 0, 100, 50, 101), "12", true, 12},   {Desc(1, 0, 100, 50, 101), "-5", true, 0},
        {Desc(1, 0, 100, 50, 101), "2.9", true, 2},   {Desc(1, 0, 100, 50, 101), "-2.9", true, 0},
        {Desc(1, 0, 100, 50, 101), "abc", false, 50}, {Desc(1, 0, 100, 50, 101), "", false, 50},
        {Desc(1, 0, 100, 50, 101), "1e2", false, 50}, {Desc(2, 0, 1, 0, 2), "On", true, 1},
        {Desc(2, 0, 1, 1, 2), "Off", true, 0},        {Desc(2, 0, 1, 0, 2), "on", false, 0},
    };
    for (const Case& c : cases)
    {
        FloatParam param(c.desc);
        EXPECT_EQ(c.accepted, param.SetText(c.text, true)) << c.text;
        EXPECT_DOUBLE_EQ(c.expected, param.GetValue()) << c.text;
    }

    FloatParam named(Desc(1, 0, 2, 0, 3));
    named.SetTextCallback(LevelNames, 0);
    EXPECT_TRUE(named.SetText("Mid", true));
    EXPECT_DOUBLE_EQ(1.0, named.GetValue());
    EXPECT_FALSE(named.SetText("mid", true));
}

TEST_F(FloatParamTest, UserTextEntryOfPercentDividesByAHundred)
{
    struct Case
    {
        const char* text;
        bool accepted;
        double expected;
    };
    const Case cases[] = {{"50", true, 0.5},   {"12.5", true, 0.125}, {"75 %", true, 0.75},
                          {"abc", false, 0.2}, {"", false, 0.2},      {"inf", false, 0.2}};
    for (const Case& c : cases)
    {
        FloatParam percent(Desc(3, 0, 1, 0.2, 101));
        EXPECT_EQ(c.accepted, percent.ChangeText(c.text, true)) << c.text;
        EXPECT_DOUBLE_EQ(c.expected, percent.GetValue()) << c.text;
    }
    FloatParam gain(Desc(0, -20, 20, 0, 401));
    EXPECT_TRUE(gain.ChangeText("-2.5", true));
    EXPECT_DOUBLE_EQ(-2.5, gain.GetValue());
    EXPECT_FALSE(gain.ChangeText("loud", true));
}

TEST_F(FloatParamTest, EditEventsDriveTheValue)
{
    FloatParam param(Desc(0, 0, 10, 0, 11));
    XParamEvent position{XParamEvent::kSetPosition, 0.5f, 1, 0};
    EXPECT_TRUE(param.ApplyEvent(&position));
    EXPECT_DOUBLE_EQ(5.0, param.GetValue());

    XParamEvent delta{XParamEvent::kAddDelta, 7.0f, 1, 0};
    EXPECT_FALSE(param.ApplyEvent(&delta));
    EXPECT_DOUBLE_EQ(10.0, param.GetValue());

    XParamEvent step{XParamEvent::kSetStepIndex, 4.0f, 1, 0};
    EXPECT_TRUE(param.ApplyEvent(&step));
    EXPECT_DOUBLE_EQ(4.0, param.GetValue());

    XParamEvent begin{XParamEvent::kBeginEdit, 0, 1, 0};
    XParamEvent end{XParamEvent::kEndEdit, 0, 1, 0};
    param.ApplyEvent(&begin);
    EXPECT_TRUE(param.IsEditing());
    param.ApplyEvent(&end);
    EXPECT_FALSE(param.IsEditing());

    XParamDescExt ext = LoggingExt(false);
    const XParamDesc desc = DescWithExt(ext);
    FloatParam refusing(desc);
    log.eventAnswer = false;
    EXPECT_FALSE(refusing.ApplyEvent(&position));
    EXPECT_DOUBLE_EQ(0.0, refusing.GetValue());
}

TEST_F(FloatParamTest, BeginAndEndEditTellBothCallbacks)
{
    XParamDescExt ext = LoggingExt(true);
    const XParamDesc desc = DescWithExt(ext);
    FloatParam param(desc);
    EXPECT_TRUE(param.BeginEdit());
    EXPECT_TRUE(param.IsEditing());
    EXPECT_TRUE(param.EndEdit());
    EXPECT_FALSE(param.IsEditing());
    EXPECT_EQ((std::vector<int32_t>{0, 2}), log.vetoPhases);
    EXPECT_EQ((std::vector<int32_t>{0, 6}), log.eventTypes);
}

TEST_F(FloatParamTest, FlagChangesNotifyOnce)
{
    Recorder watcher;
    FloatParam param(Desc(0, 0, 1, 0, 2));
    param.AddWatcher(&watcher, 0, false);
    param.SetFlags(XParamDesc::kFlagDevice8);
    param.SetFlags(XParamDesc::kFlagDevice8);
    EXPECT_EQ(XParamDesc::kFlagDevice8, param.GetFlags());
    EXPECT_EQ((std::vector<int32_t>{kFlagsChanged}), watcher.Codes());
    EXPECT_NE(0u, param.GetLastChangeTick());
}

TEST_F(FloatParamTest, ValueMapAndResetToDefault)
{
    FloatParam param(Desc(0, 0, 10, 3, 11));
    param.SetValueMapCallback([](XParam*, double stored, int32_t user) { return stored * user; }, 2);
    EXPECT_DOUBLE_EQ(6.0, param.GetValue());
    param.SetValueMapCallback(nullptr, 0);
    EXPECT_TRUE(param.SetValue(8, false));
    EXPECT_TRUE(param.ResetToDefault());
    EXPECT_DOUBLE_EQ(3.0, param.GetValue());
}
