#include "widgets/XTextEditView.h"

#include "core/XApplication.h"
#include "core/XClipboard.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{
constexpr int32_t kEditorFocusInset = 1;
constexpr int32_t kSelectionExtra = 2;
constexpr uint8_t kSelectionAlpha = 128;
constexpr double kDisabledForePercent = 50.0;
constexpr double kDisabledBackPercent = 90.0;
constexpr int kDarkRedLimit = 31;
constexpr int kDarkLift = 100;
constexpr const char* kClipboardType = "text/plain";
constexpr const char* kTimePathPrefix = "time\\";

// Process-wide editing state: the views in creation order, the focused editor, the caret blink
// phase and the drag anchor. GUI thread only.
std::vector<XTextEditView*>& AllViews()
{
    static std::vector<XTextEditView*> views;
    return views;
}
XTextEditView::XTextEdit* focusedEditor = nullptr;
bool caretVisible = false;
XPoint dragAnchor;

bool HasShift(XKeyInfo modifiers)
{
    return (modifiers & XKeyMod::kShift) != 0;
}
bool HasCtrl(XKeyInfo modifiers)
{
    return (modifiers & XKeyMod::kCtrl) != 0;
}
bool HasAlt(XKeyInfo modifiers)
{
    return (modifiers & XKeyMod::kAlt) != 0;
}

/** The symbol over a digit on a US keyboard. */
char ShiftedDigit(char digit)
{
    static const char symbols[] = ")!@#$%^&*(";
    return symbols[digit - '0'];
}

XRGB DisabledFore(XRGB colour)
{
    colour.ScaleBrightness(kDisabledForePercent);
    if (colour.r < kDarkRedLimit)
    {
        const int largest = std::max({colour.r, colour.g, colour.b});
        const int lift = std::min(kDarkLift, 255 - largest);
        colour.r = static_cast<uint8_t>(colour.r + lift);
        colour.g = static_cast<uint8_t>(colour.g + lift);
        colour.b = static_cast<uint8_t>(colour.b + lift);
    }
    return colour;
}
} // namespace

// The outer view ------------------------------------------------------------------------------------

XTextEditView::XTextEditView() : XTextEditView(XRect(0, 0, 100, 100)) {}

XTextEditView::XTextEditView(const XRect& frame) : XControl(frame, "", nullptr)
{
    Build();
}

void XTextEditView::Build()
{
    XColorDictionary& colours = GetColorDictionary();
    SetForeColor(colours.GetColor("editTextFore"));
    SetBackColor(colours.GetColor("editTextBack"));

    clipView = new XView();
    clipView->SetLabel(XString("clipping child"), false);
    // It only clips: the editor, or under a transparent editor the field's own background, shows
    // through (an opaque clip view paints whatever back colour the last description read left).
    clipView->SetTransparent(true);
    editor = new XTextEdit(this);
    editor->SetLabel(XString("edit_box"), false);
    editor->SetHighlightColors(colours.GetColor("editTextHighlight"),
                               colours.GetColor("editTextHighlightBack"));
    // The frame hook (LayoutChildren) places both children; resize masks would move them twice.
    AddChild(clipView);
    clipView->AddChild(editor);
    LayoutChildren();
    AllViews().push_back(this);
}

XTextEditView::~XTextEditView()
{
    auto& views = AllViews();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    if (focusedEditor == editor)
        focusedEditor = nullptr;
}

void XTextEditView::LayoutChildren()
{
    if (clipView == nullptr)
        return;
    const int32_t width = std::max(0, GetWidth() - 2 * kEditorFocusInset);
    const int32_t height = std::max(0, GetHeight() - 2 * kEditorFocusInset);
    clipView->SetFrame(
        XRect(kEditorFocusInset, kEditorFocusInset, kEditorFocusInset + width, kEditorFocusInset + height));
    editor->SetFrame(XRect(0, 0, width, height));
}

void XTextEditView::SetText(const XString& text)
{
    SetTextValue(text, true);
}

void XTextEditView::SetTextValue(const XString& text, bool recordUndo)
{
    if (editor == nullptr)
        return;
    if (text.IsEmpty())
    {
        editor->Clear();
        textChanged.Emit(editor->GetText(), this);
        return;
    }
    if (text == editor->GetText())
        return;
    editor->Clear();
    editor->Insert(-1, text, recordUndo);
}

XString XTextEditView::GetText() const
{
    return editor != nullptr ? editor->GetText() : XString();
}

void XTextEditView::SelectAll()
{
    if (editor != nullptr)
        editor->SetSelection(XPoint(0, 0), XPoint(editor->GetText().Length(), 0), true);
}

void XTextEditView::StepField(bool up, int32_t amount)
{
    if (editor != nullptr)
        editor->StepTimeField(up, amount);
}

