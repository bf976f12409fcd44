#pragma once

#include "core/XMessageCodes.h"
#include "device/GlobalParamTables.h"
#include "windows/PresetsModel.h"
#include "windows/SubWindow.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class XMessage;
class XParam;

/** The "Presets" window: the table of the unit's 80 preset locations (U01..U20, F01..F60) with each
    preset's name and configuration and its Locked and Visible toggles on the unit's front panel.

    The window also keeps the program's preset list in step with the unit: the application hands it
    the unit's preset information ('pInf') and flag ('prfg') replies, asks it to fetch a preset the
    unit has stored ('stor'), and to clear the list when the unit comes or goes. The list itself is
    the PresetsManager's; the table reads it through the model at every paint.

    The table exists from construction and goes into the content with the first show. GUI thread
    only. */
class PresetsWindow final : public SubWindow
{
public:
    static constexpr const char* kTableName = "PresetsTable";
    static constexpr int32_t kCurrentPresetKey = static_cast<int32_t>(FourCharCode("crPr"));
    /** Main group id of "QM7\lockUIForEditCompare". */
    static constexpr int32_t kCompareLockId = GlobalParamTables::kEditCompareLockId;

    /** Watches the unit's current preset; makes the table. */
    PresetsWindow();
    ~PresetsWindow() override;

    juce::TableListBox* GetTable() const { return table.get(); }
    PresetsModel& GetModel() { return model; }

    /** The unit stored preset number: while connected, asks for its information and its flags
        (commands 13 and 14). */
    void RequestPresetInfo(int32_t presetNumber);
    /** keep false: every preset reads "---", no configuration, no flags, and the table shows it;
        keep true: nothing. */
    void ClearPresetList(bool keep);
    /** A 'pInf' reply while connected, for a preset of the list: stores its name (without trailing
        blanks; "?" for a name starting with '?') and configuration, shows them, and asks the unit
        for every value again (a following recall). */
    void HandlePresetInfo(XMessage& message);
    /** A 'prfg' reply for a preset of the list: stores its flags, re-applies the lock mode to every
        region, tells the lock mode's watchers to refresh and shows the flags. */
    void HandlePresetFlags(XMessage& message);

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "PresetsWindow"; }

protected:
    void BuildContent() override;

private:
    void ShowList();

    PresetsModel model;                        // declared before the table, which it must outlive
    std::unique_ptr<juce::TableListBox> table; // a child of the content once built
};
