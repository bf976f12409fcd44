#include "core/Timecode.h"

#include "XStringPrinter.h"
#include "core/TimeOptions.h"
#include "core/TimeParam.h"
#include "core/XMessageCodes.h"
#include "core/XResult.h"
#include "core/XTimeValue.h"
#include "support/ParamTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChanged = static_cast<int32_t>(XMsgCode::kParamChangedByUser);

/** The frame-rate parameter "sync\TimeCodeFrameRate" at a kind, registered while the object lives. */
class ScopedFrameRate final
{
public:
    explicit ScopedFrameRate(int32_t kind) : param(Desc(XParamDesc::kTypeInteger, 0, 100, kind, 101))
    {
        EXPECT_TRUE(param.SetPath("%s", Timecode::kFrameRatePath));
    }
    void Set(int32_t kind) { param.SetValue(kind, false); }

private:
    FloatParam param;
};

TimecodeFields Fields(int h, int m, int s, int f, int sub = 0)
{
    TimecodeFields fields;
    fields.hours = static_cast<uint8_t>(h);
    fields.minutes = static_cast<uint8_t>(m);
    fields.seconds = static_cast<uint8_t>(s);
    fields.frames = static_cast<uint8_t>(f);
    fields.subFrames = static_cast<uint16_t>(sub);
    return fields;
}

class TimecodeTest : public ::testing::Test
{
protected:
    FakeHost host;
};
} // namespace

TEST_F(TimecodeTest, WithoutTheFrameRateParameterTheKindIsThirtyNonDrop)
{
    EXPECT_EQ(Timecode::GetFrameRateKind(), Timecode::k30NonDrop);
    EXPECT_EQ(Timecode::FramesToSamples(30), 48000);
    EXPECT_EQ(Timecode::SamplesToFrames(47999), 29u);
    EXPECT_EQ(Timecode::TimecodeToText(Timecode::FramesToTimecode(1800), false), "00:01:00:00");
}

TEST_F(TimecodeTest, DropFrameCountSkipsTwoFramesEveryMinuteButTheTenth)
{
    ScopedFrameRate rate(Timecode::k2997Drop);
    ASSERT_EQ(Timecode::GetFrameRateKind(), Timecode::k2997Drop);
    struct Case
    {
        uint32_t frames;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00:00,00"},     {1799, "00:00:59,29"},   {1800, "00:01:00,02"},
        {3597, "00:01:59,29"},  {3598, "00:02:00,02"},   {17982, "00:10:00,00"},
        {17981, "00:09:59,29"}, {107892, "01:00:00,00"}, {107891, "00:59:59,29"},
    };
    for (const Case& c : cases)
    {
        const TimecodeFields fields = Timecode::FramesToTimecode(c.frames);
        EXPECT_EQ(Timecode::TimecodeToText(fields, false), c.text) << c.frames;
        EXPECT_EQ(Timecode::TimecodeToFrames(fields), c.frames) << c.text;
    }
}

TEST_F(TimecodeTest, FramesAndSamplesAtEveryKind)
{
    ScopedFrameRate rate(0);
    struct Case
    {
        int32_t kind;
        uint32_t frames;
        int64_t samples;
    };
    const Case cases[] = {
        {Timecode::k30NonDrop, 30, 48000},
        {Timecode::k30Drop, 1, 1600},
        {Timecode::k2997NonDrop, 30, 48048},
        {Timecode::k2997Drop, 1, 1602}, // 1601.6 rounded
        {Timecode::k25, 25, 48000},
        {Timecode::k24, 24, 48000},
        {Timecode::k24975, 25, 48048},
        {Timecode::k23976, 24, 48048},
        {99, 30, 48000},
    };
    for (const Case& c : cases)
    {
        rate.Set(c.kind);
        EXPECT_EQ(Timecode::FramesToSamples(c.frames), c.samples) << "kind " << c.kind;
        EXPECT_EQ(Timecode::SamplesToFrames(static_cast<double>(c.samples)), c.frames) << "kind " << c.kind;
    }
}

