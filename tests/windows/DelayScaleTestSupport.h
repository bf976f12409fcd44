#pragma once

#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "device/DelayUnits.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/QM7DelayGraph.h"
#include "widgets/XSlider.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <vector>

/** Where the delay windows' knobs and the delay scale's marks stand, for the tests that hold one
    against the other, how far a wheel notch or a drag moves a knob, and whether the compare cover takes a
    control's clicks. */
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

/** Alt held through its on-screen parameter ("dca\\alt") while the result lives, when held is true. */
inline std::unique_ptr<FloatParam> HoldAlt(bool held)
{
    if (!held)
        return nullptr;
    std::unique_ptr<FloatParam> alt = ViewTest::MakeParam(0, 1, "alt");
    alt->SetPath("%s", "dca\\alt");
    alt->SetValue(1, false);
    return alt;
}

/** The centre of the slider's knob in the slider's own coordinates. */
inline juce::Point<int> KnobPoint(const XSlider& slider)
{
    const XRect knob = slider.GetKnobRect(slider.GetPosition());
    return {(knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2};
}

/** How far (ms, unsigned) one wheel notch over the slider's knob moves its delay: the notch is sent
    through the window's peer, with Alt held through its on-screen parameter ("dca\alt") or not. */
inline double WheelStepMs(juce::Component& window, XSlider& slider, bool altHeld)
{
    const std::unique_ptr<FloatParam> alt = HoldAlt(altHeld);
    const double before = slider.GetPot()->GetValue();
    const juce::Point<int> centre = KnobPoint(slider);
    const juce::MouseWheelDetails notch{0.0f, 1.0f, false, false, false};
    window.getPeer()->handleMouseWheel(juce::MouseInputSource::InputSourceType::mouse,
                                       window.getLocalPoint(&slider, centre).toFloat(),
                                       juce::Time::currentTimeMillis(), notch);
    ViewTest::Pump();
    const double after = slider.GetPot()->GetValue();
    return after > before ? after - before : before - after;
}

/** How far (ms, unsigned) a real drag of the slider's knob by dx pixels to the right moves its
    delay: press, four moves and a release sent through the window's peer, with Alt held through its
    on-screen parameter ("dca\alt") or not. */
inline double DragMs(juce::Component& window, XSlider& slider, int dx, bool altHeld)
{
    const std::unique_ptr<FloatParam> alt = HoldAlt(altHeld);
    const double before = slider.GetPot()->GetValue();
    const juce::Point<int> centre = KnobPoint(slider);
    const juce::ModifierKeys left(juce::ModifierKeys::leftButtonModifier);
    GuiTestSupport::PeerMouse mouse(window);
    mouse.Wait(1000);
    mouse.Send(slider, centre, {});
    mouse.Send(slider, centre, left);
    for (int step = 1; step <= 4; ++step)
        mouse.Send(slider, centre + juce::Point<int>(step * dx / 4, 0), left);
    mouse.Send(slider, centre + juce::Point<int>(dx, 0), {});
    ViewTest::Pump();
    const double after = slider.GetPot()->GetValue();
    return after > before ? after - before : before - after;
}

/** Puts the unit in compare mode (connected, not listening live) or out of it, and tells whether the
    window's compare cover is then shown over the centre of the control. */
inline bool CoverLiesOver(const juce::Component& cover, const juce::Component& control, bool compareMode)
{
    FindParam("%s", "QM7\\usbActive")->SetValue(1, true);
    FindParam("%s", "global\\ListenMode")->SetValue(compareMode ? 0 : 1, true);
    FindParam("%s", "QM7\\lockUIForEditCompare")->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    const juce::Component* parent = cover.getParentComponent();
    return parent != nullptr && cover.isVisible() &&
           cover.getBoundsInParent().contains(
               parent->getLocalPoint(&control, control.getLocalBounds().getCentre()));
}
} // namespace DelayScaleTest
