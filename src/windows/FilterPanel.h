#pragma once

#include "core/XRect.h"
#include "windows/EqBandPanel.h"

#include <cstdint>

class XComboBox;
class XParam;
class XPopupMenu;
class XText;

/** The panel of one output equaliser band: its band button (lit while the band has the focus), the
    captions and controls of type, gain or slope, frequency, and Q or slope, shown by the band's
    type (and the window's Q flag), and its bypass button. Every control is bound to the output's
    channel parameter, so edits reach the unit through the parameter model; using any of them, or
    pressing the panel's background, gives the band the focus.

    Transparent; it builds its content when its style is first applied (when added to its strip).
    Parameters are not owned; a missing one leaves its control unbound. Main thread only. */
class FilterPanel final : public EqBandPanel
{
public:
    /** Rows of captions and controls are this far apart. */
    static constexpr int32_t kRowPitch = 27;

    FilterPanel(int32_t band, int32_t output);
    ~FilterPanel() override;

    void ApplyStyle() override;

    /** The output's channel parameter by id; null when the output or the parameter does not exist. */
    XParam* GetChannelParam(int32_t id) const;

    int32_t GetOutput() const { return output; }

private:
    /** ChannelEqFocusBand of the output. */
    XParam* GetFocusParam() const override;
    XParam* GetTypeParam() const override;
    XText* AddCaption(int32_t row, const char* text) override;
    XPopupMenu* AddPopup(int32_t row, XParam* param) override;
    XComboBox* AddValueBox(int32_t row, XParam* param) override;

    XRect captionRect{2, 1, 102, 18};
    int32_t output;
};
