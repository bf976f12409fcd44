#pragma once

#include "core/XInvoker.h"
#include "core/XSignal.h"
#include "gui/XView.h"

#include <cstdint>

class XClassPropertyTable;
class XListContainer;
class XListHeader;
class XParam;

/** A list of rows under a column header, as window descriptions create it ("list"): the default
    constructor makes it empty, ReadAttributes configures it. It carries an invoker aimed at the
    application, five signals for what happens to its rows, and its XListHeader (a child view),
    which owns the row container.

    Ownership: the header is a child of the list and goes with it, first in its destructor; the
    watched parameter is not owned (a destroyed one is forgotten). GUI thread. */
class XListView : public XView, public XInvoker
{
public:
    /** The two sizes of a list, in pixels: one step across (the header's step) and one down. */
    static constexpr int32_t kDefaultStepSize = 20;
    static constexpr int32_t kNoSelection = -1;

    XListView();
    /** Deletes the header and its container, stops watching the parameter. */
    ~XListView() override;

    XListHeader* GetHeader() const { return header; }
    XListContainer* GetContainer() const;
    int32_t GetSelectedIndex() const { return selectedIndex; }
    int32_t GetHorizontalStepSize() const { return horizontalStepSize; }
    int32_t GetVerticalStepSize() const { return verticalStepSize; }

    /** Watches the parameter (null stops watching); not owned. */
    void SetWatchedParam(XParam* param);
    XParam* GetWatchedParam() const { return watchedParam; }

    /** Emitted with (row, column). */
    XSignal<int32_t, int32_t>& GetCellSignal() { return cellSignal; }
    /** Emitted with the first and last row of a selection range. */
    XSignal<int32_t, int32_t>& GetSelectionRangeSignal() { return selectionRangeSignal; }
    XSignal<bool>& GetFlagSignal() { return flagSignal; }
    XSignal<int32_t, bool>& GetRowFlagSignal() { return rowFlagSignal; }
    XSignal<int32_t>& GetRowSignal() { return rowSignal; }

    /** "XListView". */
    virtual void GetClassName(XString& name) const { name = GetClassNameText(); }
    virtual const char* GetClassNameText() const { return "XListView"; }
    /** The "XListView" table, below the view's. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    /** Forgets the watched parameter when it is destroyed; the rest as the view. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    XSignal<int32_t, int32_t> cellSignal;
    XSignal<int32_t, int32_t> selectionRangeSignal;
    XSignal<bool> flagSignal;
    XSignal<int32_t, bool> rowFlagSignal;
    XSignal<int32_t> rowSignal;
    int32_t selectedIndex = kNoSelection;
    int32_t horizontalStepSize = kDefaultStepSize;
    int32_t verticalStepSize = kDefaultStepSize;
    XListHeader* header = nullptr;  // a child view: owned through the view tree
    XParam* watchedParam = nullptr; // not owned
};
