#pragma once

#include "core/XMessageCodes.h"
#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/XControl.h"
#include "gui/XViewPort.h"

#include <cstdint>
#include <optional>
#include <vector>

class XCanvas;

/** The framework's single-line text field ("edittext"): free text, or the text of a bound parameter.
    The outer view is the control the rest of the program talks to (attributes, binding, messages,
    signals); the editing itself (caret, selection, keys, undo, the "GLOBAL" clipboard, drawing) lives
    in the inner XTextEdit, placed in a one-pixel inset "clipping child". The inner editor is as large
    as the clip view and draws its text at its scroll offset instead of being a huge component.

    Every focus loss commits: CommitText posts 1004000, emits textCommitted and, when the text was
    modified, the editor first delivers kTextEntryDone, which writes the bound parameter. Tab and Shift+Tab
    move between all text edit views of the process in creation order. A click asks the application
    for the on-screen text entry (1004004). The time views derive from it and switch the editor to
    field-wise time editing. GUI thread only; the views own their clip view and editor. */
class XTextEditView : public XControl
{
public:
    class XTextEdit;

    static constexpr uint32_t kTextCommittedMessage = 1004000;
    static constexpr uint32_t kStepUpMessage = 1004001;
    static constexpr uint32_t kStepDownMessage = 1004002;
    static constexpr uint32_t kTextEntryRequestMessage = 1004004;
    static constexpr uint32_t kCommitToParamMessage = 20000012;
    static constexpr uint32_t kSelectionChangedMessage = 20000013;
    static constexpr uint32_t kSelectAllMessage = FourCharCode("selA");
    static constexpr uint32_t kSetTextMessage = FourCharCode("text");

    XTextEditView();
    explicit XTextEditView(const XRect& frame);
    /** Leaves the process-wide list; the editor stops being the focused editor. */
    ~XTextEditView() override;

    /** SetTextValue(text, true). */
    void SetText(const XString& text);
    /** An empty text clears the editor; another text that differs replaces it (inserted at the
        caret, with undo when asked); an equal text changes nothing. */
    virtual void SetTextValue(const XString& text, bool recordUndo);
    XString GetText() const;
    void SelectAll();
    /** Field stepping of a time edit. */
    virtual void StepField(bool up, int32_t amount);
    /** Posts 1004000 ("texteditview" = this) through the invoker, emits textCommitted, gives up the
        focus when the editor holds it, and clears the clicked-since-commit flag. */
    virtual void CommitText();
    /** A hook for subclasses that refuse some characters; true here. */
    virtual bool AcceptsChar(char ch);
    void SetClickOnlyFocuses(bool flag);
    void SetTimeEdit(bool flag);
    XTextEdit* GetEditor() const { return editor; }
    XView* GetClipView() const { return clipView; }
    bool GetDrawFrame() const { return drawFrame; }

    XSignal<const XString&, XTextEditView*>& TextCommitted() { return textCommitted; }
    XSignal<const XString&, XTextEditView*>& TextChanged() { return textChanged; }
    XSignal<>& Pressed() { return pressed; }

    /** The text edit views alive, in creation order (Tab order). */
    static int32_t CountViews();
    static XTextEditView* ViewAt(int32_t index);
    /** The editor that has the caret, or null. */
    static XTextEdit* GetFocusedEditor();

    // XView / XControl -------------------------------------------------------------------------------

    /** The base, then the editor takes back colour, fore colour, justification, transparency, font. */
    void ApplyStyle() override;
    void SizeChanged(int32_t dw, int32_t dh) override;
    void FocusViewChanged(bool focused) override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    /** With touch and enabled: posts the on-screen entry request 1004004 to the application. */
    bool Click(const XPoint& point) override;
    void FocusChanged(bool focused) override;
    /** Tab order over the process-wide list; the view's sibling move when no target is usable. */
    virtual void MoveFocusToSibling(bool backwards);

    void MessageReceived(XMessage& message) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    /** Places the clip view (bounds inset by 1) and the editor (the clip view's size). */
    virtual void LayoutChildren();

    bool drawFrame = true;
    bool simpleFrame = false;

private:
    friend class XTextEdit;
    void Build();

    XSignal<const XString&, XTextEditView*> textCommitted;
    XSignal<const XString&, XTextEditView*> textChanged;
    XSignal<> pressed;
    /** Set while CommitText releases the focus, so that the focus loss does not commit again. */
    bool committing = false;
    XTextEdit* editor = nullptr; // owned through clipView
    XView* clipView = nullptr;   // owned as a child
};

/** The editing part of a text edit view: one line of text with a caret, a selection, an undo list
    and, in time-edit mode, field-wise editing and stepping of "hh:mm:ss:ff"-like texts. Positions
    are (column, line) points whose line is always 0. GUI thread only. */
class XTextEditView::XTextEdit : public XViewPort
{
public:
    /** One undo entry: an insertion (its range) or a deletion (its range and the deleted text). */
    struct UndoNode
    {
        static constexpr int32_t kInsertion = 0;
        static constexpr int32_t kDeletion = 1;
        int32_t kind = kInsertion;
        XPoint start;
        XPoint end;
        XString text;
    };