TEST_F(TimecodeTest, FrameToSampleConversionDoesNotOverflowPastFiftyMinutes)
{
    // 30 frames per second: 89478 frames (about 50 minutes) is where 48000 * n leaves 32 bits.
    const uint32_t frames = 30 * 60 * 60 * 24; // one day
    EXPECT_EQ(Timecode::FramesToSamples(frames), int64_t{48000} * 86400);
    EXPECT_EQ(Timecode::FramesToSamples(0xFFFFFFFFu), int64_t{48000} * 0xFFFFFFFFLL / 30);
}

TEST_F(TimecodeTest, FieldsClampWhenTheyExceedTheirRange)
{
    EXPECT_EQ(Timecode::TimecodeToFrames(Fields(30, 0, 0, 0)),
              Timecode::TimecodeToFrames(Fields(23, 0, 0, 0)));
    EXPECT_EQ(Timecode::TimecodeToFrames(Fields(0, 0, 1, 45)), 59u);
    const TimecodeFields withSub = Timecode::SamplesToTimecode(48000 + 800);
    EXPECT_EQ(withSub, Fields(0, 0, 1, 0, 50));
    EXPECT_DOUBLE_EQ(Timecode::TimecodeToSamples(withSub), 48800.0);
    EXPECT_EQ(Timecode::TimecodeToText(withSub, false), "00:00:01:00.50");
}

TEST_F(TimecodeTest, ValidTimecodeTexts)
{
    struct Case
    {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"00:00:00:00", true},  {"23:59:59:29", true},   {"01.02.03,04", true},  {"01:02:03:04.50", true},
        {"24:00:00:00", false}, {"00:60:00:00", false},  {"00:00:60:00", false}, {"00:00:00:30", false},
        {"0:00:00:00", false},  {"00:00:00:0a", false},  {"00:00:00", false},    {"", false},
        {"00;00;00;00", false}, {"00:00:00:00:", false}, {"12345678901", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Timecode::IsValidTimecode(c.text), c.valid) << c.text;
    EXPECT_FALSE(Timecode::IsValidTimecode(nullptr));
}

TEST_F(TimecodeTest, NormalizeRegroupsDigitsAndCarries)
{
    struct Case
    {
        const char* typed;
        bool carry;
        int32_t result;
        const char* text;
    };
    const Case cases[] = {
        {"1.2.3.4", true, 0, "01:02:03:04"},
        {"", true, 0, "00:00:00:00"},
        {"1223", true, 0, "00:00:12:23"},
        {"1234", false, 0, "00:00:12:29"},
        {"1;2,3", true, 0, "00:01:02:03"},
        {"00:00:59:35", true, 0, "00:01:00:00"},
        {"00:00:59:35", false, 0, "00:00:59:29"},
        {"00:59:59:30", true, 0, "01:00:00:00"},
        {"99:99:99:99", false, 0, "23:59:59:29"},
        {"23:59:59:30", true, 0, "23:00:00:00"},    // the hour stops at 23
        {"01:02:03:04:05", true, 0, "01:02:03:04"}, // cut to 11 characters first
        {"1:2:3:4:5", true, XResult::kFailed, "1:2:3:4:5"},
        {"12:ab", true, XResult::kFailed, "12:ab"},
    };
    for (const Case& c : cases)
    {
        XString text(c.typed);
        EXPECT_EQ(Timecode::NormalizeTimecode(text, c.carry), c.result) << c.typed;
        EXPECT_STREQ(text.CStr(), c.text) << c.typed;
    }
}

TEST_F(TimecodeTest, NormalizeWritesTheDropFrameSeparator)
{
    ScopedFrameRate rate(Timecode::k30Drop);
    XString text("1.2.3.4");
    EXPECT_EQ(Timecode::NormalizeTimecode(text, true), 0);
    EXPECT_EQ(text, "01:02:03,04");
}

