#include "widgets/XComboBox.h"

#include "WidgetTestSupport.h"
#include "core/FloatParam.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/XComboBtn.h"
#include "widgets/XComboTextEdit.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
using ViewTest::MakeParam;

constexpr const char* kField = "widget\\SpinnerMediumTextField.png";
constexpr const char* kSpinner = "widget\\SpinnerSmall.png";
constexpr const char* kSpinnerUp = "widget\\SpinnerSmallUp.png";
constexpr const char* kSpinnerDown = "widget\\SpinnerSmallDown.png";

/** A root whose window holds the mouse capture the test gives it. */
class CapturingRoot final : public XView
{
public:
    XView* captured = nullptr;
    void SetCaptureView(XView* view) override { captured = view; }
    XView* GetCaptureView() override { return captured; }
};

class ComboBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        skinBuilt = WidgetTest::UseBuiltSkin();
        XStyle::SetCurrentStyle(&style);
        root.SetFrameXYWH(0, 0, 300, 120);
        root.Show();
        root.Attach();
    }
    void TearDown() override { XStyle::SetCurrentStyle(nullptr); }

    /** A box of the frame, without pictures unless the skin is built and asked for. */
    XComboBox* AddBox(XParam* param, const XRect& frame, bool pictures = false)
    {
        auto* box = pictures ? new XComboBox(frame, param, kField, kSpinner, kSpinnerUp, kSpinnerDown)
                             : new XComboBox(frame, param, nullptr, nullptr, nullptr, nullptr);
        root.AddChild(box);
        return box;
    }

    static void Press(XComboBtn& spinner, int32_t y)
    {
        spinner.MouseDown(XPoint(2, y), XView::kButtonLeft);
        spinner.MouseUp(XPoint(2, y), XView::kButtonNone);
    }

    bool skinBuilt = false;
    XStyle style;
    CapturingRoot root;
};

/** A parameter whose value indices map through a table, so that steps can change nothing. */
std::vector<double> indexTable;
void TableIndex(XParam*, double* value, int32_t* index, int32_t direction)
{
    const auto count = static_cast<int32_t>(indexTable.size());
    constexpr int32_t kValueToIndex = 1;
    if (direction == kValueToIndex) // the first index of the value
    {
        *index = 0;
        for (int32_t i = 0; i < count; ++i)
            if (indexTable[i] == *value)
            {
                *index = i;
                break;
            }
        return;
    }
    *value = indexTable[std::clamp(*index, 0, count - 1)];
}

std::unique_ptr<FloatParam> MakeTableParam(std::vector<double> table)
{
    indexTable = std::move(table);
    static XParamDescExt ext;
    ext.indexCallback = &TableIndex;
    XParamDesc desc;
    desc.id = 1;
    desc.SetName("Table");
    desc.type = XParamDesc::kTypeMilliseconds;
    desc.min = indexTable.front();
    desc.max = indexTable.back();
    desc.def = desc.min;
    desc.count = static_cast<uint32_t>(indexTable.size());
    desc.ext = &ext;
    return std::make_unique<FloatParam>(desc);
}

TEST_F(ComboBoxTest, BuildsAFieldAndASpinnerAtTheRightEnd)
{
    auto param = MakeParam(0, 99);
    XComboBox* box = AddBox(param.get(), XRect(10, 10, 110, 30));
    EXPECT_TRUE(box->IsTransparent());
    EXPECT_EQ(box->GetTextRect(), XRect(0, 0, 80, 20));
    auto* field = dynamic_cast<XComboTextEdit*>(box->GetTextField());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetFrame(), XRect(2, 2, 77, 17))
        << "2 in at the left and top, 3 at the right and bottom";
    EXPECT_EQ(field->GetPot(), param.get());
    ASSERT_NE(box->GetSpinner(), nullptr);
    EXPECT_EQ(box->GetSpinner()->GetFrame(), XRect(80, 0, 100, 20)) << "square without a picture";
    EXPECT_EQ(box->GetSpinner()->GetParam(), param.get());
    EXPECT_EQ(box->GetTextFieldPict(), nullptr);

    // A locked parameter gets a plain text, inset 2 at the sides and 3 at the top and bottom.
    auto locked = MakeParam(0, 99, "Locked");
    locked->SetFlags(locked->GetFlags() | XControl::kParamLockedFlag);
    XComboBox* plain = AddBox(locked.get(), XRect(10, 40, 110, 60));
    EXPECT_FALSE(plain->IsEditable());
    auto* text = dynamic_cast<XText*>(plain->GetTextField());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetFrame(), XRect(2, 3, 78, 17));
    EXPECT_TRUE(AddBox(nullptr, XRect(10, 70, 110, 90))->IsEditable()) << "no parameter";
}

