#include "widgets/XTimeView.h"

#include "WidgetTestSupport.h"
#include "core/TimeParam.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "core/XParamDesc.h"
#include "widgets/MasterTimeView.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{
using ControlTest::Recorder;
using WidgetTest::WidgetTree;
using Edit = XTextEditView::XTextEdit;

std::unique_ptr<TimeParam> MakeTimeParam()
{
    XParamDesc desc;
    desc.SetName("Locate");
    desc.type = XParamDesc::kTypeTime;
    desc.max = 1;
    return std::make_unique<TimeParam>(desc);
}

class TimeViewTest : public WidgetTree
{
protected:
    template <typename View = XTimeView> View* AddTime(const char* format, XParam* param = nullptr)
    {
        auto* view = new View();
        view->SetFrame(XRect(10, 10, 130, 32));
        XMessage block;
        block.AddString("timeformat", format);
        view->ReadAttributes(block);
        root.AddChild(view);
        if (param != nullptr)
            view->SetPot(param);
        ViewTest::Pump();
        return view;
    }

    static std::string Text(const XTextEditView* view) { return view->GetText().CStr(); }

    static void Key(XTextEditView* view, int32_t keyCode)
    {
        XKeyInfo modifiers = 0;
        view->HandleKeyPress(keyCode, modifiers);
    }

    /** Focuses the view and selects the columns [from, to) of its text. */
    static Edit* Select(XTextEditView* view, int32_t from, int32_t to)
    {
        view->FocusChanged(true);
        Edit* edit = view->GetEditor();
        edit->SetSelection(XPoint(from, 0), XPoint(to, 0), true);
        return edit;
    }
};

TEST_F(TimeViewTest, TheFormatWordIsReadInAnyCase)
{
    struct Case
    {
        const char* word;
        int32_t format;
        const char* text;
    };
    const Case cases[] = {{"smpte", XTimeView::kFormatSmpte, "00:00:00:00"},
                          {"Samples", XTimeView::kFormatSamples, "0"},
                          {"BBT", XTimeView::kFormatBbt, "1:1:0"},
                          {"minutes", XTimeView::kFormatSamples, "0"}};
    for (const Case& c : cases)
    {
        XTimeView* view = AddTime(c.word);
        EXPECT_EQ(view->GetTimeFormat(), c.format) << c.word;
        EXPECT_EQ(Text(view), c.text) << c.word;
        EXPECT_TRUE(view->GetEditor()->IsTimeEdit());
    }
}

TEST_F(TimeViewTest, DigitsShiftIntoTheSelectedFieldAndTheArrowsMoveBetweenFields)
{
    XTimeView* view = AddTime("SMPTE");
    Edit* edit = Select(view, 0, 2);
    Key(view, '1');
    EXPECT_EQ(Text(view), "01:00:00:00");
    Key(view, '2');
    EXPECT_EQ(Text(view), "12:00:00:00");
    EXPECT_EQ(edit->GetSelectionStart().x, 0) << "the field stays selected";
    EXPECT_EQ(edit->GetSelectionEnd().x, 2);

    Key(view, XKeyCode::kRight);
    EXPECT_EQ(edit->GetSelectionStart().x, 3);
    EXPECT_EQ(edit->GetSelectionEnd().x, 5);
    Key(view, ':');
    EXPECT_EQ(edit->GetSelectionStart().x, 6) << "a separator moves on as well";
    Key(view, XKeyCode::kRight);
    Key(view, XKeyCode::kRight);
    EXPECT_EQ(edit->GetSelectionStart().x, 0) << "wraps to the first field";
    Key(view, XKeyCode::kLeft);
    EXPECT_EQ(edit->GetSelectionStart().x, 9) << "and back to the last";
    EXPECT_EQ(edit->GetSelectionEnd().x, 11);
    Key(view, 'a');
    Key(view, XKeyCode::kBackspace);
    Key(view, XKeyCode::kDelete);
    EXPECT_EQ(Text(view), "12:00:00:00") << "letters and deletions are dropped";
}

