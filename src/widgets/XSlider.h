#pragma once

#include "core/XPoint.h"
#include "core/XProperty.h"
#include "core/XRect.h"
#include "core/XSignal.h"
#include "gui/IStyledSlider.h"
#include "gui/XControl.h"
#include "widgets/DragCapture.h"

#include <cstdint>

class XClassPropertyTable;
class XImage;

/** The linear slider: a track and a knob that shows and edits the bound parameter. A slider whose
    frame is taller than wide is vertical (position 0 at the bottom), any other horizontal (position
    0 at the left). The knob is dragged absolutely, or relatively with the fine-wheel modifier; a
    press on the track jumps there unless OnlyHandleKnobInput is set; the arrow and page keys step
    the parameter and the wheel is XControl's. A drag hides the pointer and puts it back over the
    knob at the release. Drawing goes through the style's DrawSlider.

    A value change repaints only the old and the new knob rectangle. Images belong to the skin
    resource manager; the slider only holds them. GUI thread only. */
class XSlider : public XControl, public IStyledSlider
{
public:
    /** Knob length of a slider without a knob image (horizontal), and the vertical default share. */
    static constexpr int32_t kDefaultKnobWidth = 15;
    static constexpr int32_t kThumbHeightDivisor = 4;

    /** "OnlyHandleKnobInput": a press off the knob is ignored. */
    class _prop_OnlyHandleKnobInput final : public PropertyTyped<bool>
    {
    public:
        explicit _prop_OnlyHandleKnobInput(XSlider* owner);
        const XPropertyInfo& GetInfo() const override;
    };

    XSlider();
    /** Sets the transparent flag and looks both images up by name (the knob is also the normal knob). */
    XSlider(const XRect& frame, const char* label, bool transparent, const char* trackImage,
            const char* knobImage);
    /** A slider destroyed during a drag shows the pointer again and ends the parameter's edit. */
    ~XSlider() override;

    /** The "XSlider" table: OnlyHandleKnobInput. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    /** Look the image up by name and store it; the image found (or null) is returned. */
    XImage* SetTrackImage(const char* name);
    XImage* SetKnobImage(const char* name);
    XImage* SetFocusKnobImage(const char* name);

    bool GetOnlyHandleKnobInput() const { return onlyHandleKnobInput.Get(); }
    void SetOnlyHandleKnobInput(bool only) { onlyHandleKnobInput.Set(only); }
    /** True when the frame is taller than wide. */
    bool IsVertical() const;
    /** The knob's rectangle in view coordinates for a pixel position. */
    XRect GetKnobRect(int32_t position) const;
    bool IsDragging() const { return dragging; }
    bool DrawsText() const { return drawText; }
    bool IsSimpleRender() const { return simpleRender; }
    const XRect& GetTextRect() const { return textRect; }
    int32_t GetKnobOffset() const { return knobOffset; }
    int32_t GetThumbHeight() const { return thumbHeight; }

    /** Emitted when a drag or a key step starts, and when it ends. */
    XSignal<>& GetBeginEditSignal() { return beginEditSignal; }
    XSignal<>& GetEndEditSignal() { return endEditSignal; }

    /** The pixel position whose knob is centred on the point (0 when hidden, unbound or outside). */
    virtual int32_t PointToPosition(const XPoint& point);
    /** The normalised value 0..1 under a point. */
    virtual float PointToNormalised(const XPoint& point);

    // IStyledSlider ---------------------------------------------------------------------------------

    XImage* GetTrackImage() const override { return trackImage; }
    XImage* GetKnobImage() const override { return knobImage; }
    XImage* GetPressedKnobImage() const override { return pressedKnobImage; }

    // XControl and XView ----------------------------------------------------------------------------

    /** Track length minus knob length, never below 0. */
    int32_t GetPixelRange() const override;
    /** Shows the position, repainting only what the move changes (RepaintPositionChange). */
    void SetPosition(int32_t position) override;
    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    void FocusChanged(bool focused) override;
    /** Ignored while SetPosition narrows its repaint to the parts that change. */
    void RepaintRect(const XRect& rect) override;

protected:
    /** Repaints what a move of the drawn position from oldPosition to newPosition changes: the
        union of the two knob rectangles. */
    virtual void RepaintPositionChange(int32_t oldPosition, int32_t newPosition);
    /** The knob rectangle's length along the track at position 0 (height or width). */
    int32_t GetKnobLength() const;
    /** Height for a vertical slider, width for a horizontal one. */
    int32_t GetTrackLength() const;
    void SetSimpleRender(bool simple) { simpleRender = simple; }
    void SetTrackImage(XImage* image) { trackImage = image; }
    void SetKnobImage(XImage* image) { knobImage = image; }

private:
    void Initialise();
    /** Applies a relative move of delta pixels (up and right positive) scaled by factor. */
    void MoveRelative(int32_t delta, float factor);

    _prop_OnlyHandleKnobInput onlyHandleKnobInput;
    XSignal<> beginEditSignal;
    XSignal<> endEditSignal;
    bool dragging = false;
    bool moved = false;
    bool drawText = false;
    bool simpleRender = false;
    /** Set while SetPosition runs XControl's, whose whole-view repaint is narrowed here. */
    bool narrowingRepaint = false;
    XRect textRect;
    XPoint lastPoint;
    XPoint pressPoint;
    XImage* trackImage = nullptr;
    XImage* knobImage = nullptr;
    XImage* focusKnobImage = nullptr;
    XImage* normalKnobImage = nullptr;
    XImage* pressedKnobImage = nullptr;
    /** The window capture of a fine drag, and the pointer the drag hides. */
    DragCapture capture{*this};
    int32_t knobOffset = 0;
    /** 0 until first used: then a quarter of the height. */
    mutable int32_t thumbHeight = 0;
};