void XTextEditView::CommitText()
{
    XMessage message(kTextCommittedMessage, 0);
    message.AddPointer("texteditview", this);
    Invoke(&message);
    const XString text = GetText();
    textCommitted.Emit(text, this);
    if (editor != nullptr && editor->HasKeyFocus() && focusedEditor == editor)
    {
        committing = true;
        editor->FocusChanged(false);
        committing = false;
    }
    if (editor != nullptr)
        editor->ClearClickedSinceCommit();
}

bool XTextEditView::AcceptsChar(char)
{
    return true;
}

void XTextEditView::SetClickOnlyFocuses(bool flag)
{
    if (editor != nullptr)
        editor->SetClickOnlyFocuses(flag);
}

void XTextEditView::SetTimeEdit(bool flag)
{
    if (editor != nullptr)
        editor->SetTimeEdit(flag);
}

int32_t XTextEditView::CountViews()
{
    return static_cast<int32_t>(AllViews().size());
}

XTextEditView* XTextEditView::ViewAt(int32_t index)
{
    auto& views = AllViews();
    return index >= 0 && index < static_cast<int32_t>(views.size()) ? views[static_cast<size_t>(index)]
                                                                    : nullptr;
}

XTextEditView::XTextEdit* XTextEditView::GetFocusedEditor()
{
    return focusedEditor;
}

void XTextEditView::ApplyStyle()
{
    XControl::ApplyStyle();
    if (editor == nullptr)
        return;
    editor->SetBackColor(GetBackColor());
    editor->SetForeColor(GetForeColor());
    editor->SetJustification(GetJustification());
    editor->SetTransparent(IsTransparent());
    editor->SetFont(GetFont());
}

void XTextEditView::SizeChanged(int32_t dw, int32_t dh)
{
    XControl::SizeChanged(dw, dh);
    LayoutChildren();
}

void XTextEditView::FocusViewChanged(bool focused)
{
    if (editor != nullptr)
        editor->FocusViewChanged(focused);
}

void XTextEditView::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    XRGB highlightText = GetBackColor();
    XRGB highlightBack = GetForeColor();
    block.FindColor("hiliteforecolor", highlightText);
    block.FindColor("hilitebackcolor", highlightBack);
    editor->SetHighlightColors(highlightText, highlightBack);

    const char* initial = nullptr;
    if (block.FindString("text", initial) == 0)
        SetTextValue(XString(initial), true);

    if (DescriptionItems::HasStyleWord(block, "noframe"))
        drawFrame = false;
    if (DescriptionItems::HasStyleWord(block, "simpleframe"))
        simpleFrame = true;
    editor->SetStyleFlags(DescriptionItems::HasStyleWord(block, "password") || editor->IsPassword(),
                          DescriptionItems::HasStyleWord(block, "readonly") || editor->IsReadOnly(),
                          DescriptionItems::HasStyleWord(block, "numeric") || editor->IsNumeric(),
                          DescriptionItems::HasStyleWord(block, "inspinner") || editor->IsInSpinner());
    editor->SetFont(GetFont());
    if (XParam* param = GetPot())
        SetTextValue(param->GetText(), true);
    // "defaultFocus" is accepted and has no effect.
}

void XTextEditView::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->EraseBackground(GetBounds(), canvas);
}

bool XTextEditView::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    return editor != nullptr && editor->HandleKeyPress(keyCode, modifiers);
}

bool XTextEditView::Click(const XPoint&)
{
    if (HasTouch() && IsEnabled())
    {
        XMessage request(kTextEntryRequestMessage, 0);
        request.AddPointer("pView", GetWindow());
        request.AddPointer("textview", this);
        request.AddBool("isNumeric", editor->IsNumeric());
        request.AddBool("isInSpinner", editor->IsInSpinner());
        request.AddBool("isTimeEdit", editor->IsTimeEdit());
        XParam* param = GetPot();
        if (param != nullptr)
        {
            request.AddPointer("param", param);
            if ((editor->IsInSpinner() || editor->IsTimeEdit()) &&
                param->GetFullPath().ToLower().StartsWith(kTimePathPrefix))
                request.AddBool("isDateSpinner", true);
        }
        if (XApplication* application = GetApplication())
            application->PostMessage(&request);
    }
    return true;
}

void XTextEditView::FocusChanged(bool focused)
{
    if (editor != nullptr)
        editor->FocusChanged(focused);
}

void XTextEditView::MoveFocusToSibling(bool backwards)
{
    auto& views = AllViews();
    const auto found = std::find(views.begin(), views.end(), this);
    if (found != views.end() && views.size() > 1)
    {
        const size_t count = views.size();
        const size_t index = static_cast<size_t>(found - views.begin());
        const size_t target = backwards ? (index + count - 1) % count : (index + 1) % count;
        XTextEditView* next = views[target];
        if (next->IsVisible() && next->IsEnabled())
        {
            next->FocusChanged(true);
            return;
        }
    }
    // JUCE's own keyboard-focus move among the siblings.
    moveKeyboardFocusToSibling(!backwards);
}

