#include "gui/XView.h"

#include "core/ModifierKeyState.h"
#include "core/ParamRegistry.h"
#include "core/ProcessState.h"
#include "core/ThreadServices.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XStringConversion.h"
#include "gui/DescriptionValues.h"
#include "gui/IContextMenu.h"
#include "gui/IHotKeyTarget.h"
#include "gui/IViewServices.h"
#include "gui/JUCECanvas.h"
#include "gui/JUCEKeyTranslation.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"
#include "gui/XViewCursors.h"
#include "gui/XViewLayout.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace
{
/** The swipe band's stand-in for "every coordinate". */
constexpr int32_t kBandAll = 10000;
/** The value of "keyboard\caps" that inverts Shift on letters. */
constexpr double kCapsOn = 1.0;
/** More show indices than this are not expanded (a parameter with a huge range). */
constexpr int32_t kMaxShowIndex = 1 << 20;
constexpr const char* kCapsParamPath = "keyboard\\caps";
constexpr const char* kMediumFontName = "medium";
/** The colour properties' declared defaults, before the carried description colours replace them. */
constexpr XRGB kDefaultForeColor(40, 40, 40);
constexpr XRGB kDefaultBackColor(240, 240, 240);
constexpr XRGB kDefaultTextColor(40, 40, 40);

/** Every live view; guarded by its own lock, since views may be made on any thread. */
struct LiveViews
{
    std::mutex lock;
    XList<XView> views;
};

LiveViews& GetLiveViews()
{
    static LiveViews* const live = new LiveViews();
    return *live;
}

// Mouse, key and tooltip state of the process: the GUI thread's only.
bool doubleClickInProgress = false;
int32_t lastMouseDownButton = XView::kButtonNone;
bool doubleClickTimeoutSet = false;
std::atomic<bool> tooltipsEnabled{false};
bool hasLastKey = false;
int32_t lastKeyCode = 0;
int32_t lastKeyModifiers = 0;
uint32_t lastKeyTick = 0;

/** The defaults that a description block hands to the next view; the GUI thread's only. */
struct AttributeDefaults
{
    uint8_t justification = XView::kJustifyLeft;
    XFont* font = nullptr;
    XRGB foreColor{0, 0, 0, 255};
    XRGB backColor{0, 0, 0, 255};
    XRGB textColor{0, 0, 0, 255};
};
AttributeDefaults attributeDefaults;

std::map<std::string, XView::ViewCreator>& GetViewClasses()
{
    static auto* const classes = new std::map<std::string, XView::ViewCreator>();
    return *classes;
}

bool Overlap(const XRect& a, const XRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

XRect ToXRect(const juce::Rectangle<int>& r)
{
    return XRect(r.getX(), r.getY(), r.getRight(), r.getBottom());
}

juce::Rectangle<int> ToJuceRect(const XRect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), r.Width(), r.Height()};
}

/** The part of a component that its ancestors do not clip, in its own coordinates. */
juce::Rectangle<int> UnclippedArea(const juce::Component& component)
{
    juce::Rectangle<int> area = component.getLocalBounds();
    if (const juce::Component* parent = component.getParentComponent())
        area = area.getIntersection(component.getLocalArea(parent, UnclippedArea(*parent)));
    return area;
}

/** Moves rect (size kept) so that it is centred in outer, its left and top held at 0 or more. */
XRect CentredIn(const XRect& rect, const XRect& outer)
{
    const int32_t width = rect.Width();
    const int32_t height = rect.Height();
    const int32_t left = std::max(0, outer.left + outer.Width() / 2 - width / 2);
    const int32_t top = std::max(0, outer.top + outer.Height() / 2 - height / 2);
    return XRect(left, top, left + width, top + height);
}

bool IsLetter(int32_t keyCode)
{
    return (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= 'a' && keyCode <= 'z');
}

/** The index that a parameter's value stands for in a show set; -1 when it cannot be one. */
int32_t ShowIndexOf(double value)
{
    if (!(value >= 0.0) || value > static_cast<double>(kMaxShowIndex))
        return -1;
    return static_cast<int32_t>(value);
}

/** Splits text at commas into trimmed words. */
juce::StringArray Words(const char* text)
{
    juce::StringArray words;
    words.addTokens(juce::String::fromUTF8(text), ",", "");
    words.trim();
    return words;
}

/** The resize mask of a description's comma-separated words (unknown words add nothing). */
uint32_t ParseResizeMask(const char* text)
{
    static const struct
    {
        const char* word;
        uint32_t bits;
    } kWords[] = {{"left", XView::kResizeLeft},
                  {"right", XView::kResizeRight},
                  {"special", XView::kResizeSpecial},
                  {"top", XView::kResizeTop},
                  {"bottom", XView::kResizeBottom},
                  {"all", XView::kResizeAll},
                  {"middle", XView::kResizeHorizontalMiddle}};
    uint32_t mask = 0;
    for (const juce::String& word : Words(text))
    {
        for (const auto& entry : kWords)
        {
            if (word.equalsIgnoreCase(entry.word))
                mask |= entry.bits;
        }
    }
    return mask;
}

/** The one-word XML form of a resize mask. */
const struct MaskWord
{
    uint32_t mask;
    const char* word;
} kMaskWords[] = {{XView::kResizeLeft, "left"},
                  {XView::kResizeRight, "right"},
                  {XView::kResizeTop, "top"},
                  {XView::kResizeBottom, "bottom"},
                  {XView::kResizeAll, "all"},
                  {XView::kResizeHorizontalMiddle, "hMiddle"},
                  {XView::kResizeVerticalMiddle, "vMiddle"},
                  {XView::kResizeSpecial, "special"}};

/** Adds the comma-separated integers of text to set, up to the first item that is not one. */
void AddIndexList(const char* text, BitArray& set)
{
    for (const juce::String& item : Words(text))
    {
        if (!ToXString(item).IsInteger())
            return;
        const int32_t index = item.getIntValue();
        if (index >= 0 && index <= kMaxShowIndex)
            set.Set(index, true);
    }
}

