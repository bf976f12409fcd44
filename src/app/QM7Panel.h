#pragma once

#include "core/XParamGroup.h"
#include "core/XString.h"
#include "gui/XView.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>

class FloatParam;
class XButton;
class XImage;
class XLCDView;
class XLEDMeter;
class XPict;
class XQM7FrontPanelLEDMeter;
class XSlider;
class XTextEditView;

/** The picture of the unit's front panel in the main window: the unit's image, a mirror of its
    display, the two input level meters, six output channel strips (name, fader, gain field, level
    meter with "Lim" and "Clip", mute) and the USB indicator. Every control is bound to a live
    parameter of the unit's model, so the panel both shows and edits the unit's state.

    Built in code: the children are made when the panel is first added to its parent (ApplyStyle),
    and the panel then takes the size of the unit's image. The display image is the application's
    (it draws the unit's display data into it); the panel's display picture only shows it, stretched
    with nearest-neighbour resampling so its pixels stay crisp, and whoever changes the image repaints
    the picture. GUI thread only. */
class QM7Panel : public XView
{
public:
    class Channel;

    static constexpr int32_t kChannelCount = 6;
    static constexpr const char* kUnitImage = "krx640DeviceBg.png";
    /** The display mirror's place on the unit's image. */
    static constexpr XRect kDisplayFrame{149, 50, 475, 126};

    /** The display image is not owned and must outlive the panel (null: an empty display). */
    QM7Panel(const XRect& frame, XImage* displayImage);
    ~QM7Panel() override;

    /** The strip of that index (0..5, outputs 1..6); any other index gives strip 0. */
    Channel* GetChannel(int32_t index) const;
    /** The parameter of that id in the panel's own group, else a default stand-in that the panel
        keeps (one per id). */
    XParam* GetLocalParam(int32_t id);
    /** The display mirror, which the application repaints when it changed the display image. */
    XPict* GetDisplayPicture() const { return displayPicture; }
    /** The panel's LCD view: made with the panel, never placed (the display mirror shows the unit's
        display). */
    XLCDView* GetLCDView() const { return lcdView.get(); }
    /** Input A (0) or B (1)'s meter; null before the children are built. */
    XLEDMeter* GetInputMeter(int32_t input) const;
    XPict* GetUsbIndicator() const { return usbIndicator; }

    /** Builds the children once, then keeps its place when the window is resized. */
    void ApplyStyle() override;

private:
    /** A view's own parameter group (empty unless filled) and the stand-ins for the ids it lacks. */
    class LocalParams final
    {
    public:
        XParam* Get(int32_t id);

    private:
        XParamGroup group;
        std::map<int32_t, std::unique_ptr<FloatParam>> standIns;
    };

    std::unique_ptr<XLCDView> lcdView;
    LocalParams localParams;
    XImage* displayImage = nullptr;
    /** Children made with the panel, owned here until ApplyStyle adds them. */
    std::unique_ptr<XPict> pendingDisplayPicture;
    std::array<std::unique_ptr<Channel>, kChannelCount> pendingChannels;
    XPict* displayPicture = nullptr;
    std::array<Channel*, kChannelCount> channels{};
    std::array<XLEDMeter*, 2> inputMeters{};
    XPict* usbIndicator = nullptr;
    bool built = false;
};

/** One output channel strip of the front panel (84 x 141): the channel's name, fader, gain field,
    level meter with "Lim" and "Clip" LEDs, and mute, bound to the output channel group of its index.
    Transparent; its children are made when it is first added to the panel. GUI thread only. */
class QM7Panel::Channel : public XView
{
public:
    explicit Channel(int32_t index);
    ~Channel() override;

    int32_t GetIndex() const { return index; }
    /** The parameter of that id in the strip's output channel group; null when there is none. */
    XParam* GetOutputParam(int32_t id) const;
    /** As QM7Panel::GetLocalParam, for the strip's own group. */
    XParam* GetLocalParam(int32_t id);

    XTextEditView* GetNameField() const { return nameField; }
    XSlider* GetFader() const { return fader; }
    XTextEditView* GetGainField() const { return gainField; }
    XQM7FrontPanelLEDMeter* GetMeter() const { return meter; }
    XButton* GetMuteButton() const { return muteButton; }

    void ApplyStyle() override;

private:
    int32_t index = 0;
    LocalParams localParams;
    XTextEditView* nameField = nullptr;
    XSlider* fader = nullptr;
    XTextEditView* gainField = nullptr;
    XQM7FrontPanelLEDMeter* meter = nullptr;
    XButton* muteButton = nullptr;
    bool built = false;
};

/** The display text of a channel's source selector value (truncated to an integer): 0 "Source| Input
    1", 1 "Source| Input 2", 2 "Source| Input 1+2", any other "Source| Input 1". */
XString GetSourceName(double value);