void XTextEditView::MessageReceived(XMessage& message)
{
    const uint32_t code = message.GetWhat();
    if (editor == nullptr)
    {
        XControl::MessageReceived(message);
        return;
    }
    switch (code)
    {
    case kStepUpMessage:
    case kStepDownMessage:
        if (XParam* param = GetPot())
            param->StepBy(code == kStepUpMessage ? 1 : -1, true);
        return;
    case kCommitToParamMessage:
        if (XParam* param = GetPot(); param != nullptr && !IsDisabledByParam())
        {
            if (!param->ChangeText(GetText().CStr(), true))
                param->Notify(XMsgCode::kParamValueSet);
        }
        return;
    case kSelectionChangedMessage:
        return;
    case kSelectAllMessage:
        SelectAll();
        if (IsVisible())
            FocusChanged(true);
        return;
    case kSetTextMessage:
    {
        SetText(XString(message.GetString("text")));
        bool selectAll = false;
        if (message.FindBool("selectAll", selectAll) == 0 && selectAll)
            SelectAll();
        Invalidate();
        editor->Invalidate();
        return;
    }
    default:
        XControl::MessageReceived(message);
    }
}

void XTextEditView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if ((code == static_cast<int32_t>(XMsgCode::kParamValueSet) ||
         code == static_cast<int32_t>(XMsgCode::kParamChangedByUser)) &&
        param != nullptr && param == GetPot())
    {
        XApplication* application = GetApplication();
        const XString label = application != nullptr
                                  ? application->GetParamMenuLabel(param, param->GetValue())
                                  : param->GetText();
        SetTextValue(label, true);
        return;
    }
    XControl::ParamChanged(code, param, key);
}

// The editor ----------------------------------------------------------------------------------------

XTextEditView::XTextEdit::XTextEdit(XTextEditView* ownerView) : XViewPort(XRect(0, 0, 1, 1)), owner(ownerView)
{
}

XTextEditView::XTextEdit::~XTextEdit()
{
    if (focusedEditor == this)
        focusedEditor = nullptr;
}

void XTextEditView::XTextEdit::SetStyleFlags(bool isPassword, bool isReadOnly, bool isNumeric,
                                             bool isInSpinner)
{
    password = isPassword;
    readOnly = isReadOnly;
    numeric = isNumeric;
    inSpinner = isInSpinner;
}

void XTextEditView::XTextEdit::SetHighlightColors(const XRGB& textColour, const XRGB& back)
{
    highlightText = textColour;
    highlightBack = back;
}

void XTextEditView::XTextEdit::ApplyStyle()
{
    XViewPort::ApplyStyle();
    setWantsKeyboardFocus(true);
}

void XTextEditView::XTextEdit::SizeChanged(int32_t dw, int32_t dh)
{
    XViewPort::SizeChanged(dw, dh);
    ScrollCaretIntoView();
}

bool XTextEditView::XTextEdit::IsSeparator(char ch)
{
    return ch == ':' || ch == '.' || ch == ',' || ch == ';';
}

int32_t XTextEditView::XTextEdit::TextWidth(int32_t count) const
{
    XFont* font = GetFont();
    if (font == nullptr || count <= 0)
        return 0;
    count = std::min(count, text.Length());
    if (password)
    {
        XString stars;
        for (int32_t i = 0; i < count; ++i)
            stars += '*';
        return font->GetStringWidth(stars);
    }
    return font->GetStringWidth(text.Left(count));
}

int32_t XTextEditView::XTextEdit::ColumnToX(int32_t column) const
{
    return TextWidth(column) + GetScrollPosition().x;
}

int32_t XTextEditView::XTextEdit::PointToColumn(const XPoint& point) const
{
    const int32_t length = text.Length();
    const int32_t offset = GetScrollPosition().x;
    int32_t previousRight = offset;
    for (int32_t prefix = 1; prefix <= length; ++prefix)
    {
        const int32_t right = TextWidth(prefix) + offset;
        if (right >= point.x)
        {
            const int32_t width = right - previousRight;
            const int32_t half = (width + 1) / 2;
            return half > right - point.x ? prefix : prefix - 1;
        }
        previousRight = right;
    }
    return length;
}

XRect XTextEditView::XTextEdit::CaretRect() const
{
    const int32_t x = ColumnToX(caret.x);
    return XRect(x, 0, x + 1, GetHeight());
}

XRect XTextEditView::XTextEdit::SelectionRect() const
{
    if (!HasSelection())
        return XRect();
    return XRect(ColumnToX(selectionStart.x), 0, ColumnToX(selectionEnd.x) + kSelectionExtra, GetHeight());
}