    static constexpr int32_t kCaretTimerId = 10;
    static constexpr int32_t kCaretBlinkMs = 400;
    static constexpr int32_t kStepTimerId = static_cast<int32_t>(FourCharCode("txID"));
    static constexpr int32_t kStepRepeatMs = 300;
    static constexpr int32_t kDefaultUndoLimit = 10000;
    /** Cost of one undo entry beyond its text. */
    static constexpr int32_t kUndoNodeCost = 24;
    /** Entries kept whatever their cost. */
    static constexpr int32_t kUndoKeptEntries = 5;
    /** Pixels between the caret and the edge it was scrolled to. */
    static constexpr int32_t kScrollMargin = 12;
    static constexpr int32_t kCursorStepDown = 22;
    static constexpr int32_t kCursorStepUp = 23;

    explicit XTextEdit(XTextEditView* owner);
    ~XTextEdit() override;

    const XString& GetText() const { return text; }
    XPoint GetCaret() const { return caret; }
    XPoint GetSelectionStart() const { return selectionStart; }
    XPoint GetSelectionEnd() const { return selectionEnd; }
    bool HasSelection() const { return selectionStart.x != selectionEnd.x; }
    bool IsModified() const { return modified; }
    void SetModified(bool flag) { modified = flag; }
    int32_t CountUndoEntries() const { return static_cast<int32_t>(undoList.size()); }
    int32_t GetUndoBytes() const { return undoBytes; }
    void SetUndoLimit(int32_t limit) { undoLimit = limit; }
    bool IsTimeEdit() const { return timeEdit; }
    void SetTimeEdit(bool flag) { timeEdit = flag; }
    void SetClickOnlyFocuses(bool flag) { clickOnlyFocuses = flag; }
    bool IsNumeric() const { return numeric; }
    bool IsReadOnly() const { return readOnly; }
    bool IsInSpinner() const { return inSpinner; }
    bool IsPassword() const { return password; }
    void SetStyleFlags(bool isPassword, bool isReadOnly, bool isNumeric, bool isInSpinner);
    void SetHighlightColors(const XRGB& text, const XRGB& back);
    const XRGB& GetHighlightBack() const { return highlightBack; }
    bool IsStepping() const { return stepping; }
    void ClearClickedSinceCommit() { clickedSinceCommit = false; }

    /** Orders and clamps the points, stores the selection and delivers kTextEntryChanged when it changed. */
    void SetSelection(XPoint start, XPoint end, bool scroll);
    void MoveCaretBy(int32_t n);
    /** Inserts at column position (the caret when negative). */
    void Insert(int32_t position, const XString& inserted, bool recordUndo);
    void DeleteRange(XPoint from, XPoint to, bool recordUndo);
    void DeleteForward();
    void DeleteBackward();
    /** Text "", caret 0, scroll 0, repaint. */
    void Clear();
    void UndoStep();
    /** Undoes every entry, newest first; a time edit then returns to the text at focus gain. */
    void Revert();
    void Copy();
    void Cut();
    void Paste();
    /** Field stepping of a time edit (see XTextEditView::StepField). */
    void StepTimeField(bool up, int32_t amount);
    void NextField();
    void PreviousField();
    /** The field (between separators) around the caret, as columns [start, end). */
    void GetFieldBounds(int32_t& start, int32_t& end) const;
    /** The x of a column in editor coordinates (scroll offset included). */
    int32_t ColumnToX(int32_t column) const;
    int32_t PointToColumn(const XPoint& point) const;
    /** OnFocus(false). */
    void LoseFocus();

    // XView ------------------------------------------------------------------------------------------

    void ApplyStyle() override;
    void SizeChanged(int32_t dw, int32_t dh) override;
    void FocusViewChanged(bool focused) override;
    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    int32_t GetCursorTool(const XPoint& point) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    void FontChanged() override {}
    void HandleTimer(int32_t timerId) override;

private:
    static bool IsSeparator(char ch);
    int32_t TextWidth(int32_t count) const;
    XRect CaretRect() const;
    XRect SelectionRect() const;
    void ScrollCaretIntoView();
    void PushUndo(int32_t kind, const XPoint& start, const XPoint& end, const XString& deleted);
    void ClearUndo();
    void UndoEntry(const UndoNode& node);
    void SetTextChanged(const XString& newText);
    void SelectFieldAroundCaret();
    bool SelectionIsFieldAroundCaret() const;
    bool HandleShiftMove(int32_t keyCode);
    /** The parts of HandleKeyPress: Ctrl+C, X and V (true when keyCode is one); at Home or End of a
        time field, the commit of a stepped value; the editing and focus keys and the caret keys
        (no value for any other key, else HandleKeyPress's answer). */
    bool HandleClipboardKey(int32_t keyCode);
    void CommitAtStepArrow();
    std::optional<bool> HandleEditKey(int32_t keyCode, XKeyInfo modifiers);
    std::optional<bool> HandleMoveKey(int32_t keyCode, XKeyInfo modifiers);
    bool HandleCharacter(int32_t keyCode, XKeyInfo modifiers);
    void DeliverToOwner(uint32_t code);

    XPoint caret;
    bool password = false;
    bool readOnly = false;
    bool numeric = false;
    bool inSpinner = false;
    bool modified = false;
    XPoint selectionStart;
    XPoint selectionEnd;
    XTextEditView* owner;           // not owned
    std::vector<UndoNode> undoList; // newest at index 0
    XString savedText;
    int32_t undoBytes = 0;
    int32_t undoLimit = kDefaultUndoLimit;
    bool timeEdit = false;
    bool mousePressed = false;
    XRGB highlightBack{0, 0, 0, 255};
    XRGB highlightText{0, 0, 0, 255};
    bool clickedSinceCommit = false;
    bool clickOnlyFocuses = false;
    bool stepping = false;
    bool stepUp = false;
    bool losingFocus = false;
    XString text;
};
