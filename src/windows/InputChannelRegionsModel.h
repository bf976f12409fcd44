#pragma once

#include "windows/RegionsModel.h"

#include <cstdint>

class InputChannelParametersModel;
class XParam;

/** The one-row region table of an input-linking window: its region's name and whether the whole
    region is linked between inputs A and B (every parameter carries the link flag). Its link button
    links or unlinks the region in both inputs; the creating window's link-button parameter follows
    every refresh of the row.

    Holds the parameter model and the link-button parameter, neither owned. GUI thread only. */
class InputChannelRegionsModel final : public RegionsModel
{
public:
    InputChannelRegionsModel(int32_t regionIndex, XParam* linkButton);

    void SetInputParametersModel(InputChannelParametersModel* model) { inputParameters = model; }
    int32_t GetRegionIndex() const { return regionIndex; }
    /** The window's region; null when the manager has none at its index. */
    RegionsManager::Region* GetRegion() const;

    /** Always 1: the window's region. */
    int getNumRows() override;
    void paintCell(juce::Graphics& g, int row, int columnId, int width, int height, bool selected) override;
    /** The link button, on while the region is linked; the link-button parameter := 1 or 0 (a user
        change with notification), so that the creating window's button follows. */
    juce::Component* refreshComponentForCell(int row, int columnId, bool selected,
                                             juce::Component* existing) override;
    /** The parameter model shows the window's region. */
    void selectedRowsChanged(int lastRowSelected) override;
    /** The link column links (on) or unlinks the region and sets the link-button parameter to match;
        the parameter table updates in every case. The region's lock switch is left alone. */
    void SetCellFlag(int row, int columnId, bool on) override;
    /** Links or unlinks the region as the link column does, but the link-button parameter always
        becomes 0. */
    void SetLink(bool on);

    /** Sets (on) or clears the mask on every parameter of the region, in order up to the first
        missing one, and gives each parameter's partner in the other input the same flags word;
        no value notifications. */
    static void ApplyLinkFlag(const RegionsManager::Region* region, int32_t mask, bool on);
    /** The region has parameters and every one carries the link flag. */
    static bool IsLinked(const RegionsManager::Region* region);

private:
    void SetLinkButton(bool on);

    const int32_t regionIndex;
    InputChannelParametersModel* inputParameters = nullptr; // not owned
    XParam* linkButton;                                     // not owned: the creating window's
};
