#pragma once

#include "core/BitArray.h"
#include "core/GenericList.h"
#include "core/XKeyPress.h"
#include "core/XMessageCodes.h"
#include "core/XMetaObject.h"
#include "core/XPoint.h"
#include "core/XProperty.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/IStyledView.h"
#include "gui/IViewContainer.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class IContextMenu;
class XCanvas;
class XFont;
class XMessage;
class XParam;
class XPropertyList;
class XStyle;

/** Something deleted together with a view's sliding overlay (XView::SetOverlay). */
class XOverlayCompanion
{
public:
    virtual ~XOverlayCompanion() = default;
};

/** The base of every visible element: windows, panels, texts, buttons, pots, lists. A JUCE
    component that is also a framework handler (attached to the application looper, its unhandled
    messages passing to its parent view's handler), a holder of child views, an owner of colour
    properties, a tooltip client and a container (IViewContainer) for the views below it.

    It turns JUCE's mouse, key, paint and layout callbacks into the framework's own operations: mouse
    events with framework buttons (1 left, 2 right, 4 middle, 0 none, 255 a plain move) that pass up
    to the parent view unless a view wants them; keys that go to the window's focus view, then up its
    parents, then to the application's hot keys; drawing on an XCanvas; children laid out by resize
    masks when the parent's size changes; swipes across rows of like controls; visibility bound to a
    parameter; attributes read from window descriptions and the "View" XML form.

    Ownership: a parent view owns the children added with AddChild and deletes them with itself;
    RemoveChild hands a child back to the caller. Plain JUCE components (AddComponent) are not owned.

    Threads: everything runs on the GUI thread, which is the application looper's thread. Other
    threads may only post messages to the view's handler ('invl' repaints it) or change parameters
    it watches (their notifications arrive on the GUI thread); InvalidateRect and RepaintRect called
    elsewhere do nothing. */
