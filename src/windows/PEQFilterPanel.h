#pragma once

#include "gui/XView.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class XButton;
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
class PEQFilterPanel final : public XView
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
    /** A press on the background (or on a view that passes its presses on) gives the band the focus. */
    void mouseDown(const juce::MouseEvent& event) override;

    /** The input's focus band := this band, with notification. */
    void FocusBand();
    /** The input's channel parameter by id; null when the input or the parameter does not exist. */
    XParam* GetInputParam(int32_t id) const;

    int32_t GetInput() const { return input; }
    int32_t GetBand() const { return band; }

    /** The views, for the window's tests: null before the build. */
    XButton* GetBandButton() const { return bandButton; }
    XButton* GetBypassButton() const { return bypassButton; }
    XPopupMenu* GetTypePopup() const { return typePopup; }
    XComboBox* GetGainBox() const { return gainBox; }
    XPopupMenu* GetPassSlopePopup() const { return passSlopePopup; }
    XComboBox* GetFrequencyBox() const { return frequencyBox; }
    /** The Q box shown for peaking, and the one shown while the band's Q flag is set. */
    XComboBox* GetPeakingQBox() const { return peakingQBox; }
    XComboBox* GetSecondQBox() const { return secondQBox; }
    XPopupMenu* GetShelfSlopePopup() const { return shelfSlopePopup; }
    /** Every caption, in the order built. */
    const std::vector<XText*>& GetCaptions() const { return captions; }

private:
    void BuildControls(XParam* qShown);
    void BuildCaptions(XParam* qShown);
    XText* AddCaption(int32_t row, const char* text);
    XPopupMenu* AddPopup(int32_t row, XParam* param);
    XComboBox* AddValueBox(int32_t row, XParam* param);
    /** Shows the view only while the band's type is one of types. */
    void ShowForTypes(XView& view, std::initializer_list<int32_t> types) const;

    int32_t input;
    int32_t band;
    bool built = false;
    XButton* bandButton = nullptr; // child views, from here on
    XButton* bypassButton = nullptr;
    XPopupMenu* typePopup = nullptr;
    XComboBox* gainBox = nullptr;
    XPopupMenu* passSlopePopup = nullptr;
    XComboBox* frequencyBox = nullptr;
    XComboBox* peakingQBox = nullptr;
    XComboBox* secondQBox = nullptr;
    XPopupMenu* shelfSlopePopup = nullptr;
    std::vector<XText*> captions;
};
