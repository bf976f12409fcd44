#include "widgets/XSpinner.h"

#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XButton.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "widgets/XTextEditView.h"
#include "widgets/XTimeView.h"

namespace
{
constexpr XRGB kDefaultColor1{100, 100, 100, 255};
constexpr XRGB kDefaultColor2{200, 200, 200, 255};
constexpr XRGB kDefaultColor3{0, 0, 0, 255};
constexpr XRGB kDefaultColor4{200, 200, 0, 255};
constexpr XRGB kDefaultTextColor{0, 0, 0, 255};
constexpr XRGB kDefaultHiliteFore{0, 0, 0, 255};
constexpr XRGB kDefaultHiliteBack{100, 100, 0, 255};
constexpr XRGB kFancyFieldBack{48, 47, 37, 255};
constexpr XRGB kFancyDark{10, 10, 10, 255};
constexpr XRGB kFancyBevel{52, 57, 58, 255};
/** The fancy field sits this far inside the images' height. */
constexpr int32_t kFancyFieldInset = 4;

void ReadColour(const XMessage& block, const char* name, XRGB& colour, const XRGB& fallback)
{
    if (block.FindColor(name, colour) != 0)
        colour = fallback;
}
} // namespace

XSpinner::XSpinner()
{
    // The plain field is drawn in the spinner's fore colour: the skin's text field colours keep it
    // readable unless a description sets its own.
    SetForeColor(GetColorDictionary().GetColorOr("editTextBack", GetForeColor()));
    textColor = GetColorDictionary().GetColorOr("editTextFore", kDefaultTextColor);
}

int32_t XSpinner::GetButtonWidth() const
{
    return buttonWidth >= 0 ? buttonWidth : GetWidth() / 2;
}

int32_t XSpinner::SetTarget(XHandler* handler, XLooper* looper)
{
    if (upButton != nullptr)
        upButton->SetTarget(handler, looper);
    if (downButton != nullptr)
        downButton->SetTarget(handler, looper);
    return XControl::SetTarget(handler, looper);
}

void XSpinner::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    int32_t number = 0;
    if (block.FindInt32("buttonwidth", number) == 0)
        buttonWidth = number;
    if (block.FindInt32("separatorwidth", number) == 0)
        separatorWidth = number;
    ReadColour(block, "color1", color1, kDefaultColor1);
    ReadColour(block, "color2", color2, kDefaultColor2);
    ReadColour(block, "color3", color3, kDefaultColor3);
    ReadColour(block, "color4", color4, kDefaultColor4);
    ReadColour(block, "textcolor", textColor,
               GetColorDictionary().GetColorOr("editTextFore", kDefaultTextColor));
    ReadColour(block, "hiliteforecolor", hiliteForeColor, kDefaultHiliteFore);
    ReadColour(block, "hilitebackcolor", hiliteBackColor, kDefaultHiliteBack);
    numeric = numeric || DescriptionItems::HasStyleWord(block, "numeric");
    readOnly = readOnly || DescriptionItems::HasStyleWord(block, "readonly");
    fancyRender = fancyRender || DescriptionItems::HasStyleWord(block, "fancyRender");
}

void XSpinner::ApplyStyle()
{
    XControl::ApplyStyle();
    if (upButton != nullptr)
        return; // the children are built once
    XRect bounds = GetBounds();

    XImage* left = nullptr;
    XImage* right = nullptr;
    if (fancyRender)
    {
        XResourceManager& resources = GetResourceManager();
        left = resources.GetImage(XString(kLeftImage));
        right = resources.GetImage(XString(kRightImage));
        XImage* leftLit = resources.GetImage(XString(kLeftLitImage));
        XImage* rightLit = resources.GetImage(XString(kRightLitImage));
        if (left == nullptr || right == nullptr || leftLit == nullptr || rightLit == nullptr)
        {
            fancyRender = false;
        }
        else
        {
            const XRect frame = GetFrame();
            SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + right->GetHeight()));
            bounds = GetBounds();
        }
    }

    const int32_t l = bounds.left;
    const int32_t t = bounds.top;
    const int32_t r = bounds.right;
    const int32_t b = bounds.bottom;
    if (fancyRender)
    {
        const int32_t leftWidth = left->GetWidth();
        const int32_t rightWidth = right->GetWidth();
        AddButton(true, XRect(r - rightWidth, t, r, b), kRightImage, kRightLitImage);
        AddButton(false, XRect(l, t, l + leftWidth, b), kLeftImage, kLeftLitImage);
        textRect = XRect(l + leftWidth, t, r - rightWidth, b - 1);
        AddTextField(XRect(l + leftWidth, t + kFancyFieldInset, r - rightWidth, b - kFancyFieldInset));
    }
    else
    {
        const int32_t x = r - GetButtonWidth();
        const int32_t middle = t + bounds.Height() / 2;
        AddButton(true, XRect(x, t, r, middle), nullptr, nullptr);
        AddButton(false, XRect(x, middle, r, b), nullptr, nullptr);
        AddTextField(XRect(l, t, x - separatorWidth, b));
    }
}

