// The crossover window: the filter types its curves draw, the delay mirrors and their entries, the
// copies to a linked output, the lock that follows the connection, the strips' delay boxes and covers,
// and, in the real window, typing a distance, the dB toggle and a filter type chosen from a drop-down.

#include "windows/CrossOverWindow.h"

#include "../gui/MenuTestSupport.h"
#include "WindowTestSupport.h"
#include "core/XMessageCodes.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/DelayUnits.h"
#include "device/DeviceCommand.h"
#include "gui/XButton.h"
#include "gui/XImage.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "support/ParamTestSupport.h"
#include "widgets/XComboBox.h"
#include "widgets/XEQView.h"
#include "windows/OutputParamIds.h"
#include "windows/XOverPanel.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace
{
using WindowTest::Param;
using namespace OutputParamIds;

XParam* Out(int32_t output, int32_t id)
{
    return OutputParam(output, id);
}

class CrossOverWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        Param("global\\temp")->SetValue(20, true);
        window = std::make_unique<CrossOverWindow>();
    }
    void TearDown() override
    {
        window.reset();
        WindowTest::WindowTestBase::TearDown();
    }

    XParam* Mirror(const char* format, int32_t outputNumber) { return FindParam(format, outputNumber); }

    std::unique_ptr<CrossOverWindow> window;
};
} // namespace

TEST(CrossOverCurveFilter, EveryUnitTypeMapsToTheViewTypeAndQOfEachSide)
{
    struct Case
    {
        int32_t code;
        int32_t highPass;
        int32_t lowPass;
        double q;
    };
    const Case cases[] = {{0, 0, 0, 1},    {1, 8, 7, 1},    {2, 4, 3, 0.5},  {3, 4, 3, 0.6},  {4, 4, 3, 0.7},
                          {5, 4, 3, 0.8},  {6, 4, 3, 1.0},  {7, 4, 3, 1.2},  {8, 4, 3, 1.5},  {9, 4, 3, 2.0},
                          {10, 16, 15, 1}, {11, 14, 13, 1}, {12, 18, 17, 1}, {13, 20, 19, 1}, {14, 22, 21, 1},
                          {15, 24, 23, 1}, {16, 26, 25, 1}, {17, 28, 27, 1}, {18, 4, 3, 1},   {-1, 4, 3, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.code);
        const CrossOverWindow::CurveFilter high = CrossOverWindow::CurveFilterFor(c.code, true);
        const CrossOverWindow::CurveFilter low = CrossOverWindow::CurveFilterFor(c.code, false);
        EXPECT_EQ(high.viewType, c.highPass);
        EXPECT_EQ(low.viewType, c.lowPass);
        EXPECT_DOUBLE_EQ(high.q, c.q);
        EXPECT_DOUBLE_EQ(low.q, c.q);
    }
}

TEST_F(CrossOverWindowTest, TheLocalTypesFollowTheOutputsAndLocalParametersAreNeverSent)
{
    // Applied at construction: the default 5 ("12 dB Q=0.8") of every output.
    for (int32_t n = 1; n <= 6; ++n)
    {
        EXPECT_EQ(FindParam("crossover\\HPFTypeCh%d", n)->GetValue(), 4);
        EXPECT_EQ(FindParam("crossover\\LPFQCh%d", n)->GetValue(), 0.8);
    }
    Out(2, kLopassTypeQ)->ChangeValue(17, true);
    Out(3, kHipassTypeQ)->SetValue(0, true); // as reported by the unit
    EXPECT_EQ(Param("crossover\\LPFTypeCh3")->GetValue(), 27);
    EXPECT_EQ(Param("crossover\\LPFQCh3")->GetValue(), 1);
    EXPECT_EQ(Param("crossover\\HPFTypeCh4")->GetValue(), 0);
    SendChanges();
    TakeFrames();

    // Every local parameter changed: nothing reaches the unit.
    for (int32_t id = CrossOverWindow::kHpfTypeId; id <= CrossOverWindow::kLastLocalId; ++id)
    {
        XParam* local = window->GetLocalParam(id);
        ASSERT_NE(local, nullptr) << id;
        local->SetValue(local->GetValue() + 1, true);
    }
    SendChanges();
    EXPECT_TRUE(TakeFrames(kCmdSetParamValue).empty());
}