/** Adds a through b of the text "a-b". */
void AddIndexRange(const char* text, BitArray& set)
{
    const XString range(text);
    const int dash = range.FindChar('-');
    if (dash < 0)
        return;
    const int32_t first = std::max(0, range.Left(dash).ToInt());
    const int32_t last = std::min(kMaxShowIndex, range.From(dash + 1).ToInt());
    for (int32_t index = first; index <= last; ++index)
        set.Set(index, true);
}

/** The set turned over on 0 .. maxIndex (both included): what was listed is left out. */
void Complement(BitArray& set, int32_t maxIndex)
{
    BitArray listed;
    for (int index = set.FindFirstSet(); index >= 0 && index < set.GetBitCount(); ++index)
    {
        if (set.IsSet(index))
            listed.Set(index, true);
    }
    set.RemoveAll();
    for (int32_t index = 0; index <= std::min(maxIndex, kMaxShowIndex); ++index)
    {
        if (!listed.IsSet(index))
            set.Set(index, true);
    }
}

/** A font from a description's text: the named font when one has that name, else "family, size,
    bold, italic, underline" (size 10 unless an integer, the flags on when non-zero integers). */
XFont* FontFromText(const char* text)
{
    if (XFont* named = XFont::FindNamedFont(text, false))
        return named;
    juce::StringArray fields;
    fields.addTokens(juce::String::fromUTF8(text), ",", "");
    while (fields.size() < 5)
        fields.add({});
    auto flag = [&fields](int i)
    {
        const XString field(fields[i].trim().toRawUTF8());
        return field.IsInteger() && field.ToInt() != 0;
    };
    const XString sizeText(fields[1].trim().toRawUTF8());
    const int32_t size = sizeText.IsInteger() ? sizeText.ToInt() : 10;
    return XFont::GetFont(ToXString(fields[0]), size, flag(2), flag(3), flag(4));
}
} // namespace

// Colour properties ------------------------------------------------------------------------------

XClassPropertyTable* XView::GetClassPropertyTable()
{
    static XClassPropertyTable* const table = new XClassPropertyTable("XView", nullptr);
    return table;
}

XView::_prop_ForeColor::_prop_ForeColor(XView* owner) : PropertyTyped<XRGB>(owner, kDefaultForeColor)
{
    GetInfo();
}

const XPropertyInfo& XView::_prop_ForeColor::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("XRGB", "ForeColor", XVariant(kDefaultForeColor));
    return info;
}

XView::_prop_BackColor::_prop_BackColor(XView* owner) : PropertyTyped<XRGB>(owner, kDefaultBackColor)
{
    GetInfo();
}

const XPropertyInfo& XView::_prop_BackColor::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("XRGB", "BackColor", XVariant(kDefaultBackColor));
    return info;
}

XView::_prop_TextColor::_prop_TextColor(XView* owner) : PropertyTyped<XRGB>(owner, kDefaultTextColor)
{
    GetInfo();
}

const XPropertyInfo& XView::_prop_TextColor::GetInfo() const
{
    static const XPropertyInfo& info =
        GetClassPropertyTable()->AddProperty("XRGB", "TextColor", XVariant(kDefaultTextColor));
    return info;
}

// Construction -----------------------------------------------------------------------------------

XView::XView() : XMetaObject(""), foreColor(this), backColor(this), textColor(this)
{
    Initialise();
}

XView::XView(const XRect& frame) : XView()
{
    SetFrame(frame);
}

void XView::Initialise()
{
    {
        LiveViews& live = GetLiveViews();
        std::lock_guard<std::mutex> hold(live.lock);
        live.views.Add(this);
    }
    setOpaque(true);
    foreColor.Set(attributeDefaults.foreColor);
    backColor.Set(attributeDefaults.backColor);
    textColor.Set(attributeDefaults.textColor);
    selfToken = std::make_shared<XView*>(this);
}

XView::~XView()
{
    // No notification may reach the view from here on, and its looper must no longer call it.
    XParam::ForgetWatcher(this);
    if (XLooper* looper = GetLooper())
        looper->RemoveHandler(this);
    *selfToken = nullptr;
    {
        LiveViews& live = GetLiveViews();
        std::lock_guard<std::mutex> hold(live.lock);
        live.views.Remove(this);
    }
    if (parentView != nullptr)
        parentView->ForgetSubtree(this);
    overlayView = nullptr;
    overlayCompanion.reset();
    for (int i = getNumChildComponents(); --i >= 0;)
    {
        auto* child = dynamic_cast<XView*>(getChildComponent(i));
        if (child == nullptr || child->parentView != this)
            continue;
        removeChildComponent(i);
        child->parentView = nullptr;
        delete child;
    }
}

// JUCE callbacks ---------------------------------------------------------------------------------

int32_t XView::ButtonOf(const juce::ModifierKeys& mods, int32_t noneValue)
{
    if (mods.isLeftButtonDown())
        return kButtonLeft;
    if (mods.isRightButtonDown())
        return kButtonRight;
    if (mods.isMiddleButtonDown())
        return kButtonMiddle;
    return noneValue;
}

XPoint XView::PointOf(const juce::MouseEvent& event)
{
    return XPoint(event.x, event.y);
}

void XView::mouseMove(const juce::MouseEvent& event)
{
    if (WantsMouse())
        MouseMoved(PointOf(event), ButtonOf(event.mods, kNoButton));
    else if (juce::Component* parent = getParentComponent())
        parent->mouseMove(event.getEventRelativeTo(parent));
}

void XView::mouseDown(const juce::MouseEvent& event)
{
    IViewServices& services = IViewServices::Get();
    if (services.IsWaitCursorOn())
        return;
    services.InspectorSelectView(this);
    if (WantsMouse())
    {
        const int32_t button = ButtonOf(event.mods, kButtonNone);
        lastMouseDownButton = button;
        MouseDown(PointOf(event), button);
    }
    else if (juce::Component* parent = getParentComponent())
    {
        parent->mouseDown(event.getEventRelativeTo(parent));
    }
}

