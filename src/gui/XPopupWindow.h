#pragma once

#include "core/StringToPtrMap.h"
#include "core/XCommand.h"
#include "core/XRect.h"
#include "core/XString.h"
#include "gui/IStyledWindow.h"
#include "gui/IWindowPosition.h"
#include "gui/XView.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class XCloseBox;
class XMaximizeButton;
class XMinimizeButton;
class XRegistrySettings;

/** The options of a window description, one byte each, in the order the style reads them: the
    window's own operations use some, the rest are kept for the style's title-bar layout. */
struct XWindowOptions
{
    uint8_t closable = 1;
    uint8_t zoomable = 1;
    uint8_t toolbar = 0;
    uint8_t movable = 1;
    uint8_t horizontallySizable = 1;
    uint8_t verticallySizable = 1;
    uint8_t sizable = 1;
    uint8_t titled = 1;
    uint8_t framed = 1;
    uint8_t frontmost = 0;
    uint8_t backmost = 0;
    uint8_t modal = 0;
    uint8_t hideOnClose = 0;
    uint8_t noMDI = 0;
    uint8_t fullScreen = 0;
    uint8_t centerOnParent = 1;
    uint8_t saveWindowPos = 1;
    uint8_t dualMonitor = 0;
    uint8_t hasMinimizeButton = 0;
    uint8_t hasMaximizeButton = 0;
    uint8_t styleFlag1 = 0;
    uint8_t styleFlag2 = 0;
    uint8_t dragDrop = 0;
    uint8_t closeOnClick = 0;
    uint8_t fixedTitleHeight = 0;
    uint8_t styleFlag3 = 1;

    /** Applies one word of a "style" list (compared without regard to case); false for a word
        that is no option. */
    bool ApplyStyleWord(const char* word);
};
static_assert(sizeof(XWindowOptions) == 26, "the options record is 26 one-byte flags");

/** The framework's top-level window: a view on the desktop with its own peer. Either the window
    system draws frame and title (native style, style bit 0x08) or the window draws them through the
    current style and carries its own close, maximise and minimise boxes. It owns its content view
    (and with it everything added to the window), an optional resizable border, a size constrainer
    and a dragger; it saves its position under "windows\<handler name>" of the settings store on
    every move (written after the moves settle), on close and at quit, and restores it when it goes
    on the desktop.

    Every window enters the program-wide window list (XWindowList) in its constructor and leaves it
    in its destructor. A window added as a child to another view (a "popupwindow" of a window
    description) leaves that view's children when it goes on the desktop: it becomes a top-level
    window of its own that the view still owns, deleted with the view (or earlier by whoever
    deletes it), and its unhandled messages still pass to the view.

    Full screen and maximised are the framework's own states (bounds = the monitor's area, the
    former bounds kept as the normal bounds); minimised is the window system's. GUI thread only. */
class XPopupWindow : public XView, public IWindowPosition, public virtual IStyledWindow
{
public:
    /** Style bits: the toolkit's peer flags. */
    static constexpr int32_t kStyleTaskbar = 0x01;
    static constexpr int32_t kStyleNativeTitleBar = 0x08;
    static constexpr int32_t kStyleResizable = 0x10;
    static constexpr int32_t kStyleMinimiseButton = 0x20;
    static constexpr int32_t kStyleMaximiseButton = 0x40;
    static constexpr int32_t kStyleCloseButton = 0x80;
    static constexpr int32_t kStyleDropShadow = 0x100;
    static constexpr int32_t kDefaultStyle = kStyleDropShadow;

    static constexpr int32_t kDefaultMinSize = 200;
    static constexpr int32_t kDefaultMaxSize = 2048;
    /** Insets of a self-drawn window without, and with, a resizable border. */
    static constexpr int32_t kPlainInset = 1;
    static constexpr int32_t kBorderInset = 4;
    /** The title bar's height with the fixed-height option before it was ever laid out. */
    static constexpr int32_t kFirstFixedTitleHeight = 40;
    /** The title bar's height while no style is installed (the style's own is the same). */
    static constexpr int32_t kDefaultTitleBarHeight = 24;
    static constexpr int32_t kKeyEscape = 27;
    static constexpr int32_t kKeyReturn = 13;
    static constexpr int32_t kKeyFullScreen = 102; // 'f'
    static constexpr XKeyInfo kCtrlBits = 0x0C;
    /** Re-runs the title-bar layout. */
    static constexpr int32_t kAdjustTimerId = static_cast<int32_t>(FourCharCode("adjT"));
    /** Writes the position once moves have settled. */
    static constexpr int32_t kSavePositionTimerId = static_cast<int32_t>(FourCharCode("wpos"));
    static constexpr int32_t kSavePositionDelayMs = 250;
    static constexpr const char* kWindowsKey = "windows";
    static constexpr const char* kContentViewName = "ContentComp";
    static constexpr const char* kMainMenuSection = "MainMenu";