TEST_F(TimecodeTest, TimeValueHoldsAtMostOneDay)
{
    XTimeValue value;
    value.SetSamples(1.0e12);
    EXPECT_DOUBLE_EQ(value.GetSamples(), 4147199999.0);
    value.SetSamples(-5);
    EXPECT_DOUBLE_EQ(value.GetSamples(), 0.0);

    XTimeValue seconds(XTimeValue::kSeconds);
    seconds.SetSamples(48000 * 3725.5);
    EXPECT_DOUBLE_EQ(seconds.GetSeconds(), 3725.5);
    EXPECT_EQ(seconds.ToString(XTimeValue::kFormatClock), "01:02:05.500");
    EXPECT_EQ(seconds.ToString(XTimeValue::kSamples), "178824000");
    EXPECT_EQ(seconds.ToString(XTimeValue::kTimecode), "01:02:05:15");
    EXPECT_EQ(seconds.ToString(7), "error");
}

TEST_F(TimecodeTest, TimeValuesConvertBetweenForms)
{
    XTimeValue timecode(XTimeValue::kTimecode);
    ASSERT_TRUE(timecode.FromString("00:00:02:15", XTimeValue::kTimecode));
    EXPECT_DOUBLE_EQ(timecode.GetSamples(), 2.5 * 48000);

    XTimeValue samples;
    samples.Assign(timecode);
    EXPECT_EQ(samples.GetType(), XTimeValue::kSamples);
    EXPECT_DOUBLE_EQ(samples.GetSamples(), 120000.0);
    EXPECT_TRUE(samples.Equals(timecode));

    XTimeValue numbers(XTimeValue::kThreeNumbers);
    numbers.Assign(timecode);
    EXPECT_EQ(numbers.ToString(XTimeValue::kThreeNumbers), "1:1:0");
    EXPECT_DOUBLE_EQ(numbers.GetSamples(), 0.0);

    XTimeValue oneSecond;
    oneSecond.SetSamples(48000);
    timecode.Add(oneSecond);
    EXPECT_EQ(timecode.ToString(XTimeValue::kTimecode), "00:00:03:15");
    timecode.Subtract(samples);
    timecode.Subtract(samples);
    EXPECT_DOUBLE_EQ(timecode.GetSamples(), 0.0);
}

TEST_F(TimecodeTest, TimeValueReadsTexts)
{
    struct Case
    {
        const char* text;
        int32_t type;
        bool read;
        const char* written; // in the form read
    };
    const Case cases[] = {
        {"96000", XTimeValue::kSamples, true, "96000"},
        {"9.5", XTimeValue::kSamples, false, ""},
        {"1.2.3.4", XTimeValue::kTimecode, true, "01:02:03:04"},
        {"01:02:03:04.50", XTimeValue::kTimecode, true, "01:02:03:04.50"},
        {"01:02:03:4.567", XTimeValue::kTimecode, true, "01:02:03:09.67"}, // sub-frames carried
        {"01:02", XTimeValue::kTimecode, true, "00:00:01:02"},
        {"x", XTimeValue::kTimecode, false, ""},
        {"1:1:0", XTimeValue::kThreeNumbers, false, ""},
        {"1.25", XTimeValue::kSeconds, true, "00:00:01.250"},
    };
    for (const Case& c : cases)
    {
        XTimeValue value;
        value.SetSamples(7);
        ASSERT_EQ(value.FromString(c.text, c.type), c.read) << c.text;
        if (!c.read)
        {
            EXPECT_DOUBLE_EQ(value.GetSamples(), 7.0) << c.text;
            continue;
        }
        EXPECT_EQ(value.GetType(), c.type);
        const int32_t format = c.type == XTimeValue::kSeconds ? XTimeValue::kFormatClock : c.type;
        EXPECT_EQ(value.ToString(format), c.written) << c.text;
    }
}