void XView::mouseDrag(const juce::MouseEvent& event)
{
    if (!WantsMouse())
    {
        if (juce::Component* parent = getParentComponent())
            parent->mouseDrag(event.getEventRelativeTo(parent));
        return;
    }
    MouseMoved(PointOf(event), ButtonOf(event.mods, kNoButton));
    XView* window = GetWindow();
    if (window->GetSwipeAnchor() != nullptr)
    {
        const juce::Point<int> inWindow = window->getLocalPoint(this, event.getPosition());
        window->SwipeTo(XPoint(inWindow.x, inWindow.y));
    }
}

void XView::mouseUp(const juce::MouseEvent& event)
{
    if (!WantsMouse())
    {
        if (juce::Component* parent = getParentComponent())
            parent->mouseUp(event.getEventRelativeTo(parent));
        return;
    }
    int32_t button = ButtonOf(event.mods, -1);
    if (button < 0)
    {
        XView* window = GetWindow();
        const bool inside =
            window->getLocalBounds().contains(window->getLocalPoint(this, event.getPosition()));
        button = inside ? kButtonNone : lastMouseDownButton;
    }
    MouseUp(PointOf(event), button);
    lastMouseDownButton = kButtonNone;
}

void XView::mouseDoubleClick(const juce::MouseEvent& event)
{
    doubleClickInProgress = true;
    mouseDown(event);
    mouseUp(event);
    doubleClickInProgress = false;
}

void XView::mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel)
{
    const float increment = wheel.deltaY;
    int32_t steps = static_cast<int32_t>(std::ceil(std::fabs(increment)));
    if (increment < 0.0f)
        steps = -steps;
    MouseWheel(PointOf(event), steps);
}

void XView::setVisible(bool shouldBeVisible)
{
    if (shouldBeVisible)
        Show();
    else
        Hide();
}

void XView::parentHierarchyChanged()
{
    juce::Component::parentHierarchyChanged();
    setName(ToJuceString(GetName()));
    const juce::Component* parent = getParentComponent();
    parentFrameCache = parent != nullptr ? ToXRect(UnclippedArea(*parent)) : XRect();
    ownFrameCache = GetFrame();
}

void XView::childrenChanged()
{
    if (swipeAnchor != nullptr && !isParentOf(swipeAnchor))
    {
        swipeAnchor = nullptr;
        swipeCapturePending = true;
    }
}

juce::MouseCursor XView::getMouseCursor()
{
    IViewServices& services = IViewServices::Get();
    if (!services.IsCursorShown())
        return juce::MouseCursor(juce::MouseCursor::NoCursor);
    if (services.IsWaitCursorOn())
        return juce::MouseCursor(juce::MouseCursor::WaitCursor);
    const juce::Point<int> mouse = getMouseXYRelative();
    return XViewCursors::CursorForTool(GetCursorTool(XPoint(mouse.x, mouse.y)));
}

void XView::paint(juce::Graphics& g)
{
    JUCECanvas canvas(g, getWidth(), getHeight());
    Draw(canvas);
}

bool XView::keyPressed(const juce::KeyPress& key)
{
    if (IsShuttingDown())
        return false;
    int32_t keyCode = 0;
    XKeyInfo modifiers = 0;
    ConvertKeyPress(key, keyCode, modifiers);
    DispatchKey(keyCode, modifiers);
    return true;
}

void XView::resized()
{
    juce::Component::resized();
    const XRect frame = GetFrame();
    const int32_t dw = frame.Width() - ownFrameCache.Width();
    const int32_t dh = frame.Height() - ownFrameCache.Height();
    ownFrameCache = frame;
    if (dw != 0 || dh != 0)
        SizeChanged(dw, dh);
}

void XView::parentSizeChanged()
{
    const juce::Component* parent = getParentComponent();
    if (parent == nullptr)
        return;
    const XRect parentFrame = ToXRect(UnclippedArea(*parent));
    const XRect before = parentFrameCache;
    const int32_t dw = parentFrame.Width() - before.Width();
    const int32_t dh = parentFrame.Height() - before.Height();
    parentFrameCache = parentFrame;
    if ((before.Width() == 0 && before.Height() == 0) || (dw == 0 && dh == 0))
        return;
    SetFrame(XViewLayout::Apply(GetFrame(), resizeMask, dw, dh, parentFrame.Width(), parentFrame.Height()));
}

juce::String XView::getTooltip()
{
    return tooltipsEnabled.load() ? ToJuceString(GetTooltipText()) : juce::String();
}

// The view's operations --------------------------------------------------------------------------

void XView::Attach()
{
    if (attached)
        return;
    if (XApplication* application = GetApplication())
    {
        if (GetLooper() == nullptr)
            application->AddHandler(this);
        SetNextHandler(nullptr);
        SetNextHandler(application);
    }
    if (!doubleClickTimeoutSet)
    {
        doubleClickTimeoutSet = true;
        juce::MouseEvent::setDoubleClickTimeout(kDoubleClickTimeoutMs);
    }
    WatchShowParam();
    attached = true;
}

void XView::ApplyStyle()
{
    if (XStyle* style = GetStyle())
        style->AdjustView(this);
}

void XView::SizeChanged(int32_t, int32_t) {}

void XView::FocusViewChanged(bool) {}

void XView::LoadDescription(const char* name)
{
    IViewServices::Get().BuildDescription(name, this);
}

void XView::Show()
{
    juce::Component::setVisible(true);
}

void XView::Hide()
{
    juce::Component::setVisible(false);
}

void XView::SetFrameXYWH(int32_t x, int32_t y, int32_t width, int32_t height)
{
    SetFrame(XRect(x, y, x + width, y + height));
}

void XView::SetFrame(const XRect& frame)
{
    setBounds(ToJuceRect(frame));
}

void XView::MoveTo(const XPoint& point)
{
    MoveFrameTo(point);
}

XRect XView::GetBounds() const
{
    return XRect(0, 0, getWidth(), getHeight());
}

void XView::ListProperties(XPropertyList* list)
{
    IViewServices& services = IViewServices::Get();
    services.InspectorAddProperty(list, "frame", "x", "X-Pos");
    services.InspectorAddProperty(list, "frame", "y", "Y-Pos");
    services.InspectorAddProperty(list, "frame", "w", "Width");
    services.InspectorAddProperty(list, "frame", "h", "Height");
}

