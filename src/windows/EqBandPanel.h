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

/** What the band panels of the input and output parametric equalisers share: the band's views, the
    focus on a press, showing views by the band's type, and the rows of captions and controls (type,
    gain or slope, frequency, and Q or slope, the second Q shown by the band's Q flag). A subclass
    supplies the band's parameters, the focus parameter and the look of each caption and control.

    Transparent. Parameters are not owned; a missing one leaves its control unbound. Main thread
    only. */
class EqBandPanel : public XView
{
public:
    ~EqBandPanel() override;

    /** A press on the background (or on a view that passes its presses on) gives the band the focus. */
    void mouseDown(const juce::MouseEvent& event) override;

    /** The focus band of the panel's channel := this band, with notification. */
    void FocusBand();

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

protected:
    explicit EqBandPanel(int32_t band);

    /** The parameters of one band's controls; any may be null. */
    struct BandParams
    {
        XParam* type = nullptr;
        XParam* gain = nullptr;
        XParam* frequency = nullptr;
        XParam* q = nullptr;
        XParam* slope = nullptr;
    };

    /** The channel's focus band parameter; null when it does not exist. */
    virtual XParam* GetFocusParam() const = 0;
    /** The band's type parameter; null when it does not exist. */
    virtual XParam* GetTypeParam() const = 0;
    virtual XText* AddCaption(int32_t row, const char* text) = 0;
    virtual XPopupMenu* AddPopup(int32_t row, XParam* param) = 0;
    virtual XComboBox* AddValueBox(int32_t row, XParam* param) = 0;

    /** The rows' captions; frequencyCaption names the frequency row. */
    void BuildCaptions(XParam* qShown, const char* frequencyCaption);
    void BuildControls(const BandParams& params, XParam* qShown);
    /** Adds caption to the panel and to the captions list. */
    XText* KeepCaption(XText* caption);
    /** Wires the control to give the band the focus when used, and adds it. */
    XPopupMenu* AddFocusingPopup(XPopupMenu* popup);
    XComboBox* AddFocusingBox(XComboBox* box);
    /** Adds the bypass button, giving the band the focus when pressed. */
    void AddBypassButton(XButton* button);
    /** Shows the view only while the band's type is one of types. */
    void ShowForTypes(XView& view, std::initializer_list<int32_t> types) const;

    enum Row
    {
        kTypeRow = 0,
        kGainRow = 1,
        kFrequencyRow = 2,
        kQRow = 3,
    };

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
