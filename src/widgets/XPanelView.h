#pragma once

#include "core/FloatParam.h"
#include "core/XProperty.h"
#include "gui/IStyledPanel.h"
#include "gui/XView.h"

#include <cstdint>
#include <vector>

class XPanelContainerView;

/** A collapsible panel (type word "panel"): a title strip with a disclosure box and a content area
    that opens to OpenHeight and closes to the title strip alone. Views added to the panel go into
    its content view once the content exists (the first ApplyStyle makes it).

    In a panel container (XPanelContainerView) the panel tells the container whenever its size
    changes, so the container restacks its panels, and a press on the title strip starts dragging
    the panel to another place in the row.

    The four properties are typed properties of the "XPanelView" class table. The open state is a
    private parameter the panel watches; setting it from anywhere relays the panel out. The
    container pointer is not owned; the container clears it when it goes. GUI thread only. */
class XPanelView : public XView, public IStyledPanel
{
public:
    static constexpr int32_t kDefaultOpenHeight = 100;
    static constexpr int32_t kDefaultTitleHeight = 20;
    static constexpr int32_t kDefaultBorder = 2;
    /** The action id of a click area that toggles the selected flag. */
    static constexpr int32_t kToggleSelectedAction = 0;

    /** The int32 property "OpenHeight": height of the content area when open (never negative). */
    class _prop_OpenHeight final : public PropertyTyped<int32_t>
    {
    public:
        explicit _prop_OpenHeight(XPanelView* owner);
        const XPropertyInfo& GetInfo() const override;
    };
    /** The XString property "HeaderTitle": the title shown in the strip. */
    class _prop_HeaderTitle final : public PropertyTyped<XString>
    {
    public:
        explicit _prop_HeaderTitle(XPanelView* owner);
        const XPropertyInfo& GetInfo() const override;
    };
    /** The XRGB property "SelectedColor". */
    class _prop_SelectedColor final : public PropertyTyped<XRGB>
    {
    public:
        explicit _prop_SelectedColor(XPanelView* owner);
        const XPropertyInfo& GetInfo() const override;
    };
    /** The XRect property "OpenClickRect": the area (panel coordinates) that opens and closes it. */
    class _prop_OpenClickRect final : public PropertyTyped<XRect>
    {
    public:
        explicit _prop_OpenClickRect(XPanelView* owner);
        const XPropertyInfo& GetInfo() const override;
    };

    /** An extra clickable area of the panel and the action it runs. */
    struct ClickArea
    {
        XRect rect;
        int32_t id = 0;
    };

    XPanelView();
    ~XPanelView() override;

    /** The "XPanelView" table (OpenHeight, HeaderTitle, SelectedColor, OpenClickRect), below the
        view's. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    // Own operations ----------------------------------------------------------------------------

    bool IsOpen() const override { return open.GetValue() > 0.0; }
    /** Closes an open panel, opens a closed one; the watchers (the panel first) are told. */
    void ToggleOpen();
    /** Sets the frame for the open state and tells the container (PanelResized). */
    void Relayout();

    int32_t GetOpenHeight() const { return openHeight.Get(); }
    void SetOpenHeight(int32_t height) { openHeight.Set(height); }
    const XString& GetHeaderTitle() const { return headerTitle.Get(); }
    /** The title also becomes the label the style draws. */
    void SetHeaderTitle(const XString& title) { headerTitle.Set(title); }
    XRGB GetSelectedColor() const { return selectedColor.Get(); }
    void SetSelectedColor(const XRGB& colour) { selectedColor.Set(colour); }
    XRect GetOpenClickRect() const override { return openClickRect.Get(); }
    void SetOpenClickRect(const XRect& rect) { openClickRect.Set(rect); }

    FloatParam& GetOpenParam() { return open; }
    XPanelContainerView* GetContainer() const { return container; }
    /** Called by the container; null when the panel leaves it. */
    void SetContainer(XPanelContainerView* owner) { container = owner; }
    /** The content view; null before the first ApplyStyle. */
    XView* GetContent() const { return content; }
    bool IsPressed() const { return pressed; }
    bool IsSelected() const { return selected; }
    void AddClickArea(const XRect& rect, int32_t id);
    /** The height of the title strip and the border beside the content, from the panel's style. */
    int32_t GetTitleHeight() const;
    int32_t GetBorder() const;
    /** Where the content sits while the panel is open: inside the border, below the title strip,
        OpenHeight long along the stack (less the border). */
    XRect GetContentFrame() const;

    /** Adds to the panel itself, not to its content. */
    void AddOwnChild(XView* child);

    // XView -------------------------------------------------------------------------------------

    /** The view's behaviour; the first call makes the content view and starts watching the open
        parameter (which lays the panel out at once). */
    void ApplyStyle() override;
    void Draw(XCanvas& canvas) override;
    bool WantsMouse() const override { return true; }
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    /** In a container: one scroll step of the container (backwards for a positive step count). */
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    /** Into the content once it exists. */
    void AddChild(XView* child) override;
    using XView::AddChild;
    /** Out of the content when the child is there. */
    XView* RemoveChild(XView* child) override;
    /** The open parameter relays the panel out; other parameters go to the view. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    void PropertyChanged(XProperty* property) override;

private:
    /** Runs the action of a click area. */
    void RunClickAction(int32_t id);
    /** True when the panel stacks along x (its container is horizontal). */
    bool IsInHorizontalContainer() const;

    _prop_OpenHeight openHeight;
    _prop_HeaderTitle headerTitle;
    _prop_SelectedColor selectedColor;
    _prop_OpenClickRect openClickRect;
    FloatParam open;
    XPanelContainerView* container = nullptr; // not owned
    XView* content = nullptr;                 // a child view, owned by the view tree
    bool pressed = false;
    bool selected = true;
    std::vector<ClickArea> clickAreas;
};
