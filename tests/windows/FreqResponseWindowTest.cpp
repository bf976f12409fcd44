// The output frequency response window: which input bands each output's view draws for its
// source, the band and block bypasses that take bands out of the curves, the shapes of the output
// bands as the output EQ window draws them, and in the real window against the simulated unit with
// its meters running: the meters move and one dB toggle sets the range of all six graphs.

#include "windows/FreqResponseWindow.h"

#include "WindowTestSupport.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XText.h"
#include "widgets/XEQBandCurves.h"
#include "widgets/XEQView.h"
#include "widgets/XQM7FrontPanelLEDMeter.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"
#include "windows/ChannelEqWindow.h"
#include "windows/CrossOverWindow.h"
#include "windows/FreqPanel.h"
#include "windows/InputPEQWindow.h"
#include "windows/MasterGraphicEqWindow.h"
#include "windows/OutputParamIds.h"
#include "windows/SharedWindowState.h"

#include <algorithm>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace
{
using WindowTest::Param;
using namespace OutputParamIds;

constexpr int32_t kSource = ChannelParamTables::kOutputSourceId;
constexpr int32_t kChannelEqBypass = ChannelParamTables::kChannelEqBypassId;
constexpr int32_t kInputPeqAllBypass = ChannelParamTables::kPeqAllBypassId;
constexpr int32_t kInputGeqAllBypass = ChannelParamTables::kGeqAllBypassId;

XParam* Out(int32_t output, int32_t id)
{
    return OutputParam(output, id);
}

/** The editing lock follows the connection and the listen mode: compare mode (the covers shown)
    while connected and not listening live. */
void SetCompareMode(bool on)
{
    Param("QM7\\usbActive")->SetValue(1, true);
    Param("global\\ListenMode")->SetValue(on ? 0 : 1, true);
    Param("QM7\\lockUIForEditCompare")->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

XParam* In(int32_t input, int32_t id)
{
    return GetInputChannel(input)->GetParam(id);
}

/** The bands of a view that are drawn, as a string of '1' (on) and '0' (off) by band index. */
std::string OnBands(const XEQView& view)
{
    std::string on;
    for (int band = 0; band < view.GetNumBands(); ++band)
        on += view.IsBandOn(band) ? '1' : '0';
    return on;
}

/** What OnBands gives for a view whose bands are all drawn but for those listed off. */
std::string AllOnBut(const std::vector<int>& off)
{
    std::string on(FreqResponseWindow::kBandCount, '1');
    for (int band : off)
        on[static_cast<size_t>(band)] = '0';
    return on;
}

std::vector<int> Range(int first, int count)
{
    std::vector<int> bands(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        bands[static_cast<size_t>(i)] = first + i;
    return bands;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

/** Input n's parametric and graphic bands in a view. */
std::vector<int> InputBands(int32_t input)
{
    return Join(Range(10 * input, 10), Range(20 + 31 * input, 31));
}

/** The windows the application creates at start-up before this one (the crossover's local types
    and Qs, the output and input EQs' draw types), then the window. */
template <class Base> class WithFreqResponseWindow : public Base
{
protected:
    void SetUp() override
    {
        Base::SetUp();
        if (this->IsSkipped())
            return;
        for (int32_t input = 0; input < 2; ++input)
            // The high-pass filters in (bypassed at start).
            In(input, ChannelParamTables::kInputBypassFirstId)->SetValue(0, true);
        crossover = std::make_unique<CrossOverWindow>();
        outputEq = std::make_unique<ChannelEqWindow>();
        inputEq = std::make_unique<InputPEQWindow>();
        window = std::make_unique<FreqResponseWindow>();
    }
    void TearDown() override
    {
        window.reset();
        inputEq.reset();
        outputEq.reset();
        crossover.reset();
        Base::TearDown();
    }

    std::unique_ptr<CrossOverWindow> crossover;
    std::unique_ptr<ChannelEqWindow> outputEq;
    std::unique_ptr<InputPEQWindow> inputEq;
    std::unique_ptr<FreqResponseWindow> window;
};

using FreqResponseWindowTest = WithFreqResponseWindow<WindowTest::WindowTestBase>;
} // namespace

TEST_F(FreqResponseWindowTest, AnOutputDrawsTheBandsOfTheInputsItsSourceFeeds)
{
    Out(2, kSource)->SetValue(1, true); // output 3 from input B
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    XEQView& view = *window->GetView(2);
    FreqPanel& strip = *window->GetPanel(2);
    ASSERT_EQ(view.GetNumBands(), FreqResponseWindow::kBandCount);
    EXPECT_EQ(OnBands(view), AllOnBut(InputBands(0)));
    for (int band : InputBands(0))
        EXPECT_EQ(view.GetBandParam(XEQView::kBandOn, band), &window->BandOff()) << "input A's band " << band;
    EXPECT_EQ(view.GetBandParam(XEQView::kBandOn, 13), strip.ParametricBandDraw(1, 3));

    const struct
    {
        double source;
        std::vector<int> off;
    } cases[] = {{2, {}}, {0, InputBands(1)}, {1, InputBands(0)}, {2, {}}};
    for (const auto& c : cases)
    {
        Out(2, kSource)->SetValue(c.source, true);
        EXPECT_EQ(OnBands(view), AllOnBut(c.off)) << "source " << c.source;
    }
    EXPECT_EQ(view.GetBandParam(XEQView::kBandOn, 3), strip.ParametricBandDraw(0, 3));
    EXPECT_EQ(view.GetBandParam(XEQView::kBandOn, 20 + 31 + 30), strip.GraphicBandDraw(1, 30));
    EXPECT_EQ(OnBands(*window->GetView(0)), AllOnBut(InputBands(1))) << "the others keep input A";
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(FreqResponseWindowTest, EachStripBindsItsOutputAndItsViewSumsTheBandsInOrder)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    EXPECT_EQ(Param("QM7\\WndOutputFreqResp")->GetValue(), 1);
    for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
    {
        SCOPED_TRACE(o);
        const FreqPanel& strip = *window->GetPanel(o);
        // Output 6 at the top, output 1 at the bottom.
        EXPECT_EQ(strip.getBounds(), juce::Rectangle<int>(6, 3 + 95 * (5 - o), 787, 94));
        EXPECT_EQ(strip.GetGainFader()->GetPot(), Out(o, kOutputGain));
        EXPECT_EQ(strip.GetGainField()->GetPot(), Out(o, kOutputGain));
        EXPECT_EQ(strip.GetLevelMeter()->GetPot(), Out(o, kOutputGuiMeter));
        EXPECT_EQ(strip.GetLevelMeter()->GetHighIndicator().param, Out(o, kOutputMeter));
        EXPECT_EQ(strip.GetMuteButton()->GetPot(), Out(o, kOutputMute));
        EXPECT_EQ(strip.GetOutputLabel()->GetPot(), Out(o, kLabel));
        EXPECT_EQ(strip.GetRangeButton()->GetPot(), &window->RangeToggle());
        EXPECT_EQ(strip.GetRangeButton()->GetTooltipText(), "dB range toggle");
        // The widest gain text fits its entry (one pixel of inset and one of margin on each side);
        // gains below -95 dB read "OFF".
        const XTextEditView& field = *strip.GetGainField();
        EXPECT_LE(field.GetFont()->GetStringWidth(XString("-94.5")), field.getWidth() - 4);

        const XEQView& view = *window->GetView(o);
        EXPECT_EQ(&view, strip.GetView());
        EXPECT_EQ(view.GetNumBands(), FreqResponseWindow::kBandCount);
        EXPECT_EQ(view.GetLineWidth(), 2u);
        EXPECT_EQ(view.GetBallRadius(), 0u);
        EXPECT_EQ(view.GetBandOnMode(), 1);
        EXPECT_FALSE(view.IsHilited());
        EXPECT_EQ(view.GetOffsetParam(), Out(o, kOutputGain));
        EXPECT_EQ(view.GetEnableParam(), Out(o, kOutputMute));
    }

    // The bands of output 3, fed by both inputs: gain, frequency, Q, type and on switch.
    Out(2, kSource)->SetValue(2, true);
    FreqPanel& strip = *window->GetPanel(2);
    const XEQView& view = *window->GetView(2);
    SharedWindowState& draw = SharedWindowState::Instance();
    const int32_t gain = ChannelParamTables::kInputGainFirstId;
    const int32_t freq = ChannelParamTables::kInputFreqFirstId;
    const int32_t q = ChannelParamTables::kInputQFirstId;
    const int32_t geq = ChannelParamTables::kGeqGainFirstId;
    const int32_t outGain = ChannelParamTables::kOutputGainFirstId;
    const int32_t outFreq = ChannelParamTables::kOutputFreqFirstId;
    const int32_t outQ = ChannelParamTables::kOutputQFirstId;
    const struct
    {
        int band;
        std::array<XParam*, 5> params; // gain, frequency, Q, type, on
    } bands[] = {
        {0, {In(0, gain), In(0, freq), In(0, q), draw.InputDrawType(0, 0), strip.ParametricBandDraw(0, 0)}},
        {19,
         {In(1, gain + 9), In(1, freq + 9), In(1, q + 9), draw.InputDrawType(1, 9),
          strip.ParametricBandDraw(1, 9)}},
        {20,
         {In(0, geq), MasterGraphicEqWindow::BandFrequency(0), &window->GraphicQ(), &window->GraphicType(),
          strip.GraphicBandDraw(0, 0)}},
        {81,
         {In(1, geq + 30), MasterGraphicEqWindow::BandFrequency(30), &window->GraphicQ(),
          &window->GraphicType(), strip.GraphicBandDraw(1, 30)}},
        {82,
         {&window->ZeroGain(), Out(2, kHipassFreq), Param("crossover\\HPFQCh3"),
          Param("crossover\\HPFTypeCh3"), &window->BandOn()}},
        {83,
         {&window->ZeroGain(), Out(2, kLopassFreq), Param("crossover\\LPFQCh3"),
          Param("crossover\\LPFTypeCh3"), &window->BandOn()}},
        {84, {Out(2, outGain), Out(2, outFreq), Out(2, outQ), draw.DrawType(2, 0), strip.OutputBandDraw(0)}},
        {88,
         {Out(2, outGain + 4), Out(2, outFreq + 4), Out(2, outQ + 4), draw.DrawType(2, 4),
          strip.OutputBandDraw(4)}},
    };
    const int kinds[] = {XEQView::kBandGain, XEQView::kBandFrequency, XEQView::kBandQ, XEQView::kBandType,
                         XEQView::kBandOn};
    for (const auto& c : bands)
        for (size_t k = 0; k < std::size(kinds); ++k)
        {
            ASSERT_NE(c.params[k], nullptr) << "band " << c.band << ", kind " << kinds[k];
            EXPECT_EQ(view.GetBandParam(kinds[k], c.band), c.params[k])
                << "band " << c.band << ", kind " << kinds[k];
        }
    EXPECT_EQ(window->GraphicQ().GetValue(), 4.3189);
    EXPECT_EQ(window->GraphicType().GetValue(), 2) << "the view's peaking type";
    EXPECT_EQ(MasterGraphicEqWindow::BandFrequency(30)->GetValue(), 20000);
    EXPECT_EQ(strip.GraphicBandDraw(1, 30)->GetName(), "outCh2_inCh1_GEQband30");
    EXPECT_EQ(strip.ParametricBandDraw(0, 9)->GetName(), "outCh2_inCh0_PEQband9");

    window->Hide();
    EXPECT_EQ(Param("QM7\\WndOutputFreqResp")->GetValue(), 0);
}

TEST_F(FreqResponseWindowTest, BandAndBlockBypassesTakeExactlyTheirBandsOut)
{
    const int sources[] = {0, 1, 2, 0, 1, 2};
    for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
        Out(o, kSource)->SetValue(sources[o], true);
    // Input A's band 3 bypassed before the block.
    In(0, ChannelParamTables::kInputBypassFirstId + 3)->SetValue(1, true);
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    // By source: the bands of the input that does not feed the output.
    const std::vector<int> unrouted[] = {InputBands(1), InputBands(0), {}};

    // Input A's parametric block: gone from every output fed by A; back with only band 3 missing.
    In(0, kInputPeqAllBypass)->SetValue(1, true);
    for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
    {
        std::vector<int> off = unrouted[sources[o]];
        if (sources[o] != 1)
            off = Join(off, Range(0, 10));
        EXPECT_EQ(OnBands(*window->GetView(o)), AllOnBut(off)) << o;
    }
    In(0, kInputPeqAllBypass)->SetValue(0, true);
    for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
    {
        std::vector<int> off = unrouted[sources[o]];
        if (sources[o] != 1)
            off.push_back(3);
        EXPECT_EQ(OnBands(*window->GetView(o)), AllOnBut(off)) << o;
    }

    // Single bands and the output's own block, on output 3 (A+B).
    XEQView& view = *window->GetView(2);
    const struct
    {
        XParam* bypass;
        std::vector<int> off;
    } cases[] = {
        {Out(2, ChannelParamTables::kOutputBypassFirstId + 2), {3, 86}}, // output band 3
        {Out(2, kChannelEqBypass), {3, 84, 85, 86, 87, 88}},             // the output EQ, not the crossover
        {In(1, ChannelParamTables::kGeqBypassFirstId + 4), {3, 84, 85, 86, 87, 88, 20 + 31 + 4}},
        {In(1, kInputGeqAllBypass), Join({3, 84, 85, 86, 87, 88}, Range(51, 31))},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bypass->GetName().CStr());
        c.bypass->ChangeValue(1,
                              true); // as a click does: a graphic band's bypass is a bit of the input's mask
        EXPECT_EQ(OnBands(view), AllOnBut(c.off));
    }

    // A band bypass recomputes its band in the views that draw it; an input's block bypass every
    // band of all six views.
    auto rowsComputed = [this](const std::function<void()>& change)
    {
        std::vector<int64_t> rows;
        for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
        {
            window->GetView(o)->UpdateCurves();
            rows.push_back(window->GetView(o)->GetComputedRowCount());
        }
        change();
        for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
        {
            window->GetView(o)->UpdateCurves();
            rows[static_cast<size_t>(o)] =
                window->GetView(o)->GetComputedRowCount() - rows[static_cast<size_t>(o)];
        }
        return rows;
    };
    EXPECT_EQ(rowsComputed([] { In(0, ChannelParamTables::kGeqBypassFirstId + 7)->ChangeValue(1, true); }),
              (std::vector<int64_t>{1, 0, 1, 1, 0, 1}));
    EXPECT_FALSE(window->GetView(0)->IsBandOn(27));
    EXPECT_EQ(rowsComputed([] { In(0, kInputGeqAllBypass)->SetValue(1, true); }),
              std::vector<int64_t>(6, FreqResponseWindow::kBandCount));
    EXPECT_EQ(rowsComputed([] { In(1, kInputPeqAllBypass)->SetValue(1, true); }),
              std::vector<int64_t>(6, FreqResponseWindow::kBandCount));
    // An output's own block changes none of the draw switches: its view alone recomputes.
    EXPECT_EQ(rowsComputed([] { Out(2, kChannelEqBypass)->SetValue(0, true); }),
              (std::vector<int64_t>{0, 0, FreqResponseWindow::kBandCount, 0, 0, 0}));
}

TEST_F(FreqResponseWindowTest, BandsDrawWithTheEqWindowsShapesAndTheCurveFollowsGainMuteAndColour)
{
    // A 6 dB/oct low shelf on output 1's band 1 and on input B's band 3 (output 1 fed by both):
    // drawn as one (9), not as the unit's type code 0.
    Out(0, kSource)->SetValue(2, true);
    Out(0, ChannelParamTables::kOutputTypeFirstId)->SetValue(0, true);
    Out(0, ChannelParamTables::kOutputSlopeFirstId)->SetValue(0, true);
    In(1, ChannelParamTables::kInputTypeFirstId + 3)->SetValue(0, true);
    In(1, ChannelParamTables::kInputSlopeFirstId + 3)->SetValue(0, true);
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    XEQView& view = *window->GetView(0);
    const int inputBand = 10 + 3;
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, FreqResponseWindow::kFirstOutputBand)->GetValue(), 9);
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, inputBand)->GetValue(), 9);
    Out(0, ChannelParamTables::kOutputSlopeFirstId)->SetValue(1, true);
    In(1, ChannelParamTables::kInputSlopeFirstId + 3)->SetValue(1, true);
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, FreqResponseWindow::kFirstOutputBand)->GetValue(), 11);
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, inputBand)->GetValue(), 11);
    // The input bands take the input EQ's drawing types, the crossover bands the crossover window's.
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, 0), SharedWindowState::Instance().InputDrawType(0, 0));
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, 13), SharedWindowState::Instance().InputDrawType(1, 3));
    EXPECT_EQ(view.GetBandParam(XEQView::kBandType, FreqResponseWindow::kHighPassBand),
              Param("crossover\\HPFTypeCh1"));

    EXPECT_EQ(view.GetOffsetParam(), Out(0, kOutputGain));
    Out(0, kOutputMute)->SetValue(1, true);
    EXPECT_FALSE(view.IsEQEnabled());
    Out(0, kOutputMute)->SetValue(0, true);
    EXPECT_TRUE(view.IsEQEnabled());

    // Each curve takes its output's colour, again when the configuration changes.
    Param("preset\\ColorChan1")->SetValue(3, true);
    Param("preset\\ColorChan6")->SetValue(0, true);
    Param("preset\\currentconfig")->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    EXPECT_EQ(view.GetCurveColor(), GetColorDictionary().GetColor("outputColor4"));
    EXPECT_EQ(window->GetView(5)->GetCurveColor(), GetColorDictionary().GetColor("outputColor1"));

    SetCompareMode(true);
    EXPECT_TRUE(window->GetCompareCover()->isVisible());
    SetCompareMode(false);
    EXPECT_FALSE(window->GetCompareCover()->isVisible());
}

