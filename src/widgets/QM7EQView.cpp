#include "widgets/QM7EQView.h"

#include "core/XParam.h"

bool QM7EQView::MouseDown(const XPoint& point, int32_t button)
{
    const bool handled = XEQView::MouseDown(point, button);
    const int band = GetFocusBand();
    if (selectedBandParam != nullptr)
    {
        // A parameter that cannot hold "no band" would clamp -1 to band 0 and select it: a click
        // beside every ball keeps its selection then.
        if (band < 0 && selectedBandParam->GetMin() > band)
            return handled;
        selectedBandParam->ChangeValue(band, true);
    }
    selectedBand = band;
    return handled;
}
