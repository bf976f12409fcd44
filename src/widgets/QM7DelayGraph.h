#pragma once

#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>

class XParam;

/** The delay scale above the delay windows' sliders: a white line at delay 0, grid lines at fixed
    steps of the delay unit chosen by a units parameter (0 ms, 1 us, 2 ft, 3 in, 4 m, 5 cm) and every
    second step labelled with its amount and the unit. Distances become times at the current air
    temperature ("global\temp"), so the scale redraws when the unit or the temperature changes.

    The owner sets the origin offset and the scale (milliseconds per pixel = value / divisor) before
    the graph is drawn; while the scale gives no usable distance, or the unit is not one of the six,
    nothing of the scale is drawn. Transparent; the parameters are watched, not owned. GUI thread. */
class QM7DelayGraph : public XView
{
public:
    static constexpr int32_t kUnitMs = 0;
    static constexpr int32_t kUnitUs = 1;
    static constexpr int32_t kUnitFeet = 2;
    static constexpr int32_t kUnitInches = 3;
    static constexpr int32_t kUnitMeters = 4;
    static constexpr int32_t kUnitCentimeters = 5;
    /** Watcher keys of the units and the temperature parameter. */
    static constexpr int32_t kUnitsKey = static_cast<int32_t>(FourCharCode("dlun"));
    static constexpr int32_t kTemperatureKey = static_cast<int32_t>(FourCharCode("tpch"));
    static constexpr const char* kTemperaturePath = "global\\temp";
    /** Lines and texts start this far down; texts lie between these rows. */
    static constexpr int32_t kGridTop = 24;
    static constexpr int32_t kTextTop = 5;
    static constexpr int32_t kTextBottom = 20;
    /** Half the width of the "0" label's box. */
    static constexpr int32_t kZeroLabelHalfWidth = 25;

    /** The graph on the frame with delay 0 at column originX; watches unitsParam (may be null) and,
        when it exists, "global\temp". */
    QM7DelayGraph(const XRect& frame, int32_t originX, XParam* unitsParam);
    ~QM7DelayGraph() override;

    /** Moves delay 0 right by offset pixels from the construction's origin. */
    void SetOriginOffset(int32_t offset);
    /** The scale: value / divisor milliseconds per pixel. */
    void SetScale(int32_t divisor, double value);
    /** The construction's column of delay 0; the scale draws it at GetOriginX() + GetOriginOffset(). */
    int32_t GetOriginX() const { return originX; }
    int32_t GetOriginOffset() const { return originOffset; }
    int32_t GetScaleDivisor() const { return scaleDivisor; }
    double GetScaleValue() const { return scaleValue; }

    /** The units parameter's value (truncated); 0 without one. */
    int32_t GetUnit() const;
    /** "ms", "us", "ft", "in", "m", "cm"; "---" for any other unit. */
    static XString GetUnitName(int32_t unit);
    /** The grid step in the current unit: 100000 us, 1000 in, 25 m, 2500 cm, else 100. */
    int32_t GetGridStep() const;
    /** The pixel distance of an amount of the current unit (truncated); 0 for an unknown unit or while
        the scale gives no distance. */
    int32_t ToPixels(int32_t amount) const;

    /** The view's drawing, then the scale. */
    void Draw(XCanvas& canvas) override;
    /** A value change of either parameter repaints the graph; a destroyed one is forgotten. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    void DrawScale(XCanvas& canvas);
    /** Draws the grid lines from k = 1 (or -1) outwards while they lie in 0 .. width - 1 and move. */
    void DrawGridRun(XCanvas& canvas, int32_t direction, int32_t x0, int32_t step, int32_t width,
                     int32_t height);
    /** Draws the labels of every second step from 2 (or -2) outwards while they fit and move. */
    void DrawLabelRun(XCanvas& canvas, int32_t direction, int32_t x0, int32_t step, int32_t width);

    int32_t originX;
    int32_t originOffset = 0;
    XParam* unitsParam;                 // watched, not owned; null once destroyed
    XParam* temperatureParam = nullptr; // watched, not owned; null once destroyed
    int32_t scaleDivisor = 0;
    double scaleValue = 0.0;
};