TEST_F(TimecodeTest, TimeParamSetsStepsAndNotifiesWithoutStampingOrMarking)
{
    Recorder watcher;
    TimeParam param(Desc(XParamDesc::kTypeTime, 0, 1, 48000, 1, 0, "Locate"));
    param.AddWatcher(&watcher, 5, false);
    EXPECT_EQ(param.GetType(), XParamDesc::kTypeTime);
    EXPECT_EQ(param.GetValueKind(), XParam::kKindTime);
    EXPECT_DOUBLE_EQ(param.GetValue(), 48000.0);
    EXPECT_EQ(param.GetText(), "48000");

    EXPECT_FALSE(param.SetValue(48000, true));
    EXPECT_TRUE(param.SetValue(96000, true));
    EXPECT_TRUE(param.ChangeValue(1600, true));
    EXPECT_TRUE(param.StepBy(30, true));
    EXPECT_DOUBLE_EQ(param.GetValue(), 1600 + 48000.0);
    EXPECT_TRUE(param.StepBy(-100, false));
    EXPECT_DOUBLE_EQ(param.GetValue(), 0.0);
    EXPECT_FALSE(param.StepBy(-1, true));
    EXPECT_EQ(watcher.Codes(), (std::vector<int32_t>{kSet, kChanged, kSet}));

    EXPECT_EQ(param.GetLastChangeTick(), 0u);
    EXPECT_EQ(host.marks.load(), 0);
    EXPECT_FALSE(param.SetText("00:00:01:00", true));
    EXPECT_FALSE(param.ResetToDefault());
    EXPECT_EQ(param.ValueToText(5), "error");

    XTimeValue timecode(XTimeValue::kTimecode);
    ASSERT_TRUE(timecode.FromString("00:00:01:00", XTimeValue::kTimecode));
    EXPECT_TRUE(param.SetTime(timecode, false));
    EXPECT_EQ(param.GetText(), "48000");       // converted into the parameter's own form
    EXPECT_FALSE(param.SetValue(48000, true)); // the same time in another form
}

TEST_F(TimecodeTest, OptionTextsAndToggleFilter)
{
    EXPECT_EQ(TimeOptions::PlaybackModeText(nullptr, 1.9, 0), "Play Once & Stop");
    EXPECT_EQ(TimeOptions::PlaybackModeText(nullptr, 5, 0), "Play Repeatedly");
    EXPECT_EQ(TimeOptions::FrameCountText(nullptr, 6, 0), "Infinite");
    EXPECT_EQ(TimeOptions::FrameCountText(nullptr, 7, 0), "Error");
    EXPECT_EQ(TimeOptions::RecordingConditionText(nullptr, -1, 0), "Error");
    EXPECT_EQ(TimeOptions::ResolutionText(nullptr, 1, 0), "1/3 frame");
    EXPECT_EQ(TimeOptions::FrameRateShortText(nullptr, 3, 0), "29.97/30 DF");
    EXPECT_EQ(TimeOptions::FrameRateLongText(nullptr, 7, 0), "23.976 NDF");

    XParamDescExt ext;
    ext.eventCallback = TimeOptions::ToggleEventFilter;
    XParamDesc desc = Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 2);
    desc.ext = &ext;
    FloatParam toggle(desc);
    XParamEvent step{XParamEvent::kMoveSteps, 1.0f, 0, 1};
    EXPECT_FALSE(toggle.ApplyEvent(&step));
    EXPECT_DOUBLE_EQ(toggle.GetValue(), 1.0);
    EXPECT_FALSE(toggle.ApplyEvent(&step));
    EXPECT_DOUBLE_EQ(toggle.GetValue(), 0.0);
    XParamEvent set{XParamEvent::kSetValue, 5.0f, 0, 2};
    toggle.SetValue(1, false);
    EXPECT_FALSE(toggle.ApplyEvent(&set));
    EXPECT_DOUBLE_EQ(toggle.GetValue(), 0.0);
    XParamEvent plain{XParamEvent::kSetValue, 1.0f, 0, 0};
    EXPECT_TRUE(toggle.ApplyEvent(&plain));
    EXPECT_DOUBLE_EQ(toggle.GetValue(), 1.0);
}