    XPopupWindow();
    /** parent: the view the window centres on (not owned; may be null). */
    explicit XPopupWindow(XView* parent);
    /** The title is translated through the application's "MainMenu" labels and becomes the label
        and the handler name. */
    XPopupWindow(const XRect& frame, const char* title, XView* parent);
    /** Clears the active window if it is this one, leaves the window list; deletes its children. */
    ~XPopupWindow() override;

    /** The active window, null when none. */
    static XPopupWindow* GetActiveWindow();

    // Window operations --------------------------------------------------------------------------

    /** The view told it has the focus whenever the window is shown; not owned. */
    virtual void SetAttachedObject(XView* view) { attachedObject = view; }
    virtual XView* GetAttachedObject() const { return attachedObject; }
    virtual void GetClassName(XString& name) const { name = GetClassNameText(); }
    virtual const char* GetClassNameText() const { return "XPopupWindow"; }
    /** The active window becomes null, the window hides and saves its position. */
    virtual void Close();
    /** The window's bounds in its own coordinates. */
    virtual XRect GetContentRect() const;
    /** Closes; true. */
    virtual bool EscapePressed();
    virtual bool ReturnPressed() { return false; }
    /** Makes window the active one; the title strips of the former and the new one repaint. */
    virtual void SetActiveWindow(XPopupWindow* window);
    /** Frame thickness per side (left, top, right, bottom). */
    virtual XRect GetFrameInsets() const;
    /** As GetFrameInsets, the top being the title bar's height for titled self-drawn windows. */
    virtual XRect GetFrameInsetsWithTitle() const;
    virtual void SetBounds(const XRect& frame) { XView::SetFrame(frame); }

    bool IsActiveWindow() const { return GetActiveWindow() == this; }
    bool IsNativeStyle() const { return (windowStyle & kStyleNativeTitleBar) != 0; }
    void SetWindowStyle(int32_t style) { windowStyle = style; }
    XWindowOptions& GetOptions() { return options; }
    const XWindowOptions& GetOptions() const { return options; }
    /** The view the window centres on; null when none was given or it has been deleted. */
    XView* GetParentWindowView() const { return parentWindowView.getComponent(); }
    /** The view that owns the window on the desktop because the window was added to it as a child;
        null for a window nobody added. */
    XView* GetOwnerView() const;

    /** Stores the title; a window with a native title bar also gives it to its peer. */
    void SetTitle(const XString& title);
    const XString& GetTitle() const { return title; }

    /** A native-style window is its own content; otherwise a transparent "ContentComp" view made
        on first use that lets its children take the clicks. */
    XView* GetContentView();
    /** Replaces the content (the old one deleted when asked, else handed back to nobody: the caller
        keeps it); fit sizes the window to the content. Ignored for native-style windows. */
    void SetContentView(XView* view, bool deleteOld, bool fit);
    /** Negative minimums become 0, a maximum below its minimum the minimum; the size is clamped. */
    void SetSizeLimits(int32_t minWidth, int32_t minHeight, int32_t maxWidth, int32_t maxHeight);
    void GetSizeLimits(int32_t& minWidth, int32_t& minHeight, int32_t& maxWidth, int32_t& maxHeight) const;
    /** Adds (or removes) the resizable border; the window re-lays itself out. */
    void SetResizable(bool on);
    bool HasResizableBorder() const { return resizableBorder != nullptr; }

    /** Nothing without a peer or in that state already; the normal bounds are kept. */
    void SetFullScreen(bool on);
    void SetMaximised(bool on);
    void SetMinimised(bool on);
    bool IsFullScreen() const { return fullScreen; }
    bool IsMaximised() const { return maximised; }
    bool IsMinimised() const;
    /** The bounds before full screen, maximised or minimised (screen coordinates). */
    XRect GetNormalBounds() const;

    /** Writes the frame under "windows\<name>" (nothing when the window does not save, has no
        name, no size, or is minimised). Only values that changed are written. */
    void SaveWindowPos() override;
    /** Applies the saved frame when it lies on a monitor; true when a frame was applied. */
    bool RestoreWindowPos();
    bool WasPositionRestored() const { return positionRestored; }

    /** Places the title bar and its boxes from the style. */
    void LayoutTitleBar();
    const XRect& GetTitleBarRect() const { return titleBarRect; }
    XCloseBox* GetCloseBox() const { return closeBox; }
    XMaximizeButton* GetMaximizeButton() const { return maximizeButton; }
    XMinimizeButton* GetMinimizeButton() const { return minimizeButton; }
    /** Hot-key text to command; filled and read by others. */
    StringToPtrMap<XCommand>& GetHotKeys() { return hotKeys; }

