#pragma once

#include "gui/XOKCancelDialog.h"

class XPopupMenu;

/** The base of the store and recall dialogs: an OK/Cancel question whose description holds the
    drop-down "DialogMenu", bound there to the location parameter that the command reads afterwards.
    The dialog only styles the drop-down. Created, run and deleted by the caller on the GUI thread. */
class PresetLocationDialog : public XOKCancelDialog
{
public:
    static constexpr const char* kMenuName = "DialogMenu";
    static constexpr const char* kArrowImage = "widget\\DropDownExtraLong.png";
    static constexpr const char* kTextColourName = "windowLabel";
    static constexpr const char* kBackColourName = "widgetBack";
    static constexpr const char* kMenuTextColourName = "widgetText";

    PresetLocationDialog(const XString& title, const XString& text, XView* parent, const char* path,
                         const XString& okLabel, const XString& cancelLabel);

    /** The OK/Cancel set-up, then the drop-down's images and colours (nothing when it is missing). */
    void InitControls() override;
    /** The drop-down; null before InitControls or when the description lacks it. */
    XPopupMenu* GetMenu() const { return menu; }

private:
    XPopupMenu* menu = nullptr; // child view
};
