#include "widgets/XPanelView.h"

#include "core/XParamDesc.h"
#include "gui/XCanvas.h"
#include "gui/XStyle.h"
#include "widgets/XPanelContainerView.h"

#include <algorithm>

namespace
{
constexpr XRGB kDefaultSelectedColor{180, 180, 240, 255};
constexpr XRect kDefaultOpenClickRect{3, 3, 19, 19};
/** What a description's zero-sized disclosure box becomes. */
constexpr XRect kDescribedOpenClickRect{5, 2, 22, 19};
constexpr double kOpenValue = 1.0;
constexpr double kClosedValue = 0.0;

bool Contains(const XRect& rect, const XPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

bool NotNegative(const XVariant& proposed)
{
    return proposed.GetInt32() >= 0;
}

XParamDesc OpenParamDesc()
{
    XParamDesc desc;
    desc.id = -1;
    desc.SetName("open");
    desc.type = XParamDesc::kTypeOnOff;
    desc.min = kClosedValue;
    desc.max = kOpenValue;
    desc.def = kOpenValue;
    desc.count = 2;
    // Opening and closing a panel is no change of the document.
    desc.flags = XParamDesc::kFlagTransient;
    return desc;
}

/** The panel's content: it keeps the panel's open area whatever the panel's own size, so that
    closing the panel never squeezes the views inside it. */
class PanelContent final : public XView
{
public:
    explicit PanelContent(XPanelView& owner) : panel(owner) {}

    void parentSizeChanged() override { SetFrame(panel.GetContentFrame()); }

private:
    XPanelView& panel;
};
} // namespace

// Properties ----------------------------------------------------------------------------------------

XClassPropertyTable* XPanelView::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XPanelView", XView::GetClassPropertyTable());
    return table;
}

XPanelView::_prop_OpenHeight::_prop_OpenHeight(XPanelView* owner)
    : PropertyTyped<int32_t>(owner, kDefaultOpenHeight)
{
    GetInfo();
}

const XPropertyInfo& XPanelView::_prop_OpenHeight::GetInfo() const
{
    static const XPropertyInfo& info = GetClassPropertyTable()->AddProperty(
        "int32", "OpenHeight", XVariant(kDefaultOpenHeight), &NotNegative);
    return info;
}

XPanelView::_prop_HeaderTitle::_prop_HeaderTitle(XPanelView* owner) : PropertyTyped<XString>(owner, XString())
{
    GetInfo();
}

const XPropertyInfo& XPanelView::_prop_HeaderTitle::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("XString", "HeaderTitle", XVariant(XString()));
    return info;
}

XPanelView::_prop_SelectedColor::_prop_SelectedColor(XPanelView* owner)
    : PropertyTyped<XRGB>(owner, kDefaultSelectedColor)
{
    GetInfo();
}

const XPropertyInfo& XPanelView::_prop_SelectedColor::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("XRGB", "SelectedColor", XVariant(kDefaultSelectedColor));
    return info;
}

XPanelView::_prop_OpenClickRect::_prop_OpenClickRect(XPanelView* owner)
    : PropertyTyped<XRect>(owner, kDefaultOpenClickRect)
{
    GetInfo();
}

const XPropertyInfo& XPanelView::_prop_OpenClickRect::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("XRect", "OpenClickRect", XVariant(kDefaultOpenClickRect));
    return info;
}

// Panel -----------------------------------------------------------------------------------------------

XPanelView::XPanelView()
    : openHeight(this), headerTitle(this), selectedColor(this), openClickRect(this), open(OpenParamDesc())
{
}

XPanelView::~XPanelView()
{
    // The parameter member goes before the view's own clean-up: it must not call back into the panel.
    open.RemoveWatcher(this);
    if (container != nullptr)
        container->ForgetPanel(this);
}

void XPanelView::ToggleOpen()
{
    open.SetValue(IsOpen() ? kClosedValue : kOpenValue, true);
}

int32_t XPanelView::GetTitleHeight() const
{
    XStyle* style = GetStyle();
    return style != nullptr ? style->GetPanelTitleHeight() : kDefaultTitleHeight;
}

int32_t XPanelView::GetBorder() const
{
    XStyle* style = GetStyle();
    return style != nullptr ? style->GetPanelBorder() : kDefaultBorder;
}

bool XPanelView::IsInHorizontalContainer() const
{
    return container != nullptr && container->IsHorizontal();
}

XRect XPanelView::GetContentFrame() const
{
    const XRect bounds = GetBounds();
    const int32_t border = GetBorder();
    const int32_t title = GetTitleHeight();
    if (IsInHorizontalContainer())
        return XRect(border, title, std::max(border, GetOpenHeight() - border),
                     std::max(title, bounds.bottom - border));
    return XRect(border, title, std::max(border, bounds.right - border),
                 title + std::max(0, GetOpenHeight() - border));
}