    /** The user asked to close: closes, except the main window, which asks the application to quit
        (kQuitApplication). */
    void RequestClose();

    // IStyledWindow ---------------------------------------------------------------------------------

    bool HasCloseBox() const override { return closeBox != nullptr; }
    bool HasMaximizeBox() const override { return maximizeButton != nullptr; }
    bool HasMinimizeBox() const override { return minimizeButton != nullptr; }

    // XView -----------------------------------------------------------------------------------------

    using XView::AddChild;
    void Attach() override;
    void ReadAttributes(XMessage& block) override;
    void Show() override;
    void SetFrame(const XRect& frame) override;
    int32_t GetWindowStyle() const override { return windowStyle; }
    bool ShouldCenterOnParent() const override { return options.centerOnParent != 0; }
    void Draw(XCanvas& canvas) override;
    void paint(juce::Graphics& g) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    /** Children go to the content view (the window listens to their mouse); popup windows and, in
        native-style windows, every child are the window's own. */
    void AddChild(XView* child) override;
    XView* RemoveChild(XView* child) override;
    void HandleTimer(int32_t timerId) override;
    /** kCloseRequested and kCloseWindow ask to close, kShowWindow shows the window. */
    void MessageReceived(XMessage& message) override;

    // Toolkit ---------------------------------------------------------------------------------------

    void mouseDown(const juce::MouseEvent& event) override;
    void mouseDrag(const juce::MouseEvent& event) override;
    void mouseUp(const juce::MouseEvent& event) override;
    void mouseDoubleClick(const juce::MouseEvent& event) override;
    void userTriedToCloseWindow() override;
    void minimisationStateChanged(bool isNowMinimised) override;
    void resized() override;
    void moved() override;
    void childBoundsChanged(juce::Component* child) override;
    void parentHierarchyChanged() override;

protected:
    // The seam to the window system: minimising needs a window manager, which tests replace.

    virtual bool HasPeer() const { return getPeer() != nullptr; }
    virtual void SetPeerMinimised(bool on);
    virtual bool IsPeerMinimised() const;
    /** The window system's frame around the window (left, top, right, bottom thickness). */
    virtual XRect GetNativeFrameBorders() const;
    /** The main window that secondary windows are owned by; null when there is none. */
    virtual XView* FindMainWindow() const;

private:
    void Initialise();
    /** The window's size and the content view's bounds follow the insets and state. */
    void LayoutFrame();
    /** Fits the window to its content when the fit flag is set. */
    void FitToContent();
    /** Keeps the bounds as the normal bounds and schedules a save, when the state allows it. */
    void NoteNormalBounds();
    void SaveNormalBoundsNow();
    void ScheduleSave();
    void CentreOnParent();
    void RepaintTitleStrip();
    bool IsSizable() const;
    void CreateTitleBoxes();
    /** The settings key "windows\<name>". */
    void OpenSettings(XRegistrySettings& settings) const;
    /** Takes the window out of the view it was added to, which keeps owning it on the desktop. */
    void LeaveOwnerView(XView& owner);
    /** The owner is being deleted: the window goes with it. */
    void OwnerDeleted();

    class OwnerLink;

    juce::Component::SafePointer<XView> parentWindowView;
    XWindowOptions options;
    XString title;
    XRect titleBarRect;
    juce::Point<int> mouseDownScreen;
    bool dragPending = false;
    bool movedSincePress = false;
    bool positionRestored = false;
    bool fitToContent = false;
    bool centredOnce = false;
    bool fullScreen = false;
    bool maximised = false;
    XView* contentView = nullptr; // a child view: deleted with the window
    juce::ComponentBoundsConstrainer constrainer;
    std::unique_ptr<juce::ResizableBorderComponent> resizableBorder; // after the constrainer it uses
    juce::Rectangle<int> normalBounds;
    juce::ComponentDragger dragger;
    int32_t minWidth = kDefaultMinSize;
    int32_t minHeight = kDefaultMinSize;
    int32_t maxWidth = kDefaultMaxSize;
    int32_t maxHeight = kDefaultMaxSize;
    XCloseBox* closeBox = nullptr;             // child view
    XMaximizeButton* maximizeButton = nullptr; // child view
    XMinimizeButton* minimizeButton = nullptr; // child view
    StringToPtrMap<XCommand> hotKeys;
    int32_t windowStyle = kDefaultStyle;
    XView* attachedObject = nullptr;
    std::unique_ptr<OwnerLink> ownerLink; // null unless a view owns the window on the desktop
};