XString XView::GetTooltipText() const
{
    return tooltipText;
}

int32_t XView::GetWindowStyle() const
{
    return 0;
}

bool XView::ShouldCenterOnParent() const
{
    return false;
}

bool XView::WantsMouse() const
{
    return false;
}

void XView::Draw(XCanvas& canvas)
{
    if (transparent)
        return;
    PrepareCanvas(canvas);
    canvas.EraseRect(GetVisibleFrame());
}

void XView::PrepareCanvas(XCanvas& canvas)
{
    canvas.SetFont(GetFont());
    canvas.SetForeColor(foreColor.Get());
    canvas.SetBackColor(backColor.Get());
    canvas.SetJustification(justification);
    canvas.SetOpacity(static_cast<uint8_t>(juce::jlimit(0.0f, 1.0f, opacity) * 255.0f + 0.5f));
}

XParam* XView::GetPot() const
{
    return nullptr;
}

XString XView::GetTranslationSection() const
{
    return "MainMenu";
}

void XView::LabelChanged() {}

uint8_t XView::GetCustomFlag() const
{
    return customFlag;
}

void XView::SetCustomFlag(uint8_t flag)
{
    customFlag = flag;
}

int32_t XView::GetCursorTool(const XPoint&)
{
    return XViewCursors::kToolNormal;
}

bool XView::HandleKeyPress(int32_t, XKeyInfo&)
{
    return false;
}

bool XView::MouseDown(const XPoint& point, int32_t button)
{
    if (button == kButtonRight)
        return ContextClick(point);
    return parentView != nullptr && parentView->MouseDown(ToParentPoint(point), button);
}

bool XView::MouseMoved(const XPoint& point, int32_t button)
{
    return parentView != nullptr && parentView->MouseMoved(ToParentPoint(point), button);
}

bool XView::MouseUp(const XPoint& point, int32_t button)
{
    return parentView != nullptr && parentView->MouseUp(ToParentPoint(point), button);
}

bool XView::MouseWheel(const XPoint& point, int32_t steps)
{
    return steps != 0 && parentView != nullptr && parentView->MouseWheel(ToParentPoint(point), steps);
}

bool XView::Click(const XPoint& point)
{
    if (!isVisible())
        return false;
    MouseDown(point, kButtonLeft);
    return true;
}

bool XView::ContextClick(const XPoint& point)
{
    if (contextMenu != nullptr)
    {
        // The menu shows at screen coordinates: the point goes from this view to the screen.
        const juce::Point<int> onScreen = localPointToGlobal(juce::Point<int>(point.x, point.y));
        contextMenu->Popup(XPoint(onScreen.x, onScreen.y), this);
        return true;
    }
    return parentView != nullptr && parentView->ContextClick(ToParentPoint(point));
}

void XView::SetContextMenu(IContextMenu* menu)
{
    contextMenu = menu;
}

void XView::FocusChanged(bool focused)
{
    if (focused)
        grabKeyboardFocus();
    XView* window = GetWindow();
    if (focused)
    {
        XView* current = window->GetFocusView();
        if (current != nullptr && current != this)
            current->FocusChanged(false);
        window->SetFocusView(this);
    }
    else if (window->GetFocusView() == this)
    {
        window->SetFocusView(nullptr);
    }
    focusSignal.Emit(this, focused);
}

void XView::SetEnabled(bool enabled)
{
    setEnabled(enabled);
}

bool XView::HasKeyFocus()
{
    return GetWindow()->GetFocusView() == this || hasKeyboardFocus(true);
}

void XView::FontChanged() {}

void XView::InvalidateRect(const XRect& rect)
{
    if (IsOnGuiThread())
        RepaintRect(rect);
}

void XView::RepaintRect(const XRect& rect)
{
    if (!IsOnGuiThread() || !isVisible() || rect.IsEmpty())
        return;
    repaint(ToJuceRect(rect));
}

void XView::Invalidate()
{
    RepaintRect(GetBounds());
}

void XView::InspectorRefresh()
{
    if (juce::ComponentPeer* peer = getPeer())
        peer->performAnyPendingRepaintsNow();
}

void XView::AddComponent(juce::Component* component)
{
    if (component != nullptr && component != this)
        addAndMakeVisible(component);
}

void XView::AddChild(XView* child)
{
    if (child == nullptr || child == this || child->parentView == this)
        return;
    // A view moving from another parent leaves that parent's slots first.
    if (child->parentView != nullptr)
        child->parentView->RemoveChild(child);
    addChildComponent(child);
    child->parentView = this;
    // A child bound to a show parameter is shown or hidden by the parameter alone.
    if (child->showParam == nullptr)
    {
        if (child->addVisible && !child->isVisible())
            child->Show();
        else if (!child->addVisible && child->isVisible())
            child->Hide();
    }
    child->Attach();
    child->ApplyShowValue();
    child->ApplyStyle();
    child->SetNextHandler(nullptr);
    child->SetNextHandler(this);
}

void XView::AddChild(XView* child, bool hidden)
{
    if (child == nullptr || !hidden)
    {
        AddChild(child);
        return;
    }
    const bool addVisibleBefore = child->addVisible;
    child->addVisible = false;
    AddChild(child);
    child->addVisible = addVisibleBefore;
}

void XView::RemoveComponent(juce::Component* component)
{
    if (component != nullptr)
        removeChildComponent(component);
}

XView* XView::RemoveChild(XView* child)
{
    if (child == nullptr || child->parentView != this)
        return focusView;
    ForgetSubtree(child);
    removeChildComponent(child);
    child->parentView = nullptr;
    child->SetNextHandler(nullptr);
    if (XApplication* application = GetApplication())
        child->SetNextHandler(application);
    return focusView;
}

void XView::ForgetSubtree(XView* root)
{
    auto inSubtree = [root](XView* view)
    { return view != nullptr && (view == root || root->isParentOf(view)); };
    for (XView* container = this; container != nullptr; container = container->parentView)
    {
        if (inSubtree(container->focusView))
            container->SetFocusView(nullptr);
        if (inSubtree(container->currentControl))
            container->currentControl = nullptr;
        if (inSubtree(container->captureView))
            container->captureView = nullptr;
        if (inSubtree(container->swipeAnchor))
        {
            container->swipeAnchor = nullptr;
            container->swipeCapturePending = true;
        }
    }
}