TEST_F(FreqResponseWindowTest, ACrossoverSideOfThruAddsNothingToTheCurve)
{
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    XEQView& view = *window->GetView(1);
    const int columns = view.GetInnerRect().right - view.GetInnerRect().left;
    // Whether the crossover band's row is flat, and whether it lowers the first column (a low cut).
    auto row = [&](int band)
    {
        view.UpdateCurves();
        const XEQBandCurves::Row& values = view.GetCurves().GetBandRow(band);
        const bool flat =
            std::all_of(values.begin(), values.begin() + columns, [](int16_t v) { return v == 0; });
        return std::pair{flat, values[0] > 0};
    };
    Out(1, kHipassFreq)->SetValue(200, true);
    Out(1, kLopassFreq)->SetValue(2000, true);
    const struct
    {
        int32_t typeId;
        double type; // 0 "THRU", 16 "Butter 24 dB"
        int band;
        bool flat;
        bool lowCut;
    } cases[] = {
        {kHipassTypeQ, 0, FreqResponseWindow::kHighPassBand, true, false},
        {kHipassTypeQ, 16, FreqResponseWindow::kHighPassBand, false, true},
        {kLopassTypeQ, 0, FreqResponseWindow::kLowPassBand, true, false},
        {kLopassTypeQ, 16, FreqResponseWindow::kLowPassBand, false, false},
    };
    for (const auto& c : cases)
    {
        Out(1, c.typeId)->SetValue(c.type, true);
        EXPECT_EQ(row(c.band), std::pair(c.flat, c.lowCut)) << "band " << c.band << ", type " << c.type;
    }
}

