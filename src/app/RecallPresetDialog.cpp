#include "app/RecallPresetDialog.h"

RecallPresetDialog::RecallPresetDialog(const XString& title, const XString& text, XView* parent,
                                       const char* path, const XString& okLabel, const XString& cancelLabel)
    : PresetLocationDialog(title, text, parent, path != nullptr && path[0] != 0 ? path : kDescription,
                           okLabel, cancelLabel)
{
}
