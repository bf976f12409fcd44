#pragma once

#include "core/XProperty.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/IStyledButton.h"
#include "gui/XControl.h"

#include <cstdint>

class XImage;
class XMessage;
class XParam;

/** The push button and switch: a parameter-bound control drawn by the style (XStyle::DrawButton)
    from up to three skin images or from colours and a label. A primary-button press either sends the
    control's message to its target on a release inside (unbound buttons, or buttons with a message)
    or edits the bound parameter as a momentary, match-value or stepping switch. A bound parameter
    at 2 or more makes the button blink in step with every other blinking button (XSynchBlinker).

    Images belong to the skin resource manager. GUI thread only. A button that is destroyed leaves
    the blinker's list and, when a momentary press is still open, ends the parameter's edit. */
class XButton : public XControl, public virtual IStyledButton
{
public:
    static constexpr int32_t kRepeatTimerId = 1001;
    static constexpr int32_t kRepeatPeriodMs = 200;
    static constexpr int32_t kKeyReturn = 13;

    /** "CaresAboutModifiers": a press with Alt, Ctrl or Shift only emits the modifier signals. */
    class _prop_CaresAboutModifiers final : public PropertyTyped<bool>
    {
    public:
        explicit _prop_CaresAboutModifiers(XButton* owner);
        const XPropertyInfo& GetInfo() const override;
    };
    /** "ShouldMoveWhenPressed": the drawing rectangle moves 1 pixel right and down while pressed. */
    class _prop_ShouldMoveWhenPressed final : public PropertyTyped<bool>
    {
    public:
        explicit _prop_ShouldMoveWhenPressed(XButton* owner);
        const XPropertyInfo& GetInfo() const override;
    };

    XButton();
    XButton(const XRect& frame, const char* name);
    /** Images by name; the label is empty. */
    XButton(const char* mainImage, const char* secondImage, const XRect& frame);
    XButton(const XRect& frame, const char* label, const char* mainImage, const char* secondImage,
            const char* thirdImage);
    /** A click runs the named command (message kRunCommand with "commandname"). */
    XButton(const XRect& frame, const char* name, const char* commandName, const char* mainImage,
            const char* secondImage, const char* thirdImage);
    /** Bound to param (may be null): main image, lit image and, when given, a pressed image and a
        comma-separated style word list ("momentary", "noFocus", "repeatClick"). */
    XButton(const XRect& frame, XParam* param, const char* mainImage, const char* litImage,
            const char* pressedImage = nullptr, const char* style = nullptr);
    ~XButton() override;

    /** The "XButton" table: CaresAboutModifiers, ShouldMoveWhenPressed. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    /** Looks each non-empty name up in the skin; a found main image sizes the frame to it. */
    void SetImage(const char* mainImage, const char* secondImage, const char* thirdImage);

    bool GetCaresAboutModifiers() const { return caresAboutModifiers.Get(); }
    void SetCaresAboutModifiers(bool cares) { caresAboutModifiers.Set(cares); }
    bool GetShouldMoveWhenPressed() const { return shouldMoveWhenPressed.Get(); }
    void SetShouldMoveWhenPressed(bool move) { shouldMoveWhenPressed.Set(move); }

    bool IsPressed() const { return pressed; }
    bool IsMomentary() const { return momentary; }
    void SetMomentary(bool isMomentary) { momentary = isMomentary; }
    bool IsRepeatClick() const { return repeatClick; }
    void SetRepeatClick(bool repeat) { repeatClick = repeat; }
    bool IsNoFocus() const { return noFocus; }
    void SetNoFocus(bool none) { noFocus = none; }
    bool DoesntLightUp() const { return doesntLightUp; }
    void SetDoesntLightUp(bool doesnt) { doesntLightUp = doesnt; }
    bool GetDrawLabel() const { return drawLabel; }
    void SetDrawLabel(bool draw) { drawLabel = draw; }
    bool IsMatchMode() const { return matchMode; }
    bool IsBlinking() const { return blinking; }

    /** Reads "momentary", "noFocus" and "repeatClick" from a comma-separated list, in any case. */
    void ApplyStyleWords(const XString& words);

    // Signals ------------------------------------------------------------------------------------------

