#include "widgets/QM7EQView.h"

#include "core/XParam.h"

bool QM7EQView::MouseDown(const XPoint& point, int32_t button)
{
    const bool handled = XEQView::MouseDown(point, button);
    const int band = GetFocusBand();
    if (selectedBandParam != nullptr)
        selectedBandParam->ChangeValue(band, true);
    selectedBand = band;
    return handled;
}
