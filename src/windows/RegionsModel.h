#pragma once

#include "device/RegionsManager.h"
#include "windows/FPModel.h"

#include <cstdint>
#include <vector>

class ParametersModel;

/** The regions table of the front-panel access window: one row per region of the RegionsManager,
    its name, and whether the whole region is locked (every parameter locked) and visible (no
    parameter hidden) on the unit's front panel. Selecting a row shows the region's parameters in the
    parameters model; a region's buttons set the flag on all its parameters.

    Holds the parameters model (may be null), not owned. GUI thread only. */
class RegionsModel : public FPModel
{
public:
    explicit RegionsModel(ParametersModel* parameters = nullptr) : parameters(parameters) {}

    void SetParametersModel(ParametersModel* model) { parameters = model; }
    ParametersModel* GetParametersModel() const { return parameters; }

    int getNumRows() override;
    void paintCell(juce::Graphics& g, int row, int columnId, int width, int height, bool selected) override;
    /** The cell button, on when the region is all locked (locked column) or all visible (visible). */
    juce::Component* refreshComponentForCell(int row, int columnId, bool selected,
                                             juce::Component* existing) override;
    /** The parameters model shows the selected region (none without a selection). */
    void selectedRowsChanged(int lastRowSelected) override;
    /** Visible: the region's visible switch := on (a user change), then its parameters hidden when
        off; locked: the lock switch := on, then its parameters locked when on. Then the parameters
        table updates. */
    void SetCellFlag(int row, int columnId, bool on) override;

    /** Sets (on) or clears the mask on every parameter of the region, in order up to the first
        missing one, each told 1000000, with the watcher's periodic sending switched off meanwhile
        and restored after. The periodic sender drops what changed while it was off, so when sending
        is on again each parameter whose flags changed is sent to the unit at once (command 5).
        Returns the parameters whose flags changed. */
    static std::vector<XParam*> ApplyFlag(const RegionsManager::Region* region, int32_t mask, bool on);
    /** How many parameters of the region have any bit of mask (0 without a region). */
    static int32_t CountFlagged(const RegionsManager::Region* region, int32_t mask);
    /** Locked (kFlagLocked): the region has parameters and every one has the bit. Any other mask:
        no parameter has it, so that "visible" means nothing is hidden. */
    static bool AllFlagged(const RegionsManager::Region* region, int32_t mask);

private:
    ParametersModel* parameters; // not owned
};
