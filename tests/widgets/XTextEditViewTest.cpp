#include "widgets/XTextEditView.h"

#include "WidgetTestSupport.h"
#include "core/XClipboard.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "gui/XColorDictionary.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <string>
#include <vector>

namespace
{
using ControlTest::Recorder;
using ViewTest::MakeParam;
using WidgetTest::WidgetTree;
using Edit = XTextEditView::XTextEdit;

class TextEditViewTest : public WidgetTree
{
protected:
    XTextEditView* AddEdit(const XMessage& block = XMessage(), const XRect& frame = XRect(10, 10, 130, 32))
    {
        auto* view = new XTextEditView(frame);
        XMessage copy(block);
        view->ReadAttributes(copy);
        root.AddChild(view);
        return view;
    }

    /** Gives the view the focus (which selects its whole text) and types the keys. */
    static void Focus(XTextEditView* view) { view->FocusChanged(true); }

    static bool Key(XTextEditView* view, int32_t keyCode, XKeyInfo modifiers = 0)
    {
        return view->HandleKeyPress(keyCode, modifiers);
    }

    static void Type(XTextEditView* view, const std::string& keys)
    {
        for (char ch : keys)
            Key(view, ch);
    }

    static std::string Text(const XTextEditView* view) { return view->GetText().CStr(); }
};

TEST_F(TextEditViewTest, TypingWithShiftGivesTheUsSymbolsAndCapitals)
{
    XTextEditView* view = AddEdit();
    Focus(view);
    Key(view, '7', XKeyMod::kShift);
    Key(view, 'A', XKeyMod::kShift);
    Key(view, 'B');
    Key(view, '1', XKeyMod::kShift);
    Key(view, ';');
    EXPECT_EQ(Text(view), "&Ab!;");
    EXPECT_TRUE(view->GetEditor()->IsModified());
    EXPECT_EQ(view->GetEditor()->GetCaret().x, 5);
    EXPECT_FALSE(Key(view, 'q', XKeyMod::kCtrl)) << "Ctrl with a letter that is no shortcut";
    EXPECT_FALSE(Key(view, XKeyCode::kF1));
    EXPECT_EQ(Text(view), "&Ab!;");
}

TEST_F(TextEditViewTest, ANumericEditTakesOnlyDigitsPointAndMinus)
{
    XMessage block;
    block.AddString("style", "Numeric");
    XTextEditView* view = AddEdit(block);
    Focus(view);
    for (char ch : std::string("-1a2.5x"))
        EXPECT_TRUE(Key(view, ch)) << "every character is consumed: " << ch;
    EXPECT_EQ(Text(view), "-12.5");
}

TEST_F(TextEditViewTest, TheKeypadPlusAndMinusAreNeverConsumed)
{
    XTextEditView* view = AddEdit();
    Focus(view);
    EXPECT_FALSE(Key(view, XKeyCode::kKeypadPlus, XKeyMod::kKeypad));
    EXPECT_FALSE(Key(view, XKeyCode::kKeypadMinus, XKeyMod::kKeypad));
    EXPECT_FALSE(Key(view, '+', XKeyMod::kKeypad));
    EXPECT_EQ(Text(view), "");
    EXPECT_TRUE(Key(view, '+')) << "the main keyboard's plus is typed";
    EXPECT_EQ(Text(view), "+");
}

TEST_F(TextEditViewTest, KeysAreIgnoredWithoutTheFocus)
{
    XTextEditView* view = AddEdit();
    EXPECT_FALSE(Key(view, 'a'));
    EXPECT_EQ(Text(view), "");
}

TEST_F(TextEditViewTest, ReturnWritesTheParameterAndCommitsEscapeRevertsWithoutWriting)
{
    auto param = MakeParam(0, 100);
    param->SetValue(5, false);
    XTextEditView* view = AddEdit();
    view->SetPot(param.get());
    ViewTest::Pump();
    ASSERT_EQ(Text(view), "5");
    std::vector<std::string> committed;
    view->TextCommitted().Connect([&](const XString& text, XTextEditView*)
                                  { committed.push_back(text.CStr()); });

    Focus(view);
    Type(view, "42");
    Key(view, XKeyCode::kBackspace);
    Key(view, '7');
    EXPECT_EQ(Text(view), "47");
    EXPECT_FALSE(Key(view, XKeyCode::kEscape)) << "Escape travels on";
    EXPECT_EQ(Text(view), "5") << "the text seen at focus gain";
    EXPECT_DOUBLE_EQ(param->GetValue(), 5.0);
    EXPECT_EQ(XTextEditView::GetFocusedEditor(), nullptr);
    ASSERT_EQ(committed.size(), 1u) << "every focus loss commits";

    Focus(view);
    Type(view, "42");
    EXPECT_FALSE(Key(view, XKeyCode::kReturn)) << "Return travels on";
    EXPECT_DOUBLE_EQ(param->GetValue(), 42.0);
    ASSERT_EQ(committed.size(), 2u);
    EXPECT_EQ(committed.back(), "42");
    EXPECT_FALSE(view->GetEditor()->IsModified());
}

TEST_F(TextEditViewTest, ARefusedTextShowsTheParameterValueAgain)
{
    auto param = MakeParam(0, 100);
    param->SetValue(5, false);
    XTextEditView* view = AddEdit();
    view->SetPot(param.get());
    ViewTest::Pump();
    Focus(view);
    Type(view, "abc");
    Key(view, XKeyCode::kReturn);
    ViewTest::Pump();
    EXPECT_DOUBLE_EQ(param->GetValue(), 5.0);
    EXPECT_EQ(Text(view), "5");
}

TEST_F(TextEditViewTest, TheUndoListIsTrimmedOnlyBeyondFiveEntriesAndItsLimit)
{
    XTextEditView* view = AddEdit();
    Edit* edit = view->GetEditor();
    Focus(view);
    const XString big(std::string(6000, 'x').c_str());
    for (int i = 0; i < 5; ++i)
    {
        edit->Insert(-1, big, true);
        edit->DeleteRange(XPoint(0, 0), XPoint(big.Length(), 0), true);
    }
    EXPECT_EQ(edit->CountUndoEntries(), 5) << "five entries survive whatever their size";

    XTextEditView* small = AddEdit(XMessage(), XRect(10, 40, 130, 62));
    Focus(small);
    Type(small, "abcdefghij");
    EXPECT_EQ(small->GetEditor()->CountUndoEntries(), 10) << "cheap entries are all kept";
    EXPECT_EQ(small->GetEditor()->GetUndoBytes(), 10 * Edit::kUndoNodeCost);

    // Alt+Backspace undoes one step at a time.
    Key(small, XKeyCode::kBackspace, XKeyMod::kAlt);
    Key(small, XKeyCode::kBackspace, XKeyMod::kAlt);
    EXPECT_EQ(Text(small), "abcdefgh");
}

TEST_F(TextEditViewTest, SelectionKeysAndTheGlobalClipboard)
{
    XMessage block;
    block.AddString("text", "hello world");
    XTextEditView* view = AddEdit(block);
    Edit* edit = view->GetEditor();
    Focus(view);
    EXPECT_EQ(edit->GetSelectionEnd().x, 11) << "the focus selects everything";
    Key(view, XKeyCode::kHome);
    for (int i = 0; i < 5; ++i)
        Key(view, XKeyCode::kRight, XKeyMod::kShift);
    EXPECT_EQ(edit->GetSelectionStart().x, 0);
    EXPECT_EQ(edit->GetSelectionEnd().x, 5);
    EXPECT_TRUE(Key(view, 'c', XKeyMod::kCtrl));
    {
        XClipboard clipboard;
        ASSERT_NE(clipboard.Open(), 0);
        EXPECT_STREQ(clipboard.GetContent()->GetString("text/plain"), "hello");
        clipboard.Close();
    }
    Key(view, XKeyCode::kEnd);
    EXPECT_TRUE(Key(view, 'v', XKeyMod::kCtrl));
    EXPECT_EQ(Text(view), "hello worldhello");
    Key(view, XKeyCode::kHome, XKeyMod::kShift);
    EXPECT_EQ(edit->GetSelectionStart().x, 0);
    EXPECT_EQ(edit->GetSelectionEnd().x, 16);
    EXPECT_TRUE(Key(view, 'x', XKeyMod::kCtrl));
    EXPECT_EQ(Text(view), "");
}

TEST_F(TextEditViewTest, ReadOnlyIgnoresTypingButCopies)
{
    XMessage block;
    block.AddString("text", "fixed");
    block.AddString("style", "readonly, noframe");
    XTextEditView* view = AddEdit(block);
    EXPECT_FALSE(view->GetDrawFrame());
    EXPECT_TRUE(view->GetEditor()->MouseDown(XPoint(5, 5), XView::kButtonLeft));
    EXPECT_EQ(XTextEditView::GetFocusedEditor(), nullptr) << "a click does not even focus it";
    Focus(view);
    EXPECT_FALSE(Key(view, 'a'));
    EXPECT_TRUE(Key(view, 'c', XKeyMod::kCtrl));
    EXPECT_EQ(Text(view), "fixed");
}

TEST_F(TextEditViewTest, TabMovesThroughAllEditViewsAndWraps)
{
    const int32_t before = XTextEditView::CountViews();
    std::vector<XTextEditView*> views;
    for (int i = 0; i < 3; ++i)
        views.push_back(AddEdit(XMessage(), XRect(10, 10 + 30 * i, 130, 32 + 30 * i)));
    ASSERT_EQ(XTextEditView::CountViews(), before + 3);
    ASSERT_EQ(XTextEditView::ViewAt(before), views[0]) << "creation order";

    Focus(views[2]);
    EXPECT_TRUE(Key(views[2], XKeyCode::kTab));
    EXPECT_EQ(XTextEditView::GetFocusedEditor(), views[0]->GetEditor()) << "wraps to the first";
    EXPECT_TRUE(Key(views[0], XKeyCode::kTab, XKeyMod::kShift));
    EXPECT_EQ(XTextEditView::GetFocusedEditor(), views[2]->GetEditor()) << "back to the last";
    Key(views[2], XKeyCode::kTab, XKeyMod::kShift);
    EXPECT_EQ(XTextEditView::GetFocusedEditor(), views[1]->GetEditor());
}

TEST_F(TextEditViewTest, AClickRequestsTheOnScreenEntry)
{
    Recorder recorder("entry");
    recorder.Bind(XTextEditView::kTextEntryRequestMessage);
    XMessage block;
    block.AddString("style", "numeric,inspinner");
    XTextEditView* view = AddEdit(block);
    EXPECT_TRUE(view->Click(XPoint(3, 3)));
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return !recorder.messages.empty(); }, 5000));
    const XMessage& request = recorder.messages.front();
    EXPECT_EQ(request.GetPointer("textview"), view);
    EXPECT_EQ(request.GetPointer("pView"), &root);
    EXPECT_TRUE(request.GetBool("isNumeric"));
    EXPECT_TRUE(request.GetBool("isInSpinner"));
    EXPECT_FALSE(request.GetBool("isTimeEdit"));
}

