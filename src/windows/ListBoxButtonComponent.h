#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class FPModel;

/** The button of one cell of a flag table: a toggling image button (the off image normally, the on
    image while toggled on) that fills the cell, triggers on mouse-down and tells its model the new
    state (FPModel::SetCellFlag with its row and column). The table owns the component and hands it
    to another row when it scrolls (SetRow). Images come from the skin by name. GUI thread only. */
class ListBoxButtonComponent final : public juce::Component, private juce::Button::Listener
{
public:
    ListBoxButtonComponent(FPModel* model, int columnId, int row, const char* offImage, const char* onImage);
    ~ListBoxButtonComponent() override;

    int GetRow() const { return row; }
    void SetRow(int newRow) { row = newRow; }
    int GetColumnId() const { return columnId; }
    juce::DrawableButton& GetButton() { return button; }
    /** Sets the toggle state without telling the model. */
    void SetOn(bool on);
    bool IsOn() const { return button.getToggleState(); }

    void resized() override;

private:
    void buttonClicked(juce::Button* clicked) override;

    juce::DrawableButton button;
    int row;
    const int columnId;
    FPModel* const model; // not owned; outlives the table's components
};
