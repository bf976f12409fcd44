#pragma once

#include "core/LongArray.h"
#include "core/XInvoker.h"
#include "core/XSignal.h"
#include "gui/XView.h"

#include <atomic>
#include <cstdint>
#include <memory>

class XMessage;
class XParam;

/** The view that edits one parameter: it watches its bound parameter ("param") and shows the value as
    a pixel position along the control, turns clicks, the wheel and the reset modifier into parameter
    edits, can be disabled by the value of a second parameter ("disableparam"), shows lock feedback
    ("Current Preset is Locked", "This Parameter is Locked"), and sends a message to a target when it
    is operated (its XInvoker part). Buttons, pots, sliders, texts and editors derive from it.

    Threads: everything runs on the GUI thread except NotifyParamChanged, the direct delivery of
    parameters set at once from worker threads (FloatParam::SetValueNow): it only queues the control
    in the ControlRefreshQueue, whose 100 ms pass sets the position on the GUI thread. A control that
    is destroyed stops watching every parameter first and leaves the queue under the queue's lock.

    Ownership: the bound and the disable parameter are not owned; a control whose parameter is
    destroyed (kParamDestroyed) unbinds and shows position 0. */
class XControl : public XView, public XInvoker
{
public:
    static constexpr const char* kLockModeParamPath = "QM7\\currentPresetLockMode";
    static constexpr const char* kPresetLockedText = "Current Preset is Locked";
    static constexpr const char* kParamLockedText = "This Parameter is Locked";
    /** The parameter flag that locks one parameter. */
    static constexpr int32_t kParamLockedFlag = static_cast<int32_t>(0x80000000);
    /** Wheel steps per notch, normal and with the fine-wheel key. */
    static constexpr int32_t kWheelSteps = 15;
    static constexpr int32_t kFineWheelSteps = 2;
    /** Posted to the application when a soft-focus control gains or loses the focus. */
    static constexpr uint32_t kFocusParamMessage = FourCharCode("fpch");
    /** 'labl' sets the label from the text item "label". */
    static constexpr uint32_t kSetLabelMessage = FourCharCode("labl");

    /** Invoker aimed at the application; unbound. */
    XControl();
    /** The name becomes the label and the handler's name; the invoker has no message and no target;
        then the parameter (may be null) is bound. */
    XControl(const XRect& frame, const char* name, XParam* param);
    /** Stops watching every parameter and leaves the refresh queue before anything else goes. */
    ~XControl() override;

    // Binding -------------------------------------------------------------------------------------

    /** Binds the parameter (null unbinds) and watches it; the first notification sets the position. */
    virtual void SetPot(XParam* param);
    XParam* GetPot() const override { return boundParam.load(); }
    float GetParamDelta() const { return paramDelta; }
    void SetParamDelta(float delta) { paramDelta = delta; }

    // Position ------------------------------------------------------------------------------------

    /** Stores the state and repaints the whole control when it changes. */
    virtual void SetControlEnabled(bool enabled);
    /** The shown position; repaints when it differs from the drawn one, then emits the position
        signal. Nothing while the process shuts down or when p is already shown. */
    virtual void SetPosition(int32_t position);
    /** Moves the shown position by steps: clamped to 0..range, wrapping for ranges below 2. */
    virtual void MoveBy(int32_t steps);
    virtual int32_t GetPosition() const;
    /** The larger of the frame's width and height. */
    virtual int32_t GetPixelRange() const;
    /** The pixel position of the parameter's value; 0 for null or a parameter without steps. */
    virtual int32_t ValueToPosition(XParam* param) const;
    /** The shown position as the drawing last saw it. */
    int32_t GetDrawnPosition() const { return drawnPosition; }
    /** Emitted with the new shown position by SetPosition. */
    XSignal<uint32_t>& GetPositionSignal() { return positionSignal; }

    // Disabling --------------------------------------------------------------------------------------

