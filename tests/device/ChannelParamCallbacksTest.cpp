// The channel tables' own callbacks: texts, the logarithmic frequency steps and the meter clamp,
// and the defaults of the behaviours that reach other channels.

#include "device/ChannelParamCallbacks.h"

#include "core/FloatParam.h"
#include "device/ChannelParamTables.h"
#include "device/IChannelBehaviours.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace
{
const XParamDesc& Row(const XParamDesc* table, const char* name)
{
    for (const XParamDesc* row = table; row->name[0] != 0; ++row)
        if (std::strcmp(row->name, name) == 0)
            return *row;
    ADD_FAILURE() << "no row " << name;
    return table[0];
}

std::string Text(ParamTextCallback callback, double value)
{
    return callback(nullptr, value, 0).CStr();
}
} // namespace

TEST(ChannelParamCallbacksTest, ListAndNumberTexts)
{
    struct Case
    {
        ParamTextCallback callback;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {InputFilterTypeText, 0, "LOSLV"},
        {InputFilterTypeText, 4, "HIPASS"},
        {InputFilterTypeText, 4.9, "HIPASS"},
        {InputFilterTypeText, 5, "N/A"},
        {InputFilterTypeText, -1, "N/A"},
        {OutputFilterTypeText, 5, "ALLPASS 1"},
        {OutputFilterTypeText, 6, "ALLPASS 2"},
        {OutputFilterTypeText, 7, "N/A"},
        {CrossoverTypeText, 0, "THRU"},
        {CrossoverTypeText, 5, "12 dB Q=0.8"},
        {CrossoverTypeText, 12, "Linkw 12 dB"},
        {CrossoverTypeText, 17, "Linkw 24 dB"},
        {CrossoverTypeText, 18, "N/A"},
        {SlopeText, 1, "12 dB/oct"},
        {SlopeText, 2, "N/A"},
        {PolarityText, 1, "INVERTED"},
        {PolarityText, 2, "----"},
        {SourceText, 2, "Input A+B"},
        {SourceText, 3, "N/A"},
        {FrequencyText, 1000.4, "1000 Hz"},
        {QText, 0.7, "0.70"},
        {OutputGainText, -100, "OFF"},
        {OutputGainText, -95.5, "OFF"},
        {OutputGainText, -95, "-95.0"},
        {OutputGainText, 6, "6.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.callback, c.value), c.text) << c.value;
}

TEST(ChannelParamCallbacksTest, WithoutChannelBehavioursEveryChannelKeepsToItself)
{
    double value = 3.0;
    for (ParamVetoCallback change : {CopyToOtherInput, CopyToLinkedOutput, CopyMuteToLinkedOutput,
                                     CoupleCrossoverNeighbour, AmplifierChanged, LimitThresholdChanged})
    {
        for (int32_t phase = 0; phase <= 2; ++phase)
            EXPECT_TRUE(change(nullptr, &value, 0, phase));
        EXPECT_EQ(value, 3.0);
    }
    EXPECT_EQ(Text(LimitThresholdText, 21), "21.00 dBu");
    EXPECT_EQ(Text(AmplifierText, -1), "---");
    EXPECT_EQ(Text(AmplifierText, 33), "---");
    EXPECT_EQ(Text(AmplifierText, 10), "10");
    EXPECT_EQ(Text(DelayTimeText, 1.5), "1.50 ms");
}

TEST(ChannelParamCallbacksTest, RegisteredChannelBehavioursReceiveTheCallbacks)
{
    struct Recording final : IChannelBehaviours
    {
        bool CopyToOtherInput(XParam*, double* value, int32_t, int32_t) override { return *value < 10; }
        bool GeqBandBypassChanged(XParam*, double*, int32_t, int32_t) override { return false; }
        bool CopyToLinkedOutput(XParam*, double*, int32_t, int32_t) override { return false; }
        bool CopyMuteToLinkedOutput(XParam*, double*, int32_t, int32_t) override { return false; }
        bool CoupleCrossoverNeighbour(XParam*, double*, int32_t, int32_t) override { return false; }
        bool AmplifierChanged(XParam*, double*, int32_t, int32_t) override { return false; }
        bool LimitThresholdChanged(XParam*, double*, int32_t, int32_t) override { return false; }
        XString LimitThresholdText(XParam*, double, int32_t) override { return "threshold"; }
        XString AmplifierText(XParam*, double, int32_t) override { return "amplifier"; }
        XString DelayTimeText(XParam*, double, int32_t) override { return "delay"; }
    } behaviours;
    SetChannelBehaviours(&behaviours);
    FloatParam gain(Row(InputChannelParamTable, "Band3Gain"));
    EXPECT_TRUE(gain.ChangeValue(5, true));
    EXPECT_FALSE(gain.ChangeValue(12, true));
    FloatParam delay(Row(OutputChannelParamTable, "delayTime"));
    EXPECT_FALSE(delay.ChangeValue(5, true));
    EXPECT_STREQ(delay.GetText().CStr(), "delay");
    SetChannelBehaviours(nullptr);
    EXPECT_TRUE(delay.ChangeValue(5, true));
    EXPECT_STREQ(delay.GetText().CStr(), "5.00 ms");
}

TEST(ChannelParamCallbacksTest, MetersAreClampedToTheirRange)
{
    FloatParam meter(Row(InputChannelParamTable, "inputMeter"));
    meter.SetValue(-30, false);
    EXPECT_TRUE(meter.ChangeValue(-80, true));
    EXPECT_EQ(meter.GetValue(), -69.0);
    EXPECT_TRUE(meter.ChangeValue(3, true));
    EXPECT_EQ(meter.GetValue(), 0.0);
}

TEST(ChannelParamCallbacksTest, FrequenciesStepLogarithmically)
{
    FloatParam eq(Row(OutputChannelParamTable, "band2Freq"));
    EXPECT_EQ(eq.IndexToValue(0), 20.0);
    EXPECT_DOUBLE_EQ(eq.IndexToValue(512), 20000.0);
    EXPECT_DOUBLE_EQ(eq.IndexToValue(513), 20000.0);
    EXPECT_DOUBLE_EQ(eq.IndexToValue(-1), 20000.0);
    EXPECT_EQ(eq.ValueToIndex(25000), 512);
    EXPECT_EQ(eq.ValueToIndex(10), 0);
    // 512 steps over log2(1000) octaves: about 51 per octave, everywhere on the scale.
    for (double low : {20.0, 100.0, 1000.0, 5000.0})
    {
        const int perOctave = eq.ValueToIndex(low * 2) - eq.ValueToIndex(low);
        EXPECT_GE(perOctave, 51) << low;
        EXPECT_LE(perOctave, 52) << low;
    }
    for (int index : {0, 1, 100, 257, 511})
        EXPECT_EQ(eq.ValueToIndex(eq.IndexToValue(index)), index);
    // The stored frequency reads as whole hertz.
    eq.SetValue(eq.IndexToValue(100), false);
    EXPECT_EQ(eq.GetValue(), std::round(eq.IndexToValue(100)));

    FloatParam highPass(Row(InputChannelParamTable, "HPFFreq"));
    EXPECT_DOUBLE_EQ(highPass.IndexToValue(512), 200.0);
    EXPECT_DOUBLE_EQ(highPass.IndexToValue(256), 20.0 * std::sqrt(10.0));

    FloatParam crossover(Row(OutputChannelParamTable, "hipassFreq"));
    EXPECT_DOUBLE_EQ(crossover.IndexToValue(255), 20000.0);
    EXPECT_EQ(crossover.ValueToIndex(crossover.IndexToValue(128)), 128);
    // Stepping walks the scale.
    crossover.SetValue(crossover.IndexToValue(10), false);
    EXPECT_TRUE(crossover.StepBy(1, true));
    EXPECT_DOUBLE_EQ(crossover.GetValue(), crossover.IndexToValue(11));
}