    XSignal<>& GetPressStartedSignal() { return pressStartedSignal; }
    XSignal<>& GetReleasedSignal() { return releasedSignal; }
    XSignal<>& GetClickedSignal() { return clickedSignal; }
    XSignal<>& GetDoubleClickedSignal() { return doubleClickedSignal; }
    XSignal<>& GetCtrlClickedSignal() { return ctrlClickedSignal; }
    XSignal<>& GetAltClickedSignal() { return altClickedSignal; }
    XSignal<>& GetShiftClickedSignal() { return shiftClickedSignal; }

    // Button operations ---------------------------------------------------------------------------------

    /** Width of the label in the view's font + 16, font height + 8; 0, 0 without a font. */
    virtual void GetPreferredSize(int32_t& width, int32_t& height);
    /** Blinking: the blinker's phase; else position != 0; in match mode position == match value. */
    virtual bool IsLit(int32_t position) const;
    /** Stores the value and mode; on: a bound parameter sets the position, blinking stops. */
    virtual void SetMatchMode(bool on, float value);
    virtual void SetMatchValue(float value) { SetMatchMode(true, value); }
    virtual float GetMatchValue() const { return matchValue; }
    /** The lit label: the text translated through the view's menu-label section. */
    virtual void SetLitLabel(const XString& text);
    virtual XString GetLitLabel() const { return litLabel; }
    virtual XImage* GetImage() const override { return mainImage; }
    virtual XImage* GetImage2() const override { return secondImage; }
    virtual XImage* GetImage3() const override { return thirdImage; }
    /** The view bounds. */
    virtual XRect GetDrawFrame() const;
    XRect GetLabelRect() const override;
    virtual void SetLabelRect(const XRect& rect) { labelRect = rect; }
    virtual void StartBlinking();
    virtual void StopBlinking();

    // IStyledButton --------------------------------------------------------------------------------------

    bool IsDisabledByParam() const override { return XControl::IsDisabledByParam(); }
    XString GetLabelFor(bool lit) const override;
    XRGB GetFaceColor(bool lit) const override { return lit ? litColor : dimColor; }
    XRGB GetLabelColor(bool lit) const override { return lit ? litTextColor : textColorNormal; }

    void SetLitColor(const XRGB& colour) { litColor = colour; }
    void SetDimColor(const XRGB& colour) { dimColor = colour; }
    void SetLitTextColor(const XRGB& colour) { litTextColor = colour; }
    void SetNormalTextColor(const XRGB& colour) { textColorNormal = colour; }

    // XControl / XView ----------------------------------------------------------------------------------

    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void SetPosition(int32_t position) override;
    void SetControlEnabled(bool enabled) override;
    int32_t GetPixelRange() const override;
    void HandleTimer(int32_t timerId) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    /** Draws background and the style's face; subclasses pass the rectangle and states on. */
    virtual void DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook);
    /** The rectangle, lit state and pressed look that Draw uses. */
    void ComputeDrawState(XRect& rect, bool& lit, bool& pressedLook) const;
    /** Sizes the frame to the main image (right = left + width, bottom = top + height). */
    void SizeFrameToImage();
    /** Ends a momentary edit that is still open: the parameter back to 0 and the edit ended. */
    void FinishParamPress();

private:
    void Initialise();
    bool IsInside(const XPoint& point) const;

    _prop_CaresAboutModifiers caresAboutModifiers;
    _prop_ShouldMoveWhenPressed shouldMoveWhenPressed;
    XSignal<> pressStartedSignal;
    XSignal<> releasedSignal;
    XSignal<> clickedSignal;
    XSignal<> doubleClickedSignal;
    XSignal<> ctrlClickedSignal;
    XSignal<> altClickedSignal;
    XSignal<> shiftClickedSignal;
    float matchValue = 0.0f;
    bool pressed = false;
    bool momentary = false;
    bool doesntLightUp = false;
    bool matchMode = false;
    bool noFocus = false;
    bool repeatClick = false;
    /** A bound press began an edit that its release has not ended yet. */
    bool paramEditOpen = false;
    XRGB litColor{180, 180, 230, 255};
    XRGB dimColor{180, 180, 180, 255};
    XRGB litTextColor{0, 0, 0, 255};
    XRGB textColorNormal{0, 0, 0, 255};
    XImage* mainImage = nullptr;
    XImage* secondImage = nullptr;
    XImage* thirdImage = nullptr;
    bool drawLabel = true;
    int32_t pressButton = 0;
    XString litLabel;
    bool blinking = false;
    XRect labelRect{0, 0, 0, 0};
};