    /** A different parameter: stop watching the old one, watch the new one (told at once) and make
        value (truncated) its only disabling value. */
    virtual void SetDisableParam(XParam* param, double value);
    virtual XParam* GetDisableParam() const;
    virtual void AddDisableValue(int32_t value);
    virtual void SetDisableValue(int32_t value);
    virtual void ClearDisableValues();
    /** True while the disable parameter's value is one of the disabling values. */
    bool IsDisabledByParam() const;
    /** False while disabled by the parameter, else the enabled flag. */
    bool IsEnabled() const;
    /** The control's own flag, whatever the disable parameter says. */
    bool GetControlEnabled() const { return enabled; }

    /** While false the control does not take the mouse (its presses go to the parent); repaints
        when it changes. */
    void SetHilite(bool hilite);
    bool IsHilited() const { return hilited; }
    /** "outputDisabled": the control ignores its parameter's value notifications. */
    void SetOutputDisabled(bool disabled) { outputDisabled.store(disabled); }
    bool IsOutputDisabled() const { return outputDisabled.load(); }
    bool IsInputDisabled() const { return inputDisabled; }
    void SetInputDisabled(bool disabled) { inputDisabled = disabled; }
    bool HasTouch() const { return touch; }
    void SetTouch(bool hasTouch) { touch = hasTouch; }
    bool HasSoftFocus() const { return softFocus; }

    // Modifiers and scales ---------------------------------------------------------------------------

    /** Whether the modifier that the style chooses for reset, fine wheel or fine drag is held. */
    bool IsResetKeyDown() const;
    bool IsFineWheelKeyDown() const;
    bool IsFineDragKeyDown() const;
    /** Parameter steps per pixel of drag: 1.0 unbound, with the fine-drag key, or when the step count
        is 0 or equals the pixel range. */
    float GetDragScale() const;
    /** The bound parameter's normalised value; unbound, the shown position over the pixel range. */
    float GetNormalisedPosition() const;
    /** The invoker's message becomes kRunCommand with "commandname" = name. */
    void SetCommand(const char* name);
    /** The width of the text in the view's font (the widest line when it holds "\r\n"); -1 for an
        empty text or no font. */
    int32_t MeasureText(const char* text) const;

    // Invoker part --------------------------------------------------------------------------------------

    /** Nothing here: lets subclasses add items before Invoke sends. */
    virtual void AddInvokeItems(XMessage& message);
    /** Nothing here: called after every SetPot. */
    virtual void PotChanged(XParam* param);
    /** A copy of the given or the stored message (0x80000001 without one) with "source" (the control's
        handler part), "value", "normalizedValue" and "pView" (the window), sent to the target. */
    int32_t Invoke(XMessage* message = nullptr) override;

    // XView ----------------------------------------------------------------------------------------------

    void ApplyStyle() override;
    void SizeChanged(int32_t dw, int32_t dh) override;
    void ReadAttributes(XMessage& block) override;
    /** Enabled and hilited. */
    bool WantsMouse() const override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void FocusChanged(bool focused) override;
    void visibilityChanged() override;
    void paint(juce::Graphics& g) override;

    // Handler part -----------------------------------------------------------------------------------------

    void MessageReceived(XMessage& message) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    /** Any thread: the bound parameter set at once queues the control for the next refresh pass. */
    int32_t NotifyParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    friend class ControlRefreshQueue; // sets and clears refreshQueued under its lock

    void Initialise();
    void LockFeedback();
    void ReadMessageAttributes(XMessage& block);

    XSignal<uint32_t> positionSignal;
    /** Written on the GUI thread; read by NotifyParamChanged on any thread. */
    std::atomic<XParam*> boundParam{nullptr};
    int32_t drawnPosition = 0;
    int32_t shownPosition = 0;
    bool enabled = true;
    bool touch = true;
    bool softFocus = false;
    float paramDelta = 1.0f;
    bool inputDisabled = false;
    /** Read by NotifyParamChanged on any thread. */
    std::atomic<bool> outputDisabled{false};
    bool hilited = true;
    XParam* disableParam = nullptr;
    std::unique_ptr<LongArray> disableValues; // created on first use
    bool refreshQueued = false;               // guarded by the refresh queue's lock
    /** The component's visibility, mirrored on the GUI thread for NotifyParamChanged. */
    std::atomic<bool> visibleMirror{false};
};
