#pragma once

#include "core/XRect.h"
#include "gui/XView.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class XButton;
class XComboBox;
class XControl;
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
class FilterPanel final : public XView
{
public:
    /** Rows of captions and controls are this far apart. */
    static constexpr int32_t kRowPitch = 27;

    FilterPanel(int32_t band, int32_t output);
    ~FilterPanel() override;

    void ApplyStyle() override;
    /** A press on the background (or on a view that passes its presses on) gives the band the
        focus. */
    void mouseDown(const juce::MouseEvent& event) override;

    /** ChannelEqFocusBand of the output := this band, with notification. */
    void FocusBand();
    /** The output's channel parameter by id; null when the output or the parameter does not exist. */
    XParam* GetChannelParam(int32_t id) const;

    int32_t GetBand() const { return band; }
    int32_t GetOutput() const { return output; }

    /** The views, for the window's tests: null before the build. */
    XButton* GetBandButton() const { return bandButton; }
    XButton* GetBypassButton() const { return bypassButton; }
    XPopupMenu* GetTypePopup() const { return typePopup; }
    XComboBox* GetGainBox() const { return gainBox; }
    XPopupMenu* GetPassSlopePopup() const { return passSlopePopup; }
    XComboBox* GetFrequencyBox() const { return frequencyBox; }
    /** The Q box shown for peaking, and the one shown while the window's Q flag is set. */
    XComboBox* GetPeakingQBox() const { return peakingQBox; }
    XComboBox* GetSecondQBox() const { return secondQBox; }
    XPopupMenu* GetShelfSlopePopup() const { return shelfSlopePopup; }
    /** Every caption, in the order built. */
    const std::vector<XText*>& GetCaptions() const { return captions; }

private:
    XText* AddCaption(int32_t row, const char* text);
    XPopupMenu* AddPopup(int32_t row, XParam* param);
    XComboBox* AddValueBox(int32_t row, XParam* param);
    /** Shows the view only while the band's type is one of types. */
    void ShowForTypes(XView& view, std::initializer_list<int32_t> types) const;

    XRect captionRect{2, 1, 102, 18};
    int32_t band;
    int32_t output;
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