// Handler part -----------------------------------------------------------------------------------

void XView::OnTimer(int32_t timerId)
{
    HandleTimer(timerId);
}

void XView::HandleTimer(int32_t timerId)
{
    if (timerId != kOverlayTimerId || overlayView == nullptr)
    {
        XHandler::OnTimer(timerId);
        return;
    }
    overlayView->OffsetFrame(slideStep.x, slideStep.y);
    Invalidate();
    const XRect visible = overlayView->GetVisibleFrame();
    if (visible.Width() != 0 && visible.Height() != 0)
        return;
    DeleteOverlay();
    StopTimer(kOverlayTimerId);
}

void XView::MessageReceived(XMessage& message)
{
    switch (message.GetWhat())
    {
    case XMsgCode::kCloseRequested:
        Hide();
        break;
    case kInvalidateMessage:
        RepaintRect(GetBounds());
        break;
    default:
        XHandler::MessageReceived(message);
        break;
    }
}

void XView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr || param != showParam)
    {
        XHandler::ParamChanged(code, param, key);
        return;
    }
    if (code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
    {
        showParam = nullptr;
        return;
    }
    if (!IsValueChangeCode(code))
        return;
    if (IsOnGuiThread())
    {
        ApplyShowValue();
        return;
    }
    // An unattached view is told on the changing thread: the component is touched on the GUI thread.
    juce::MessageManager::callAsync(
        [token = selfToken]
        {
            if (*token != nullptr)
                (*token)->ApplyShowValue();
        });
}

void XView::ApplyShowValue()
{
    if (showParam == nullptr)
        return;
    const int32_t index = ShowIndexOf(showParam->GetValue());
    if (index >= 0 && showValues.IsSet(index))
    {
        if (!isVisible())
            Show();
    }
    else if (isVisible())
    {
        Hide();
    }
}

void XView::WatchShowParam()
{
    if (showParam != nullptr && !showParam->IsWatchedBy(this, 0))
        showParam->AddWatcher(this, 0, true);
}

// Container interface ----------------------------------------------------------------------------

bool XView::SetCurrentControl(XView*)
{
    return false;
}

XView* XView::GetCurrentControl()
{
    return nullptr;
}

void XView::ForgetView(XView* view)
{
    if (view == nullptr)
        return;
    if (currentControl == view)
        currentControl = nullptr;
    if (captureView == view)
        captureView = nullptr;
    if (focusView == view)
        SetFocusView(nullptr);
}

XRect XView::RectToParent(const XRect& rect)
{
    return XRect(rect.left + getX(), rect.top + getY(), rect.right + getX(), rect.bottom + getY());
}

XPoint XView::PointToParent(const XPoint& point)
{
    return ToParentPoint(point);
}

XPoint XView::PointFromParent(const XPoint& point)
{
    return FromParentPoint(point);
}

XRect XView::RectFromParent(const XRect& rect)
{
    return XRect(rect.left - getX(), rect.top - getY(), rect.right - getX(), rect.bottom - getY());
}

void XView::SetFocusView(XView* view)
{
    if (view == focusView)
        return;
    XView* old = focusView;
    focusView = view;
    if (old != nullptr)
        old->FocusViewChanged(false);
    if (view != nullptr)
        view->FocusViewChanged(true);
}

XView* XView::GetFocusView()
{
    return focusView;
}

void XView::SetSwipeAnchor(XView* view)
{
    swipeAnchor = view != nullptr && view->swipeable ? view : nullptr;
    swipeCapturePending = true;
    swipedViews.RemoveAll();
}

XView* XView::GetSwipeAnchor()
{
    return swipeAnchor;
}

void XView::SetCaptureView(XView*) {}

XView* XView::GetCaptureView()
{
    return nullptr;
}

bool XView::GetContainerFlag()
{
    return containerFlag;
}

XView* XView::GetParentView()
{
    return parentView;
}

// Frame, look, label -----------------------------------------------------------------------------

XRect XView::GetFrame(const XView* view)
{
    return view != nullptr ? ToXRect(view->getBounds()) : XRect();
}

XRect XView::GetVisibleFrame() const
{
    return ToXRect(UnclippedArea(*this));
}

void XView::OffsetFrame(int32_t dx, int32_t dy)
{
    setTopLeftPosition(getX() + dx, getY() + dy);
}

void XView::GrowBy(int32_t dw, int32_t dh)
{
    const XRect frame = GetFrame();
    SetFrame(XRect(frame.left, frame.top, frame.right + dw, frame.bottom + dh));
}

void XView::MoveFrameTo(const XPoint& point)
{
    setTopLeftPosition(point.x, point.y);
}

XPoint XView::ToParentPoint(const XPoint& point) const
{
    return XPoint(point.x + getX(), point.y + getY());
}

XPoint XView::FromParentPoint(const XPoint& point) const
{
    return XPoint(point.x - getX(), point.y - getY());
}

XFont* XView::GetFont() const
{
    if (font != nullptr)
        return font;
    if (XStyle::GetCurrentStyle() != nullptr)
    {
        if (XFont* medium = XFont::GetNamedFont(kMediumFontName, true))
            return medium;
    }
    return XFont::GetDefaultFont();
}

void XView::SetFont(XFont* newFont)
{
    if (newFont == font)
        return;
    font = newFont;
    FontChanged();
}

XStyle* XView::GetStyle() const
{
    return ownStyle != nullptr ? ownStyle : XStyle::GetCurrentStyle();
}

void XView::SetTransparent(bool isTransparent)
{
    transparent = isTransparent;
    setOpaque(!isTransparent);
    Invalidate();
}

void XView::SetTransparentWithColor(bool isTransparent, const XRGB& fill)
{
    fillColor = fill;
    SetTransparent(isTransparent);
}

