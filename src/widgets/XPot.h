#pragma once

#include "core/ObjectArray.h"
#include "core/XPoint.h"
#include "core/XSignal.h"
#include "gui/IStyledPot.h"
#include "gui/XControl.h"
#include "widgets/DragCapture.h"

#include <cstdint>
#include <memory>

class XImage;

/** The rotary knob: shows its bound parameter as a frame of an image strip, or through the style's
    DrawPot without images, and edits it by dragging (horizontally or vertically, whichever moves
    more), the arrow and page keys and XControl's wheel. A click posts 1004005 to the application.
    With "simButton" the pot is a momentary button that sends its message on press and release.

    The position is an angle in degrees, 22 at the lowest step to 338 at the highest. All pots share
    one last-pointer position for drag deltas (only one drag runs at a time). Strip images belong to
    the skin resource manager; the simButton image is the pot's own. GUI thread only. */
class XPot : public XControl, public IStyledPot
{
public:
    /** Posted to the application by a click: "param" and "pView" pointer items. */
    static constexpr uint32_t kPotClickedMessage = 1004005;
    /** The knob's sweep: from kStartDegrees over kSweepDegrees. */
    static constexpr double kStartDegrees = 22.0;
    static constexpr double kSweepDegrees = 316.0;
    /** Pot types ("type"). */
    static constexpr int32_t kTypeNormal = 0;
    static constexpr int32_t kTypePan = 1;
    static constexpr int32_t kTypeFan = 2;
    /** Steps per pixel of drag, normally and with the fine-wheel modifier. */
    static constexpr float kDragFactor = 2.0f;
    static constexpr float kFineDragFactor = 0.5f;
    /** The pressed look of a simButton without its own image moves the picture by this much. */
    static constexpr int32_t kPressedOffset = 4;

    XPot();
    ~XPot() override;

    /** The strip (not owned): frames in order, as "imagename" or "imageArrayBase" fill it. */
    const ObjectArray<XImage>& GetStrip() const { return strip; }
    /** Emitted by MoveBy with the change of the position. */
    XSignal<int32_t>& GetValueSignal() { return valueSignal; }
    int32_t GetLastChange() const { return lastChange; }
    /** The strip frame shown for the current value (see Draw); -1 without strip images. */
    int32_t GetStripFrame() const;

    // Read by the style's DrawPot, in slot order ------------------------------------------------------

    virtual bool IsStripReversed() const;
    virtual int32_t GetRadius() const;
    virtual bool IsSimButton() const;
    virtual bool IsTracking() const;
    virtual bool ShowsValueText() const;
    bool DrawsLine() const override;
    virtual XPoint GetCenter() const;
    virtual int32_t GetPotType() const;
    virtual void SetPotType(int32_t type);
    virtual int32_t GetFirstStripFrame() const;

    // XControl and XView ----------------------------------------------------------------------------

    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    bool Click(const XPoint& point) override;
    /** XControl's move; a change of the position is signalled and kept as the last change. */
    void MoveBy(int32_t steps) override;
    /** Twice the height. */
    int32_t GetPixelRange() const override;
    /** The angle of the parameter's step: 22 + 316 x step / (count - 1); 0 without a parameter. */
    int32_t ValueToPosition(XParam* param) const override;

private:
    bool ButtonMouseDown(const XPoint& point, int32_t button);
    bool ButtonMouseUp(const XPoint& point, int32_t button);
    /** The parameter's step as a share 0..1 of its steps; -1 without a parameter of two steps. */
    double StepShare() const;

    XSignal<int32_t> valueSignal;
    ObjectArray<XImage> strip;
    XPoint center;
    int16_t radius = 0;
    XPoint pressPoint;
    bool tracking = false;
    bool valueText = false;
    bool line = true;
    /** The window capture of a fine drag, and the pointer the drag hides. */
    DragCapture capture{*this};
    bool simButton = false;
    std::unique_ptr<XImage> simButtonImage;
    int32_t potType = kTypeNormal;
    bool pointerHidden = false;
    int32_t lastChange = 0;
    /** The part of a drag's step value below one whole step, carried to the next move. */
    float carriedSteps = 0.0f;
};
