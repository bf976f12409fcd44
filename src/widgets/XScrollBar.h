#pragma once

#include "core/GenericList.h"
#include "core/XPoint.h"
#include "gui/XControl.h"

#include <cstdint>

class XImage;
class XViewPort;

/** A scroll bar (type word "scrollbar") whose position min..max scrolls a list of view ports: each
    attached view port's offset on the bar's axis becomes minus the position. Arrows step by the
    small step, a press on the track by ten of them, both repeating faster while held (200 ms down
    to 20 ms); the thumb can be dragged. Each change sends the control's message with "final" false
    during a press, and once more with "final" true when the press ends.

    The view ports are not owned; their owner (a scroll pane, a list) attaches them and must detach
    them before they go. GUI thread only. */
class XScrollBar : public XControl
{
public:
    static constexpr int32_t kDefaultMin = 0;
    static constexpr int32_t kDefaultMax = 1000;
    static constexpr int32_t kDefaultSmallStep = 1;
    static constexpr int32_t kDefaultBigStep = 10;
    static constexpr float kDefaultThumbFraction = 0.1f;
    /** Inset of the bar's parts across the bar. */
    static constexpr int32_t kAcrossInset = 2;
    /** A computed thumb this short or shorter is drawn kMinThumbLength long. */
    static constexpr int32_t kShortThumbLimit = 11;
    static constexpr int32_t kMinThumbLength = 12;
    /** Steps per repeat for the track; 1 for the arrows. */
    static constexpr int32_t kTrackMultiplier = 10;
    /** The auto-repeat: a one-shot timer, first after kRepeatDelayMs, each next one
        kAccelerationStepMs sooner, down to kRepeatDelayMs - kMaxAccelerationMs. */
    static constexpr int32_t kRepeatTimerId = 66;
    static constexpr int32_t kRepeatDelayMs = 200;
    static constexpr int32_t kAccelerationStepMs = 20;
    static constexpr int32_t kMaxAccelerationMs = 180;

    /** Vertical, with no view ports. */
    XScrollBar();
    ~XScrollBar() override;

    /** Resets the range, steps, thumb and press state for the orientation and takes the thumb
        image of the skin; with it the bar becomes as thick as the image. */
    void SetOrientation(bool horizontal);
    bool IsHorizontal() const { return horizontal; }

    void AttachViewPort(XViewPort* viewPort);
    void DetachViewPort(XViewPort* viewPort);

    /** Limited to min..max; nothing when it is the current position. Otherwise the position is
        shown, the message sent and every view port scrolled. */
    void SetPosition(int32_t position) override;
    /** A view port scrolled itself: as SetPosition without the limit, and that view port is not
        moved again. */
    void SyncFrom(int32_t position, XViewPort* source);

    int32_t GetMin() const { return minimum; }
    int32_t GetMax() const { return maximum; }
    void SetRange(int32_t min, int32_t max);
    int32_t GetSmallStep() const { return smallStep; }
    int32_t GetBigStep() const { return bigStep; }
    void SetThumbFraction(float fraction) { thumbFraction = fraction; }

    // Geometry (own coordinates) ----------------------------------------------------------------

    XRect GetDecreaseArrowRect() const;
    XRect GetIncreaseArrowRect() const;
    XRect GetTrackRect() const;
    XRect GetThumbRect() const;
    bool IsIncreasePressed() const { return increasePressed; }
    bool IsDecreasePressed() const { return decreasePressed; }

    // XView ---------------------------------------------------------------------------------------

    /** The control's keys, then "horizontal", "min", "max", "smallstep", "bigstep"; bound to a
        parameter, max is the parameter's step count. */
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    void HandleTimer(int32_t timerId) override;

    /** An arrow square: the skin image with a thumb image, else a bevelled button with a triangle. */
    void DrawArrow(XCanvas& canvas, bool increase);

private:
    void ScrollViewPorts(int32_t position, XViewPort* except);
    /** Sends the control's message with "final". */
    void SendFinal(bool final);
    bool IsPressInProgress() const { return draggingThumb || increasePressed || decreasePressed; }
    int32_t Along(const XPoint& point) const { return horizontal ? point.x : point.y; }
    int32_t Thickness() const { return horizontal ? GetHeight() : GetWidth(); }
    int32_t ThumbLength() const;
    /** The position whose thumb starts at thumbStart (along the axis), limited to min..max. */
    int32_t PositionForThumbStart(int32_t thumbStart) const;
    /** One auto-repeat or press step; false when the part may not step. */
    bool StepPressedPart();

    XList<XViewPort> viewPorts;
    int32_t minimum = kDefaultMin;
    int32_t maximum = kDefaultMax;
    float thumbFraction = kDefaultThumbFraction;
    int32_t smallStep = kDefaultSmallStep;
    int32_t bigStep = kDefaultBigStep;
    bool horizontal = false;
    int32_t repeatMultiplier = 1;
    int32_t repeatAcceleration = 0;
    XImage* thumbImage = nullptr;
    bool noThumbImage = true;
    bool sentDuringPress = false;
    bool draggingThumb = false;
    bool increasePressed = false;
    bool decreasePressed = false;
    XPoint grabOffset;
};