TEST_F(CrossOverWindowTest, ADistanceEntrySetsTheDelayAndTheOtherMirrorsAndKeepsWhatWasTyped)
{
    const double cmPerMs = DelayMsToMeters(1.0) * 100;
    struct Case
    {
        const char* path;
        double typed;
        double ms;
    };
    const Case cases[] = {
        {"crossover\\delayCmCh%d", 100, 100 / cmPerMs},   {"crossover\\delayMtCh%d", 2, 200 / cmPerMs},
        {"crossover\\delayInCh%d", 12, FeetToDelayMs(1)}, {"crossover\\delayFtCh%d", 3, FeetToDelayMs(3)},
        {"crossover\\delayMicrosecCh%d", 1500, 1.5},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        XParam* edited = Mirror(c.path, 1);
        ASSERT_TRUE(edited->ChangeValue(c.typed, true));
        EXPECT_NEAR(Out(0, kXoverDelayTime)->GetValue(), c.ms, 1e-9);
        EXPECT_DOUBLE_EQ(edited->GetValue(), c.typed);
        EXPECT_NEAR(Param("crossover\\delayMicrosecCh1")->GetValue(), c.ms * 1000, 1e-6);
        EXPECT_NEAR(Param("crossover\\delayCmCh1")->GetValue(), c.ms * cmPerMs, 1e-6);
    }
    // 100 cm at 20 degrees: the time sound needs for a metre; the metre field shows 1.00.
    ASSERT_TRUE(Param("crossover\\delayCmCh1")->ChangeValue(100, true));
    EXPECT_NEAR(Out(0, kXoverDelayTime)->GetValue(), 2.914, 0.001);
    EXPECT_EQ(Param("crossover\\delayMtCh1")->GetText(), "1.00 meters");
    EXPECT_EQ(Param("crossover\\delayCmCh1")->GetText(), "100.0 cm");

    // An entry that converts to the current delay is refused and the field keeps its value; so is
    // one beyond the range while the delay is at its end.
    XParam* inches = Param("crossover\\delayInCh1");
    const double inchesBefore = inches->GetValue();
    EXPECT_FALSE(inches->ChangeValue(inchesBefore, true));
    EXPECT_FALSE(Param("crossover\\delayCmCh1")->ChangeValue(100, true));
    EXPECT_FALSE(Param("crossover\\delayMtCh1")->ChangeValue(1, true));
    EXPECT_EQ(inches->GetValue(), inchesBefore);
    EXPECT_EQ(Param("crossover\\delayCmCh1")->GetValue(), 100);

    // An entry beyond the delay's range shows the distance of the delay that was set.
    ASSERT_TRUE(Param("crossover\\delayCmCh2")->ChangeValue(1000, true));
    EXPECT_EQ(Out(1, kXoverDelayTime)->GetValue(), 20);
    EXPECT_NEAR(Param("crossover\\delayCmCh2")->GetValue(), 20 * cmPerMs, 1e-6);
    EXPECT_FALSE(Param("crossover\\delayFtCh2")->ChangeValue(1000, true));
    EXPECT_EQ(Out(1, kXoverDelayTime)->GetValue(), 20);
}

TEST_F(CrossOverWindowTest, ATemperatureChangeRecomputesEveryMirrorAndKeepsTheMilliseconds)
{
    for (int32_t o = 0; o < 6; ++o)
        Out(o, kXoverDelayTime)->SetValue(1 + o, true);
    Param("global\\temp")->SetValue(40, true);
    const double metresPerMs = (331 + 0.61 * 40) / 1000;
    for (int32_t o = 0; o < 6; ++o)
    {
        SCOPED_TRACE(o);
        const double ms = 1 + o;
        EXPECT_EQ(Out(o, kXoverDelayTime)->GetValue(), ms);
        EXPECT_NEAR(Mirror("crossover\\delayMtCh%d", o + 1)->GetValue(), ms * metresPerMs, 1e-9);
        EXPECT_NEAR(Mirror("crossover\\delayCmCh%d", o + 1)->GetValue(), ms * metresPerMs * 100, 1e-9);
        EXPECT_NEAR(Mirror("crossover\\delayFtCh%d", o + 1)->GetValue(), ms * metresPerMs * 3.2808, 1e-9);
        EXPECT_NEAR(Mirror("crossover\\delayInCh%d", o + 1)->GetValue(), ms * metresPerMs * 3.2808 * 12,
                    1e-9);
        EXPECT_NEAR(Mirror("crossover\\delayMicrosecCh%d", o + 1)->GetValue(), ms * 1000, 1e-9);
    }
}

TEST_F(CrossOverWindowTest, FilterTypesAndFrequenciesReachTheLinkedOutputOnlyWhileLinkingIsOn)
{
    Param("Output2\\linkedChannel")->SetValue(5, true);
    XParam* linking = Param("QM7\\enableChannelLinking");
    linking->SetValue(1, true);
    struct Case
    {
        int32_t id;
        double value;
        bool fromUnit;
    };
    for (const Case& c : {Case{kHipassFreq, 250, false}, Case{kLopassFreq, 3000, true},
                          Case{kHipassTypeQ, 12, true}, Case{kLopassTypeQ, 16, false}})
    {
        SCOPED_TRACE(c.id);
        if (c.fromUnit)
            Out(1, c.id)->SetValue(c.value, true);
        else
            Out(1, c.id)->ChangeValue(c.value, true);
        EXPECT_EQ(Out(4, c.id)->GetValue(), c.value);
    }
    EXPECT_EQ(Param("crossover\\HPFTypeCh5")->GetValue(), 18);

    linking->SetValue(0, true);
    Out(1, kHipassFreq)->ChangeValue(400, true);
    EXPECT_EQ(Out(4, kHipassFreq)->GetValue(), 250);
}

