#include "widgets/XComboBox.h"

#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XPict.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XText.h"
#include "widgets/XComboBtn.h"
#include "widgets/XComboTextEdit.h"

namespace
{
// The field lies inside the text rectangle: an editable one 2 from the left and top and 3 from the
// right and bottom, a plain text 2 from the sides and 3 from the top and bottom.
constexpr int32_t kEditInsetLeftTop = 2;
constexpr int32_t kEditInsetRightBottom = 3;
constexpr int32_t kTextInsetSides = 2;
constexpr int32_t kTextInsetTopBottom = 3;

XString NameOrEmpty(const char* name)
{
    return XString(name != nullptr ? name : "");
}
} // namespace

XComboBox::XComboBox(const XRect& bounds, XParam* paramIn, const char* textFieldImageIn,
                     const char* spinnerImageIn, const char* spinnerUpImageIn, const char* spinnerDownImageIn)
    : XView(bounds), param(paramIn), spinnerImage(NameOrEmpty(spinnerImageIn)),
      spinnerUpImage(NameOrEmpty(spinnerUpImageIn)), spinnerDownImage(NameOrEmpty(spinnerDownImageIn)),
      textFieldImage(NameOrEmpty(textFieldImageIn))
{
    const int32_t width = bounds.Width();
    const int32_t height = bounds.Height();
    textRect = XRect(0, 0, width - height, height);
    textOriginRect = textRect;
    if (XFont* font = XFont::GetNamedFont(XString(kFontName), false))
        SetFont(font);
    SetBackColor(GetColorDictionary().GetColorOr("widgetBack", XRGB(255, 255, 255)));
    SetTextColor(GetColorDictionary().GetColorOr("widgetText", XRGB(0, 0, 0)));
}

XComboBox::~XComboBox()
{
    // The children outlive the box's own members: they must not reach its signal any more.
    if (auto* field = dynamic_cast<XTextEditView*>(textField))
        field->TextChanged().Disconnect(fieldConnection);
    if (spinner != nullptr)
        spinner->GetPressStartedSignal().Disconnect(spinnerConnection);
}

void XComboBox::InsetTextRect(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    textRect = XRect(textRect.left + dl, textRect.top + dt, textRect.right + dr, textRect.bottom + db);
}

void XComboBox::OffsetText(int32_t dx, int32_t dy)
{
    textOriginRect = XRect(textOriginRect.left + dx, textOriginRect.top + dy, textOriginRect.right + dx,
                           textOriginRect.bottom + dy);
}

bool XComboBox::IsEditable() const
{
    return param == nullptr || (param->GetFlags() & XControl::kParamLockedFlag) == 0;
}

void XComboBox::SetDirectStep(bool direct)
{
    directStep = direct;
    if (spinner != nullptr)
        spinner->SetDirectStep(direct);
}

void XComboBox::ApplyStyle()
{
    XView::ApplyStyle();
    SetTransparent(true);
    if (spinner != nullptr)
        return; // the children are built once
    if (!textFieldImage.IsEmpty())
    {
        textFieldPict = new XPict(textOriginRect, "", textFieldImage.CStr(), false);
        PassStyle(*textFieldPict);
        AddChild(textFieldPict);
    }
    BuildField();
    BuildSpinner();
}

void XComboBox::BuildField()
{
    const bool overPicture = textFieldPict != nullptr && textFieldPict->CountImages() > 0;
    if (editable && IsEditable())
    {
        const XRect frame(textRect.left + kEditInsetLeftTop, textRect.top + kEditInsetLeftTop,
                          textRect.right - kEditInsetRightBottom, textRect.bottom - kEditInsetRightBottom);
        auto* field = new XComboTextEdit(frame);
        field->SetFont(GetFont());
        XMessage block;
        if (param != nullptr)
            block.AddPointer("param", param);
        if (overPicture)
            block.AddString("style", "noframe");
        field->ReadAttributes(block);
        field->SetJustification(GetJustification());
        field->SetBackColor(GetBackColor());
        field->SetForeColor(GetTextColor());
        field->SetTransparent(overPicture);
        field->Show();
        PassStyle(*field);
        AddChild(field);
        fieldConnection =
            field->TextChanged().Connect([this](const XString&, XTextEditView*) { changed.Emit(); });
        textField = field;
        return;
    }
    const XRect frame(textRect.left + kTextInsetSides, textRect.top + kTextInsetTopBottom,
                      textRect.right - kTextInsetSides, textRect.bottom - kTextInsetTopBottom);
    auto* text = new XText(frame, param, GetTextColor(), GetFont(), GetJustification());
    PassStyle(*text);
    AddChild(text);
    textField = text;
}

void XComboBox::BuildSpinner()
{
    const XRect frame = GetFrame();
    const int32_t boxWidth = frame.Width();
    const int32_t boxHeight = frame.Height();
    int32_t width = boxHeight;
    int32_t height = boxHeight;
    if (XImage* image = spinnerImage.IsEmpty() ? nullptr : GetResourceManager().GetImage(spinnerImage))
    {
        width = image->GetWidth();
        height = image->GetHeight();
    }
    if (boxHeight < height)
        SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + height));
    const int32_t left = boxWidth - width;
    spinner = new XComboBtn(XRect(left, 0, left + width, height), spinnerImage.CStr(), spinnerUpImage.CStr(),
                            spinnerDownImage.CStr(), param);
    spinner->SetDirectStep(directStep);
    PassStyle(*spinner);
    AddChild(spinner);
    spinnerConnection = spinner->GetPressStartedSignal().Connect([this] { changed.Emit(); });
}

void XComboBox::PassStyle(XView& child) const
{
    XStyle* style = GetStyle();
    if (style != XStyle::GetCurrentStyle())
        child.SetStyle(style);
}