TEST_F(TextEditViewTest, MessagesSetSelectAndStepTheText)
{
    auto param = MakeParam(0, 10);
    XTextEditView* view = AddEdit();
    view->SetPot(param.get());
    XMessage step(XTextEditView::kStepUpMessage, 0);
    view->MessageReceived(step);
    view->MessageReceived(step);
    EXPECT_DOUBLE_EQ(param->GetValue(), 2.0);

    XMessage set(XTextEditView::kSetTextMessage, 0);
    set.AddString("text", "abc");
    set.AddBool("selectAll", true);
    view->MessageReceived(set);
    EXPECT_EQ(Text(view), "abc");
    EXPECT_EQ(view->GetEditor()->GetSelectionEnd().x, 3);
}

TEST_F(TextEditViewTest, ADoubleClickSelectsAllAndADragSelectsARange)
{
    XMessage block;
    block.AddString("text", "abcdefgh");
    XTextEditView* view = AddEdit(block);
    Edit* edit = view->GetEditor();
    edit->MouseDown(XPoint(1, 5), XView::kButtonLeft);
    edit->MouseUp(XPoint(1, 5), XView::kButtonLeft);
    EXPECT_EQ(XTextEditView::GetFocusedEditor(), edit);
    EXPECT_FALSE(edit->HasSelection()) << "a single click places the caret";
    // The second press of a double click, as the toolkit delivers it once it has matched the two
    // presses (by their event times, not the wall clock).
    const juce::Point<float> at(1.0f, 5.0f);
    const juce::Time when = juce::Time::getCurrentTime();
    edit->mouseDoubleClick(juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), at,
                                            juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier),
                                            juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                                            edit, edit, when, at, when, 2, false));
    EXPECT_EQ(edit->GetSelectionStart().x, 0) << "a double click selects all";
    EXPECT_EQ(edit->GetSelectionEnd().x, 8);
    const int32_t x = edit->ColumnToX(5);
    edit->MouseDown(XPoint(1, 5), XView::kButtonLeft);
    edit->MouseMoved(XPoint(x, 5), XView::kButtonLeft);
    edit->MouseUp(XPoint(x, 5), XView::kButtonLeft);
    EXPECT_EQ(edit->GetSelectionStart().x, 0);
    EXPECT_EQ(edit->GetSelectionEnd().x, 5);
}

