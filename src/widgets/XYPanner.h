#pragma once

#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XString.h"
#include "gui/XControl.h"

#include <cstdint>
#include <memory>
#include <vector>

class XCanvas;
class XImage;
class XParam;

/** One source of a panner: the x and y parameters it shows, its look, and the state it was last
    drawn in next to the state it is to be drawn in. The parameters and the image are not owned. */
struct PannerBall
{
    /** What a ball looks like at one moment: its rectangle, its label and its fill colour. */
    struct State
    {
        XRect rect;
        XString name;
        XRGB colour1{0, 0, 0, 255};

        bool operator==(const State& other) const
        {
            return rect == other.rect && name == other.name && colour1 == other.colour1;
        }
        bool operator!=(const State& other) const { return !(*this == other); }
    };

    XParam* xParam = nullptr;
    XParam* yParam = nullptr;
    XImage* image = nullptr;
    int32_t size = 0;
    /** The label's colour. */
    XRGB colour2{0, 0, 0, 255};
    State drawn;
    State next;

    /** Whether the next state differs from the drawn one in rectangle, name or colour. */
    bool HasChanged() const { return next != drawn; }
};

/** A plane in which each ball is placed by two parameters (type word "xypanner"): x grows to the
    right from the left edge, y upwards from the bottom edge. Dragging a ball sets its parameters;
    the ball whose parameters changed last draws crosshairs through its centre. Without a background
    image the view draws its centre lines in its back colour darkened.

    The balls belong to the panner; their parameters and images do not (images belong to the skin
    resource manager). Every ball's parameters are watched until the panner goes. GUI thread only. */
class XYPanner : public XControl
{
public:
    /** Ball size when the description gives none that is positive. */
    static constexpr int32_t kDefaultBallSize = 6;
    /** How far the centre lines are darker than the back colour, per colour byte. */
    static constexpr uint8_t kCentreLineDarkening = 50;
    /** Labels are drawn only into balls wider than this. */
    static constexpr int32_t kMinLabelledBallWidth = 9;

    /** Registers "xypanner" and "surroundpanner" with the view class factory. */
    static void RegisterViewTypes();

    /** The colour with each of red, green and blue lowered by 50, or by the smallest of the three
        when that is below 50, so that none goes below 0; alpha unchanged. */
    static XRGB DarkenedColour(const XRGB& colour);

    XYPanner();
    /** Stops watching every ball's parameters, then frees the balls. */
    ~XYPanner() override;

    int32_t GetBallCount() const { return static_cast<int32_t>(balls.size()); }
    /** The ball at index; null outside the list. */
    const PannerBall* GetBall(int32_t index) const;
    int32_t GetCurrentBall() const { return currentBall; }
    int32_t GetGrabbedBall() const { return grabbedBall; }
    bool HasCrosshairs() const { return crosshairs; }
    bool HasLabels() const { return labels; }
    XImage* GetBackgroundImage() const { return backgroundImage; }

    /** Sets the ball's next rectangle from its two parameters; an index outside the list, or a
        parameter whose range is empty or whose maximum is 0, leaves the rectangle as it is. */
    void UpdateBall(int32_t index);

    /** The x parameter of the current ball (the first ball's while none is current); null when the
        list holds no such ball. */
    virtual XParam* GetParam() const;

    // XControl and XView -------------------------------------------------------------------------

    /** The control's adjustment, then every ball moved in list order; the last ball is current. */
    void ApplyStyle() override;
    /** The control's adjustment of the size, then every ball moved to its place in the new size. */
    void SizeChanged(int32_t dw, int32_t dh) override;
    /** The control's keys, then "imagename", "ballheight" and the indexed ball keys "xparam",
        "yparam", "ballimage", "ballName", "color1", "color2"; "style" words "nocrosshairs" and
        "nolabels". */
    void ReadAttributes(XMessage& block) override;
    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    /** GetParam: the panner answers the view's parameter query with it. */
    XParam* GetPot() const override { return GetParam(); }
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;

    /** Erases the view in its back colour, then draws the background image or the centre lines. */
    virtual void DrawBackground(XCanvas& canvas);

    // Handler part -------------------------------------------------------------------------------

    /** A value change of a ball's parameter (key = ball index + 1) makes that ball current and
        moves it; anything else goes to the control. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    /** The ball at index for changes; null outside the list. */
    PannerBall* BallAt(int32_t index);

private:
    /** Sets the grabbed ball's parameters from a point of the view, clamped into the bounds; an axis
        is set only when the point moved along it since the last mouse point, unless force. */
    void SetParamsFromPoint(const XPoint& point, bool force);
    /** Repaints the ball's old and new places when it changed (the crosshair strips through them
        when crosshairs are on). */
    void RepaintMovedBall(const PannerBall& ball);
    /** Repaints the crosshair strips through the ball's drawn place (a ball that stops being current). */
    void RepaintCrosshairs(int32_t index);
    /** Opens the edit of the grabbed ball's parameters, closing an open one first. */
    void BeginEdits(PannerBall& ball);
    void EndEdits();
    /** Makes the panner its window's current control, or gives that slot back. */
    void TakeWindowControl();
    void ReleaseWindowControl();

    XImage* backgroundImage = nullptr;
    std::vector<std::unique_ptr<PannerBall>> balls;
    XPoint lastMousePoint;
    int32_t grabbedBall = -1;
    int32_t currentBall = 0;
    bool crosshairs = true;
    bool labels = true;
    bool capturing = false;
    /** The parameters whose edit a drag opened; closed when the drag ends. */
    XParam* editedX = nullptr;
    XParam* editedY = nullptr;
};
