// Time of one mouse move of a band drag in the EQ view: the view changes the band's gain and frequency,
// recomputes that band's row and adds it to the cached sum of the others. Printed per move for a view of
// 6 bands (an output's parametric bands and crossover) and one of 90 bands, at two widths.

#include "../tests/widgets/EQViewTestSupport.h"
#include "core/FloatParam.h"
#include "core/XParam.h"
#include "platform/PlatformClock.h"
#include "widgets/XEQView.h"

#include <cstdio>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

namespace
{
constexpr int kMoves = 2000;

void MeasureDrag(int bandCount, int width, int height)
{
    XEQView view(XRect(0, 0, width, height));
    EQViewTest::Bands bands(bandCount);
    bands.BindTo(view);
    for (int band = 0; band < bandCount; ++band)
        bands[band].Set(band % 3, static_cast<double>(band % 7) - 3.0, 30.0 * (1 + band * 7 % 600), 1.4);
    view.UpdateCurves();

    const XRect ball = view.BallRect(0);
    const XPoint start((ball.left + ball.right) / 2, (ball.top + ball.bottom) / 2);
    view.MouseDown(start, XView::kButtonLeft);
    const int64_t rowsBefore = view.GetComputedRowCount();
    const uint64_t begin = PlatformClock::GetRealMicroseconds();
    for (int move = 1; move <= kMoves; ++move)
    {
        // Back and forth over a third of the view, always a new pixel in both directions.
        const int offset = move % 200;
        view.MouseMoved(XPoint(start.x + offset, start.y - offset / 4), XView::kButtonLeft);
    }
    const uint64_t elapsed = PlatformClock::GetRealMicroseconds() - begin;
    view.MouseUp(start, XView::kButtonNone);
    const double rowsPerMove = static_cast<double>(view.GetComputedRowCount() - rowsBefore) / kMoves;
    std::printf(
        "EQ view drag, %2d bands x %4d px: %8.1f us per mouse move (%.2f band rows computed per move)\n",
        bandCount, width - 2 * XEQView::kInnerMargin, static_cast<double>(elapsed) / kMoves, rowsPerMove);
}
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI gui;
    FloatParam lock;
    lock.SetPath("%s", XEQView::kEditLockParamPath);
    lock.SetValue(1.0, false);
    MeasureDrag(6, 604, 304);
    MeasureDrag(6, 1004, 404);
    MeasureDrag(90, 604, 304);
    MeasureDrag(90, 1004, 404);
    return 0;
}
