#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "windows/ParametersModel.h"
#include "windows/RegionsModel.h"
#include "windows/SubWindow.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class XMessage;

/** The "Front Panel Access" window: for the unit's current preset, what the unit's own front panel
    may show and change. The preset as a whole can be locked or hidden (its flags, sent with their
    own request), each region locked or hidden (all its parameters), and each parameter of the
    region selected locked or hidden (flag bits on the parameters, which travel with every value).

    Made by the application's window registry, hidden; the application forwards the unit's preset
    flags ('prfg') and asks it to refresh its tables or a parameter's row. GUI thread only. */
class FrontPanelWindow final : public SubWindow
{
public:
    static constexpr const char* kTitle = "Front Panel Access";
    static constexpr const char* kBackground = "FrontPanelAccess\\frontPanelAccessBg.png";

    /** Keys of the watched parameters. */
    static constexpr int32_t kCurrentPresetKey = static_cast<int32_t>(FourCharCode("crPr"));
    static constexpr int32_t kProgramNameKey = static_cast<int32_t>(FourCharCode("prNm"));
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));
    /** The unit's report of a preset's flags, and its bits. */
    static constexpr uint32_t kMsgPresetFlags = FourCharCode("prfg");
    static constexpr int32_t kPresetLocked = 4;
    static constexpr int32_t kPresetHidden = 8;

    /** Places of the page (content coordinates: left, top, right, bottom). */
    static constexpr XRect kPresetLockFrame{25, 21, 25, 21};
    static constexpr XRect kPresetHiddenFrame{52, 21, 52, 21};
    static constexpr XRect kHeaderFrame{80, 23, 80 + 695, 23 + 22};
    static constexpr XRect kRegionsFrame{25, 82, 25 + 373, 82 + 347};
    static constexpr XRect kParametersFrame{407, 82, 407 + 373, 82 + 347};

    /** The preset edited is the current one; its lock and hidden buttons start from what the presets
        list knows of its flags, and the unit is asked for them. */
    FrontPanelWindow();
    ~FrontPanelWindow() override;

    /** The header text of a preset: "[U20] program  -  configuration" ("P01".."P60" for 21..80). */
    static XString HeaderText(int32_t presetNumber);

    /** A 'prfg' report of the window's preset sets the lock (bit 4) and hidden (bit 8) buttons;
        anything else is ignored. */
    void HandlePresetFlags(XMessage& message);
    /** Both tables update their content (each when it exists). */
    void RefreshTables();
    /** Redraws the rows on screen that show param, then updates the parameters table; only while
        the window is visible and a region is selected. */
    void RepaintParamRow(XParam* param);
    /** Redraws every row of the parameters table and updates it; only while the window is visible. */
    void RepaintParameterRows();

    int32_t GetPresetNumber() const { return presetNumber; }
    FloatParam& GetPresetLockParam() { return presetLock; }
    FloatParam& GetPresetHiddenParam() { return presetHidden; }
    FloatParam& GetHeaderParam() { return header; }
    juce::TableListBox* GetRegionsTable() const { return regionsTable.get(); }
    juce::TableListBox* GetParametersTable() const { return parametersTable.get(); }
    RegionsModel& GetRegionsModel() { return regionsModel; }
    ParametersModel& GetParametersModel() { return parametersModel; }

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "FrontPanelWindow"; }

protected:
    void BuildContent() override;

private:
    /** The change callback of the preset's lock and hidden buttons: at the end of an edit, the flags
        go to the unit, are asked back, and the lock mode is applied to every region. */
    static bool PresetFlagEdited(XParam* param, double* value, int32_t user, int32_t phase);
    static XString HeaderTextOf(XParam* param, double value, int32_t user);
    void SendPresetFlags();
    /** The buttons from the presets list's flags of the window's preset, and the unit asked for them. */
    void TakeKnownPresetFlags();
    void SetPresetFlagButtons(int32_t flags);

    int32_t presetNumber = 1;
    // The models outlive the tables, which are declared after them.
    RegionsModel regionsModel;
    ParametersModel parametersModel;
    FloatParam header;
    FloatParam presetLock;
    FloatParam presetHidden;
    std::unique_ptr<juce::TableListBox> regionsTable;
    std::unique_ptr<juce::TableListBox> parametersTable;
};