TEST_F(CrossOverWindowTest, TheLockReNotifiesItsWatchersWhenTheConnectionOrListenModeChanges)
{
    XParam* lock = Param("QM7\\lockUIForEditCompare");
    ParamTest::Recorder recorder;
    lock->AddWatcher(&recorder, 7, false);
    Param("QM7\\usbActive")->SetValue(1, true);
    EXPECT_EQ(lock->GetValue(), Param("global\\ListenMode")->GetValue());
    Param("global\\ListenMode")->SetValue(0, true);
    EXPECT_EQ(lock->GetValue(), 0);
    EXPECT_EQ(recorder.Codes().size(), 2u);

    // A second window does not make the lock a watcher twice.
    CrossOverWindow second;
    recorder.Clear();
    Param("QM7\\usbActive")->SetValue(0, true);
    EXPECT_EQ(recorder.Codes().size(), 1u);
    lock->RemoveWatcher(&recorder);
}

TEST_F(CrossOverWindowTest, TheStripsShowOneDelayBoxPerUnitAndTheCurvesFollowMuteGainAndRange)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    XParam* units = Param("global\\XOverDelayUnits");
    for (int32_t unit = 0; unit < XOverPanel::kDelayUnitCount; ++unit)
    {
        units->ChangeValue(unit, true);
        for (int32_t o = 0; o < 6; ++o)
            for (int32_t box = 0; box < XOverPanel::kDelayUnitCount; ++box)
                EXPECT_EQ(window->GetPanel(o)->GetDelayBox(box)->isVisible(), box == unit)
                    << "unit " << unit << " output " << o << " box " << box;
    }

    XEQView* curve = window->GetCurve(2);
    EXPECT_EQ(curve->GetOffsetParam(), Out(2, kOutputGain));
    EXPECT_EQ(curve->GetBandParam(XEQView::kBandFrequency, 1), Out(2, kLopassFreq));
    EXPECT_EQ(curve->GetBandParam(XEQView::kBandType, 0), Param("crossover\\HPFTypeCh3"));
    EXPECT_TRUE(curve->IsEQEnabled());
    Out(2, kOutputMute)->SetValue(1, true);
    EXPECT_FALSE(curve->IsEQEnabled());

    // The covers show while the lock is 0.
    XParam* lock = Param("QM7\\lockUIForEditCompare");
    Param("QM7\\usbActive")->SetValue(1, true);
    Param("global\\ListenMode")->SetValue(0, true);
    EXPECT_TRUE(window->GetCompareCover(0)->isVisible());
    EXPECT_TRUE(window->GetCompareCover(1)->isVisible());
    Param("global\\ListenMode")->SetValue(1, true);
    ASSERT_EQ(lock->GetValue(), 1);
    EXPECT_FALSE(window->GetCompareCover(0)->isVisible());

    // Output 1's polarity drop-down takes its inverted look and back; its text stays readable on
    // either face (a clear difference in brightness from the face's middle).
    XPopupMenu* polarity = window->GetPanel(0)->GetPolarityMenu();
    for (const double value : {1.0, 0.0})
    {
        Out(0, kOutputPolarity)->SetValue(value, true);
        ASSERT_NE(polarity->GetMainImage(), nullptr);
        const juce::Image* face = polarity->GetMainImage()->GetJuceImage();
        ASSERT_NE(face, nullptr);
        const juce::Colour middle = face->getPixelAt(face->getWidth() / 2, face->getHeight() / 2);
        const juce::Colour text = polarity->GetPopupTextColor().ToColour();
        EXPECT_GT(std::abs(text.getPerceivedBrightness() - middle.getPerceivedBrightness()), 0.3f)
            << "polarity " << value << ": text " << text.toDisplayString(false) << " on "
            << middle.toDisplayString(false);
    }
    Out(0, kOutputPolarity)->SetValue(1, true);
    EXPECT_EQ(polarity->GetPopupTextColor(), XRGB(212, 210, 207, 255));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(CrossOverWindowTest, EveryDropDownOfTheStripsReadsClearlyOnItsFace)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    XOverPanel* panel = window->GetPanel(0);
    struct Case
    {
        const char* what;
        XPopupMenu* menu;
        double polarity;
    };
    const Case cases[] = {
        {"high-pass type", panel->GetTypeMenu(true), 0},
        {"low-pass type", panel->GetTypeMenu(false), 0},
        {"polarity", panel->GetPolarityMenu(), 0},
        {"inverted polarity", panel->GetPolarityMenu(), 1},
    };
    for (const Case& c : cases)
    {
        Out(0, kOutputPolarity)->SetValue(c.polarity, true);
        ASSERT_NE(c.menu->GetMainImage(), nullptr) << c.what;
        const juce::Image* face = c.menu->GetMainImage()->GetJuceImage();
        ASSERT_NE(face, nullptr) << c.what;
        const juce::Colour middle = face->getPixelAt(face->getWidth() / 2, face->getHeight() / 2);
        const juce::Colour text = c.menu->GetPopupTextColor().ToColour();
        EXPECT_GE(GuiTestSupport::ContrastRatio(text, middle), 7.0)
            << c.what << ": text " << text.toDisplayString(false) << " on " << middle.toDisplayString(false);
    }
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(CrossOverWindowTest, InTheRealWindowTypingAClickingTheToggleAndChoosingATypeWork)
{
    Param("global\\XOverDelayUnits")->SetValue(5, true); // centimetres
    Param("QM7\\usbActive")->SetValue(1, true);
    Param("global\\ListenMode")->SetValue(1, true); // editing allowed: no covers
    for (int32_t o = 0; o < 6; ++o)                 // the curves lie on the graph, each output a little lower
    {
        Out(o, kOutputGain)->SetValue(-2 * o, true);
        Out(o, kHipassFreq)->SetValue(60 + 60 * o, true);
        Out(o, kLopassFreq)->SetValue(1000 + 2000 * o, true);
    }
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    GuiTestSupport::PeerMouse mouse(*window);
    const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
    auto click = [&](juce::Component& target)
    {
        const juce::Point<int> centre = target.getLocalBounds().getCentre();
        mouse.Send(target, centre, {});
        mouse.Send(target, centre, left);
        mouse.Send(target, centre, {});
        mouse.Wait(1000);
    };
    auto key = [&](const juce::KeyPress& press)
    {
        window->getPeer()->handleKeyPress(press);
        ViewTest::Pump();
    };

    // Output 1's centimetre field: clear it, type 100, Return.
    XComboBox* cm = window->GetPanel(0)->GetDelayBox(5);
    ASSERT_TRUE(cm->isVisible());
    click(*cm->GetTextField());
    key(juce::KeyPress(juce::KeyPress::endKey));
    for (int i = 0; i < 12; ++i)
        key(juce::KeyPress(juce::KeyPress::backspaceKey));
    for (char c : std::string("100"))
        key(juce::KeyPress(c, {}, static_cast<juce::juce_wchar>(c)));
    key(juce::KeyPress(juce::KeyPress::returnKey));
    EXPECT_NEAR(Out(0, kXoverDelayTime)->GetValue(), 2.914, 0.001);
    EXPECT_EQ(Param("crossover\\delayCmCh1")->GetValue(), 100);
    EXPECT_EQ(Param("crossover\\delayMtCh1")->GetText(), "1.00 meters");

    // The dB toggle: 24, then 12.75, then 25.5.
    EXPECT_EQ(window->GetCurve(0)->GetDisplayRange(), 24);
    click(*window->GetRangeToggle());
    EXPECT_EQ(window->GetCurve(0)->GetDisplayRange(), 12.75);
    click(*window->GetRangeToggle());
    EXPECT_EQ(window->GetCurve(5)->GetDisplayRange(), 25.5);

    // "Linkw 24 dB" (the 18th entry) from output 2's high-pass drop-down: its curve changes.
    XEQView* curve = window->GetCurve(1);
    curve->UpdateCurves();
    const int64_t rowsBefore = curve->GetComputedRowCount();
    MenuTest::ModalMenuDriver choose([](juce::Component& menu) { MenuTest::ChooseByKeys(menu, 17); });
    click(*window->GetPanel(1)->GetTypeMenu(true));
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return choose.HasActed(); }, WindowTest::kWaitMs));
    ViewTest::PumpUntil([&] { return Out(1, kHipassTypeQ)->GetValue() == 17; }, WindowTest::kWaitMs);
    EXPECT_EQ(Out(1, kHipassTypeQ)->GetText(), "Linkw 24 dB");
    EXPECT_EQ(Param("crossover\\HPFTypeCh2")->GetValue(), 28);
    curve->UpdateCurves();
    EXPECT_GT(curve->GetComputedRowCount(), rowsBefore);

    GuiTestSupport::TakeScreenshot(*window, "CrossOverWindow");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
