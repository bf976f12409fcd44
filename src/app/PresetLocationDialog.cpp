#include "app/PresetLocationDialog.h"

#include "gui/XColorDictionary.h"
#include "gui/XPopupMenu.h"

PresetLocationDialog::PresetLocationDialog(const XString& title, const XString& text, XView* parent,
                                           const char* path, const XString& okLabel,
                                           const XString& cancelLabel)
    : XOKCancelDialog(title, text, parent, path, okLabel, cancelLabel)
{
}

void PresetLocationDialog::InitControls()
{
    XOKCancelDialog::InitControls();
    menu = dynamic_cast<XPopupMenu*>(FindView(kMenuName));
    if (menu == nullptr)
        return;
    const XColorDictionary& colours = GetColorDictionary();
    menu->SetArrowImage(kArrowImage, kArrowImage);
    const XRGB text = colours.GetColor(kTextColourName);
    menu->SetTextColors(text, text);
    menu->SetBackColor(colours.GetColor(kBackColourName));
    menu->SetTextColor(colours.GetColor(kMenuTextColourName));
}
