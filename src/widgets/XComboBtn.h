#pragma once

#include "core/XMessageCodes.h"
#include "core/XString.h"
#include "gui/XButton.h"

#include <cstdint>

class XParam;

/** The spinner of a combo box (XComboBox): a button whose upper half steps the box's parameter up
    and lower half steps it down, repeating with growing steps while it is held, and that shows the
    lock texts of its parameter ("Current Preset is Locked", "This Parameter is Locked") and takes
    no mouse while locked.

    The button is not bound to the parameter (a click must not toggle it); it watches it for the
    lock messages and forgets it when it is destroyed. Its main image is the spinner; while pressed
    it shows the up or the down image. GUI thread only. */
class XComboBtn : public XButton
{
public:
    /** The repeat timer while the button is held. */
    static constexpr int32_t kSpinTimerId = static_cast<int32_t>(FourCharCode("spin"));
    static constexpr int32_t kSpinPeriodMs = 100;
    /** A frequency parameter repeats in steps of its value / this (at least 1) when the button's
        match value is set. */
    static constexpr int32_t kFrequencyStepDivisor = 200;

    XComboBtn(const XRect& frame, const char* image, const char* upImage, const char* downImage,
              XParam* param);
    ~XComboBtn() override;

    XParam* GetParam() const { return param; }
    /** True: a step adds to the value and clamps it to the range; false (the default): a step moves
        by the parameter's own steps. */
    void SetDirectStep(bool direct) { directStep = direct; }
    bool IsDirectStep() const { return directStep; }
    /** Whether the last press was in the upper half. */
    bool IsUp() const { return up; }
    /** Timer ticks since the last press. */
    int32_t GetRepeatCount() const { return repeatCount; }

    /** Steps the parameter by delta: added and clamped in direct-step mode; else by the parameter's
        steps, and when that changes nothing, a step down sets the minimum and a step up from the
        minimum takes the first value index that gives another value (none: nothing). */
    void Step(int32_t delta);
    /** The step of repeat tick n (1 the first tick after the press) with base step b: none before
        tick 7; 1 at tick 9; 1 on the even ticks 12..16; b on ticks 18..23; then 2b from 24, 3b from 32,
        4b from 40, 8b from 48 and 16b from 60. */
    static int32_t RepeatStep(int32_t tick, int32_t baseStep);

    /** Ignored while another view holds the mouse; else the button's press, then a step up in the
        upper half (above half the height) or down in the lower half, repeated on a 100 ms timer. */
    bool MouseDown(const XPoint& point, int32_t button) override;
    /** Stops the repeat, then the button's release. */
    bool MouseUp(const XPoint& point, int32_t button) override;
    void HandleTimer(int32_t timerId) override;
    /** kParamFlagsChanged and kRefresh of its parameter update the lock texts; the rest goes to the button.
     */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    void ShowLockState();
    /** 1, or value / 200 (at least 1) for a frequency parameter when the match value is set. */
    int32_t BaseStep() const;

    bool up = false;
    XString upImage;
    XString downImage;
    XParam* param; // watched, not owned; null once destroyed
    bool directStep = false;
    /** The height at construction: the press's half is taken from it. */
    int32_t referenceHeight;
    int32_t repeatCount = 0;
};
