#include "gui/XPopupMenu.h"

#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XMenu.h"
#include "gui/XMenuItem.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"

namespace
{
constexpr double kDimPercent = 50.0;
/** A dimmed text this dark is raised by kDarkTextLift to stay readable on the grey. */
constexpr uint8_t kDarkTextRed = 30;
constexpr int16_t kDarkTextLift = 100;
/** The erased text area of a disabled control: the bounds less the arrow at the right. */
constexpr int32_t kEraseRightInset = 22;
constexpr int32_t kEraseBottomInset = 4;
constexpr int32_t kEraseLeftInset = 3;
constexpr int32_t kEraseTopInset = 3;

/** The colour of the first key the block has; false (colour unchanged) when it has neither. */
bool FindEitherColour(const XMessage& block, const char* first, const char* second, XRGB& colour)
{
    return DescriptionItems::FindColour(block, first, colour) ||
           DescriptionItems::FindColour(block, second, colour);
}

} // namespace

// The colour defaults and the color1..color4 mapping are those of the framework's drop-down
// description (color1 the face, color2 the highlight, color3/color4 the two text colours); the text
// colours start from the dictionary's "popupText" and "popupTextHighlight".

XPopupMenu::XPopupMenu()
{
    InitialiseColours();
}

XPopupMenu::XPopupMenu(const XRect& frame, const char* name, const char* label)
    : XControl(frame, name, nullptr)
{
    InitialiseColours();
    if (label != nullptr)
        SetLabel(XString(label));
}

// The image form keeps its own signature apart from (frame, name, label), which the editor windows
// use: both take a rectangle and two texts.
XPopupMenu::XPopupMenu(ImageNames, const XRect& frame, const char* imageName, const char* arrowImageName)
{
    SetFrame(frame);
    InitialiseColours();
    SetArrowImage(imageName, arrowImageName);
}

XPopupMenu::~XPopupMenu()
{
    DetachMenu();
}

void XPopupMenu::InitialiseColours()
{
    XColorDictionary& dictionary = GetColorDictionary();
    dictionary.FindColor(kHighlightTextColourName, highlightTextColour);
    dictionary.FindColor(kTextColourName, textColour);
}

void XPopupMenu::SetArrowImage(const char* mainImageName, const char* secondImageName)
{
    XResourceManager& resources = GetResourceManager();
    mainImage =
        mainImageName != nullptr && mainImageName[0] != '\0' ? resources.GetImage(mainImageName) : nullptr;
    secondImage = secondImageName != nullptr && secondImageName[0] != '\0'
                      ? resources.GetImage(secondImageName)
                      : nullptr;
    if (secondImage == nullptr)
        secondImage = mainImage;
    Invalidate();
}

void XPopupMenu::SetTextColors(const XRGB& text, const XRGB& highlightText)
{
    textColour = text;
    highlightTextColour = highlightText;
    Invalidate();
}

// The menu ------------------------------------------------------------------------------------------------

bool XPopupMenu::IsInWindow()
{
    return GetParentView() != nullptr || isOnDesktop();
}

void XPopupMenu::BuildMenu()
{
    XParam* param = GetPot();
    if (param == nullptr)
        return;
    auto built = std::make_unique<XMenu>(param->GetName().CStr(), false);
    bool isDynamic = false;
    if (description != nullptr)
    {
        DescriptionItems::FindFlag(*description, "dynamic", isDynamic);
        built->ReadAttributes(*description);
    }
    built->AddParamItems(param, isDynamic, false, "");
    SetContextMenu(built.release());
}

void XPopupMenu::SetContextMenu(IContextMenu* contextMenu)
{
    auto* newMenu = dynamic_cast<XMenu*>(contextMenu);
    if (contextMenu != nullptr && newMenu == nullptr)
    {
        XControl::SetContextMenu(contextMenu);
        return;
    }
    if (newMenu == menu.get())
        return;
    DetachMenu();
    menu.reset(newMenu);
    if (menu != nullptr)
    {
        closedConnection = menu->GetMenuClosedSignal().Connect([this] { OnMenuClosed(); });
        chosenConnection =
            menu->GetItemChosenSignal().Connect([this](XMenuItem* item) { OnItemChosen(item); });
    }
    UpdateDisplayText();
}