void XTextEditView::XTextEdit::ScrollCaretIntoView()
{
    const int32_t x = ColumnToX(caret.x);
    const int32_t visibleWidth = GetWidth();
    const int32_t offset = GetScrollPosition().x;
    int32_t target = offset;
    if (x < 0)
        target = offset - x + kScrollMargin;
    else if (x >= visibleWidth)
        target = offset - (x - visibleWidth) - kScrollMargin;
    target = std::min(target, 0);
    if (target != offset)
        ScrollTo(target, 0);
}

void XTextEditView::XTextEdit::SetSelection(XPoint start, XPoint end, bool scroll)
{
    if (start.y > end.y || (start.y == end.y && start.x > end.x))
        std::swap(start, end);
    const int32_t length = text.Length();
    auto clamp = [length](XPoint& point)
    {
        if (point.y < 0)
            point.x = 0;
        else if (point.y > 0)
            point.x = length;
        else
            point.x = std::clamp(point.x, 0, length);
        point.y = 0;
    };
    clamp(start);
    clamp(end);
    if (end.x < start.x)
        end = start;

    if (!HasSelection())
        RepaintRect(CaretRect());
    RepaintRect(SelectionRect());

    if (start == selectionStart && end == selectionEnd)
    {
        caret = start;
        ScrollCaretIntoView();
        return;
    }
    caret = start == selectionStart ? end : start;
    selectionStart = start;
    selectionEnd = end;
    if (scroll)
        ScrollCaretIntoView();
    RepaintRect(SelectionRect());
    DeliverToOwner(kSelectionChangedMessage);
}

void XTextEditView::XTextEdit::MoveCaretBy(int32_t n)
{
    if (focusedEditor != this)
        return;
    const XRect before = CaretRect();
    caret.x = std::clamp(caret.x + n, 0, text.Length());
    ScrollCaretIntoView();
    RepaintRect(before.Union(CaretRect()));
}

void XTextEditView::XTextEdit::SetTextChanged(const XString& newText)
{
    text = newText;
    owner->textChanged.Emit(text, owner);
}

void XTextEditView::XTextEdit::Insert(int32_t position, const XString& inserted, bool recordUndo)
{
    if (position < 0)
        position = caret.x;
    position = std::clamp(position, 0, text.Length());
    SetTextChanged(text.Splice(position, 0, inserted.CStr()));
    caret.x += inserted.Length();
    caret.x = std::clamp(caret.x, 0, text.Length());
    if (recordUndo)
        PushUndo(UndoNode::kInsertion, XPoint(position, 0), XPoint(position + inserted.Length(), 0),
                 XString());
    if (focusedEditor == this)
        ScrollCaretIntoView();
    Invalidate();
}

void XTextEditView::XTextEdit::DeleteRange(XPoint from, XPoint to, bool recordUndo)
{
    if (from.x > to.x)
        std::swap(from, to);
    const int32_t length = text.Length();
    from.x = std::clamp(from.x, 0, length);
    to.x = std::clamp(to.x, 0, length);
    if (recordUndo)
        PushUndo(UndoNode::kDeletion, from, to, text.Sub(from.x, to.x));
    caret = XPoint(from.x, 0);
    SetSelection(caret, caret, true);
    modified = true;
    SetTextChanged(text.Splice(from.x, to.x - from.x, ""));
    ScrollCaretIntoView();
    Invalidate();
}

void XTextEditView::XTextEdit::DeleteForward()
{
    if (HasSelection())
        DeleteRange(selectionStart, selectionEnd, true);
    else if (caret.x < text.Length())
        DeleteRange(caret, XPoint(caret.x + 1, 0), true);
    modified = true;
}

void XTextEditView::XTextEdit::DeleteBackward()
{
    if (HasSelection())
        DeleteRange(selectionStart, selectionEnd, true);
    else if (caret.x > 0)
        DeleteRange(XPoint(caret.x - 1, 0), caret, true);
    modified = true;
}

void XTextEditView::XTextEdit::Clear()
{
    text = XString();
    caret = XPoint();
    selectionStart = selectionEnd = XPoint();
    ScrollTo(0, 0);
    Invalidate();
}

void XTextEditView::XTextEdit::PushUndo(int32_t kind, const XPoint& start, const XPoint& end,
                                        const XString& deleted)
{
    if (undoLimit == 0)
        return;
    UndoNode node;
    node.kind = kind;
    node.start = start;
    node.end = end;
    node.text = deleted;
    undoBytes += kUndoNodeCost + deleted.Length();
    undoList.insert(undoList.begin(), node);
    if (static_cast<int32_t>(undoList.size()) > kUndoKeptEntries && undoBytes > undoLimit)
    {
        undoBytes -= kUndoNodeCost + undoList.back().text.Length();
        undoList.pop_back();
    }
}

void XTextEditView::XTextEdit::ClearUndo()
{
    undoList.clear();
    undoBytes = 0;
}

