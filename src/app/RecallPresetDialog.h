#pragma once

#include "app/PresetLocationDialog.h"

/** The recall dialog: Yes or Cancel, and the drop-down of the preset to recall
 * ("QM7\recallMemLocation", 1..80). */
class RecallPresetDialog final : public PresetLocationDialog
{
public:
    static constexpr const char* kDescription = "Dialogs\\recallPresetdialogforkrx640.txt";

    /** An empty or null path takes kDescription. */
    RecallPresetDialog(const XString& title, const XString& text, XView* parent, const char* path,
                       const XString& okLabel, const XString& cancelLabel);

    const char* GetClassNameText() const override { return "RecallPresetDialog"; }
};