class XView : public juce::Component,
              public XMetaObject,
              public IViewContainer,
              public juce::TooltipClient,
              public virtual IStyledView
{
public:
    /** Resize mask bits. */
    static constexpr uint32_t kResizeLeft = 0x1;
    static constexpr uint32_t kResizeRight = 0x2;
    static constexpr uint32_t kResizeTop = 0x4;
    static constexpr uint32_t kResizeBottom = 0x8;
    static constexpr uint32_t kResizeAll = 0xF;
    static constexpr uint32_t kResizeHorizontalMiddle = 0x10;
    static constexpr uint32_t kResizeVerticalMiddle = 0x20;
    static constexpr uint32_t kResizeSpecial = 0x40;
    static constexpr uint32_t kDefaultResizeMask = kResizeLeft | kResizeTop;

    /** Framework mouse buttons. */
    static constexpr int32_t kButtonNone = 0;
    static constexpr int32_t kButtonLeft = 1;
    static constexpr int32_t kButtonRight = 2;
    static constexpr int32_t kButtonMiddle = 4;
    static constexpr int32_t kNoButton = 255;

    /** Text justification. */
    static constexpr uint8_t kJustifyLeft = 1;
    static constexpr uint8_t kJustifyRight = 2;
    static constexpr uint8_t kJustifyCentred = 4;

    /** The message that repaints the whole view; any thread may post it. */
    static constexpr uint32_t kInvalidateMessage = FourCharCode("invl");
    /** The timer that slides the overlay out. */
    static constexpr int32_t kOverlayTimerId = static_cast<int32_t>(FourCharCode("hide"));
    static constexpr int kDoubleClickTimeoutMs = 300;
    /** The same key again within this time carries the repeat bit. */
    static constexpr uint32_t kKeyRepeatWindowMs = 50;

    /** The view's colour property members: typed XRGB properties of the "XView" class table. */
    class _prop_ForeColor final : public PropertyTyped<XRGB>
    {
    public:
        explicit _prop_ForeColor(XView* owner);
        const XPropertyInfo& GetInfo() const override;
    };
    class _prop_BackColor final : public PropertyTyped<XRGB>
    {
    public:
        explicit _prop_BackColor(XView* owner);
        const XPropertyInfo& GetInfo() const override;
    };
    class _prop_TextColor final : public PropertyTyped<XRGB>
    {
    public:
        explicit _prop_TextColor(XView* owner);
        const XPropertyInfo& GetInfo() const override;
    };

    /** A function that makes a new view of one class (the class factory's entries). */
    using ViewCreator = XView* (*)();

    XView();
    explicit XView(const XRect& frame);
    /** Leaves the looper and the list of all views, drops itself from its ancestors' focus and swipe
        slots, and deletes the child views it owns. */
    ~XView() override;

    // JUCE callbacks --------------------------------------------------------------------------------

    void mouseMove(const juce::MouseEvent& event) override;
    void mouseDown(const juce::MouseEvent& event) override;
    void mouseDrag(const juce::MouseEvent& event) override;
    void mouseUp(const juce::MouseEvent& event) override;
    void mouseDoubleClick(const juce::MouseEvent& event) override;
    void mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
    /** true is Show, false Hide, so subclasses see every change. */
    void setVisible(bool shouldBeVisible) override;
    void parentHierarchyChanged() override;
    /** Clears the swipe anchor when it no longer lies inside this view. */
    void childrenChanged() override;
    juce::MouseCursor getMouseCursor() override;
    void paint(juce::Graphics& g) override;
    /** The framework's key dispatch; always "handled" (false only while shutting down), so that a
        key is never handled twice. */
    bool keyPressed(const juce::KeyPress& key) override;
    void resized() override;
    void parentSizeChanged() override;
    /** The tooltip text while tooltips are enabled, else empty. */
    juce::String getTooltip() override;

    // The view's operations -------------------------------------------------------------------------

    /** Hooks the view to the application looper once (unattached views are not hooked) and starts
        watching its show parameter. */
    virtual void Attach();
    /** Lets the view's style adjust the view. */
    virtual void ApplyStyle();
    /** The size changed by dw, dh (called by resized). */
    virtual void SizeChanged(int32_t dw, int32_t dh);
    /** The window's focus view became (true) or stopped being (false) this view. */
    virtual void FocusViewChanged(bool focused);
    /** Reads the base view's keys of a description block (see the .cpp); subclasses call it first. */
    virtual void ReadAttributes(XMessage& block);
    /** Writes the view and its child views into element (a "View" element). */
    virtual void SaveToXml(juce::XmlElement& element);
    /** Applies an element written by SaveToXml when its "name" is this view's name or label. */
    virtual void LoadFromXml(juce::XmlElement& element);
    /** Builds the view's content from the named window description. */
    virtual void LoadDescription(const char* name);
    virtual void Show();
    virtual void Hide();
    virtual void SetFrameXYWH(int32_t x, int32_t y, int32_t width, int32_t height);
    /** The frame in parent coordinates; width and height are the absolute differences. */
    virtual void SetFrame(const XRect& frame);
    /** Moves the frame so its top-left corner is the point (size kept). */
    virtual void MoveTo(const XPoint& point);
    /** The frame moved to 0, 0. */
    XRect GetBounds() const override;
    /** Adds the frame's four entries to an inspector list. */
    virtual void ListProperties(XPropertyList* list);
    virtual XString GetTooltipText() const;
    virtual int32_t GetWindowStyle() const;
    virtual bool ShouldCenterOnParent() const;
    /** False: mouse events go to the parent component. */
    virtual bool WantsMouse() const;
    /** Erases the view's visible area in its back colour unless transparent. */
    virtual void Draw(XCanvas& canvas);
    /** Gives the canvas the view's font, fore and back colour, justification and opacity. */
    virtual void PrepareCanvas(XCanvas& canvas);
    /** The parameter the view is bound to; none here. */
    virtual XParam* GetPot() const;
    /** The menu section through which labels are translated. */
    virtual XString GetTranslationSection() const;
    virtual void LabelChanged();
    virtual uint8_t GetCustomFlag() const;
    virtual void SetCustomFlag(uint8_t flag);
    /** The cursor tool for a point in view coordinates (XViewCursors); 0 the normal cursor. */
    virtual int32_t GetCursorTool(const XPoint& point);
    /** A key for this view; true when it took the key. modifiers may be changed for the next view. */
    virtual bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers);
    /** Right button: ContextClick; anything else goes to the parent view. True when handled. */
    virtual bool MouseDown(const XPoint& point, int32_t button);
    virtual bool MouseMoved(const XPoint& point, int32_t button);
    virtual bool MouseUp(const XPoint& point, int32_t button);
    /** A non-zero step count goes to the parent view. */
    virtual bool MouseWheel(const XPoint& point, int32_t steps);
    /** When visible: MouseDown(point, left), true; else false. */
    virtual bool Click(const XPoint& point);
    /** Pops the context menu up at the point, or passes the click to the parent view. */
    virtual bool ContextClick(const XPoint& point);
    /** The menu is not owned and must outlive the view or be replaced first. */
    virtual void SetContextMenu(IContextMenu* menu);
    /** Keyboard focus gained or lost: updates the window's focus view and emits the focus signal. */
    virtual void FocusChanged(bool focused);
    virtual void SetEnabled(bool enabled);
    virtual bool HasKeyFocus();
    virtual void FontChanged();
    /** RepaintRect, on the GUI thread only. */
    virtual void InvalidateRect(const XRect& rect);
    /** Repaints the rectangle (view coordinates): GUI thread only, while visible, not for an empty
        rectangle. */
    virtual void RepaintRect(const XRect& rect);
    /** RepaintRect of the whole view (GUI thread only, while visible). */
    void Invalidate();
    /** Asks the window's native peer to repaint what is pending now. */
    virtual void InspectorRefresh();
    /** Adds a plain JUCE component as a visible child (not owned). */
    virtual void AddComponent(juce::Component* component);
    /** Adds the child (owned from now on): visible when its add-visible flag is set, its parent view
        set, attached, styled, its handler's unhandled messages going to this view's handler. */
    virtual void AddChild(XView* child);
    /** AddChild; with hidden set the child is added hidden this time, whatever its add-visible flag. */
    void AddChild(XView* child, bool hidden);
    virtual void RemoveComponent(juce::Component* component);
    /** Takes the child out (the caller owns it again); its messages go to the application again.
        Returns the focus view that remains. */
    virtual XView* RemoveChild(XView* child);

    // Handler part ------------------------------------------------------------------------------------

    /** The "XView" table: ForeColor, BackColor, TextColor. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    void OnTimer(int32_t timerId) override;
    /** The overlay's slide ('hide'); other timers are the handler's. */
    virtual void HandleTimer(int32_t timerId);
    /** kCloseRequested hides the view, 'invl' repaints it, the rest goes to the handler chain. */
    void MessageReceived(XMessage& message) override;
    /** Shows or hides the view for its show parameter's value; forgets the parameter when it goes. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    // Container interface -----------------------------------------------------------------------------

    bool SetCurrentControl(XView* view) override;
    XView* GetCurrentControl() override;
    void ForgetView(XView* view) override;
    XRect RectToParent(const XRect& rect) override;
    XPoint PointToParent(const XPoint& point) override;
    XPoint PointFromParent(const XPoint& point) override;
    XRect RectFromParent(const XRect& rect) override;
    void SetFocusView(XView* view) override;
    XView* GetFocusView() override;
    void SetSwipeAnchor(XView* view) override;
    XView* GetSwipeAnchor() override;
    void SetCaptureView(XView* view) override;
    XView* GetCaptureView() override;
    bool GetContainerFlag() override;
    XView* GetParentView() override;
    XView* GetParentView() const { return parentView; }

    // Styled-view queries -----------------------------------------------------------------------------

    bool IsTransparent() const override { return transparent; }
    XRGB GetTextColor() const override { return textColor.Get(); }
    /** A copy of the label text. */
    XString GetLabel() const override { return label; }

    // Frame -------------------------------------------------------------------------------------------

    /** The frame in parent coordinates; the zero rectangle for a null view. */
    static XRect GetFrame(const XView* view);
    XRect GetFrame() const { return GetFrame(this); }
    int32_t GetWidth() const { return getWidth(); }
    int32_t GetHeight() const { return getHeight(); }
    /** The bounding box, in view coordinates, of the part of the view that its ancestors do not clip. */
    XRect GetVisibleFrame() const;
    void OffsetFrame(int32_t dx, int32_t dy);
    /** Left and top kept; dw and dh added to right and bottom. */
    void GrowBy(int32_t dw, int32_t dh);
    /** MoveTo, not virtual. */
    void MoveFrameTo(const XPoint& point);
    XPoint ToParentPoint(const XPoint& point) const;
    XPoint FromParentPoint(const XPoint& point) const;

    // Look ----------------------------------------------------------------------------------------------

    /** The own font, else the named font "medium" while a style is current, else a built-in default. */
    XFont* GetFont() const;
    /** FontChanged when it differs. The font is not owned. */
    void SetFont(XFont* font);
    /** The own style, else the current global style (null before one is installed). */
    XStyle* GetStyle() const;
    void SetStyle(XStyle* style) { ownStyle = style; }
    /** A transparent view erases nothing and is not opaque for JUCE. */
    void SetTransparent(bool isTransparent);
    void SetTransparentWithColor(bool isTransparent, const XRGB& fill);
    const XRGB& GetFillColor() const { return fillColor; }
    float GetOpacity() const { return opacity; }
    void SetOpacity(float newOpacity) { opacity = newOpacity; }
    uint8_t GetJustification() const { return justification; }
    void SetJustification(uint8_t flags) { justification = flags; }
    XRGB GetForeColor() const { return foreColor.Get(); }
    XRGB GetBackColor() const { return backColor.Get(); }
    void SetForeColor(const XRGB& colour) { foreColor.Set(colour); }
    void SetBackColor(const XRGB& colour) { backColor.Set(colour); }
    void SetTextColor(const XRGB& colour) { textColor.Set(colour); }

    /** The text translated through the application's menu labels (section GetTranslationSection),
        its lowest placeholder %1..%9 replaced by number, then LabelChanged. */
    void SetLabel(const XString& text, int32_t number = 0);
    /** With translate, SetLabel(text); without, the text becomes the label as it is. */
    void SetLabel(const XString& text, bool translate);

    // Layout and flags -----------------------------------------------------------------------------------

    uint32_t GetResizeMask() const { return resizeMask; }
    void SetResizeMask(uint32_t mask) { resizeMask = mask; }
    bool IsSwipeable() const { return swipeable; }
    void SetSwipeable(bool canSwipe) { swipeable = canSwipe; }
    /** Whether AddChild shows this view when it is added (true at start). */
    bool GetAddVisible() const { return addVisible; }
    void SetAddVisible(bool visibleWhenAdded) { addVisible = visibleWhenAdded; }
    bool IsAttached() const { return attached; }

    // Visibility bound to a parameter -------------------------------------------------------------------

    /** Shows the view only while the parameter's value, as an index, is index (more indices with
        SetShowValues); watches the parameter at once. Null unbinds. */
    void SetShowParam(XParam* param, int32_t index);
    /** The indices set in values become the show set. */
    void SetShowValues(const BitArray& values);
    XParam* GetShowParam() const { return showParam; }
    const BitArray& GetShowValues() const { return showValues; }

    // Timers, children, window ---------------------------------------------------------------------------

    /** A timer of the view's looper delivered to HandleTimer; nothing while unattached. */
    void StartTimer(int32_t timerId, int32_t periodMs, bool oneShot);
    /** Stops the timer at once, also from inside its own tick; one started later is not touched. */
    void StopTimer(int32_t timerId);
    /** The first direct child whose component name or handler name is name; with deep, then the same
        search inside each child in order. */
    XView* FindChild(const XString& name, bool deep) const;
    /** The outermost view holding this one (this view when it has no parent view). */
    XView* GetWindow();
    bool IsVisible() const { return isVisible(); }
    void SetTooltipText(const XString& text) { tooltipText = text; }
    /** The mouse position in view coordinates and the buttons held (2 right, 1 left, else 0). */
    void GetMouseState(XPoint& point, int32_t& buttons);
    /** Emitted with (view, focused) on every FocusChanged; any thread may connect. */
    XSignal<XView*, bool>& GetFocusSignal() { return focusSignal; }

    /** Makes overlay a child that the 'hide' timer slides out by step per tick; once out of sight it
        is deleted together with companion. The caller starts the timer (kOverlayTimerId). */
    void SetOverlay(XView* overlay, std::unique_ptr<XOverlayCompanion> companion, const XPoint& step);
    XView* GetOverlay() const { return overlayView; }

    // Process-wide ---------------------------------------------------------------------------------------

    /** True while mouseDoubleClick replays its press and release. */
    static bool IsDoubleClickInProgress();
    /** Switches tooltips on or off for every view. */
    static void EnableTooltips(bool enable);
    /** The number of views alive. Any thread. */
    static int32_t CountLiveViews();
    /** The key code and the framework's modifier bits of a JUCE key press, as the views get them: Shift
        inverted for letters while "keyboard\caps" is 1, the repeat bit (XKeyMod::kRepeat) when the same
        key came less than kKeyRepeatWindowMs ago. Every call counts as a key press. GUI thread. */
    static void ConvertKeyPress(const juce::KeyPress& key, int32_t& keyCode, XKeyInfo& modifiers);

    // Class factory -----------------------------------------------------------------------------------

    /** Stores the creator under the lower-cased type name, replacing an earlier one; a null creator
        removes the name. */
    static void RegisterViewClass(const char* typeName, ViewCreator creator);
    /** A new view of the type registered under the name regardless of case; a plain XView for a name
        never registered. Never null. The caller owns the view. */
    static XView* CreateViewByName(const char* typeName);
    /** Forgets every registered type and the attribute defaults that descriptions carry from one view
        to the next; for tests. */
    static void ResetClassFactory();
    static void ResetAttributeDefaults();

