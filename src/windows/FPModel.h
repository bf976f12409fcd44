#pragma once

#include "core/XParamDesc.h"
#include "core/XRect.h"
#include "core/XString.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class ListBoxButtonComponent;
class XParam;

/** The base of the flag tables of the front-panel access and input-linking windows (regions and their
    parameters): the table it serves, the rows' background, the cell buttons of the flag columns and
    the operation those buttons call. Column ids are the models' own: 0 visible, 1 locked, 2 channel,
    3 name, 4 value, 5 link.

    The window owns the models and the tables; a model must outlive its table. GUI thread only. */
class FPModel : public juce::TableListBoxModel
{
public:
    static constexpr int kColumnVisible = 0;
    static constexpr int kColumnLocked = 1;
    static constexpr int kColumnChannel = 2;
    static constexpr int kColumnName = 3;
    static constexpr int kColumnValue = 4;
    static constexpr int kColumnLink = 5;

    /** Parameter flags the tables edit: hidden and locked on the unit's front panel, linked inputs. */
    static constexpr int32_t kFlagHidden = XParamDesc::kFlagDevice8;
    static constexpr int32_t kFlagLocked = XParamDesc::kFlagDevice4;
    static constexpr int32_t kFlagLinked = XParamDesc::kFlagCopiedToOtherInput;

    static constexpr const char* kBlankImage = "FrontPanelAccess\\Blank.png";
    static constexpr const char* kVisibleImage = "FrontPanelAccess\\Visible.png";
    static constexpr const char* kLockImage = "FrontPanelAccess\\Lock.png";
    static constexpr const char* kLinkImage = "FrontPanelAccess\\Link.png";

    /** Every table's name, row height, and the sizes of its button and text columns. */
    static constexpr const char* kTableName = "RegionsTable";
    static constexpr int kRowHeight = 25;
    static constexpr int kButtonColumnWidth = 27;
    static constexpr int kButtonColumnMinMax = 25;
    static constexpr int kTextColumnMin = 30;

    FPModel() = default;
    ~FPModel() override = default;
    FPModel(const FPModel&) = delete;
    FPModel& operator=(const FPModel&) = delete;

    /** A table named kTableName over model at frame (content coordinates): the skin's "listBack"
        behind it, no outline, 25-pixel rows and no visible header; the model serves it from now on. */
    static std::unique_ptr<juce::TableListBox> MakeTable(FPModel& model, const XRect& frame);
    /** Adds a column of 27 pixels (25 at least and at most) for a button column, else one of width
        (30 at least), with JUCE's default flags. */
    static void AddColumn(juce::TableListBox& table, const char* title, int columnId, int width = 0);

    void SetTable(juce::TableListBox* table) { this->table = table; }
    juce::TableListBox* GetTable() const { return table; }
    /** Updates the table's content, when it has one. */
    void UpdateTable();

    /** The row's background: the skin's "listRowSelected" when selected, else "listRowBack". */
    void paintRowBackground(juce::Graphics& g, int row, int width, int height, bool selected) override;
    /** The cell button of the flag columns (visible, locked, link), reused when the table hands one
        back and moved to the row; null for any other column. */
    juce::Component* refreshComponentForCell(int row, int columnId, bool selected,
                                             juce::Component* existing) override;

    /** A cell button of the row and column was switched to on. */
    virtual void SetCellFlag(int row, int columnId, bool on) = 0;

    /** The channel of a parameter as the tables show it: its path up to the first backslash with a
        blank before the last character ("InputA" is "Input A", "Output3" "Output 3"). */
    static XString ChannelText(const XParam* param);
    /** The parameter's partner in the other input: the parameter of the same id in input B for a
        parameter of input A, in input A for any other input; null for a parameter of no input. */
    static XParam* OtherInputParam(const XParam* param);

protected:
    /** The text of a cell in the skin's "listText" font and row text colour, at x 2, width - 4,
        left-aligned and vertically centred, shortened with an ellipsis; nothing without the font. */
    static void PaintCellText(juce::Graphics& g, const XString& text, int width, int height, bool selected);
    /** The cell button of refreshComponentForCell as its own type; null for other columns. */
    ListBoxButtonComponent* CellButton(int row, int columnId, juce::Component* existing);

private:
    juce::TableListBox* table = nullptr; // not owned
};
