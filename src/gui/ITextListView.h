#pragma once

#include "core/XString.h"

#include <cstdint>

/** What the GUI foundation's dialogs need of a list view that the layer above provides: rows of one
    text cell that the list makes and deletes itself, and the selection. The dialogs find the list
    among their description's views and use it through this interface. GUI thread. */
class ITextListView
{
public:
    virtual ~ITextListView() = default;

    /** Takes every row out of the list and deletes the rows it made. */
    virtual void ClearTextRows() = 0;
    /** Appends a row showing text in its first column; the list owns it. */
    virtual void AddTextRow(const XString& text) = 0;
    virtual int32_t CountTextRows() const = 0;
    /** Selects that row alone; an index outside the rows selects none. */
    virtual void SelectTextRow(int32_t index) = 0;
    /** The first selected row, -1 when none. */
    virtual int32_t GetSelectedTextRow() const = 0;
};
