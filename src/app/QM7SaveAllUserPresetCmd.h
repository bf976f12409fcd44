#pragma once

#include "core/XCommand.h"

/** "Saving User Preset Preset...": saves the unit's 20 user presets as preset files into a folder
    the user chooses (through the installed folder chooser, GetFolderChooser, starting in the folder
    given at construction), behind the job's progress window; afterwards every value is read from
    the unit again, so that the editor shows the unit's current settings. GUI thread; registered by
    the application. */
class QM7SaveAllUserPresetCmd final : public XCommand
{
public:
    static constexpr const char* kName = "StoreAllUserPresetCmd";
    static constexpr const char* kTitle = "Saving User Preset Preset...";
    static constexpr const char* kChooserTitle = "Browse for folder";
    static constexpr const char* kChooserWildcard = "*.*";
    static constexpr const char* kPresetFolderName = "Presets";

    explicit QM7SaveAllUserPresetCmd(const XString& folder);

    void Execute(XMessage* request) override;
    XString GetTitle() override { return kTitle; }
    bool IsEnabled(XMessage* request) override { return true; }

    /** "<program folder>/Presets". */
    static XString DefaultFolder();
    const XString& GetFolder() const { return folder; }

private:
    XString folder;
};