void XTextEditView::XTextEdit::UndoEntry(const UndoNode& node)
{
    if (node.kind == UndoNode::kInsertion)
    {
        DeleteRange(node.start, node.end, false);
    }
    else
    {
        caret = XPoint(node.start.x, 0);
        Insert(node.start.x, node.text, false);
    }
}

void XTextEditView::XTextEdit::UndoStep()
{
    if (undoList.empty())
        return;
    const UndoNode node = undoList.front();
    undoList.erase(undoList.begin());
    undoBytes -= kUndoNodeCost + node.text.Length();
    UndoEntry(node);
    if (timeEdit)
        SetTextChanged(savedText);
}

void XTextEditView::XTextEdit::Revert()
{
    const std::vector<UndoNode> entries = undoList;
    undoList.clear();
    for (const UndoNode& node : entries)
        UndoEntry(node);
    if (timeEdit)
        SetTextChanged(savedText);
    ClearUndo();
    caret.x = std::min(caret.x, text.Length());
    Invalidate();
}

void XTextEditView::XTextEdit::Copy()
{
    XClipboard clipboard;
    if (clipboard.Open() == 0)
        return;
    if (XMessage* content = clipboard.GetContent())
    {
        content->MakeEmpty();
        content->AddString(kClipboardType, text.Sub(selectionStart.x, selectionEnd.x).CStr());
    }
    clipboard.Close();
}

void XTextEditView::XTextEdit::Cut()
{
    Copy();
    DeleteForward();
}

void XTextEditView::XTextEdit::Paste()
{
    if (HasSelection())
        DeleteRange(selectionStart, selectionEnd, true);
    XClipboard clipboard;
    if (clipboard.Open() != 0)
    {
        const char* pasted = nullptr;
        if (XMessage* content = clipboard.GetContent();
            content != nullptr && content->FindString(kClipboardType, pasted) == 0 && pasted != nullptr)
        {
            const XString copy(pasted);
            clipboard.Close();
            Insert(-1, copy, true);
        }
        else
        {
            clipboard.Close();
        }
    }
    modified = true;
}

void XTextEditView::XTextEdit::GetFieldBounds(int32_t& start, int32_t& end) const
{
    const int32_t length = text.Length();
    const int32_t at = std::clamp(caret.x, 0, length);
    start = 0;
    for (int32_t i = at; i > 0; --i)
    {
        if (IsSeparator(text.CharAt(static_cast<unsigned>(i - 1))))
        {
            start = i;
            break;
        }
    }
    end = length;
    for (int32_t i = at; i < length; ++i)
    {
        if (IsSeparator(text.CharAt(static_cast<unsigned>(i))))
        {
            end = i;
            break;
        }
    }
}

void XTextEditView::XTextEdit::SelectFieldAroundCaret()
{
    int32_t start = 0;
    int32_t end = 0;
    GetFieldBounds(start, end);
    SetSelection(XPoint(start, 0), XPoint(end, 0), true);
    Invalidate();
}

bool XTextEditView::XTextEdit::SelectionIsFieldAroundCaret() const
{
    int32_t start = 0;
    int32_t end = 0;
    GetFieldBounds(start, end);
    return selectionStart.x == start && selectionEnd.x == end;
}

void XTextEditView::XTextEdit::NextField()
{
    const int32_t length = text.Length();
    int32_t next = 0;
    for (int32_t i = caret.x; i < length; ++i)
    {
        if (IsSeparator(text.CharAt(static_cast<unsigned>(i))))
        {
            next = i + 1;
            break;
        }
    }
    caret.x = next;
    SelectFieldAroundCaret();
}

void XTextEditView::XTextEdit::PreviousField()
{
    // The caret sits at the start of its field, so the field before ends at the separator found
    // scanning back from the caret.
    int32_t previous = text.Length() - 1;
    for (int32_t p = std::min(caret.x, text.Length() - 1); p > 0; --p)
    {
        if (IsSeparator(text.CharAt(static_cast<unsigned>(p))) && p < caret.x)
        {
            previous = p - 1;
            break;
        }
    }
    caret.x = std::max(previous, 0);
    SelectFieldAroundCaret();
}

void XTextEditView::XTextEdit::StepTimeField(bool up, int32_t amount)
{
    if (!timeEdit || text.IsEmpty() || !owner->IsEnabled() || !SelectionIsFieldAroundCaret())
        return;
    int32_t start = 0;
    int32_t end = 0;
    GetFieldBounds(start, end);
    const XString field = text.Sub(start, end);
    if (field.IsEmpty())
        return;
    for (int32_t i = 0; i < field.Length(); ++i)
    {
        if (field.CharAt(static_cast<unsigned>(i)) < '0' || field.CharAt(static_cast<unsigned>(i)) > '9')
            return;
    }
    stepping = true;
    const int32_t value = std::max(0, std::atoi(field.CStr()) + (up ? amount : -amount));
    XString stepped;
    if (field.Length() > 1 && value < 10)
        stepped += '0';
    stepped += value;
    SetTextChanged(text.Splice(start, end - start, stepped.CStr()));
    if (stepped.Length() == field.Length() + 1)
        selectionEnd.x += 1;
    PushUndo(UndoNode::kInsertion, XPoint(start, 0), XPoint(start + stepped.Length(), 0), XString());
    Invalidate();
}

