#pragma once

#include "core/XRect.h"

#include <bitset>
#include <cstdint>

class XParam;
class XPict;
class XSlider;

/** One run of adjacent linked outputs of the output delay window: its members (a contiguous run of
    outputs 0..5), the link parameter that moves them together, and the link slider and the panel
    picture laid over the members' rows and panels. The parameter and views belong to the window;
    the views are null until the window's content is built. GUI thread only. */
class DelayLinkGroup
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kRowPitch = 56;
    static constexpr int32_t kColumnPitch = 129;
    /** The link slider's column when all six outputs are covered, and the panel row. */
    static constexpr XRect kSliderBase{145, 83, 660, 419};
    static constexpr XRect kPanelBase{16, 419, 790, 556};

    /** The knob and panel pictures for a group of count (2..6) members. */
    static const char* KnobImage(int32_t count);
    static const char* PanelImage(int32_t count);

    void SetLinkParam(XParam* param) { linkParam = param; }
    XParam* GetLinkParam() const { return linkParam; }
    void SetViews(XSlider* slider, XPict* panel);
    XSlider* GetLinkSlider() const { return linkSlider; }
    XPict* GetLinkPanel() const { return linkPanel; }

    void Clear() { members.reset(); }
    void Add(int32_t output);
    bool IsEmpty() const { return members.none(); }
    bool Holds(int32_t output) const;
    /** Lowest and highest member; -1 when empty. */
    int32_t First() const;
    int32_t Last() const;
    int32_t Count() const { return static_cast<int32_t>(members.count()); }

    /** Empty: hides the views. Otherwise places and shows them over the members, and gives the link
        parameter (so every member) the highest member's delay. */
    void UpdateLayout();
    /** Every member's delay takes the link parameter's value (user changes). */
    void ApplyLinkDelay();
    /** When output is a member, the link parameter takes its delay ms (so the others follow). */
    void FollowMemberDelay(int32_t output, double ms);
    /** When output is a member, every other member's bypass takes its bypass value. */
    void SyncBypass(int32_t output);

private:
    XParam* linkParam = nullptr;
    std::bitset<kOutputCount> members;
    XSlider* linkSlider = nullptr;
    XPict* linkPanel = nullptr;
};