TEST_F(ComboBoxTest, TheSpinnersPictureSetsItsSizeAndTheBoxGrowsToIt)
{
    if (!skinBuilt)
        GTEST_SKIP() << "the skin is not built";
    XImage* spinnerImage = GetResourceManager().GetImage(kSpinner);
    ASSERT_NE(spinnerImage, nullptr);
    auto param = MakeParam(0, 99);
    XComboBox* box = AddBox(param.get(), XRect(10, 10, 134, 20), true);
    const int32_t width = spinnerImage->GetWidth();
    EXPECT_EQ(box->GetSpinner()->GetFrame(), XRect(124 - width, 0, 124, spinnerImage->GetHeight()));
    EXPECT_EQ(box->GetHeight(), spinnerImage->GetHeight()) << "a box lower than the picture grows";
    ASSERT_NE(box->GetTextFieldPict(), nullptr);
    EXPECT_EQ(box->GetTextFieldPict()->GetFrame(), XRect(0, 0, 114, 10)) << "on the text origin rectangle";
    EXPECT_TRUE(box->GetTextField()->IsTransparent()) << "the field shows its picture";
}

TEST_F(ComboBoxTest, APressInTheUpperHalfStepsUpAndExactlyHalfWayCountsAsDown)
{
    auto param = MakeParam(0, 99);
    param->SetValue(50, false);
    XComboBox* box = AddBox(param.get(), XRect(0, 0, 100, 20));
    int changes = 0;
    box->Changed().Connect([&] { ++changes; });
    XComboBtn& spinner = *box->GetSpinner();
    struct Case
    {
        int32_t y;
        double expected;
        bool up;
    };
    for (const Case& test : {Case{0, 51, true}, Case{9, 52, true}, Case{10, 51, false}, Case{19, 50, false}})
    {
        Press(spinner, test.y);
        EXPECT_EQ(param->GetValue(), test.expected) << "y " << test.y;
        EXPECT_EQ(spinner.IsUp(), test.up) << "y " << test.y;
    }
    EXPECT_EQ(changes, 8) << "every press, and every new text of the field";

    // While another view holds the mouse the spinner ignores presses.
    XView other;
    root.captured = &other;
    Press(spinner, 0);
    EXPECT_EQ(param->GetValue(), 50);
    root.captured = nullptr;
}

TEST_F(ComboBoxTest, HoldingTheSpinnerStepsOnTheTicksOfItsSchedule)
{
    const std::pair<int32_t, int32_t> schedule[] = {
        {1, 0},  {6, 0},   {7, 0},   {8, 0},   {9, 1},   {10, 0},  {11, 0},  {12, 1},  {17, 0},  {18, 5},
        {23, 5}, {24, 10}, {31, 10}, {32, 15}, {40, 20}, {47, 20}, {48, 40}, {59, 40}, {60, 80}, {500, 80}};
    for (const auto& [tick, step] : schedule)
        EXPECT_EQ(XComboBtn::RepeatStep(tick, 5), step) << "tick " << tick;

    auto param = MakeParam(0, 1000);
    param->SetValue(500, false);
    XComboBox* box = AddBox(param.get(), XRect(0, 0, 100, 20));
    XComboBtn& spinner = *box->GetSpinner();
    spinner.MouseDown(XPoint(2, 2), XView::kButtonLeft);
    ASSERT_EQ(param->GetValue(), 501);
    std::vector<int32_t> steppedOn;
    for (int32_t tick = 1; tick <= 20; ++tick)
    {
        const double before = param->GetValue();
        spinner.HandleTimer(XComboBtn::kSpinTimerId);
        if (param->GetValue() != before)
            steppedOn.push_back(tick);
    }
    spinner.MouseUp(XPoint(2, 2), XView::kButtonNone);
    EXPECT_EQ(steppedOn, (std::vector<int32_t>{9, 12, 14, 16, 18, 19, 20}));
    EXPECT_EQ(param->GetValue(), 508);
}