void XTextEditView::XTextEdit::DeliverToOwner(uint32_t code)
{
    XMessage message(code, 0);
    owner->MessageReceived(message);
}

void XTextEditView::XTextEdit::FocusViewChanged(bool focused)
{
    if (focused)
    {
        RepaintRect(CaretRect());
        ClearUndo();
        StartTimer(kCaretTimerId, kCaretBlinkMs, false);
        focusedEditor = this;
        if (timeEdit)
            savedText = text;
        SetSelection(XPoint(0, 0), XPoint(text.Length(), 0), true);
        RepaintRect(CaretRect());
        Invalidate();
        return;
    }
    if (losingFocus)
        return;
    losingFocus = true;
    if (IsAttached())
        StopTimer(kCaretTimerId);
    caret = XPoint();
    ScrollCaretIntoView();
    SetSelection(caret, caret, false);
    if (modified)
    {
        modified = false;
        DeliverToOwner(kCommitToParamMessage);
    }
    if (!owner->committing)
        owner->CommitText();
    if (focusedEditor == this)
        focusedEditor = nullptr;
    losingFocus = false;
    Invalidate();
}

void XTextEditView::XTextEdit::LoseFocus()
{
    FocusViewChanged(false);
}

void XTextEditView::XTextEdit::HandleTimer(int32_t timerId)
{
    if (timerId == kCaretTimerId)
    {
        if (focusedEditor == this && HasKeyFocus() && !HasSelection())
        {
            caretVisible = !caretVisible;
            RepaintRect(CaretRect());
        }
        return;
    }
    if (timerId == kStepTimerId)
    {
        if (stepping)
            owner->StepField(stepUp, 1);
        return;
    }
    XViewPort::HandleTimer(timerId);
}

void XTextEditView::XTextEdit::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    PrepareCanvas(canvas);
    XRGB fore = GetForeColor();
    XRGB back = GetBackColor();
    if (!owner->IsEnabled())
    {
        fore = DisabledFore(fore);
        back.ScaleBrightness(kDisabledBackPercent);
    }
    const XRect bounds = GetBounds();
    if (!IsTransparent())
        canvas.FillRectColour(bounds, back);

    const bool focused = focusedEditor == this;
    XString shown = text;
    if (password)
    {
        shown = XString();
        for (int32_t i = 0; i < text.Length(); ++i)
            shown += '*';
    }
    else if (!focused)
    {
        if (XStyle* style = GetStyle())
            shown = style->GetDisplayText(text);
    }

    if (HasSelection())
    {
        canvas.SetForeColor(highlightBack);
        canvas.FillRectAlpha(SelectionRect(), kSelectionAlpha);
    }

    XFont* font = GetFont();
    const int32_t fontHeight = font != nullptr ? font->GetHeight() : 0;
    const int32_t y = std::max(1, GetHeight() / 2 - fontHeight / 2);
    canvas.SetForeColor(fore);
    canvas.SetFont(font);
    if (!focused && GetJustification() == kJustifyCentred)
    {
        canvas.DrawText(XRect(1, 0, std::max(1, GetWidth() - 1), GetHeight()), shown,
                        XCanvas::kJustifyCentred | XCanvas::kJustifyVerticallyCentred);
    }
    else
    {
        // Characters scrolled out to the left are drawn at negative x and clipped by the canvas.
        canvas.DrawText(XRect(GetScrollPosition().x, y, GetScrollPosition().x + TextWidth(text.Length()) + 4,
                              y + fontHeight),
                        shown, XCanvas::kJustifyLeft | XCanvas::kJustifyTop);
    }

    if (focused && HasKeyFocus() && caretVisible)
        canvas.FillRectColour(CaretRect(), fore);
}

int32_t XTextEditView::XTextEdit::GetCursorTool(const XPoint& point)
{
    if (readOnly || !owner->IsEnabled())
        return 0;
    if (timeEdit && SelectionIsFieldAroundCaret() && HasSelection())
    {
        const int32_t left = ColumnToX(selectionStart.x);
        const int32_t right = ColumnToX(selectionEnd.x);
        if (point.x >= left && point.x < right && point.y >= 0 && point.y < GetHeight())
            return point.y <= GetHeight() / 2 ? kCursorStepUp : kCursorStepDown;
    }
    return 1;
}

