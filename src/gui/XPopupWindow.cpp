#include "gui/XPopupWindow.h"

#include "core/XApplication.h"
#include "core/XCommandManager.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XRegistrySettings.h"
#include "core/XStringConversion.h"
#include "gui/GuiHelpers.h"
#include "gui/XCloseBox.h"
#include "gui/XGuiApp.h"
#include "gui/XMaximizeButton.h"
#include "gui/XMinimizeButton.h"
#include "gui/XStyle.h"
#include "gui/XWindowList.h"
#include "platform/PlatformWindowOwner.h"

#include <algorithm>
#include <climits>

namespace
{
XPopupWindow* activeWindow = nullptr; // GUI thread

juce::Rectangle<int> ToJuce(const XRect& rect)
{
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

XRect ToX(const juce::Rectangle<int>& rect)
{
    return XRect(rect.getX(), rect.getY(), rect.getRight(), rect.getBottom());
}

bool Overlaps(const XRect& a, const XRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

/** The rectangle around every monitor's area. */
XRect VirtualScreen()
{
    const int32_t count = GetMonitorCount();
    if (count <= 0)
        return kFallbackMonitorArea;
    XRect all = GetMonitorArea(0);
    for (int32_t index = 1; index < count; ++index)
        all = all.Union(GetMonitorArea(index));
    return all;
}

bool OnSomeMonitor(const XRect& rect)
{
    const int32_t count = GetMonitorCount();
    if (count <= 0)
        return Overlaps(rect, kFallbackMonitorArea);
    for (int32_t index = 0; index < count; ++index)
    {
        if (Overlaps(rect, GetMonitorArea(index)))
            return true;
    }
    return false;
}

/** Writes the value unless the store holds it already: a move writes only what it changed. */
void WriteIfChanged(XRegistrySettings& settings, const char* name, int32_t value)
{
    constexpr int32_t kAbsent = INT32_MIN;
    if (value != kAbsent && settings.ReadInt(name, kAbsent) == value)
        return;
    settings.WriteInt(name, value);
}

constexpr const char* kStyleWords[] = {
    "noMDI",      "nozoom",         "toolbar",     "canmove",         "nohsize",  "novsize",
    "nosize",     "notitle",        "noframe",     "frontmost",       "backmost", "hideonclose",
    "fullscreen", "centeronparent", "dualmonitor", "nosavewindowpos", "modal",    "dragdrop"};
} // namespace

// Options ------------------------------------------------------------------------------------------

bool XWindowOptions::ApplyStyleWord(const char* word)
{
    const juce::String text = juce::String::fromUTF8(word).trim();
    bool matched = false;
    if (text.equalsIgnoreCase("noclose"))
    {
        closable = 0;
        matched = true;
    }
    uint8_t* const targets[] = {&noMDI,
                                &zoomable,
                                &toolbar,
                                &movable,
                                &horizontallySizable,
                                &verticallySizable,
                                &sizable,
                                &titled,
                                &framed,
                                &frontmost,
                                &backmost,
                                &hideOnClose,
                                &fullScreen,
                                &centerOnParent,
                                &dualMonitor,
                                &saveWindowPos,
                                &modal,
                                &dragDrop};
    const uint8_t values[] = {0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0, 1, 1};
    static_assert(std::size(targets) == std::size(kStyleWords), "one target per word");
    for (size_t index = 0; index < std::size(kStyleWords); ++index)
    {
        if (text.equalsIgnoreCase(kStyleWords[index]))
        {
            *targets[index] = values[index];
            return true;
        }
    }
    return matched;
}

// Owner on the desktop ------------------------------------------------------------------------------

/** Listens to the view that owns a window on the desktop and deletes the window with it. The view is
    reached only through its component part, which is all that is left of it when it tells. */
class XPopupWindow::OwnerLink final : public juce::ComponentListener
{
public:
    OwnerLink(XPopupWindow& window, XView& owner) : window(window), owner(&owner), ownerComponent(&owner)
    {
        ownerComponent->addComponentListener(this);
    }

    ~OwnerLink() override
    {
        if (ownerComponent != nullptr)
            ownerComponent->removeComponentListener(this);
    }

    XView* GetOwner() const { return ownerComponent != nullptr ? owner : nullptr; }

    void componentBeingDeleted(juce::Component& component) override
    {
        component.removeComponentListener(this);
        ownerComponent = nullptr;
        window.OwnerDeleted(); // deletes the window, and this link with it
    }

private:
    XPopupWindow& window;
    XView* owner;
    juce::Component* ownerComponent; // null once the owner is being deleted
};

XView* XPopupWindow::GetOwnerView() const
{
    return ownerLink != nullptr ? ownerLink->GetOwner() : nullptr;
}

void XPopupWindow::LeaveOwnerView(XView& owner)
{
    // Putting the window on the desktop takes it out of the owner's components; taking it out of
    // the owner's children too leaves the owner no stale child and the window no parent view.
    owner.RemoveChild(this);
    ownerLink = std::make_unique<OwnerLink>(*this, owner);
}

void XPopupWindow::OwnerDeleted()
{
    // The owner's handler part is gone already: nothing may pass on to it while the window goes.
    SetNextHandler(nullptr);
    delete this;
}

// Construction -------------------------------------------------------------------------------------

XPopupWindow::XPopupWindow()
{
    Initialise();
}

XPopupWindow::XPopupWindow(XView* parent) : parentWindowView(parent)
{
    Initialise();
}

XPopupWindow::XPopupWindow(const XRect& frame, const char* titleText, XView* parent)
    : XView(frame), parentWindowView(parent)
{
    Initialise();
    XString translated(titleText != nullptr ? titleText : "");
    if (XApplication* application = GetApplication())
        translated = application->GetMenuLabel(kMainMenuSection, translated.CStr());
    title = translated;
    SetLabel(translated, false);
    XHandler::SetName(translated);
}

void XPopupWindow::Initialise()
{
    normalBounds = getBounds();
    XWindowList::Add(this);
}

XPopupWindow::~XPopupWindow()
{
    if (activeWindow == this)
        activeWindow = nullptr;
    if (resizableBorder != nullptr)
        removeChildComponent(resizableBorder.get());
    XWindowList::Remove(this);
}

XPopupWindow* XPopupWindow::GetActiveWindow()
{
    return activeWindow;
}

// Active window, closing --------------------------------------------------------------------------------

void XPopupWindow::RepaintTitleStrip()
{
    if (XStyle* style = GetStyle())
        repaint(0, 0, getWidth(), style->GetTitleBarHeight());
    else
        repaint();
}

void XPopupWindow::SetActiveWindow(XPopupWindow* window)
{
    XPopupWindow* const former = activeWindow;
    activeWindow = window;
    if (former == window)
        return;
    if (former != nullptr)
        former->RepaintTitleStrip();
    if (window != nullptr)
        window->RepaintTitleStrip();
}

void XPopupWindow::Close()
{
    SetActiveWindow(nullptr);
    Hide();
    SaveWindowPos();
}

bool XPopupWindow::EscapePressed()
{
    Close();
    return true;
}

void XPopupWindow::RequestClose()
{
    if (juce::String(GetClassNameText()) == "XMainWindow")
    {
        if (XApplication* application = GetApplication())
            application->PostCode(XMsgCode::kQuitApplication);
        return;
    }
    Close();
}

void XPopupWindow::userTriedToCloseWindow()
{
    RequestClose();
}

void XPopupWindow::MessageReceived(XMessage& message)
{
    switch (message.GetWhat())
    {
    case XMsgCode::kCloseRequested:
    case XMsgCode::kCloseWindow:
        RequestClose();
        return;
    case XMsgCode::kShowWindow:
        Show();
        return;
    default:
        XView::MessageReceived(message);
    }
}

// Title and content ---------------------------------------------------------------------------------

void XPopupWindow::SetTitle(const XString& text)
{
    title = text;
    if (IsNativeStyle())
    {
        if (juce::ComponentPeer* peer = getPeer())
            peer->setTitle(ToJuceString(title));
    }
    repaint();
}

void XPopupWindow::parentHierarchyChanged()
{
    // The view names the component after its handler, which the peer takes as its title.
    XView::parentHierarchyChanged();
    if (IsNativeStyle())
    {
        if (juce::ComponentPeer* peer = getPeer())
            peer->setTitle(ToJuceString(title));
    }
}

XView* XPopupWindow::GetContentView()
{
    if (IsNativeStyle())
        return this;
    if (contentView == nullptr)
    {
        auto* content = new XView();
        content->SetTransparent(true);
        content->XHandler::SetName(XString(kContentViewName));
        content->setInterceptsMouseClicks(false, true);
        contentView = content;
        AddChild(content);
        LayoutFrame();
    }
    return contentView;
}

void XPopupWindow::SetContentView(XView* view, bool deleteOld, bool fit)
{
    if (IsNativeStyle())
        return;
    fitToContent = fit;
    if (view == contentView)
        return;
    if (XView* old = contentView)
    {
        contentView = nullptr;
        RemoveChild(old);
        if (deleteOld)
            delete old;
    }
    contentView = view;
    if (view != nullptr)
        AddChild(view);
    if (fit)
        FitToContent();
    else
        LayoutFrame();
}

void XPopupWindow::AddChild(XView* child)
{
    if (child == nullptr)
        return;
    if (dynamic_cast<XPopupWindow*>(child) == nullptr)
        child->addMouseListener(this, true);
    if (IsNativeStyle() || child == contentView)
        XView::AddChild(child);
    else
        GetContentView()->AddChild(child);
}

XView* XPopupWindow::RemoveChild(XView* child)
{
    if (child == nullptr)
        return nullptr;
    child->removeMouseListener(this);
    if (IsNativeStyle() || child == contentView || child->GetParentView() == this)
        return XView::RemoveChild(child);
    if (contentView != nullptr)
        return contentView->RemoveChild(child);
    return nullptr;
}

// Geometry ----------------------------------------------------------------------------------------------

XRect XPopupWindow::GetContentRect() const
{
    return XRect(0, 0, getWidth(), getHeight());
}

XRect XPopupWindow::GetFrameInsets() const
{
    if (IsNativeStyle())
        return XRect(0, 0, 0, 0);
    const int32_t inset = resizableBorder == nullptr || fullScreen ? kPlainInset : kBorderInset;
    return XRect(inset, inset, inset, inset);
}

XRect XPopupWindow::GetFrameInsetsWithTitle() const
{
    XRect insets = GetFrameInsets();
    if (!IsNativeStyle() && options.titled != 0)
    {
        XStyle* style = GetStyle();
        insets.top = style != nullptr ? style->GetTitleBarHeight() : kDefaultTitleBarHeight;
    }
    return insets;
}

bool XPopupWindow::IsSizable() const
{
    return options.sizable != 0;
}

void XPopupWindow::SetSizeLimits(int32_t newMinWidth, int32_t newMinHeight, int32_t newMaxWidth,
                                 int32_t newMaxHeight)
{
    minWidth = std::max(0, newMinWidth);
    minHeight = std::max(0, newMinHeight);
    maxWidth = std::max(minWidth, newMaxWidth);
    maxHeight = std::max(minHeight, newMaxHeight);
    constrainer.setSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    const int width = std::clamp(getWidth(), minWidth, maxWidth);
    const int height = std::clamp(getHeight(), minHeight, maxHeight);
    if (width != getWidth() || height != getHeight())
        setSize(width, height);
}

void XPopupWindow::GetSizeLimits(int32_t& outMinWidth, int32_t& outMinHeight, int32_t& outMaxWidth,
                                 int32_t& outMaxHeight) const
{
    outMinWidth = minWidth;
    outMinHeight = minHeight;
    outMaxWidth = maxWidth;
    outMaxHeight = maxHeight;
}

void XPopupWindow::SetResizable(bool on)
{
    if (on && resizableBorder == nullptr)
    {
        resizableBorder = std::make_unique<juce::ResizableBorderComponent>(this, &constrainer);
        addAndMakeVisible(resizableBorder.get());
        SetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    }
    else if (!on && resizableBorder != nullptr)
    {
        removeChildComponent(resizableBorder.get());
        resizableBorder.reset();
    }
    LayoutFrame();
}

void XPopupWindow::LayoutFrame()
{
    if (resizableBorder != nullptr)
    {
        resizableBorder->setVisible(!fullScreen);
        const XRect insets = GetFrameInsets();
        resizableBorder->setBorderThickness(
            juce::BorderSize<int>(insets.top, insets.left, insets.bottom, insets.right));
        resizableBorder->setBounds(getLocalBounds());
        resizableBorder->toBack();
    }
    if (contentView != nullptr && !IsNativeStyle())
    {
        const XRect insets = GetFrameInsetsWithTitle();
        contentView->setBounds(insets.left, insets.top, std::max(0, getWidth() - insets.left - insets.right),
                               std::max(0, getHeight() - insets.top - insets.bottom));
    }
}

void XPopupWindow::FitToContent()
{
    if (!fitToContent || contentView == nullptr)
        return;
    const XRect insets = GetFrameInsetsWithTitle();
    const int width = contentView->getWidth() + insets.left + insets.right;
    const int height = contentView->getHeight() + insets.top + insets.bottom;
    if (width != getWidth() || height != getHeight())
        setSize(width, height);
}

void XPopupWindow::childBoundsChanged(juce::Component* child)
{
    XView::childBoundsChanged(child);
    if (child != nullptr && child == contentView)
        FitToContent();
}

void XPopupWindow::resized()
{
    XView::resized();
    LayoutFrame();
    NoteNormalBounds();
}

void XPopupWindow::moved()
{
    XView::moved();
    NoteNormalBounds();
}

void XPopupWindow::SetFrame(const XRect& frame)
{
    XView::SetFrame(frame);
    LayoutTitleBar();
    if (XApplication* application = GetApplication())
        application->SetPrefsDirty(true);
}

void XPopupWindow::LayoutTitleBar()
{
    const XRect content = GetContentRect();
    const int32_t previousHeight = titleBarRect.IsEmpty() ? kFirstFixedTitleHeight : titleBarRect.Height();
    titleBarRect = XRect(content.left, content.top, content.right,
                         options.fixedTitleHeight != 0 ? content.top + previousHeight : content.bottom);
    XStyle* style = GetStyle();
    if (style == nullptr)
        return;
    XRect box;
    if (closeBox != nullptr)
    {
        style->GetCloseBoxRect(*this, box);
        closeBox->SetFrame(box);
    }
    if (maximizeButton != nullptr)
    {
        style->GetMaximizeBoxRect(*this, box);
        maximizeButton->SetFrame(box);
    }
    if (minimizeButton != nullptr)
    {
        style->GetMinimizeBoxRect(*this, box);
        minimizeButton->SetFrame(box);
    }
}

void XPopupWindow::CentreOnParent()
{
    if (parentWindowView == nullptr)
        return;
    const XRect parent = ToX(parentWindowView->getScreenBounds());
    SetFrame(CenterRectIn(GetFrame(), parent));
}

// States ---------------------------------------------------------------------------------------------------

XRect XPopupWindow::GetNormalBounds() const
{
    return ToX(normalBounds);
}

void XPopupWindow::SaveNormalBoundsNow()
{
    if (!fullScreen && !maximised && !IsMinimised())
        normalBounds = getBounds();
}

void XPopupWindow::NoteNormalBounds()
{
    // Maximised bounds are the monitor's, not the user's: they are kept as the normal bounds no
    // more than full screen ones are.
    if (!isVisible() || fullScreen || maximised || IsMinimised())
        return;
    normalBounds = getBounds();
    ScheduleSave();
}

void XPopupWindow::ScheduleSave()
{
    if (GetLooper() == nullptr)
    {
        SaveWindowPos();
        return;
    }
    StartTimer(kSavePositionTimerId, kSavePositionDelayMs, true);
}

void XPopupWindow::SetFullScreen(bool on)
{
    if (!HasPeer() || on == fullScreen)
        return;
    if (on)
    {
        SaveNormalBoundsNow();
        fullScreen = true;
        setBounds(ToJuce(GetWindowArea(this)));
    }
    else
    {
        fullScreen = false;
        setBounds(maximised ? ToJuce(GetWindowArea(this)) : normalBounds);
    }
    LayoutFrame();
    LayoutTitleBar();
}

void XPopupWindow::SetMaximised(bool on)
{
    if (!HasPeer() || on == maximised)
        return;
    if (on)
    {
        SaveNormalBoundsNow();
        maximised = true;
        if (!fullScreen)
            setBounds(ToJuce(GetWindowArea(this)));
    }
    else
    {
        maximised = false;
        if (!fullScreen)
            setBounds(normalBounds);
    }
    LayoutTitleBar();
}

bool XPopupWindow::IsMinimised() const
{
    return HasPeer() && IsPeerMinimised();
}

void XPopupWindow::SetMinimised(bool on)
{
    if (on != IsMinimised() && HasPeer())
    {
        if (on)
            SaveNormalBoundsNow();
        SetPeerMinimised(on);
        LayoutTitleBar();
    }
    SetActiveWindow(on && IsActiveWindow() ? nullptr : this);
}

void XPopupWindow::minimisationStateChanged(bool isNowMinimised)
{
    if (isNowMinimised)
        return;
    LayoutTitleBar();
    repaint();
}

void XPopupWindow::SetPeerMinimised(bool on)
{
    if (juce::ComponentPeer* peer = getPeer())
        peer->setMinimised(on);
}

bool XPopupWindow::IsPeerMinimised() const
{
    const juce::ComponentPeer* peer = getPeer();
    return peer != nullptr && peer->isMinimised();
}

XRect XPopupWindow::GetNativeFrameBorders() const
{
    const juce::ComponentPeer* peer = getPeer();
    if (peer == nullptr)
        return XRect(0, 0, 0, 0);
    const juce::BorderSize<int> frame =
        peer->getFrameSizeIfPresent() ? *peer->getFrameSizeIfPresent() : juce::BorderSize<int>();
    return XRect(frame.getLeft(), frame.getTop(), frame.getRight(), frame.getBottom());
}

XView* XPopupWindow::FindMainWindow() const
{
    XGuiApp* application = XGuiApp::GetApp();
    return application != nullptr ? application->GetMainWindow() : nullptr;
}

// Positions ------------------------------------------------------------------------------------------------

void XPopupWindow::OpenSettings(XRegistrySettings& settings) const
{
    settings.PushKey(kWindowsKey);
    settings.PushKey(GetName().CStr());
}

void XPopupWindow::SaveWindowPos()
{
    if (options.saveWindowPos == 0 || GetName().IsEmpty())
        return;
    if (IsMinimised())
        return;
    XRect rect = fullScreen ? ToX(normalBounds) : GetFrame();
    if (rect.Width() == 0 || rect.Height() == 0)
        return;
    const bool sizable = IsSizable();
    if (sizable)
    {
        const XRect borders = GetNativeFrameBorders();
        rect.right += borders.left + borders.right;
        rect.bottom += borders.top + borders.bottom;
    }
    XRegistrySettings settings(nullptr, nullptr);
    OpenSettings(settings);
    WriteIfChanged(settings, "left", rect.left);
    WriteIfChanged(settings, "top", rect.top);
    if (sizable)
    {
        WriteIfChanged(settings, "right", rect.right);
        WriteIfChanged(settings, "bottom", rect.bottom);
    }
    WriteIfChanged(settings, "visible", isVisible() ? 1 : 0);
    WriteIfChanged(settings, "fullscreen", fullScreen ? 1 : 0);
    const XView* mainWindow = FindMainWindow();
    const bool global = options.noMDI == 0 && mainWindow != nullptr && parentWindowView == mainWindow;
    WriteIfChanged(settings, "globalCoord", global ? 1 : 0);
}

bool XPopupWindow::RestoreWindowPos()
{
    if (options.saveWindowPos == 0 || GetName().IsEmpty())
        return false;
    XRegistrySettings settings(nullptr, nullptr);
    OpenSettings(settings);
    // A window never saved has nothing to restore and may still be centred when shown.
    constexpr int32_t kNotSaved = INT32_MIN;
    if (settings.ReadInt("left", kNotSaved) == kNotSaved)
        return false;
    const XRect current = GetFrame();
    const bool sizable = IsSizable();
    XRect rect;
    rect.left = settings.ReadInt("left", current.left);
    rect.top = settings.ReadInt("top", current.top);
    if (sizable)
    {
        rect.right = settings.ReadInt("right", rect.left + current.Width());
        rect.bottom = settings.ReadInt("bottom", rect.top + current.Height());
        const XRect borders = GetNativeFrameBorders();
        rect.right -= borders.left + borders.right;
        rect.bottom -= borders.top + borders.bottom;
    }
    else
    {
        rect.right = rect.left + current.Width();
        rect.bottom = rect.top + current.Height();
    }
    settings.ReadInt("globalCoord", 0);

    // Onto the screen: no negative edge, nothing past the virtual screen's far edges.
    if (rect.left < 0)
        rect = XRect(0, rect.top, rect.right - rect.left, rect.bottom);
    if (rect.top < 0)
        rect = XRect(rect.left, 0, rect.right, rect.bottom - rect.top);
    const XRect screen = VirtualScreen();
    if (rect.right > screen.right)
        rect = XRect(rect.left - (rect.right - screen.right), rect.top, screen.right, rect.bottom);
    if (rect.bottom > screen.bottom)
        rect = XRect(rect.left, rect.top - (rect.bottom - screen.bottom), rect.right, screen.bottom);

    bool applied = false;
    if (rect.Width() > 0 && rect.Height() > 0 && OnSomeMonitor(rect))
    {
        SetFrame(rect);
        applied = true;
    }
    // A window saved full screen opens full screen, over its saved normal bounds.
    if (settings.ReadInt("fullscreen", fullScreen ? 1 : 0) == 1)
    {
        SetFullScreen(true);
        if (rect.Width() > 0 && rect.Height() > 0)
            normalBounds = ToJuce(rect);
    }
    return applied;
}

// Desktop, showing ------------------------------------------------------------------------------------------

void XPopupWindow::Attach()
{
    XView::Attach();
    if (isOnDesktop())
        return;
    setWantsKeyboardFocus(true);
    if (XView* owner = GetParentView())
        LeaveOwnerView(*owner);
    if (IsNativeStyle())
    {
        if (options.closable != 0)
            windowStyle |= kStyleCloseButton;
        if (options.horizontallySizable != 0 || options.verticallySizable != 0 || options.sizable != 0)
            windowStyle |= kStyleResizable;
        if (options.hasMinimizeButton != 0)
            windowStyle |= kStyleMinimiseButton;
        if (options.hasMaximizeButton != 0)
            windowStyle |= kStyleMaximiseButton;
    }
    addToDesktop(windowStyle, nullptr);
    if (juce::String(GetClassNameText()) != "XMainWindow")
    {
        XView* mainWindow = FindMainWindow();
        juce::ComponentPeer* peer = getPeer();
        juce::ComponentPeer* ownerPeer = mainWindow != nullptr ? mainWindow->getPeer() : nullptr;
        if (peer != nullptr && ownerPeer != nullptr && mainWindow != this)
            PlatformWindowOwner::SetOwner(peer->getNativeHandle(), ownerPeer->getNativeHandle());
    }
    if (juce::ComponentPeer* peer = getPeer())
        peer->setTitle(ToJuceString(title));
    if (titleBarRect.IsEmpty())
        LayoutTitleBar();
    if (!IsNativeStyle())
        CreateTitleBoxes();
    positionRestored = RestoreWindowPos();
}

void XPopupWindow::CreateTitleBoxes()
{
    if (options.titled == 0)
        return;
    if (options.closable != 0 && closeBox == nullptr)
    {
        closeBox = new XCloseBox();
        XView::AddChild(closeBox);
        closeBox->ApplyStyle();
    }
    if (IsSizable() && options.hasMaximizeButton != 0 && maximizeButton == nullptr)
    {
        maximizeButton = new XMaximizeButton();
        XView::AddChild(maximizeButton);
        maximizeButton->GetClickedSignal().Connect([this] { SetMaximised(!maximised); });
    }
    if (options.hasMinimizeButton != 0 && minimizeButton == nullptr)
    {
        minimizeButton = new XMinimizeButton();
        XView::AddChild(minimizeButton);
        minimizeButton->GetClickedSignal().Connect([this] { SetMinimised(!IsMinimised()); });
    }
    // The title bar shows round the boxes' pictures: see-through from the first paint on, so that a
    // box never shows as an unpainted square.
    for (XView* box : {static_cast<XView*>(closeBox), static_cast<XView*>(maximizeButton),
                       static_cast<XView*>(minimizeButton)})
        if (box != nullptr)
            box->SetTransparent(true);
    LayoutTitleBar();
}

void XPopupWindow::Show()
{
    if (options.centerOnParent != 0 && parentWindowView != nullptr && !positionRestored && !centredOnce)
    {
        centredOnce = true;
        CentreOnParent();
    }
    if (IsMinimised())
        SetMinimised(false);
    XView::Show();
    SetActiveWindow(this);
    LayoutTitleBar();
    toFront(true);
    if (attachedObject != nullptr)
        attachedObject->FocusChanged(true);
}

void XPopupWindow::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    const char* text = nullptr;
    if (block.FindString("label", text) == 0)
        SetTitle(XString(text));
    for (int32_t index = 0; block.FindString("style", text, index) == 0; ++index)
    {
        juce::StringArray words;
        words.addTokens(juce::String::fromUTF8(text), ",", "");
        for (const juce::String& word : words)
            options.ApplyStyleWord(word.toRawUTF8());
    }
    bool save = false;
    if (block.FindBool("saveWindowPos", save) == 0)
        options.saveWindowPos = save ? 1 : 0;
    if (options.centerOnParent != 0 && parentWindowView != nullptr)
        CentreOnParent();
}

void XPopupWindow::HandleTimer(int32_t timerId)
{
    if (timerId == kAdjustTimerId)
    {
        LayoutTitleBar();
        return;
    }
    if (timerId == kSavePositionTimerId)
    {
        SaveWindowPos();
        return;
    }
    XView::HandleTimer(timerId);
}

// Drawing --------------------------------------------------------------------------------------------------

void XPopupWindow::Draw(XCanvas& canvas)
{
    if (IsNativeStyle())
        XView::Draw(canvas);
}

void XPopupWindow::paint(juce::Graphics& g)
{
    if (IsNativeStyle())
    {
        XView::paint(g);
        return;
    }
    if (options.framed == 0)
        return;
    if (XStyle* style = GetStyle())
        style->DrawWindow(g, *this, title);
}

// Keys and mouse
// ---------------------------------------------------------------------------------------------

bool XPopupWindow::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    if (keyCode == kKeyEscape)
        return EscapePressed();
    if (keyCode == kKeyReturn)
        return ReturnPressed();
    if (keyCode == kKeyFullScreen && (modifiers & kCtrlBits) != 0 && IsSizable())
        SetFullScreen(!fullScreen);
    XCommandManager* commands = XCommandManager::GetProcessWide();
    return commands != nullptr && commands->HandleKeyPress(keyCode, modifiers);
}