void XView::SetLabel(const XString& text, int32_t number)
{
    XString translated = text;
    if (XApplication* application = GetApplication())
        translated = application->GetMenuLabel(GetTranslationSection().CStr(), text.CStr());
    int placeholder = 0;
    int position = 0;
    if (translated.FindLowestArg(placeholder, position))
        translated = translated.ArgInt(number);
    label = translated;
    LabelChanged();
}

void XView::SetLabel(const XString& text, bool translate)
{
    if (translate)
    {
        SetLabel(text);
        return;
    }
    label = text;
    LabelChanged();
}

// Visibility bound to a parameter ----------------------------------------------------------------

void XView::SetShowParam(XParam* param, int32_t index)
{
    if (showParam != nullptr)
        showParam->RemoveWatcher(this);
    showParam = param;
    showValues.RemoveAll();
    if (param == nullptr)
        return;
    if (index >= 0)
        showValues.Set(index, true);
    param->AddWatcher(this, 0, true);
}

void XView::SetShowValues(const BitArray& values)
{
    showValues.RemoveAll();
    for (int index = values.FindFirstSet(); index >= 0 && index < values.GetBitCount(); ++index)
    {
        if (values.IsSet(index))
            showValues.Set(index, true);
    }
}

// Timers, children, window, overlay --------------------------------------------------------------

void XView::StartTimer(int32_t timerId, int32_t periodMs, bool oneShot)
{
    if (XLooper* looper = GetLooper())
        looper->SetTimer(this, timerId, periodMs, oneShot);
}

void XView::StopTimer(int32_t timerId)
{
    // At once, also from inside the timer's own tick: a posted removal would reach a one-shot timer
    // started again with the same id after this one had fired.
    if (XLooper* looper = GetLooper())
        looper->CancelTimer(this, timerId);
}

XView* XView::FindChild(const XString& name, bool deep) const
{
    const juce::String componentName = ToJuceString(name);
    for (int i = 0; i < getNumChildComponents(); ++i)
    {
        auto* child = dynamic_cast<XView*>(getChildComponent(i));
        if (child != nullptr && (child->getName() == componentName || child->GetName() == name))
            return child;
    }
    if (!deep)
        return nullptr;
    for (int i = 0; i < getNumChildComponents(); ++i)
    {
        if (auto* child = dynamic_cast<XView*>(getChildComponent(i)))
        {
            if (XView* found = child->FindChild(name, true))
                return found;
        }
    }
    return nullptr;
}

XView* XView::GetWindow()
{
    XView* window = this;
    for (juce::Component* component = getParentComponent(); component != nullptr;
         component = component->getParentComponent())
    {
        if (auto* view = dynamic_cast<XView*>(component))
            window = view;
    }
    return window;
}

void XView::GetMouseState(XPoint& point, int32_t& buttons)
{
    const juce::Point<int> mouse = getMouseXYRelative();
    point = XPoint(mouse.x, mouse.y);
    buttons = GetMouseButtonState();
}

void XView::SetOverlay(XView* overlay, std::unique_ptr<XOverlayCompanion> companion, const XPoint& step)
{
    DeleteOverlay();
    if (overlay == nullptr)
        return;
    overlayView = overlay;
    overlayCompanion = std::move(companion);
    slideStep = step;
    AddChild(overlay);
}

void XView::DeleteOverlay()
{
    if (overlayView != nullptr)
    {
        XView* overlay = overlayView;
        overlayView = nullptr;
        RemoveChild(overlay);
        delete overlay;
    }
    overlayCompanion.reset();
}

// Keys -------------------------------------------------------------------------------------------

void XView::ConvertKeyPress(const juce::KeyPress& key, int32_t& keyCode, XKeyInfo& modifiers)
{
    const XKeyPress press = JUCEKeyTranslation::ToKeyPress(key);
    keyCode = press.keyCode;
    modifiers = press.modifiers;
    // Looked up on every press: the parameter may be made or destroyed at any time.
    if (IsLetter(keyCode))
    {
        XParam* caps = FindParam("%s", kCapsParamPath);
        if (caps != nullptr && caps->GetValue() == kCapsOn)
            modifiers ^= XKeyMod::kShift;
    }
    const uint32_t now = PlatformClock::GetTickCount();
    const bool repeated = hasLastKey && keyCode == lastKeyCode && modifiers == lastKeyModifiers &&
                          now - lastKeyTick < kKeyRepeatWindowMs;
    hasLastKey = true;
    lastKeyCode = keyCode;
    lastKeyModifiers = modifiers;
    lastKeyTick = now;
    if (repeated)
        modifiers |= XKeyMod::kRepeat;
}

void XView::DispatchKey(int32_t keyCode, XKeyInfo modifiers)
{
    XView* target = GetWindow()->GetFocusView();
    if (target == nullptr)
        target = this;
    for (XView* view = target; view != nullptr; view = view->parentView)
    {
        if (view->HandleKeyPress(keyCode, modifiers))
            return;
    }
    if (auto* hotKeys = dynamic_cast<IHotKeyTarget*>(GetApplication()))
        hotKeys->HandleHotKey(keyCode, modifiers);
}

// Swipe ------------------------------------------------------------------------------------------

XRect XView::FrameInThis(const XView* view) const
{
    return ToXRect(getLocalArea(view, view->getLocalBounds()));
}

void XView::CollectSwipeCandidates(XView* anchor, const XString& anchorName, XParam* anchorParam,
                                   juce::Array<XView*>& candidates)
{
    for (int i = 0; i < getNumChildComponents(); ++i)
    {
        auto* child = dynamic_cast<XView*>(getChildComponent(i));
        if (child == nullptr || !child->isVisible())
            continue;
        XParam* param = child->GetPot();
        if (!child->swipeable || param == nullptr)
        {
            child->CollectSwipeCandidates(anchor, anchorName, anchorParam, candidates);
            continue;
        }
        if (ParamsHaveSameRange(param, anchorParam) && child->GetName() == anchorName)
            candidates.add(child);
    }
}

