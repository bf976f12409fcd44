#include "widgets/XCheckBox.h"

#include "ScopedSkinBase.h"
#include "WidgetTestSupport.h"
#include "core/XMessage.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"

#include <gtest/gtest.h>

namespace
{
using ViewTest::MakeParam;
using WidgetTest::WidgetTree;

class CheckBoxTest : public WidgetTree
{
protected:
    void SetUp() override
    {
        WidgetTree::SetUp();
        skinBuilt = WidgetTest::UseBuiltSkin() &&
                    SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder());
    }

    XCheckBox* AddBox(bool radio, const XRect& frame, XParam* param = nullptr)
    {
        auto* box = new XCheckBox();
        box->SetFrame(frame);
        XMessage block;
        block.AddBool("isRadio", radio);
        block.AddString("label", radio ? "Radio" : "Check box");
        if (param != nullptr)
            block.AddPointer("param", param);
        box->ReadAttributes(block);
        root.AddChild(box);
        return box;
    }

    bool skinBuilt = false;
};

TEST_F(CheckBoxTest, TakesTheSkinsPicturesAndTheirHeight)
{
    if (!skinBuilt)
        GTEST_SKIP() << "the skin is not built";
    XCheckBox* box = AddBox(false, XRect(10, 10, 110, 40));
    XCheckBox* radio = AddBox(true, XRect(10, 40, 110, 70));
    EXPECT_FALSE(box->IsRadio());
    EXPECT_TRUE(radio->IsRadio());
    ASSERT_NE(box->GetImage(), nullptr);
    EXPECT_NE(box->GetImage3(), box->GetImage2()) << "the skin has a pressed picture";
    EXPECT_NE(box->GetImage(), radio->GetImage());
    EXPECT_EQ(box->GetFrame(), XRect(10, 10, 110, 10 + box->GetImage()->GetHeight())) << "width kept";
    EXPECT_TRUE(box->IsTransparent());

    box->SetLabel(XString("A much longer label"), false);
    EXPECT_EQ(box->GetHeight(), box->GetImage()->GetHeight()) << "a new label keeps the image's height";
}

TEST_F(CheckBoxTest, AMissingPressedPictureFallsBackToTheLitOne)
{
    if (!skinBuilt)
        GTEST_SKIP() << "the skin is not built";
    ScopedSkinBase skin;
    ASSERT_TRUE(skin.Copy("widgets/checkboxdim.png"));
    ASSERT_TRUE(skin.Copy("widgets/checkboxlit.png"));
    XCheckBox* box = AddBox(false, XRect(10, 10, 110, 40));
    ASSERT_NE(box->GetImage2(), nullptr);
    EXPECT_EQ(box->GetImage3(), box->GetImage2());
}

TEST_F(CheckBoxTest, AClickTogglesTheBoundParameterAndIsDrawnLit)
{
    if (!skinBuilt)
        GTEST_SKIP() << "the skin is not built";
    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    auto param = MakeParam(0, 1);
    XCheckBox* box = AddBox(false, XRect(10, 10, 110, 40), param.get());
    XCheckBox* radio = AddBox(true, XRect(10, 40, 110, 70));
    box->MouseDown(XPoint(3, 3), XView::kButtonLeft);
    box->MouseUp(XPoint(3, 3), XView::kButtonLeft);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return param->GetValue() == 1.0; }, 5000));
    ViewTest::Pump();
    EXPECT_TRUE(box->IsLit(box->GetPosition()));
    root.setSize(120, 70);
    GuiTestSupport::TakeScreenshot(root, "CheckBox");
    const juce::Image lit = WidgetTest::Render(*box);
    const juce::Image unlit = WidgetTest::Render(*radio);
    EXPECT_TRUE(lit.isValid() && unlit.isValid());
}
TEST_F(CheckBoxTest, TheLabelIsDrawnInTheBoxsFontAndTheSkinsLabelColour)
{
    if (!skinBuilt)
        GTEST_SKIP() << "the skin is not built";
    const XRGB label = GetColorDictionary().GetColor("label");
    XCheckBox* box = AddBox(false, XRect(10, 10, 130, 40));
    EXPECT_EQ(box->GetForeColor(), label);
    // Over the skin's dark window background the label shows beside the box.
    JUCECanvas canvas(box->GetWidth(), box->GetHeight());
    canvas.FillRectColour(box->GetBounds(), GetColorDictionary().GetColor("windowBackground"));
    box->Draw(canvas);
    int labelPixels = 0;
    for (int x = box->GetImage()->GetWidth() + 8; x < box->GetWidth(); ++x)
        for (int y = 0; y < box->GetHeight(); ++y)
            if (WidgetTest::Pixel(canvas.GetImage(), x, y).getBrightness() > 0.55f)
                ++labelPixels;
    EXPECT_GT(labelPixels, 20);
}
} // namespace