TEST_F(TextEditViewTest, TheEditorFollowsTheFrameInsideAOnePixelInset)
{
    XTextEditView* view = AddEdit();
    view->SetFrame(XRect(10, 10, 60, 30));
    EXPECT_EQ(view->GetClipView()->GetFrame(), XRect(1, 1, 49, 19));
    EXPECT_EQ(view->GetEditor()->GetFrame(), XRect(0, 0, 48, 18));
    view->SetFrame(XRect(10, 10, 200, 40));
    EXPECT_EQ(view->GetEditor()->GetFrame(), XRect(0, 0, 188, 28));
}

TEST_F(TextEditViewTest, ATransparentFieldShowsItsOwnBackColourWhateverViewsCameBefore)
{
    // A view made after one that read a black back colour from its description.
    XMessage black;
    black.AddColor("backcolor", XRGB(0, 0, 0, 255));
    XView().ReadAttributes(black);
    const XRGB back(20, 160, 90, 255);
    XTextEditView* view = AddEdit();
    view->SetBackColor(back);
    view->SetTransparent(true);
    view->ApplyStyle();
    root.setSize(140, 40);
    const juce::Image picture = root.createComponentSnapshot(root.getLocalBounds());
    // Inside the one-pixel inset, clear of the text.
    EXPECT_EQ(WidgetTest::Pixel(picture, 10 + 3, 10 + 3), WidgetTest::Colour(back));
}

