#include "core/XABGroup.h"

#include "support/ParamTestSupport.h"
#include "XStringPrinter.h"
#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kUserChange = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
/** A 31-bit mask: every bit of it must survive a switch, which single precision would round. */
constexpr double kMask = 2147483647.0 - 2.0;

/** Gain (default -10), a 31-bit mask (default 0) and a text. */
const XParamDesc kTable[] = {
    Desc(XParamDesc::kTypeGain, -96, 12, -10, 1001, 0, "Gain", 1),
    Desc(XParamDesc::kTypeInteger, 0, 2147483647.0, 0, 2147483648u, 0, "Bypass", 2),
    Desc(XParamDesc::kTypeText, 0, 1, 0, 1, 0, "Name", 3),
    XParamDesc(),
};

class XABGroupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        group.AddParams(kTable, "");
        Gain()->SetValue(-3, false);
        Mask()->SetValue(kMask, false);
        Name()->SetText("Left", false);
    }

    XParam* Gain() { return group.GetParam(1); }
    XParam* Mask() { return group.GetParam(2); }
    XParam* Name() { return group.GetParam(3); }

    FakeHost host;
    FloatParam selector{Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 2, 0, "AB", 62)};
    XABGroup group{"Channel"};
};

TEST_F(XABGroupTest, BindingAtASelectsTheDefaultsAndKeepsTheValuesAsB)
{
    Recorder recorder;
    Gain()->AddWatcher(&recorder, 5, false);

    group.SetSelector(&selector);
    EXPECT_EQ(group.GetSnapshotSize(), 3);
    EXPECT_EQ(Gain()->GetValue(), -10.0);
    EXPECT_EQ(Mask()->GetValue(), 0.0);
    EXPECT_EQ(Name()->GetText(), "Left") << "text parameters keep their text";
    ASSERT_EQ(recorder.Codes(), std::vector<int32_t>{kUserChange}) << "a user change";
    EXPECT_NE(Gain()->GetLastChangeTick(), 0u) << "stamped, so the link sends it";

    selector.SetValue(1, true); // to B: the values from before the binding
    EXPECT_EQ(Gain()->GetValue(), -3.0);
    EXPECT_EQ(Mask()->GetValue(), kMask) << "every bit of the mask";

    group.SetSelector(nullptr);
    FloatParam other(Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 2, 0, "Other", 63));
    group.SetSelector(&other); // bound once: ignored
    EXPECT_EQ(group.GetSelector(), &selector);
    Gain()->RemoveWatcher(&recorder);
}

TEST_F(XABGroupTest, SwitchingThereAndBackRestoresTheValuesOfTheFirstSwitch)
{
    group.SetSelector(&selector);
    Gain()->SetValue(1.5, false); // edits on A
    Mask()->SetValue(12345, false);

    selector.SetValue(1, true);   // A saved, B loaded
    Gain()->SetValue(-20, false); // edits on B
    Name()->SetText("Right", false);

    selector.SetValue(0, true); // B saved, A loaded
    EXPECT_EQ(Gain()->GetValue(), 1.5);
    EXPECT_EQ(Mask()->GetValue(), 12345.0);
    EXPECT_EQ(Name()->GetText(), "Right");

    Gain()->SetValue(2, false);
    selector.SetValue(0, true); // the same value again: no notice, no switch
    EXPECT_EQ(Gain()->GetValue(), 2.0);

    selector.SetValue(1, true);
    EXPECT_EQ(Gain()->GetValue(), -20.0);
}

TEST_F(XABGroupTest, SnapshotHelpersAndParametersAddedLaterDisableTheSwitch)
{
    group.SetSelector(&selector);
    Gain()->SetValue(4, false);
    group.CopyValuesToSnapshots();
    selector.SetValue(1, true);
    EXPECT_EQ(Gain()->GetValue(), 4.0) << "both sides hold the copied values";
    group.ResetSnapshots();
    selector.SetValue(0, true);
    EXPECT_EQ(Gain()->GetValue(), -10.0);

    FloatParam late(Desc(XParamDesc::kTypeGain, -96, 12, 0, 1001, 0, "Late", 9));
    group.AddParam(&late, 9, false);
    Gain()->SetValue(7, false);
    selector.SetValue(1, true);
    EXPECT_EQ(Gain()->GetValue(), 7.0) << "the size no longer matches: no switch";
}

TEST_F(XABGroupTest, ADestroyedSelectorIsForgotten)
{
    auto shortLived = std::make_unique<FloatParam>(Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 2, 0, "AB2", 64));
    group.SetSelector(shortLived.get());
    EXPECT_EQ(group.GetSelector(), shortLived.get());
    shortLived.reset();
    EXPECT_EQ(group.GetSelector(), nullptr);
}

TEST_F(XABGroupTest, SwitchesFromAnotherThreadWhileValuesAreRead)
{
    group.SetSelector(&selector);
    std::atomic<bool> done{false};
    std::thread switcher(
        [&]
        {
            for (int i = 1; i <= 200; ++i)
                selector.SetValue(i % 2, true);
            done.store(true);
        });
    double sum = 0;
    while (!done.load())
        sum += Gain()->GetValue() + Mask()->GetValue();
    switcher.join();
    // 200 switches end on A, holding the defaults it was bound with.
    EXPECT_EQ(Gain()->GetValue(), -10.0);
    EXPECT_EQ(Mask()->GetValue(), 0.0);
    (void)sum;
}
} // namespace
