#pragma once

#include "windows/ParametersModel.h"

class InputChannelRegionsModel;

/** The parameter table of an input-linking window: the region's input A parameters (the first half
    of the region, which lists input A before input B), each standing for its A/B pair, with a link
    button that sets or clears the link flag on both inputs' parameter.

    Holds the region shown and the region model, neither owned. GUI thread only. */
class InputChannelParametersModel final : public ParametersModel
{
public:
    explicit InputChannelParametersModel(InputChannelRegionsModel* regions = nullptr) : inputRegions(regions)
    {
    }

    void SetInputRegionsModel(InputChannelRegionsModel* model) { inputRegions = model; }

    /** Half the region's parameters (integer division); 0 without a region. */
    int getNumRows() override;
    /** The link button, on while the parameter carries the link flag. */
    juce::Component* refreshComponentForCell(int row, int columnId, bool selected,
                                             juce::Component* existing) override;
    /** The link column sets (on) or clears the link flag and gives the other input's parameter the
        same flags word, without value notifications; both tables update. */
    void SetCellFlag(int row, int columnId, bool on) override;

private:
    InputChannelRegionsModel* inputRegions; // not owned
};