protected:
    /** Set by SetCurrentControl and SetCaptureView of windows; cleared by ForgetView. */
    XView* currentControl = nullptr;
    XView* captureView = nullptr;
    /** Kept for the window classes. */
    int32_t containerWords[5] = {1, 0, 0, 0, 0};
    bool containerFlag = false;

private:
    void Initialise();
    /** The view's looper thread is the calling thread (the message thread without an application). */
    bool IsOnGuiThread() const;
    /** Shows or hides the view for the show parameter's current value; on the GUI thread only. */
    void ApplyShowValue();
    /** Watches the show parameter (key 0, told at once) unless it already does. */
    void WatchShowParam();
    /** The parts of ReadAttributes, in the order it reads them: justification and font; frame,
        resize mask, name and label; colours; style words; the show parameter and its values. */
    void ReadTextAttributes(XMessage& block);
    void ReadFrameAndNames(XMessage& block);
    void ReadColours(XMessage& block);
    void ReadStyleWords(XMessage& block);
    void ReadShowParam(XMessage& block);
    /** The framework button of JUCE's modifier flags; none gives noneValue. */
    static int32_t ButtonOf(const juce::ModifierKeys& mods, int32_t noneValue);
    static XPoint PointOf(const juce::MouseEvent& event);
    /** The key goes to the window's focus view (or this view), up its parents, then to the application. */
    void DispatchKey(int32_t keyCode, XKeyInfo modifiers);
    /** The swipe step of a window for a pointer in window coordinates. */
    void SwipeTo(const XPoint& point);
    void CollectSwipeCandidates(XView* anchor, const XString& anchorName, XParam* anchorParam,
                                juce::Array<XView*>& candidates);
    /** The frame of a view in this view's coordinates. */
    XRect FrameInThis(const XView* view) const;
    void DeleteOverlay();
    /** Clears the focus, current-control, capture and swipe slots of this view and its ancestors
        that hold root or a view inside it (root leaves or is deleted). */
    void ForgetSubtree(XView* root);

    _prop_ForeColor foreColor;
    _prop_BackColor backColor;
    _prop_TextColor textColor;
    XSignal<XView*, bool> focusSignal;
    bool addVisible = true;
    XView* focusView = nullptr;
    XView* swipeAnchor = nullptr;
    bool swipeCapturePending = true;
    float capturedValue = 0.0f;
    XList<XView> swipedViews; // pointers are only compared, never followed
    IContextMenu* contextMenu = nullptr;
    XString label;
    XParam* showParam = nullptr;
    BitArray showValues;
    XRGB fillColor{0, 0, 0, 255};
    bool transparent = false;
    float opacity = 1.0f;
    uint8_t justification = kJustifyLeft;
    XFont* font = nullptr;
    XStyle* ownStyle = nullptr;
    uint32_t resizeMask = kDefaultResizeMask;
    uint8_t customFlag = 0;
    bool attached = false;
    bool swipeable = false;
    XView* parentView = nullptr;
    XRect ownFrameCache;
    XRect parentFrameCache;
    XString tooltipText;
    XPoint slideStep;
    XView* overlayView = nullptr;
    std::unique_ptr<XOverlayCompanion> overlayCompanion;
    /** Points at the view until its destruction starts; work sent to the GUI thread checks it. */
    std::shared_ptr<XView*> selfToken;
};