TEST_F(TimeViewTest, SteppingAFieldCarriesItsWidth)
{
    struct Case
    {
        const char* text;
        bool up;
        const char* expected;
        int32_t selectionEnd;
    };
    const Case cases[] = {{"00:00:09:00", true, "00:00:10:00", 8},
                          {"00:00:00:00", false, "00:00:00:00", 8},
                          {"00:00:99:00", true, "00:00:100:00", 9},
                          {"00:00:ab:00", true, "00:00:ab:00", 8}};
    for (const Case& c : cases)
    {
        XTimeView* view = AddTime("SMPTE");
        view->SetTextValue(XString(c.text), false);
        Edit* edit = Select(view, 6, 8);
        Key(view, c.up ? XKeyCode::kUp : XKeyCode::kDown);
        EXPECT_EQ(Text(view), c.expected) << c.text;
        EXPECT_EQ(edit->GetSelectionEnd().x, c.selectionEnd) << c.text;
        view->FocusChanged(false);
    }
}

TEST_F(TimeViewTest, LeavingTheFieldWritesTheParameterAndMendsOrRestoresTheText)
{
    auto param = MakeTimeParam();
    XTimeView* view = AddTime("SMPTE", param.get());
    ASSERT_EQ(Text(view), "00:00:00:00");

    Select(view, 0, 2);
    Key(view, '2');
    Key(view, '5');
    view->FocusChanged(false);
    EXPECT_EQ(Text(view), "23:00:00:00") << "an hour of 25 is mended";
    EXPECT_EQ(param->GetTime().GetTimecode().hours, 23);

    view->FocusChanged(true);
    view->SetTextValue(XString("1:2:x"), false);
    view->CommitText();
    EXPECT_EQ(Text(view), "23:00:00:00") << "a text that cannot be mended shows the last time";
    EXPECT_EQ(param->GetTime().GetTimecode().hours, 23);
}

TEST_F(TimeViewTest, AParameterChangeShowingTheSameTextLeavesTheEditorAlone)
{
    auto param = MakeTimeParam();
    XTimeView* view = AddTime("SMPTE", param.get());
    Edit* edit = Select(view, 3, 5);
    view->ParamChanged(XMsgCode::kParamValueSet, param.get(), 0);
    EXPECT_EQ(edit->GetSelectionStart().x, 3);
    EXPECT_EQ(edit->GetSelectionEnd().x, 5);

    XTimeValue time(XTimeValue::kTimecode);
    ASSERT_TRUE(time.FromString("01:02:03:04", XTimeValue::kTimecode));
    param->SetTime(time, true);
    ViewTest::Pump();
    EXPECT_EQ(Text(view), "01:02:03:04");
}

TEST_F(TimeViewTest, AWheelTurnOnTheMasterTimeViewCommitsAndReportsTheTimestamp)
{
    Recorder recorder("timestamps");
    recorder.Bind(MasterTimeView::kTimestampMessage);
    auto param = MakeTimeParam();
    auto* view = AddTime<MasterTimeView>("SMPTE", param.get());
    EXPECT_FALSE(view->GetDisplaySubframes());
    view->MouseWheel(XPoint(5, 5), 1);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return !recorder.messages.empty(); }, 5000));
    const XMessage& report = recorder.messages.back();
    int64_t bits = 0;
    ASSERT_EQ(report.FindInt64(MasterTimeView::kTimestampItem, bits), 0);
    double seconds = 0;
    std::memcpy(&seconds, &bits, sizeof(seconds));
    EXPECT_GT(param->GetTime().GetSamples(), 0.0) << "the wheel stepped the time";
    EXPECT_DOUBLE_EQ(seconds, param->GetTime().GetSeconds());
    EXPECT_EQ(Text(view), param->GetTime().ToString(XTimeValue::kTimecode).CStr());
}

TEST_F(TimeViewTest, TheViewIsDrawnWithItsFrame)
{
    XTimeView* view = AddTime("SMPTE");
    view->SetForeColor(XRGB(250, 10, 10));
    const juce::Image picture = WidgetTest::Render(*view);
    EXPECT_EQ(WidgetTest::Pixel(picture, 0, 5), juce::Colour(250, 10, 10));
}
} // namespace