bool XTextEditView::XTextEdit::HandleShiftMove(int32_t keyCode)
{
    const int32_t length = text.Length();
    if (!HasSelection())
        SetSelection(caret, caret, true);
    XPoint start = selectionStart;
    XPoint end = selectionEnd;
    switch (keyCode)
    {
    case XKeyCode::kLeft:
    {
        XPoint moving = (HasSelection() && caret.x > start.x) ? caret : start;
        moving.x = std::max(0, moving.x - 1);
        if (moving.x < start.x)
            SetSelection(moving, end, true);
        else
            SetSelection(start, moving, true);
        caret = moving;
        return true;
    }
    case XKeyCode::kRight:
    {
        XPoint moving = (HasSelection() && caret.x < end.x) ? caret : end;
        moving.x = std::min(length, moving.x + 1);
        if (moving.x > end.x)
            SetSelection(start, moving, true);
        else
            SetSelection(moving, end, true);
        caret = moving;
        return true;
    }
    case XKeyCode::kHome:
    case XKeyCode::kEnd:
    {
        const XPoint lower = end.x < start.x ? end : start;
        const XPoint target(keyCode == XKeyCode::kHome ? 0 : length, 0);
        SetSelection(lower, target, true);
        caret = target;
        return true;
    }
    default:
        return false;
    }
}

bool XTextEditView::XTextEdit::HandleCharacter(int32_t keyCode, XKeyInfo modifiers)
{
    if (HasCtrl(modifiers) || HasAlt(modifiers))
        return false;
    if (keyCode < 0 || keyCode > 0xFF)
        return true;
    char ch = static_cast<char>(keyCode);
    const bool shift = HasShift(modifiers);
    // The toolkit reports letter keys in upper case: the Shift state decides the case.
    if (ch >= 'A' && ch <= 'Z' && !shift)
        ch = static_cast<char>(ch - 'A' + 'a');
    if (!owner->AcceptsChar(ch))
        return true;
    if (numeric && !((ch >= '0' && ch <= '9') || ch == '.' || ch == '-'))
        return true;

    if (timeEdit)
    {
        if (IsSeparator(ch))
        {
            NextField();
            return true;
        }
        if (ch < '0' || ch > '9')
            return true;
        const XString field = text.Sub(selectionStart.x, selectionEnd.x);
        if (field.IsEmpty())
            return true;
        XString shifted = field.From(1);
        shifted += ch;
        const int32_t start = selectionStart.x;
        DeleteRange(selectionStart, selectionEnd, true);
        Insert(start, shifted, true);
        modified = true;
        SetSelection(XPoint(start, 0), XPoint(start + shifted.Length(), 0), true);
        return true;
    }

    if (shift)
    {
        if (ch >= '0' && ch <= '9')
            ch = ShiftedDigit(ch);
        else if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    if (HasSelection())
        DeleteRange(selectionStart, selectionEnd, true);
    if (static_cast<unsigned char>(ch) < 32 || static_cast<unsigned char>(ch) > 126)
        return true;
    Insert(-1, XString(ch), true);
    modified = true;
    SetSelection(caret, caret, true);
    return true;
}

bool XTextEditView::XTextEdit::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    if (!owner->IsEnabled() || !HasKeyFocus() || focusedEditor != this || keyCode == XKeyCode::kKeypadPlus ||
        keyCode == XKeyCode::kKeypadMinus)
        return false;
    // The number pad's plus and minus also arrive as plain characters with the keypad bit.
    if ((modifiers & XKeyMod::kKeypad) != 0 && (keyCode == '+' || keyCode == '-'))
        return false;
    if (HasCtrl(modifiers) && HandleClipboardKey(keyCode))
        return true;
    if (readOnly)
        return false;
    if (timeEdit && (keyCode == XKeyCode::kEnd || keyCode == XKeyCode::kHome))
    {
        CommitAtStepArrow();
        return true;
    }
    if (const std::optional<bool> handled = HandleEditKey(keyCode, modifiers))
        return *handled;
    if (const std::optional<bool> handled = HandleMoveKey(keyCode, modifiers))
        return *handled;
    if (keyCode >= XKeyCode::kF1 && keyCode <= XKeyCode::kF12)
        return false;
    return HandleCharacter(keyCode, modifiers);
}

bool XTextEditView::XTextEdit::HandleClipboardKey(int32_t keyCode)
{
    switch (keyCode)
    {
    case 'c':
    case 'C':
        Copy();
        return true;
    case 'x':
    case 'X':
        Cut();
        return true;
    case 'v':
    case 'V':
        Paste();
        return true;
    default:
        break;
    }
    return false;
}

void XTextEditView::XTextEdit::CommitAtStepArrow()
{
    const int32_t tool = GetCursorTool(XPoint(ColumnToX(caret.x), GetHeight() / 4));
    if ((tool == kCursorStepDown || tool == kCursorStepUp) && modified)
    {
        modified = false;
        DeliverToOwner(kCommitToParamMessage);
    }
}

