#pragma once

#include "widgets/XEQView.h"

#include <cstdint>

class XParam;

/** The editor's EQ view: an XEQView that remembers which band the user clicked last and reports it
    through an optional selected-band parameter, so that the editor windows can follow the selection.
    The selected-band parameter is not owned; its creator sets or clears it before the first click and
    keeps it alive while the view may be clicked. GUI thread only. */
class QM7EQView : public XEQView
{
public:
    QM7EQView() = default;
    explicit QM7EQView(const XRect& frame) : XEQView(frame) {}

    /** The parameter that receives the clicked band (-1 for a click beside every ball, when its range
        holds -1); null for none. */
    void SetSelectedBandParam(XParam* param) { selectedBandParam = param; }
    XParam* GetSelectedBandParam() const { return selectedBandParam; }
    /** Written by the editor windows when their own selection changes. */
    void SetSelectedBand(int band) { selectedBand = band; }
    int GetSelectedBand() const override { return selectedBand; }

    /** XEQView's mouse down, then the focus band goes to the selected-band parameter (with notification)
        and becomes the selected band. A click beside every ball leaves both alone when the parameter's
        range starts above -1 (it would clamp to band 0). */
    bool MouseDown(const XPoint& point, int32_t button) override;

private:
    XParam* selectedBandParam = nullptr;
    int selectedBand = -1;
};
