#include "widgets/XSpinner.h"

#include "ScopedSkinBase.h"
#include "WidgetTestSupport.h"
#include "core/TimeParam.h"
#include "core/XMessage.h"
#include "core/XParamDesc.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "widgets/XTextEditView.h"
#include "widgets/XTimeView.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using ViewTest::MakeParam;
using WidgetTest::WidgetTree;

class SpinnerTest : public WidgetTree
{
protected:
    XSpinner* AddSpinner(XParam* param, const XMessage& block = XMessage(),
                         const XRect& frame = XRect(10, 10, 70, 34))
    {
        auto* spinner = new XSpinner();
        spinner->SetFrame(frame);
        XMessage copy(block);
        if (param != nullptr)
            copy.AddPointer("param", param);
        spinner->ReadAttributes(copy);
        root.AddChild(spinner);
        return spinner;
    }

    static void ClickOn(XButton* button)
    {
        const XPoint inside(2, 2);
        button->MouseDown(inside, XView::kButtonLeft);
        button->MouseUp(inside, XView::kButtonLeft);
    }
};

TEST_F(SpinnerTest, ThePlainLayoutStacksHalfWidthButtonsAtTheRight)
{
    auto param = MakeParam(0, 10);
    XSpinner* spinner = AddSpinner(param.get());
    ASSERT_NE(spinner->GetUpButton(), nullptr);
    EXPECT_FALSE(spinner->IsFancy());
    EXPECT_EQ(spinner->GetUpButton()->GetFrame(), XRect(30, 0, 60, 12));
    EXPECT_EQ(spinner->GetDownButton()->GetFrame(), XRect(30, 12, 60, 24));
    EXPECT_EQ(spinner->GetTextField()->GetFrame(), XRect(0, 0, 28, 24));
    EXPECT_STREQ(spinner->GetUpButton()->GetLabel().CStr(), "+");
    EXPECT_STREQ(spinner->GetDownButton()->GetLabel().CStr(), "-");
    EXPECT_EQ(spinner->GetTextField()->GetPot(), param.get());
    EXPECT_EQ(dynamic_cast<XTimeView*>(spinner->GetTextField()), nullptr);

    XMessage block;
    block.AddInt32("buttonwidth", 20);
    block.AddInt32("separatorwidth", 4);
    XSpinner* narrow = AddSpinner(param.get(), block, XRect(10, 40, 70, 64));
    EXPECT_EQ(narrow->GetUpButton()->GetFrame(), XRect(40, 0, 60, 12));
    EXPECT_EQ(narrow->GetTextField()->GetFrame(), XRect(0, 0, 36, 24));
}

TEST_F(SpinnerTest, EachClickStepsTheParameterByOneAndTheFieldFollows)
{
    auto param = MakeParam(0, 10);
    param->SetValue(3, false);
    XSpinner* spinner = AddSpinner(param.get());
    ClickOn(spinner->GetUpButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return param->GetValue() == 4.0; }, 5000));
    ClickOn(spinner->GetUpButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return param->GetValue() == 5.0; }, 5000));
    ClickOn(spinner->GetDownButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return param->GetValue() == 4.0; }, 5000));
    ViewTest::Pump();
    EXPECT_STREQ(spinner->GetTextField()->GetText().CStr(), "4") << "the watchers were told";
}

TEST_F(SpinnerTest, WithoutThePlusMinusImagesTheFancyLayoutFallsBack)
{
    ScopedSkinBase noImages;
    XMessage block;
    block.AddString("style", "FancyRender");
    XSpinner* spinner = AddSpinner(nullptr, block);
    EXPECT_FALSE(spinner->IsFancy());
    EXPECT_STREQ(spinner->GetUpButton()->GetLabel().CStr(), "+");
    EXPECT_EQ(spinner->GetUpButton()->GetFrame(), XRect(30, 0, 60, 12));
}

TEST_F(SpinnerTest, ATimeParameterGetsATimeField)
{
    XParamDesc desc;
    desc.SetName("Locate");
    desc.type = XParamDesc::kTypeTime;
    TimeParam time(desc);
    XSpinner* spinner = AddSpinner(&time);
    auto* field = dynamic_cast<XTimeView*>(spinner->GetTextField());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetTimeFormat(), XTimeView::kFormatSmpte);
    EXPECT_TRUE(field->GetEditor()->IsInSpinner());
}

TEST_F(SpinnerTest, TheFancySpinnerIsDrawnInTheSkin)
{
    if (!WidgetTest::UseBuiltSkin() || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    auto param = MakeParam(0, 99);
    param->SetValue(42, false);
    XMessage block;
    block.AddString("style", "fancyRender,numeric");
    block.AddColor("textcolor", GetColorDictionary().GetColor("editTextFore"));
    XSpinner* fancy = AddSpinner(param.get(), block, XRect(10, 10, 90, 40));
    XMessage plainBlock;
    plainBlock.AddColor("textcolor", GetColorDictionary().GetColor("editTextFore"));
    plainBlock.AddColor("forecolor", GetColorDictionary().GetColor("editTextBack"));
    XSpinner* plain = AddSpinner(param.get(), plainBlock, XRect(10, 40, 90, 64));
    ASSERT_TRUE(fancy->IsFancy());
    EXPECT_EQ(fancy->GetHeight(), 18) << "the images' height";
    EXPECT_EQ(fancy->GetDownButton()->GetFrame(), XRect(0, 0, 15, 18));
    EXPECT_EQ(fancy->GetUpButton()->GetFrame(), XRect(65, 0, 80, 18));
    EXPECT_EQ(fancy->GetTextRect(), XRect(15, 0, 65, 17));
    EXPECT_EQ(fancy->GetTextField()->GetFrame(), XRect(15, 4, 65, 14));
    EXPECT_FALSE(fancy->GetTextField()->GetDrawFrame());
    ViewTest::Pump();
    root.setSize(100, 70);
    GuiTestSupport::TakeScreenshot(root, "Spinner");
    const juce::Image picture = WidgetTest::Render(*fancy);
    EXPECT_EQ(WidgetTest::Pixel(picture, 30, 2), juce::Colour(52, 57, 58)) << "the bevel line";
    EXPECT_EQ(plain->GetUpButton()->GetWidth(), 40);
}
TEST_F(SpinnerTest, APlainFieldTakesTheSkinsFieldColoursUnlessTheDescriptionSetsThem)
{
    if (!WidgetTest::UseBuiltSkin() || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    auto param = MakeParam(0, 99);
    const XColorDictionary& colours = GetColorDictionary();
    XSpinner* skinned = AddSpinner(param.get());
    EXPECT_EQ(skinned->GetTextField()->GetForeColor(), colours.GetColor("editTextFore"));
    EXPECT_EQ(skinned->GetTextField()->GetBackColor(), colours.GetColor("editTextBack"));

    XMessage block;
    block.AddColor("textcolor", XRGB(1, 2, 3));
    block.AddColor("forecolor", XRGB(200, 201, 202));
    XSpinner* described = AddSpinner(param.get(), block, XRect(10, 40, 70, 64));
    EXPECT_EQ(described->GetTextField()->GetForeColor(), XRGB(1, 2, 3));
    EXPECT_EQ(described->GetTextField()->GetBackColor(), XRGB(200, 201, 202));
}
} // namespace
