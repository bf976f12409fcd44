#include "widgets/XTextEditor.h"

#include "WidgetTestSupport.h"
#include "gui/XColorDictionary.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using ViewTest::MakeParam;

class TextEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        editor.TextEntered().Connect([this](const XString& text) { entered.push_back(text.CStr()); });
    }

    XTextEditor editor{XRect(0, 0, 200, 60)};
    std::vector<std::string> entered;
};

TEST_F(TextEditorTest, EscapeWithoutAParameterChangesNothing)
{
    editor.setText("typed");
    editor.textEditorEscapeKeyPressed(editor);
    EXPECT_EQ(editor.getText(), "typed");
    EXPECT_TRUE(entered.empty());
    EXPECT_EQ(editor.getBounds(), juce::Rectangle<int>(0, 0, 200, 60));
}

TEST_F(TextEditorTest, LosingTheFocusEntersTheTextOnceAndPutsTheCaretAtTheStart)
{
    editor.setText("some output");
    editor.moveCaretToEnd();
    editor.textEditorFocusLost(editor);
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_EQ(entered[0], "some output");
    EXPECT_EQ(editor.getCaretPosition(), 0);
}

TEST_F(TextEditorTest, ABoundParameterIsWrittenByReturnAndShownAgainByEscape)
{
    auto param = MakeParam(0, 100);
    param->SetValue(7, false);
    editor.SetParam(param.get());
    ViewTest::Pump();
    EXPECT_EQ(editor.getText(), "7") << "binding shows the value";

    editor.setText("55");
    editor.textEditorReturnKeyPressed(editor);
    EXPECT_DOUBLE_EQ(param->GetValue(), 55.0);
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_EQ(entered[0], "55");

    editor.setText("12");
    editor.textEditorEscapeKeyPressed(editor);
    EXPECT_EQ(editor.getText(), "55");
    EXPECT_DOUBLE_EQ(param->GetValue(), 55.0);

    param->SetValue(9, true);
    ViewTest::Pump();
    EXPECT_EQ(editor.getText(), "9") << "the parameter's changes show";
    editor.SetParam(nullptr);
}

TEST_F(TextEditorTest, TakesTheSkinsEditColours)
{
    const XRGB back = GetColorDictionary().GetColor("editTextBack");
    EXPECT_EQ(editor.findColour(juce::TextEditor::backgroundColourId),
              juce::Colour(back.r, back.g, back.b, back.a));
}
} // namespace