namespace
{
using FreqResponseWindowSimTest = WithFreqResponseWindow<WindowTest::WindowSimTestBase>;

void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& target)
{
    const juce::Point<int> centre = target.getLocalBounds().getCentre();
    mouse.Wait(500); // no double click with the last one
    mouse.Send(target, centre, {});
    mouse.Send(target, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(target, centre, {});
}

std::vector<double> Ranges(const FreqResponseWindow& window)
{
    std::vector<double> ranges;
    for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
        ranges.push_back(window.GetView(o)->GetDisplayRange());
    return ranges;
}
} // namespace

TEST_F(FreqResponseWindowSimTest, MetersMoveAndOneGraphsToggleSetsTheRangeOfAllSix)
{
    ASSERT_TRUE(ConnectEditor({"--meters"}));
    SetCompareMode(false);
    // Curves with something to show: gains, graphic and parametric bands, crossovers; labels as a
    // configuration gives them.
    const double sources[] = {0, 0, 1, 1, 2, 2};
    const char* labels[] = {"Sub Mono", "Lo-Mid L", "Mid-Hi L", "FR", "Lo-Mid R", "Mid-Hi R"};
    for (int32_t o = 0; o < FreqResponseWindow::kOutputCount; ++o)
    {
        Out(o, kLabel)->SetText(labels[o], true);
        Out(o, kSource)->SetValue(sources[o], true);
        Out(o, kOutputGain)->SetValue(-3 * o, true);
        Out(o, kHipassFreq)->SetValue(40 + 30 * o, true);
        Out(o, kLopassFreq)->SetValue(2000 + 3000 * o, true);
        Out(o, ChannelParamTables::kOutputGainFirstId + o % 5)->SetValue(o % 2 == 0 ? 6 : -6, true);
    }
    for (int32_t k = 0; k < 31; k += 3)
        In(0, ChannelParamTables::kGeqGainFirstId + k)->SetValue(k % 2 == 0 ? 4 : -3, true);
    In(1, ChannelParamTables::kInputGainFirstId + 2)->SetValue(8, true);
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    GuiTestSupport::PeerMouse mouse(*window);

    std::vector<int32_t> seen;
    const bool moved = ViewTest::PumpUntil(
        [&]
        {
            const int32_t lit = window->GetPanel(3)->GetLevelMeter()->GetPosition();
            if (std::find(seen.begin(), seen.end(), lit) == seen.end())
                seen.push_back(lit);
            return seen.size() >= 3;
        },
        kSimWaitMs);
    EXPECT_TRUE(moved) << "lit counts seen: " << seen.size();

    EXPECT_EQ(Ranges(*window), std::vector<double>(6, FreqResponseWindow::kInitialRange));
    Click(mouse, *window->GetPanel(5)->GetRangeButton());
    EXPECT_EQ(Ranges(*window), std::vector<double>(6, FreqResponseWindow::kNarrowRange));
    Click(mouse, *window->GetPanel(0)->GetRangeButton());
    EXPECT_EQ(Ranges(*window), std::vector<double>(6, FreqResponseWindow::kWideRange));
    Click(mouse, *window->GetPanel(2)->GetRangeButton());
    EXPECT_EQ(Ranges(*window), std::vector<double>(6, FreqResponseWindow::kNarrowRange));
    Click(mouse, *window->GetPanel(2)->GetRangeButton());
    EXPECT_EQ(Ranges(*window), std::vector<double>(6, FreqResponseWindow::kWideRange));

    GuiTestSupport::RunLoopFor(200);
    GuiTestSupport::TakeScreenshot(*window, "FrequencyResponseWindow");
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}