std::optional<bool> XTextEditView::XTextEdit::HandleEditKey(int32_t keyCode, XKeyInfo modifiers)
{
    switch (keyCode)
    {
    case XKeyCode::kPageUp:
    case XKeyCode::kPageDown:
        owner->StepField(keyCode == XKeyCode::kPageUp, 10);
        return true;
    case XKeyCode::kUp:
    case XKeyCode::kDown:
        owner->StepField(keyCode == XKeyCode::kUp, 1);
        return true;
    case XKeyCode::kBackspace:
        if (timeEdit)
            return true;
        if (HasAlt(modifiers))
            UndoStep();
        else if (caret.x != 0 || HasSelection())
        {
            DeleteBackward();
            modified = true;
        }
        return true;
    case XKeyCode::kDelete:
        if (!timeEdit)
        {
            DeleteForward();
            modified = true;
        }
        return true;
    case XKeyCode::kTab:
        if (timeEdit)
            NextField();
        else
            owner->MoveFocusToSibling(HasShift(modifiers));
        return true;
    case XKeyCode::kReturn:
        FocusChanged(false);
        return false;
    case XKeyCode::kEscape:
        Revert();
        modified = false;
        FocusChanged(false);
        return false;
    default:
        return std::nullopt;
    }
}

std::optional<bool> XTextEditView::XTextEdit::HandleMoveKey(int32_t keyCode, XKeyInfo modifiers)
{
    const bool shift = HasShift(modifiers);
    switch (keyCode)
    {
    case XKeyCode::kLeft:
    case XKeyCode::kRight:
        if (timeEdit)
        {
            if (keyCode == XKeyCode::kLeft)
                PreviousField();
            else
                NextField();
            return true;
        }
        if (shift)
            return HandleShiftMove(keyCode);
        if (HasSelection())
        {
            const XPoint to = keyCode == XKeyCode::kLeft ? selectionStart : selectionEnd;
            SetSelection(to, to, true);
        }
        MoveCaretBy(keyCode == XKeyCode::kLeft ? -1 : 1);
        return true;
    case XKeyCode::kHome:
    case XKeyCode::kEnd:
        if (shift)
            return HandleShiftMove(keyCode);
        if (HasSelection())
            SetSelection(selectionStart, selectionStart, true);
        MoveCaretBy(keyCode == XKeyCode::kHome ? -caret.x : text.Length() - caret.x);
        return true;
    default:
        return std::nullopt;
    }
}

bool XTextEditView::XTextEdit::MouseDown(const XPoint& point, int32_t button)
{
    if (button != kButtonLeft)
        return XView::MouseDown(point, button);
    if (readOnly || !owner->IsEnabled())
        return true;
    owner->pressed.Emit();
    FocusChanged(true);
    mousePressed = true;
    if (clickOnlyFocuses && !timeEdit && !clickedSinceCommit)
        return true;

    const int32_t tool = GetCursorTool(point);
    if (tool == kCursorStepDown || tool == kCursorStepUp)
    {
        stepUp = tool == kCursorStepUp;
        owner->StepField(stepUp, 1);
        StartTimer(kStepTimerId, kStepRepeatMs, false);
        return true;
    }
    dragAnchor = caret;
    caret.x = PointToColumn(point);
    if (juce::ModifierKeys::currentModifiers.isShiftDown())
    {
        XPoint start = selectionStart;
        XPoint end = selectionEnd;
        if (caret.x < start.x)
            start = caret;
        else if (caret.x > end.x)
            end = caret;
        else if ((end.x - start.x) / 2 < caret.x)
            end = caret;
        else
            start = caret;
        SetSelection(start, end, true);
        return true;
    }
    if (timeEdit)
    {
        SelectFieldAroundCaret();
        modified = true;
        Invalidate();
        return true;
    }
    if (XView::IsDoubleClickInProgress())
    {
        owner->SelectAll();
        dragAnchor = caret;
        return true;
    }
    SetSelection(caret, caret, true);
    dragAnchor = caret;
    return true;
}

bool XTextEditView::XTextEdit::MouseMoved(const XPoint& point, int32_t button)
{
    if ((clickOnlyFocuses && !timeEdit && !clickedSinceCommit) || timeEdit || stepping)
        return true;
    if (!mousePressed || readOnly || !owner->IsEnabled())
        return true;
    XPoint hit(PointToColumn(point), 0);
    XPoint start = hit;
    XPoint end = dragAnchor;
    if (end.x < start.x)
        std::swap(start, end);
    if (start != selectionStart || end != selectionEnd)
        SetSelection(start, end, true);
    caret = hit;
    return true;
}

bool XTextEditView::XTextEdit::MouseUp(const XPoint&, int32_t)
{
    mousePressed = false;
    if (stepping)
    {
        StopTimer(kStepTimerId);
        stepping = false;
    }
    clickedSinceCommit = true;
    return true;
}
