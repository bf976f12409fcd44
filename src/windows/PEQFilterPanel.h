#pragma once

#include "windows/EqBandPanel.h"

#include <cstdint>

class XComboBox;
class XParam;
class XPopupMenu;
class XText;

/** The column of controls of one band of one input's parametric equaliser (band 0 the high-pass
    filter, bands 1..9): its band button (lit while the band has the input's focus), the captions and
    controls of type, gain or slope, frequency, and Q or slope, shown by the band's type (and the
    band's Q flag, so the high-pass column shows its Q at 12 dB/oct), and its bypass button. Every
    control is bound to the input's channel parameter; using any of them, or pressing the panel's
    background, gives the band the focus.

    74 by 163 pixels, transparent; it builds its content when its style is first applied (when added
    to the window). Parameters are not owned; a missing one leaves its control unbound. Main thread
    only. */
class PEQFilterPanel final : public EqBandPanel
{
public:
    static constexpr int32_t kWidth = 74;
    static constexpr int32_t kHeight = 163;
    /** Rows of captions and controls are this far apart. */
    static constexpr int32_t kRowPitch = 29;

    /** input 0 = A, 1 = B; band 0..9. */
    PEQFilterPanel(int32_t input, int32_t band);
    ~PEQFilterPanel() override;

    void ApplyStyle() override;

    /** The input's channel parameter by id; null when the input or the parameter does not exist. */
    XParam* GetInputParam(int32_t id) const;

    int32_t GetInput() const { return input; }

private:
    XParam* GetFocusParam() const override;
    XParam* GetTypeParam() const override;
    XText* AddCaption(int32_t row, const char* text) override;
    XPopupMenu* AddPopup(int32_t row, XParam* param) override;
    XComboBox* AddValueBox(int32_t row, XParam* param) override;

    int32_t input;
};