void XView::SwipeTo(const XPoint& point)
{
    XView* anchor = swipeAnchor;
    if (anchor == nullptr)
        return;
    XString anchorName = anchor->GetName();
    if (anchorName.IsEmpty())
        anchorName = anchor->GetLabel();
    if (anchorName.IsEmpty())
        return;
    XParam* anchorParam = anchor->GetPot();
    if (anchorParam == nullptr)
        return;
    if (swipeCapturePending)
    {
        capturedValue = static_cast<float>(anchorParam->GetValue());
        swipeCapturePending = false;
        swipedViews.RemoveAll();
    }
    const juce::Rectangle<int> anchorVisible = getLocalArea(anchor, ToJuceRect(anchor->GetVisibleFrame()));
    if (point.x >= anchorVisible.getX() && point.x <= anchorVisible.getRight() &&
        point.y >= anchorVisible.getY() && point.y <= anchorVisible.getBottom())
        return;

    juce::Array<XView*> candidates;
    CollectSwipeCandidates(anchor, anchorName, anchorParam, candidates);
    const XRect anchorFrame = FrameInThis(anchor);
    bool vertical = false;
    for (XView* candidate : candidates)
    {
        if (candidate != anchor)
        {
            const XRect frame = FrameInThis(candidate);
            vertical = std::abs(frame.left - anchorFrame.left) < std::abs(frame.top - anchorFrame.top);
            break;
        }
    }
    XRect band;
    if (vertical)
        band = point.y < anchorFrame.top ? XRect(0, point.y, kBandAll, anchorFrame.top)
                                         : XRect(0, anchorFrame.top, kBandAll, point.y + 1);
    else
        band = point.x < anchorFrame.left ? XRect(point.x, 0, anchorFrame.left + 1, kBandAll)
                                          : XRect(anchorFrame.right + 1, 0, point.x + 1, kBandAll);

    for (XView* candidate : candidates)
    {
        if (swipedViews.Contains(candidate))
            continue;
        const XRect frame = FrameInThis(candidate);
        if (!Overlap(frame, band))
            continue;
        const bool aligned = vertical ? frame.left == anchorFrame.left && frame.right == anchorFrame.right
                                      : frame.top == anchorFrame.top && frame.bottom == anchorFrame.bottom;
        if (!aligned)
            continue;
        XParam* param = candidate->GetPot();
        const bool changed = static_cast<float>(param->GetValue()) != capturedValue;
        if (changed)
            param->ChangeValue(capturedValue, true);
        if (vertical || changed)
            swipedViews.Add(candidate);
    }
}

// Process-wide -----------------------------------------------------------------------------------

bool XView::IsOnGuiThread() const
{
    XApplication* application = GetApplication();
    if (application != nullptr && application->GetThreadId() != 0)
        return IsCurrentThread(application->GetThreadId());
    return juce::MessageManager::existsAndIsCurrentThread();
}

bool XView::IsDoubleClickInProgress()
{
    return doubleClickInProgress;
}

void XView::EnableTooltips(bool enable)
{
    tooltipsEnabled.store(enable);
}

int32_t XView::CountLiveViews()
{
    LiveViews& live = GetLiveViews();
    std::lock_guard<std::mutex> hold(live.lock);
    return live.views.GetCount();
}

// Attributes, XML, class factory -----------------------------------------------------------------

void XView::ReadAttributes(XMessage& block)
{
    ReadTextAttributes(block);
    ReadFrameAndNames(block);
    ReadColours(block);
    ReadStyleWords(block);
    ReadShowParam(block);
    const char* text = nullptr;
    if (block.FindString("guiStyle", text) == 0)
    {
        if (XStyle* style = XStyle::FindStyle(text))
            ownStyle = style;
    }

    attributeDefaults.foreColor = foreColor.Get();
    attributeDefaults.backColor = backColor.Get();
    attributeDefaults.textColor = textColor.Get();
}

void XView::ReadTextAttributes(XMessage& block)
{
    const char* text = nullptr;
    if (block.FindString("textjustify", text) == 0)
    {
        const XString word(text);
        if (word == "left")
            justification = kJustifyLeft;
        else if (word == "center")
            justification = kJustifyCentred;
        else if (word == "right")
            justification = kJustifyRight;
    }
    else
    {
        justification = attributeDefaults.justification;
    }
    attributeDefaults.justification = justification;

    void* pointer = nullptr;
    if (block.FindString("font", text) == 0)
    {
        SetFont(FontFromText(text));
        attributeDefaults.font = font;
    }
    else if (block.FindPointer("font", pointer) == 0)
    {
        SetFont(static_cast<XFont*>(pointer));
    }
    else if (block.FindItem("font") == nullptr && attributeDefaults.font != nullptr)
    {
        SetFont(attributeDefaults.font);
    }
}

void XView::ReadFrameAndNames(XMessage& block)
{
    const char* text = nullptr;
    XRect frame;
    if (block.FindRect("frame", frame) == 0)
    {
        if (ShouldCenterOnParent() && parentView != nullptr)
            frame = CentredIn(frame, parentView->GetFrame());
        SetFrame(frame);
    }

    if (block.FindString("resizemask", text) == 0)
        resizeMask = ParseResizeMask(text);
    if (block.FindString("name", text) == 0)
        SetName(text);
    if (block.FindString("label", text) == 0)
    {
        XString labelText(text);
        if (labelText.Contains("%d"))
            labelText = DescriptionValues::FormatWithIndex(labelText, block.GetInt32("currentArrayIndex"));
        SetLabel(labelText);
    }
}

void XView::ReadColours(XMessage& block)
{
    XRGB colour;
    if (block.FindColor("forecolor", colour) == 0)
    {
        SetForeColor(colour);
        SetTextColor(colour);
    }
    if (block.FindColor("backcolor", colour) == 0)
        SetBackColor(colour);
    if (block.FindColor("textcolor", colour) == 0)
        SetTextColor(colour);
}

void XView::ReadStyleWords(XMessage& block)
{
    const char* text = nullptr;
    for (int32_t index = 0; block.FindString("style", text, index) == 0; ++index)
    {
        for (const juce::String& word : Words(text))
        {
            if (word.equalsIgnoreCase("nonTransparent"))
            {
                transparent = false;
                setOpaque(true);
            }
            else if (word.equalsIgnoreCase("transparent"))
            {
                transparent = true;
                setOpaque(false);
            }
            else if (word.equalsIgnoreCase("swipeable"))
            {
                swipeable = true;
            }
        }
    }
}