void XPopupWindow::mouseDown(const juce::MouseEvent& event)
{
    SetActiveWindow(this);
    if (event.eventComponent != this)
        return;
    if (options.closeOnClick != 0)
    {
        Close();
        return;
    }
    if (!fullScreen && options.movable != 0)
    {
        dragger.startDraggingComponent(this, event);
        if (event.mods.isLeftButtonDown())
        {
            mouseDownScreen = event.getScreenPosition();
            dragPending = true;
        }
    }
    XView::mouseDown(event);
}

void XPopupWindow::mouseDrag(const juce::MouseEvent& event)
{
    if (event.eventComponent != this)
        return;
    if (options.movable != 0 && !fullScreen)
    {
        if (event.getDistanceFromDragStart() > 1)
            movedSincePress = true;
        dragger.dragComponent(this, event, &constrainer);
    }
    XView::mouseDrag(event);
}

void XPopupWindow::mouseUp(const juce::MouseEvent& event)
{
    if (event.eventComponent != this)
        return;
    const juce::Point<int> local = event.getPosition();
    // Only a left press marks a drag as pending.
    if (dragPending && options.movable != 0)
    {
        const bool inTitle = local.x >= titleBarRect.left && local.x < titleBarRect.right &&
                             local.y >= titleBarRect.top && local.y < titleBarRect.bottom;
        if (inTitle && event.getScreenPosition() != mouseDownScreen)
            SaveWindowPos();
    }
    dragPending = false;
    if (options.closeOnClick != 0 && getLocalBounds().contains(local) && !movedSincePress)
        Close();
    movedSincePress = false;
    XView::mouseUp(event);
}

bool XPopupWindow::MouseUp(const XPoint& point, int32_t button)
{
    return XView::MouseUp(point, button);
}

void XPopupWindow::mouseDoubleClick(const juce::MouseEvent& event)
{
    if (event.eventComponent != this)
        return;
    if (options.titled != 0 && IsSizable())
    {
        if (options.hasMaximizeButton != 0 && !IsMinimised())
        {
            SetActiveWindow(this);
            SetMaximised(!maximised);
        }
        else if (options.hasMinimizeButton != 0)
        {
            SetMinimised(!IsMinimised());
        }
        return;
    }
    XView::mouseDoubleClick(event);
}
