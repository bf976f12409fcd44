#include "widgets/XCheckBox.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"

namespace
{
constexpr const char* kCheckBoxFontName = "checkbox";
constexpr const char* kFallbackFontName = "small";
constexpr const char* kLabelColourName = "label";

/** The check boxes' font, looked up by the first check box and kept. */
XFont* CheckBoxFont()
{
    static XFont* const font = []
    {
        XFont* named = XFont::GetNamedFont(XString(kCheckBoxFontName), false);
        return named != nullptr ? named : XFont::GetNamedFont(XString(kFallbackFontName), false);
    }();
    return font;
}
} // namespace

XCheckBox::XCheckBox()
{
    if (XFont* font = CheckBoxFont())
        SetFont(font);
    // The label in the skin's label colour, readable on its windows, unless a description sets one.
    SetForeColor(GetColorDictionary().GetColorOr(kLabelColourName, GetForeColor()));
}

void XCheckBox::ReadAttributes(XMessage& block)
{
    XButton::ReadAttributes(block);
    bool radio = false;
    if (block.FindBool("isRadio", radio) == 0)
        isRadio = radio;
}

void XCheckBox::ApplyStyle()
{
    if (XView* parent = GetParentView())
        SetBackColor(parent->GetBackColor());
    XControl::ApplyStyle();
    if (GetImage() == nullptr)
    {
        const XRect frame = GetFrame();
        const char* dim = isRadio ? kRadioDimImage : kCheckDimImage;
        const char* lit = isRadio ? kRadioLitImage : kCheckLitImage;
        const char* pressedImage = isRadio ? kRadioPressedImage : kCheckPressedImage;
        if (GetResourceManager().GetImage(XString(pressedImage)) == nullptr)
            pressedImage = lit;
        SetImage(dim, lit, pressedImage);
        SetFrame(frame); // SetImage sized the frame to the box; the label beside it keeps the width
    }
    ApplyImageHeight();
    SetTransparent(true);
}

void XCheckBox::ApplyImageHeight()
{
    if (XImage* image = GetImage())
    {
        const XRect frame = GetFrame();
        SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + image->GetHeight()));
    }
}

void XCheckBox::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    // The label is drawn in the box's own font and colour.
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawCheckBox(this, GetDrawFrame(), canvas, IsLit(GetPosition()), IsPressed());
}

void XCheckBox::LabelChanged()
{
    XButton::LabelChanged();
    ApplyImageHeight();
    Invalidate();
}

bool XCheckBox::MouseUp(const XPoint& point, int32_t button)
{
    const bool handled = XButton::MouseUp(point, button);
    Invalidate();
    return handled;
}

void XCheckBox::SetPosition(int32_t position)
{
    XControl::SetPosition(position);
}
