#pragma once

#include "device/RegionsManager.h"
#include "windows/FPModel.h"

class RegionsModel;

/** The parameters table of the front-panel access window: the parameters of the region selected in
    the regions table, in the region's order, with their channel, name and value, and whether each is
    locked and visible on the unit's front panel. A button sets the flag on the parameter and on its
    link partner (the other input, or the linked output).

    Holds the region shown and the regions model, neither owned. GUI thread only. */
class ParametersModel : public FPModel
{
public:
    explicit ParametersModel(RegionsModel* regions = nullptr) : regions(regions) {}

    void SetRegionsModel(RegionsModel* model) { regions = model; }
    RegionsModel* GetRegionsModel() const { return regions; }
    /** The region whose parameters the table shows (null: none). */
    void ShowRegion(RegionsManager::Region* region) { this->region = region; }
    RegionsManager::Region* GetRegion() const { return region; }
    /** The parameter of a row; null without a region or out of range. */
    XParam* ParamAtRow(int row) const;

    int getNumRows() override;
    void paintCell(juce::Graphics& g, int row, int columnId, int width, int height, bool selected) override;
    /** The cell button: locked shows the parameter's lock bit (off when the region has no lock
        switch), visible shows it not hidden (off when the region has no visible switch). */
    juce::Component* refreshComponentForCell(int row, int columnId, bool selected,
                                             juce::Component* existing) override;
    /** Visible clears the hidden bit when on and sets it when off; locked sets the lock bit when on
        and clears it when off. The flags go to the link partner too, the parameter is told 1000000,
        and both tables update. */
    void SetCellFlag(int row, int columnId, bool on) override;

    /** Gives the parameter's link partner the parameter's flags word (FloatParam::SetFlags, which
        tells its watchers 1000007): for a parameter of an input, the other input's parameter of the
        same id, while "QM7\inputChansLinked" is 1 or the parameter carries the link flag; for one of
        an output, while "QM7\enableChannelLinking" is 1, the parameter of the same id in the output
        its linkedChannel names (none for 0). */
    static void CopyFlagsToLinkedParam(XParam* param);

private:
    RegionsModel* regions;                    // not owned
    RegionsManager::Region* region = nullptr; // not owned: the manager's
};
