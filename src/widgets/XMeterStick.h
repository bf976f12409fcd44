#pragma once

#include "widgets/XFaderBar.h"

class XParam;

/** A fader bar used as a level meter: it ignores presses and the wheel (the slider's keys still
    step its parameter while it has the focus), can show its value inverted ("inverseValue"), and
    draws a one-pixel peak mark for a second parameter while the global parameter
    "gui\meters\Peak Hold" is on.

    The peak parameter and the Peak Hold parameter are watched, not owned; a meter forgets either
    when it is destroyed. GUI thread only. */
class XMeterStick : public XFaderBar
{
public:
    static constexpr const char* kPeakHoldParamPath = "gui\\meters\\Peak Hold";
    /** Brightness of the mark's ends, percent. */
    static constexpr int kPeakEndPercent = 75;
    /** The mark's full colour starts this far in from each end. */
    static constexpr int32_t kPeakEndLength = 2;

    XMeterStick();
    XMeterStick(const XRect& frame, XParam* param, const XRGB& foreColour, const XRGB& backColour);
    XMeterStick(const XRect& frame, XParam* param, const char* trackImage, const char* knobImage);

    XParam* GetPeakParam() const { return peakParam; }
    /** Stops watching the previous peak parameter and watches this one (null: no peak mark). */
    void SetPeakParam(XParam* param);
    const XRGB& GetPeakColor() const { return peakColor; }
    void SetPeakColor(const XRGB& colour) { peakColor = colour; }
    bool IsInverseValue() const { return inverseValue; }
    void SetInverseValue(bool inverse) { inverseValue = inverse; }
    int32_t GetLastPeakPosition() const { return lastPeakPosition; }
    /** The one-pixel mark for a pixel position. */
    XRect GetPeakRect(int32_t position) const;

    /** Without inverse value as XControl; with it the position of 1 - the normalised value. */
    int32_t ValueToPosition(XParam* param) const override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    /** Nothing: a meter does not start drags. */
    bool MouseDown(const XPoint& point, int32_t button) override;
    /** Nothing: a meter is not turned by the wheel. */
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    /** "gui\meters\Peak Hold", looked up until found and then kept (and watched for its end). */
    XParam* PeakHoldParam();
    /** Whether the parameter is watched for another role and must stay watched. */
    bool WatchedOtherwise(XParam* param) const;

    XRGB peakColor{0, 0, 0, 255};
    int32_t lastPeakPosition = 0;
    XParam* peakParam = nullptr;
    XParam* peakHoldParam = nullptr;
    bool inverseValue = false;
};
