#pragma once

#include "device/DelayUnits.h"
#include "widgets/QM7DelayGraph.h"
#include "widgets/XSlider.h"

#include <cstdint>
#include <vector>

/** Where the delay windows' knobs and the delay scale's marks stand, for the tests that hold one
    against the other. */
namespace DelayScaleTest
{
struct Case
{
    int32_t unit;   // of the scale
    int32_t amount; // in that unit
    double ms;
};

/** The range's foot, 0, 50 m and the range's top (maxMs). */
inline std::vector<Case> Cases(double maxMs)
{
    return {{QM7DelayGraph::kUnitMs, -200, -200},
            {QM7DelayGraph::kUnitMs, 0, 0},
            {QM7DelayGraph::kUnitMeters, 50, MetersToDelayMs(50)},
            {QM7DelayGraph::kUnitMs, static_cast<int32_t>(maxMs), maxMs}};
}

/** The window column of the scale's mark of amount (in the graph's unit). */
inline int32_t MarkColumn(const QM7DelayGraph& graph, int32_t amount)
{
    return graph.GetFrame().left + graph.GetOriginX() + graph.GetOriginOffset() + graph.ToPixels(amount);
}

/** The window column of the centre of the slider's knob. */
inline int32_t KnobCentre(const XSlider& slider)
{
    const XRect knob = slider.GetKnobRect(slider.GetPosition());
    return slider.GetFrame().left + (knob.left + knob.right) / 2;
}
} // namespace DelayScaleTest
