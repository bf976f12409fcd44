#pragma once

#include "core/XRGB.h"
#include "widgets/XSlider.h"

#include <cstdint>

/** A slider drawn as a bar that fills up to its value: from the low end, from the centre outwards
    in either direction ("posNegDraw"), shrinking towards the centre ("growFromCenter"), from the
    far end ("inverted"), or as a plain slider ("panning"). It paints flat colours, or cuts the
    unfilled part out of the track image and the fill out of the knob image (both the view's size)
    with an optional nub image at the fill's edge. A "sunken" bar keeps a bevel of the effect size
    round an inner rectangle that all its parts are built from.

    A value change repaints only the band between the old and new fill edge (the whole bar in the
    two centred modes). Images belong to the skin resource manager. GUI thread only. */
class XFaderBar : public XSlider
{
public:
    /** Draw modes ("style" keywords). */
    static constexpr int32_t kModeNormal = 0;
    static constexpr int32_t kModePosNeg = 1;
    static constexpr int32_t kModeGrowFromCenter = 2;
    static constexpr int32_t kModeInverted = 3;
    static constexpr int32_t kModePanning = 4;
    static constexpr int16_t kDefaultEffectSize = 4;

    XFaderBar();

    int32_t GetDrawMode() const { return drawMode; }
    void SetDrawMode(int32_t mode);
    bool IsSunken() const { return sunken; }
    void SetSunken(bool isSunken, int16_t size);
    int16_t GetEffectSize() const { return effectSize; }
    const XRGB& GetEffectColor() const { return effectColor; }
    const XRGB& GetHiliteColor() const { return hiliteColor; }
    void SetHiliteColor(const XRGB& colour) { hiliteColor = colour; }
    bool IsDashed() const { return dashed; }
    const XRGB& GetDashColor() const { return dashColor; }
    XImage* GetNubImage() const { return nubImage; }

    /** The bounds, inset by the effect size when sunken. */
    XRect GetInnerRect() const;
    /** The filled part of the inner rectangle for a pixel position. */
    virtual XRect GetFillRect(int32_t position) const;
    /** The nub image's place for a pixel position, centred on the fill's moving edge. */
    XRect GetNubRect(int32_t position) const;

    /** The inner length along the bar, 2 less with simplerender; never below 0. */
    int32_t GetPixelRange() const override;
    int32_t PointToPosition(const XPoint& point) override;
    /** The slider's value, reversed in "inverted" mode. */
    float PointToNormalised(const XPoint& point) override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;

protected:
    void RepaintPositionChange(int32_t oldPosition, int32_t newPosition) override;
    /** True when the bar is drawn from its two images. */
    bool DrawsImages() const;

private:
    void DrawColours(XCanvas& canvas, const XRect& fill, const XRect& inner);
    void DrawImages(XCanvas& canvas, const XRect& fill, const XRect& inner);
    /** The coordinate of the fill's moving edge along the bar for a pixel position. */
    int32_t FillEdge(int32_t position) const;

    XRGB effectColor{0, 0, 0, 255};
    bool sunken = false;
    int16_t effectSize = kDefaultEffectSize;
    int32_t drawMode = kModeNormal;
    XRGB hiliteColor{0, 0, 0, 255};
    bool dashed = false;
    XRGB dashColor{0, 0, 0, 255};
    XImage* nubImage = nullptr;
};
