#pragma once

#include "gui/XView.h"

#include <cstdint>

class XListContainer;

/** One column of a list view: a child of the list's row area as tall as every row (kHeight), whose
    label is its title. It draws its cells of the rows in the area being repainted and hands left
    presses on rows to the list (RowClicked, or RowDoubleClicked during a double click) before the
    row area handles them. Owned by the row area through the view tree. GUI thread. */
class XListColumn final : public XView
{
public:
    static constexpr int32_t kHeight = 16000000;

    XListColumn(XListContainer* container, const XRect& frame, const XString& title, int32_t identifier);

    int32_t GetIdentifier() const { return identifier; }
    XListContainer* GetContainer() const { return container; }

    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    /** Notes the modifier keys of the press for the row area, then the view's handling. */
    void mouseDown(const juce::MouseEvent& event) override;

private:
    XListContainer* container; // the parent view
    int32_t identifier;
};
