#pragma once

#include "app/PresetLocationDialog.h"

/** The store dialog: Yes or Cancel, and the drop-down of the user preset to store into
 * ("QM7\storeMemLocation", 1..20). */
class StorePresetDialog final : public PresetLocationDialog
{
public:
    static constexpr const char* kDescription = "Dialogs\\storePresetDialog.txt";

    /** An empty or null path takes kDescription. */
    StorePresetDialog(const XString& title, const XString& text, XView* parent, const char* path,
                      const XString& okLabel, const XString& cancelLabel);

    const char* GetClassNameText() const override { return "StorePresetDialog"; }
};