void XView::ReadShowParam(XMessage& block)
{
    const char* text = nullptr;
    void* pointer = nullptr;
    const bool hasShowParam = block.FindItem("showparam") != nullptr;
    XParam* const previousShowParam = showParam;
    if (block.FindPointer("showparam", pointer) == 0)
        showParam = static_cast<XParam*>(pointer);
    else if (block.FindString("showparam", text) == 0)
        showParam = FindParam("%s", text);
    if (previousShowParam != nullptr && previousShowParam != showParam)
        previousShowParam->RemoveWatcher(this);
    if (showParam != nullptr &&
        (hasShowParam || block.FindItem("showvalue") != nullptr || block.FindItem("hidevalue") != nullptr ||
         block.FindItem("showvaluerange") != nullptr))
    {
        showValues.RemoveAll();
        const char* shown = nullptr;
        const char* hidden = nullptr;
        const char* range = nullptr;
        const bool hasShown = block.FindString("showvalue", shown) == 0 && shown[0] != '\0';
        const bool hasHidden = block.FindString("hidevalue", hidden) == 0;
        const bool hasRange = block.FindString("showvaluerange", range) == 0;
        if (hasShown)
        {
            AddIndexList(shown, showValues);
        }
        else if (hasHidden)
        {
            AddIndexList(hidden, showValues);
            Complement(showValues, static_cast<int32_t>(showParam->GetMax()));
        }
        else if (hasRange)
        {
            AddIndexRange(range, showValues);
        }
        else
        {
            const int32_t index = block.GetInt32("showvalue");
            if (index >= 0 && index <= kMaxShowIndex)
                showValues.Set(index, true);
        }
        // A view that already runs (a description read into it) follows the parameter at once.
        if (attached)
            WatchShowParam();
    }
}

void XView::SaveToXml(juce::XmlElement& element)
{
    element.setAttribute("name", ToJuceString(GetName()));
    element.setAttribute("label", ToJuceString(label));
    if (transparent)
        element.setAttribute("transparent", 1);
    if (swipeable)
        element.setAttribute("swipeable", 1);
    for (const MaskWord& entry : kMaskWords)
    {
        if (entry.mask == resizeMask)
            element.setAttribute("resizeMask", entry.word);
    }
    const XRect frame = GetFrame();
    juce::XmlElement* frameElement = element.createNewChildElement("frame");
    frameElement->setAttribute("x", frame.left);
    frameElement->setAttribute("y", frame.top);
    frameElement->setAttribute("w", frame.Width());
    frameElement->setAttribute("h", frame.Height());
    auto writeColour = [&element](const char* name, const XRGB& colour)
    {
        juce::XmlElement* colourElement = element.createNewChildElement(name);
        colourElement->setAttribute("a", colour.a);
        colourElement->setAttribute("r", colour.r);
        colourElement->setAttribute("g", colour.g);
        colourElement->setAttribute("b", colour.b);
    };
    writeColour("forecolor", foreColor.Get());
    writeColour("backcolor", backColor.Get());
    for (int i = 0; i < getNumChildComponents(); ++i)
    {
        // Plain JUCE children have no "View" form.
        if (auto* child = dynamic_cast<XView*>(getChildComponent(i)))
            child->SaveToXml(*element.createNewChildElement("View"));
    }
}

void XView::LoadFromXml(juce::XmlElement& element)
{
    const XString name = ToXString(element.getStringAttribute("name"));
    if (!name.EqualsNoCase(GetName()) && !name.EqualsNoCase(label))
        return;
    const XString newLabel = ToXString(element.getStringAttribute("label"));
    if (!newLabel.IsEmpty())
        SetLabel(newLabel);
    if (const juce::XmlElement* frame = element.getChildByName("frame"))
        SetFrameXYWH(frame->getIntAttribute("x"), frame->getIntAttribute("y"), frame->getIntAttribute("w"),
                     frame->getIntAttribute("h"));
    auto readColour = [](const juce::XmlElement& colour)
    {
        auto byte = [&colour](const char* key, int fallback)
        { return static_cast<uint8_t>(colour.getIntAttribute(key, fallback)); };
        return XRGB(byte("r", 0), byte("g", 0), byte("b", 0), byte("a", 255));
    };
    if (const juce::XmlElement* colour = element.getChildByName("forecolor"))
        SetForeColor(readColour(*colour));
    if (const juce::XmlElement* colour = element.getChildByName("backcolor"))
        SetBackColor(readColour(*colour));
    transparent = element.getBoolAttribute("transparent", transparent);
    setOpaque(!transparent);
    swipeable = element.getBoolAttribute("swipeable", swipeable);
    resizeMask = kDefaultResizeMask;
    const juce::String maskWord = element.getStringAttribute("resizeMask");
    for (const MaskWord& entry : kMaskWords)
    {
        if (maskWord.isNotEmpty() && maskWord.equalsIgnoreCase(entry.word))
            resizeMask = entry.mask;
    }
    for (auto* child : element.getChildWithTagNameIterator("View"))
    {
        const XString childName = ToXString(child->getStringAttribute("name"));
        if (childName.IsEmpty())
            continue;
        if (XView* view = FindChild(childName, false))
            view->LoadFromXml(*child);
    }
}

void XView::RegisterViewClass(const char* typeName, ViewCreator creator)
{
    if (typeName == nullptr)
        return;
    const std::string key = XString(typeName).ToLower().CStr();
    if (creator == nullptr)
        GetViewClasses().erase(key);
    else
        GetViewClasses()[key] = creator;
}

XView* XView::CreateViewByName(const char* typeName)
{
    if (typeName != nullptr)
    {
        const auto& classes = GetViewClasses();
        const auto entry = classes.find(XString(typeName).ToLower().CStr());
        if (entry != classes.end())
        {
            if (XView* view = entry->second())
                return view;
        }
    }
    return new XView();
}

void XView::ResetClassFactory()
{
    GetViewClasses().clear();
}

void XView::ResetAttributeDefaults()
{
    attributeDefaults = AttributeDefaults();
}
