#pragma once

#include "core/XRect.h"
#include "widgets/XYPanner.h"

#include <array>
#include <cstdint>

/** An XYPanner that also shows the speakers of a surround layout (type word "surroundpanner"): a
    mode parameter chooses the layout, and each speaker is lit while the bus-assign parameter of its
    bus is above 0. Speakers are drawn from four skin icons (dim and lit speaker, dim and lit
    subwoofer); without both speaker icons no speakers are drawn.

    The parameters and icons are not owned. GUI thread only. */
class SurroundPanner : public XYPanner
{
public:
    static constexpr int32_t kBusCount = 8;
    /** Speaker places: 1..5 along the top, 6..10 along the bottom, 11 and 12 at the middle of the
        left and right edges. */
    static constexpr int32_t kFirstPosition = 1;
    static constexpr int32_t kLastPosition = 12;
    /** Distance of the icons from the view's edges. */
    static constexpr int32_t kEdgeMargin = 5;

    SurroundPanner();
    ~SurroundPanner() override;

    /** Watches the new mode parameter instead of the old one and repaints the whole view. */
    void SetModeParam(XParam* param);
    /** The same for the bus-assign parameter of a bus; a bus outside 0..7 is ignored. */
    void SetBusAssignParam(XParam* param, int32_t bus);
    XParam* GetModeParam() const { return modeParam; }
    XParam* GetBusAssignParam(int32_t bus) const;

    /** The four speaker icons; null keeps none of that kind. */
    void SetIcons(XImage* dimSpeaker, XImage* litSpeaker, XImage* dimSubwoofer, XImage* litSubwoofer);

    /** The layout number of the mode parameter's value (0 -> 1, 1 -> 2, 2 -> 3, 3 -> 4, 4 -> 6,
        5 -> 7); 0, no speakers, for any other value or without a mode parameter. */
    int32_t GetLayout() const;
    /** The rectangle of a speaker icon at a position 1..12, the dim icon's size; empty outside the
        positions or when that dim icon is unset. */
    XRect SpeakerIconRect(int32_t position, bool subwoofer) const;

    // XYPanner ----------------------------------------------------------------------------------

    /** The panner's keys, then "modeparam", "busassignparam" (index 0..7) and the icons
        "dimspeakericon", "litspeakericon", "dimsubwoofericon", "litsubwoofericon". */
    void ReadAttributes(XMessage& block) override;
    /** The panner's background, then the speakers of the layout. */
    void DrawBackground(XCanvas& canvas) override;
    /** Whether the bus is 0..7, its bus-assign parameter bound and its value above 0. */
    virtual bool IsBusAssigned(int32_t bus) const;

    /** A value change of the mode or a bus-assign parameter repaints the whole view; the rest goes to
        the panner. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    /** Watches param in place of old (key 0) and repaints the view. */
    void ReplaceWatched(XParam*& slot, XParam* param);

    XParam* modeParam = nullptr;
    std::array<XParam*, kBusCount> busAssignParams{};
    XImage* dimSpeakerIcon = nullptr;
    XImage* litSpeakerIcon = nullptr;
    XImage* dimSubwooferIcon = nullptr;
    XImage* litSubwooferIcon = nullptr;
};