TEST_F(ComboBoxTest, StepsThatChangeNothingFallBackToTheMinimumOrTheNextValue)
{
    struct Case
    {
        const char* what;
        std::vector<double> table;
        double start;
        int32_t delta;
        double expected;
    };
    const Case cases[] = {
        {"down from a value whose step changes nothing sets the minimum", {0, 5, 5, 10}, 5, -1, 0},
        {"up from the minimum takes the first index with another value", {0, 0, 0, 7, 9}, 0, 1, 7},
        {"up from the minimum of a parameter with one value stops", {3, 3, 3, 3}, 3, 1, 3},
        {"an ordinary step", {0, 5, 10}, 5, 1, 10},
    };
    XComboBox* box = AddBox(nullptr, XRect(0, 0, 100, 20));
    for (const Case& test : cases)
    {
        auto param = MakeTableParam(test.table);
        param->SetValue(test.start, false);
        XComboBtn spinner(XRect(0, 0, 20, 20), nullptr, nullptr, nullptr, param.get());
        spinner.Step(test.delta);
        EXPECT_EQ(param->GetValue(), test.expected) << test.what;
    }
    (void)box;

    // Direct stepping adds to the value and clamps it to the range.
    auto param = MakeParam(0, 10);
    XComboBtn direct(XRect(0, 0, 20, 20), nullptr, nullptr, nullptr, param.get());
    direct.SetDirectStep(true);
    for (const auto& [delta, expected] : {std::pair<int32_t, double>{3, 3}, {20, 10}, {-4, 6}, {-50, 0}})
    {
        direct.Step(delta);
        EXPECT_EQ(param->GetValue(), expected) << delta;
    }
}

TEST_F(ComboBoxTest, TheSpinnerShowsTheLockTextsAndTakesNoMouseWhileLocked)
{
    auto lockMode = MakeParam(0, 1, "currentPresetLockMode");
    ASSERT_TRUE(lockMode->SetPath("%s", XControl::kLockModeParamPath));
    auto param = MakeParam(0, 99);
    XComboBox* box = AddBox(param.get(), XRect(0, 0, 100, 20));
    XComboBtn& spinner = *box->GetSpinner();

    lockMode->SetValue(1, false);
    param->Notify(XMsgCode::kRefresh);
    ViewTest::Pump();
    EXPECT_STREQ(spinner.GetTooltipText().CStr(), "Current Preset is Locked");
    EXPECT_FALSE(spinner.IsHilited());

    lockMode->SetValue(0, false);
    param->SetFlags(param->GetFlags() | XControl::kParamLockedFlag);
    ViewTest::Pump();
    EXPECT_STREQ(spinner.GetTooltipText().CStr(), "This Parameter is Locked");

    param->SetFlags(param->GetFlags() & ~XControl::kParamLockedFlag);
    ViewTest::Pump();
    EXPECT_TRUE(spinner.GetTooltipText().IsEmpty()) << "the lock text is cleared once both locks end";
    EXPECT_TRUE(spinner.IsHilited());
}

/** Combo boxes in the skin's pictures and colours, one pressed up, for a person to judge. */
TEST_F(ComboBoxTest, ScreenshotOfComboBoxesInTheSkin)
{
    if (!skinBuilt || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    auto delay = MakeParam(0, 500, "Delay");
    delay->SetValue(120, false);
    auto locked = MakeParam(0, 99, "Locked");
    locked->SetValue(42, false);
    locked->SetFlags(locked->GetFlags() | XControl::kParamLockedFlag);
    XComboBox* pictured = AddBox(delay.get(), XRect(10, 10, 134, 29), true);
    XComboBox* plain = AddBox(delay.get(), XRect(10, 40, 110, 60));
    AddBox(locked.get(), XRect(10, 70, 110, 90));
    pictured->GetSpinner()->MouseDown(XPoint(2, 2), XView::kButtonLeft);
    ViewTest::Pump();
    root.setSize(150, 100);
    GuiTestSupport::TakeScreenshot(root, "ComboBoxes");
    pictured->GetSpinner()->MouseUp(XPoint(2, 2), XView::kButtonNone);
    EXPECT_EQ(delay->GetValue(), 121);
    // Without colours of its own the field shows its text in the skin's field colours.
    EXPECT_EQ(plain->GetTextField()->GetForeColor(), GetColorDictionary().GetColor("widgetText"));
    EXPECT_EQ(plain->GetTextField()->GetBackColor(), GetColorDictionary().GetColor("widgetBack"));
}
} // namespace
