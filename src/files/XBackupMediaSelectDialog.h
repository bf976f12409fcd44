#pragma once

#include "gui/XOKCancelDialog.h"

#include <cstdint>

class XParam;

/** The "Burn Options" question before a backup is burnt: it tells the backup's size and lets the
    user pick the medium ("typeSelectPopup": CD 700 MB, CD 650 MB or DVD) and whether the burn is
    verified ("verifyCheckbox", the parameter "backup\verify"). Both choices live in parameters made
    on the first showing and kept for the program's life, so the next backup starts from them.
    Views missing from the description are skipped. GUI thread. */
class XBackupMediaSelectDialog final : public XOKCancelDialog
{
public:
    static constexpr const char* kDescription = "windows\\BackupMediaSelect.txt";
    static constexpr const char* kTitle = "Burn Options";
    static constexpr const char* kVerifyParamPath = "backup\\verify";
    static constexpr const char* kPromptFormat =
        "Select the type of media you wish to use for burning...\r\n(You have selected %s to burn)";
    static constexpr int32_t kDefaultMediaType = 4;

    explicit XBackupMediaSelectDialog(double sizeInBytes);

    void InitControls() override;
    const char* GetClassNameText() const override { return "XBackupMediaSelectDialog"; }

    /** The chosen medium (2, 3 or 4); 4 before the first showing. */
    static int32_t GetMediaType();
    /** The kept parameters, null before the first showing. */
    static XParam* GetMediaTypeParam();
    static XParam* GetVerifyParam();
    /** The menu text of a medium: 2 "CD (700 MB/80 min)", 3 "CD (650 MB/74 min)", else
        "DVD (4.7 GB)". */
    static XString MediaTypeText(XParam* param, double value, int32_t user);

private:
    double sizeInBytes;
};