void XPopupMenu::DetachMenu()
{
    if (menu == nullptr)
        return;
    menu->GetMenuClosedSignal().Disconnect(closedConnection);
    menu->GetItemChosenSignal().Disconnect(chosenConnection);
    menu.reset();
}

void XPopupMenu::UpdateDisplayText()
{
    XParam* param = GetPot();
    XString text;
    if (param != nullptr)
    {
        text = XParamItem::MenuLabelOf(param, param->GetValue());
    }
    else if (menu != nullptr)
    {
        XMenuItem* selected = menu->GetSelectedItem();
        text = selected != nullptr ? selected->GetLabel() : GetLabel();
    }
    else
    {
        text = GetLabel().IsEmpty() ? GetName() : GetLabel();
    }
    if (stripValueTreeLabels)
    {
        // A value-tree text "head:tail" shows its tail, as the menu lists it.
        const char* colon = std::strchr(text.CStr(), ':');
        if (colon != nullptr && colon[1] != '\0')
            text = XString(colon + 1);
    }
    displayText = text;
}

void XPopupMenu::ShowMenu()
{
    pressed = true;
    Invalidate();
    if (menu == nullptr)
        return;
    menuOpen = true;
    const juce::Point<int> screen = localPointToGlobal(juce::Point<int>(0, GetBounds().bottom));
    menu->PopupAt(XPoint(screen.x, screen.y), nullptr);
}

void XPopupMenu::OnItemChosen(XMenuItem* item)
{
    if (item == nullptr)
        return;
    if (XParam* param = GetPot())
    {
        param->BeginEdit();
        editBegun = true;
    }
    itemChosenSignal.Emit(item);
}

void XPopupMenu::OnMenuClosed()
{
    UpdateDisplayText();
    pressed = false;
    menuOpen = false;
    XParam* param = GetPot();
    if (param != nullptr && editBegun)
        param->EndEdit();
    editBegun = false;
    Invalidate();
}

// View operations ---------------------------------------------------------------------------------------

void XPopupMenu::ApplyStyle()
{
    XControl::ApplyStyle();
    if (mainImage != nullptr)
    {
        const XRect frame = GetFrame();
        SetFrame(XRect(frame.left, frame.top, frame.left + mainImage->GetWidth(),
                       frame.top + mainImage->GetHeight()));
    }
    if (menu == nullptr && IsInWindow())
        BuildMenu();
    UpdateDisplayText();
}

void XPopupMenu::PotChanged(XParam* param)
{
    XControl::PotChanged(param);
    if (param != nullptr && IsInWindow())
        BuildMenu();
}

void XPopupMenu::ReadAttributes(XMessage& block)
{
    description = std::make_unique<XMessage>(block);
    XControl::ReadAttributes(block);

    XResourceManager& resources = GetResourceManager();
    const char* text = nullptr;
    const bool hasImage = block.FindString("imagename", text, 0) == 0;
    if (hasImage)
        mainImage = resources.GetImage(text);
    int32_t margin = 0;
    if (block.FindInt32("titlemargin", margin) == 0)
        titleMargin = margin;
    if (block.FindString("imagename", text, 1) == 0)
        secondImage = resources.GetImage(text);
    else if (hasImage)
        secondImage = mainImage;

    if (DescriptionItems::HasStyleWord(block, "noframe"))
        frameShown = false;
    if (DescriptionItems::HasStyleWord(block, "noTitle"))
        titleShown = false;
    if (DescriptionItems::HasStyleWord(block, "noarrow"))
        arrowShown = false;
    if (DescriptionItems::HasStyleWord(block, "fancyrender"))
    {
        fancyRender = true;
        mainImage = nullptr;
    }
    if (DescriptionItems::HasStyleWord(block, "nodraw"))
        noDraw = true;

    XRect rect;
    if (block.FindRect("labelRect", rect) == 0)
        labelRect = rect;

    DescriptionItems::FindColour(block, "color1", color1);
    if (!FindEitherColour(block, "hiliteforecolor", "color2", color2))
        color2 = color1;
    FindEitherColour(block, "textcolor", "color3", textColour);
    FindEitherColour(block, "textlitcolor", "color4", highlightTextColour);

    DescriptionItems::FindFlag(block, "useDisplayProc", useDisplayProc);
    DescriptionItems::FindFlag(block, "stripValTreeLabels", stripValueTreeLabels);
}

