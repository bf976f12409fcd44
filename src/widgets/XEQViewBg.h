#pragma once

#include "core/XRect.h"
#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>

class XCanvas;

/** The background drawn behind an EQ curve view: vertical lines of a logarithmic frequency grid from
    20 Hz to 20 kHz (brighter at 100 Hz, 1 kHz and 10 kHz) and the frequency labels 20, 50, 100 ... 20k in
    a band below the graph. It uses the same axis as XEQView's inner rectangle, so a view of the same
    frame lines up with it. Transparent; draws nothing else. GUI thread only. */
class XEQViewBg : public XView
{
public:
    static constexpr double kMinFrequency = 20.0;
    static constexpr double kMaxFrequency = 20000.0;
    /** The label band starts this far below the graph and is this high. */
    static constexpr int32_t kLabelGap = 4;
    static constexpr int32_t kLabelHeight = 24;

    /** frame is the graph's frame in the parent; the view grows downward by kLabelHeight so that the
        labels lie inside it. */
    explicit XEQViewBg(const XRect& frame);

    /** The label band, top and bottom given in the parent's coordinates. */
    void SetLabelBand(int32_t top, int32_t bottom);
    void OffsetLabelBand(int32_t dy);
    /** The label band in view coordinates (left and right 0). */
    XRect GetLabelBand() const { return labelBand; }
    XRect GetGraphFrame() const { return graphFrame; }

    /** The x of a frequency: 20 Hz at 2, 20 kHz at width - 2, rounded to the nearest pixel. */
    int32_t FrequencyToX(double frequency) const;
    /** The next grid line: steps of 10 Hz below 100 Hz, 100 Hz below 1 kHz, 1 kHz below 10 kHz, else 10 kHz.
     */
    static double NextGridFrequency(double frequency);
    /** "20", "50", "1k", "10k" ...: the label of a grid frequency, empty unless it starts with 1, 2 or 5. */
    static XString FrequencyLabel(double frequency);

    /** Where a label of that width is drawn for a grid line at x: centred on it in the label band, moved
        inside the view where it would stick out at either side. */
    XRect LabelRect(int32_t x, int32_t width) const;

    void Draw(XCanvas& canvas) override;
    void DrawGrid(XCanvas& canvas);

private:
    double minFrequency = kMinFrequency;
    double maxFrequency = kMaxFrequency;
    XRect labelBand;
    XRect graphFrame;
};
