#pragma once

#include "core/XMessageCodes.h"
#include "windows/InputChannelParametersModel.h"
#include "windows/InputChannelRegionsModel.h"
#include "windows/SubWindow.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** The "Input Linking" window of one input region (input PEQ and high-pass 0, graphic EQ 1, delay 2):
    which of the region's parameters are linked between inputs A and B (the link flag on both
    inputs' parameter), per parameter or for the whole region at once. Once its content is built it
    unlinks the region by itself whenever the inputs stop being edited as a pair (full edit mode, or
    configuration 2, 3 or 4).

    Each input window makes one for its region and adds it as a child, which owns and deletes it, and
    shows and hides it. The window-open parameter (main group 116..118) follows its visibility as a
    program write; the link-button parameter, the creating window's, follows the region's link
    state. Constructing it installs "QM7\inputChansLinked". GUI thread only. */
class InputParameterLinkWindow final : public SubWindow
{
public:
    static constexpr const char* kTitle = "Input Linking";
    static constexpr const char* kBackground = "INPUTPARAMETERLINKWINDOW\\BasicWindowBg.png";
    /** Regions of the input windows. */
    static constexpr int32_t kInputPeqRegion = 0;
    static constexpr int32_t kInputGeqRegion = 1;
    static constexpr int32_t kInputDelayRegion = 2;
    /** The key of the edit mode and configuration watches. */
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));

    /** Places of the page (content coordinates: left, top, right, bottom). */
    static constexpr XRect kRegionFrame{25, 22, 25 + 400, 22 + 27};
    static constexpr XRect kParametersFrame{25, 88, 25 + 400, 88 + 300};

    /** regionIndex: the region edited; windowParam: the window's window-open parameter; linkButton:
        the creating window's two-step parameter that shows whether the whole region is linked. Both
        parameters must outlive the window (null: none). */
    InputParameterLinkWindow(int32_t regionIndex, XParam* windowParam, XParam* linkButton);
    ~InputParameterLinkWindow() override;

    /** The base's Show, then the window-open parameter := 1 (a program write with notification). */
    void Show() override;
    /** The base's Hide, then the window-open parameter := 0 the same way. */
    void Hide() override;
    /** The parameter table, then the region table, update their content (each when it exists). */
    void RefreshTables();

    InputChannelRegionsModel& GetRegionModel() { return regionModel; }
    InputChannelParametersModel& GetParameterModel() { return parameterModel; }
    juce::TableListBox* GetRegionTable() const { return regionTable.get(); }
    juce::TableListBox* GetParameterTable() const { return parameterTable.get(); }

    /** The edit mode or configuration changed: when the inputs are no longer edited as a pair the
        region is unlinked and the link button goes off. Then the base's handling. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "InputParameterLinkWindow"; }

protected:
    /** The two tables and the compare cover, then the watches of the edit mode and configuration,
        told at once. */
    void BuildContent() override;

private:
    // The models outlive the tables, which are declared after them.
    InputChannelRegionsModel regionModel;
    InputChannelParametersModel parameterModel;
    XParam* const windowParam; // not owned
    std::unique_ptr<juce::TableListBox> regionTable;
    std::unique_ptr<juce::TableListBox> parameterTable;
};