bool XPopupMenu::MouseDown(const XPoint& point, int32_t button)
{
    if (!IsEnabled())
        return XView::MouseDown(point, button);
    if (isShowing())
        grabKeyboardFocus();
    pressedSignal.Emit();
    pressed = true;
    const XRect bounds = GetBounds();
    if (point.x >= bounds.left && point.x <= bounds.right && point.y >= bounds.top &&
        point.y <= bounds.bottom)
        ShowMenu();
    return true;
}

bool XPopupMenu::MouseUp(const XPoint& point, int32_t button)
{
    XView::MouseUp(point, button);
    Invalidate();
    pressed = false;
    return true;
}

void XPopupMenu::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const bool valueCode = code == static_cast<int32_t>(XMsgCode::kParamValueSet) ||
                           code == static_cast<int32_t>(XMsgCode::kParamChangedByUser);
    if (!valueCode || param == nullptr || param != GetPot())
    {
        XControl::ParamChanged(code, param, key);
        return;
    }
    if (IsVisible())
    {
        UpdateDisplayText();
        Invalidate();
    }
    else
    {
        displayText = XString();
    }
}

// Drawing -------------------------------------------------------------------------------------------------

XRect XPopupMenu::GetTextBox() const
{
    XRect box = GetBounds();
    XFont* font = GetFont();
    const int32_t fontHeight = font != nullptr ? font->GetHeight() : 0;
    const int32_t height = box.Height();
    if (fontHeight < height)
        box.top += (height - fontHeight + 1) / 2;
    box.bottom = box.top + fontHeight;
    if (pressed || menuOpen)
    {
        ++box.left;
        ++box.right;
        ++box.top;
    }
    return box;
}

void XPopupMenu::Draw(XCanvas& canvas)
{
    if (noDraw || !IsVisible())
        return;
    if (displayText.IsEmpty())
        UpdateDisplayText();
    XControl::Draw(canvas);
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    if (mainImage != nullptr && secondImage != nullptr)
    {
        DrawWithImages(canvas, bounds);
        return;
    }
    const bool highlighted = pressed || menuOpen;
    if (highlighted)
    {
        canvas.SetBackColor(color2);
        canvas.SetForeColor(highlightTextColour);
    }
    if (XStyle* style = GetStyle())
        style->DrawPopupMenu(this, bounds, canvas, highlighted, IsDisabledByParam());
}

void XPopupMenu::DrawWithImages(XCanvas& canvas, const XRect& bounds)
{
    const bool highlighted = pressed || menuOpen;
    XImage* image = highlighted ? secondImage : mainImage;
    const uint32_t rop = IsTransparent() ? XCanvas::kRopTransparent : XCanvas::kRopCopy;
    if (image->GetWidth() == bounds.Width())
        canvas.DrawImageInRect(image, bounds, rop);
    else
        canvas.StretchImage(image, image->GetBounds(), bounds);

    const XRect textBox = GetTextBox();
    if (!titleShown || displayText.IsEmpty())
        return;
    XRGB colour = highlighted ? highlightTextColour : textColour;
    if (IsDisabledByParam())
        colour.ScaleBrightness(kDimPercent);
    if (!IsEnabled())
    {
        colour = textColour;
        colour.ScaleBrightness(kDimPercent);
        if (colour.r <= kDarkTextRed)
            colour.ShiftBrightness(kDarkTextLift);
        canvas.SetBackColor(kDisabledBack);
        const XRect visible = bounds.Intersect(GetVisibleFrame());
        if (visible.IsEmpty() || !visible.IsValid())
            return;
        const XRect erase(visible.left + kEraseLeftInset, visible.top + kEraseTopInset,
                          visible.right - kEraseRightInset, visible.bottom - kEraseBottomInset);
        // A control narrower than the arrow would turn the rectangle inside out: nothing to erase then.
        if (!erase.IsEmpty())
            canvas.EraseRect(erase);
    }
    canvas.SetForeColor(colour);
    const bool useLabelRect = labelRect.right != labelRect.left && labelRect.IsValid();
    canvas.DrawText(useLabelRect ? labelRect : textBox, displayText, kImageTextFlags);
}