void XSpinner::AddButton(bool up, const XRect& frame, const char* image, const char* litImage)
{
    XMessage block;
    block.AddString("name", up ? "spinner_upbtn" : "spinner_downbtn");
    if (!fancyRender)
        block.AddString("label", up ? "+" : "-");
    block.AddRect("frame", frame);
    block.AddColor("backcolor", GetBackColor());
    block.AddColor("color1", color1);
    block.AddColor("color2", color2);
    block.AddColor("color3", color3);
    block.AddColor("color4", color4);
    if (fancyRender)
    {
        block.AddString("imagename", image);
        block.AddString("imagename", litImage);
    }
    block.AddString("style", "noFocus");

    auto* button = new XButton();
    button->ReadAttributes(block);
    if (up)
        upButton = button;
    else
        downButton = button;
    AddChild(button);
    button->SetTarget(this, GetLooper());
    button->SetMessage(new XMessage(up ? kStepUpMessage : kStepDownMessage, 0));
}

void XSpinner::AddTextField(const XRect& frame)
{
    XParam* param = GetPot();
    const bool timeField = param != nullptr && param->GetValueKind() == XParam::kKindTime;
    XMessage block;
    if (timeField)
        block.AddString("timeformat", "SMPTE");
    block.AddString("name", "spinner_textedit");
    block.AddString("label", "spinner_textedit");
    block.AddRect("frame", frame);
    block.AddColor("forecolor", textColor);
    block.AddColor("hiliteforecolor", hiliteForeColor);
    block.AddColor("hilitebackcolor", hiliteBackColor);
    if (numeric)
        block.AddString("style", "numeric");
    if (readOnly)
        block.AddString("style", "readonly");
    if (fancyRender)
    {
        block.AddString("style", "noframe");
        block.AddColor("backcolor", kFancyFieldBack);
    }
    else
    {
        block.AddColor("backcolor", GetForeColor());
    }
    block.AddString("style", "inspinner");
    block.AddString("textjustify", "center");
    if (param != nullptr)
        block.AddPointer("param", param);

    textField = timeField ? new XTimeView() : new XTextEditView();
    textField->ReadAttributes(block);
    AddChild(textField);
}

void XSpinner::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    if (!fancyRender)
    {
        XControl::Draw(canvas);
        return;
    }
    PrepareCanvas(canvas);
    canvas.FillRectColour(GetBounds(), kFancyDark);
    canvas.FillRectColour(textRect, kFancyDark);
    const XRect bounds = GetBounds();
    canvas.FillRectColour(XRect(textRect.left, bounds.top + 2, textRect.right, bounds.bottom - 1),
                          kFancyBevel);
    canvas.FillRectColour(XRect(textRect.left, bounds.top + 3, textRect.right, bounds.bottom - 2),
                          kFancyDark);
}

void XSpinner::MessageReceived(XMessage& message)
{
    const uint32_t code = message.GetWhat();
    if (code == kStepUpMessage || code == kStepDownMessage)
    {
        if (XParam* param = GetPot())
            param->StepBy(code == kStepUpMessage ? 1 : -1, true);
        return;
    }
    XControl::MessageReceived(message);
}