TEST_F(TextEditViewTest, RandomKeysNeverBreakTheEditor)
{
    XTextEditView* view = AddEdit();
    juce::Random random(640);
    const int32_t specials[] = {XKeyCode::kLeft,      XKeyCode::kRight,  XKeyCode::kHome, XKeyCode::kEnd,
                                XKeyCode::kBackspace, XKeyCode::kDelete, XKeyCode::kUp,   XKeyCode::kPageDown,
                                XKeyCode::kEscape,    XKeyCode::kReturn, XKeyCode::kTab};
    const XKeyInfo modifiers[] = {0, XKeyMod::kShift, XKeyMod::kAlt, XKeyMod::kCtrl};
    for (int i = 0; i < 3000; ++i)
    {
        if (XTextEditView::GetFocusedEditor() != view->GetEditor())
            Focus(view);
        const int32_t key = random.nextInt(4) == 0 ? specials[random.nextInt(11)] : random.nextInt(256);
        Key(view, key, modifiers[random.nextInt(4)]);
        Edit* edit = view->GetEditor();
        const int32_t length = edit->GetText().Length();
        ASSERT_GE(edit->GetCaret().x, 0);
        ASSERT_LE(edit->GetCaret().x, length);
        ASSERT_LE(edit->GetSelectionStart().x, edit->GetSelectionEnd().x);
        ASSERT_LE(edit->GetSelectionEnd().x, length);
    }
}

TEST_F(TextEditViewTest, TheFieldIsDrawnInTheSkin)
{
    if (!WidgetTest::UseBuiltSkin() || !SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()))
        GTEST_SKIP() << "the skin is not built";
    root.SetBackColor(GetColorDictionary().GetColor("windowBackground"));
    XMessage block;
    block.AddString("text", "Output 1");
    XTextEditView* view = AddEdit(block);
    XTextEditView* focused = AddEdit(XMessage(), XRect(10, 40, 130, 62));
    focused->SetText("selected text");
    Focus(focused);
    ViewTest::Pump();
    root.setSize(140, 70);
    const juce::Image picture = GuiTestSupport::TakeScreenshot(root, "TextEditView");
    ASSERT_TRUE(picture.isValid());
    const juce::Image field = WidgetTest::Render(*view->GetEditor());
    EXPECT_EQ(WidgetTest::Pixel(field, field.getWidth() - 2, 2),
              WidgetTest::Colour(view->GetEditor()->GetBackColor()));
}
} // namespace