void XPanelView::Relayout()
{
    XRect frame = GetFrame();
    const int32_t title = GetTitleHeight();
    const bool isOpen = IsOpen();
    if (IsInHorizontalContainer())
        // A closed panel keeps its title strip's width, so that it can be opened again.
        frame.right = frame.left + (isOpen ? GetOpenHeight() : title);
    else
        frame.bottom = frame.top + title + (isOpen ? GetOpenHeight() : 0);
    SetFrame(frame);
    if (content != nullptr)
    {
        content->SetFrame(GetContentFrame());
        if (isOpen)
            content->Show();
        else
            content->Hide();
    }
    Invalidate();
    if (container != nullptr)
        container->PanelResized(this);
}

void XPanelView::AddClickArea(const XRect& rect, int32_t id)
{
    clickAreas.push_back(ClickArea{rect, id});
}

void XPanelView::AddOwnChild(XView* child)
{
    XView::AddChild(child);
}

void XPanelView::ApplyStyle()
{
    XView::ApplyStyle();
    if (content != nullptr)
        return;
    SetOpenHeight(IsInHorizontalContainer() ? GetWidth() : GetHeight());
    if (GetOpenClickRect().Width() == 0 && GetOpenClickRect().Height() == 0)
        SetOpenClickRect(kDescribedOpenClickRect);
    auto* made = new PanelContent(*this);
    made->SetTransparent(true);
    made->SetResizeMask(kResizeAll);
    content = made;
    content->SetFrame(GetContentFrame());
    AddOwnChild(content);
    // Told at once: the panel takes its open size now.
    if (!open.IsWatchedBy(this, 0))
        open.AddWatcher(this, 0, true);
}

void XPanelView::Draw(XCanvas& canvas)
{
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    if (!IsTransparent())
        canvas.EraseRect(GetBounds());
    if (XStyle* style = GetStyle())
        style->DrawPanel(this, canvas);
}

bool XPanelView::MouseDown(const XPoint& point, int32_t button)
{
    if (button != kButtonLeft)
        return XView::MouseDown(point, button);
    if (Contains(GetOpenClickRect(), point))
    {
        ToggleOpen();
        return true;
    }
    for (const ClickArea& area : clickAreas)
    {
        if (Contains(area.rect, point))
        {
            RunClickAction(area.id);
            return true;
        }
    }
    if (point.y < 0 || point.y >= GetTitleHeight())
        return XView::MouseDown(point, button);
    if (IsDoubleClickInProgress())
    {
        ToggleOpen();
        return true;
    }
    if (container != nullptr)
    {
        // A press on the title strip grabs the panel for dragging.
        pressed = true;
        const XPoint inContainer = container->FromPanelPoint(*this, point);
        const XPoint panelStart = container->FromPanelPoint(*this, XPoint(0, 0));
        container->BeginDrag(this, container->IsHorizontal() ? inContainer.x - panelStart.x
                                                             : inContainer.y - panelStart.y);
    }
    return true;
}

bool XPanelView::MouseMoved(const XPoint& point, int32_t button)
{
    if (pressed && container != nullptr)
        return container->MouseMoved(container->FromPanelPoint(*this, point), button);
    return XView::MouseMoved(point, button);
}

bool XPanelView::MouseUp(const XPoint& point, int32_t button)
{
    const bool wasPressed = pressed;
    pressed = false;
    if (wasPressed && container != nullptr)
    {
        if (button == kButtonLeft || button == kButtonNone)
            container->DropPanel(this);
        return true;
    }
    return XView::MouseUp(point, button);
}

bool XPanelView::MouseWheel(const XPoint& point, int32_t steps)
{
    if (container == nullptr)
        return XView::MouseWheel(point, steps);
    if (steps != 0)
        container->ScrollStep(steps > 0, container->IsHorizontal());
    return true;
}

void XPanelView::RunClickAction(int32_t id)
{
    if (id == kToggleSelectedAction)
    {
        selected = !selected;
        Invalidate();
    }
}

void XPanelView::AddChild(XView* child)
{
    if (content != nullptr && child != content)
        content->AddChild(child);
    else
        XView::AddChild(child);
}

XView* XPanelView::RemoveChild(XView* child)
{
    if (content != nullptr && child != nullptr && child != content && child->GetParentView() == content)
        return content->RemoveChild(child);
    return XView::RemoveChild(child);
}

void XPanelView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != &open)
    {
        XView::ParamChanged(code, param, key);
        return;
    }
    if (code != static_cast<int32_t>(XMsgCode::kParamDestroyed))
        Relayout();
}

void XPanelView::PropertyChanged(XProperty* property)
{
    XView::PropertyChanged(property);
    if (property == &headerTitle)
        SetLabel(headerTitle.Get(), false);
    else if (property == &openHeight && content != nullptr && IsOpen())
    {
        Relayout();
        return;
    }
    Invalidate();
}
