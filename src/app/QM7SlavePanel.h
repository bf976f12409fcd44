#pragma once

#include "gui/XView.h"

#include <array>
#include <cstdint>
#include <memory>

class FloatParam;

/** The picture of the unit while it is slaved to another: the unit's image with the slaved unit's
    meters, the output names, and for each output either its fader and gain (while the output
    follows the master) or a disabled fader and "---"; the mutes show disabled.

    Which channels are slaved comes from the slave parameter "slavedChanConfig" (109), one bit per
    channel (input A, input B, outputs 1..6), kept in eight on/off flags of the panel that show and
    hide the views. Built in code when first added to its parent (ApplyStyle), taking the size of
    the unit's image. GUI thread only; a configuration changed on another thread reaches the views
    through their parameter notifications. */
class QM7SlavePanel : public XView
{
public:
    static constexpr int32_t kFlagCount = 8;
    /** Flags 0 and 1 are the inputs; output o (0..5) is flag kFirstOutputFlag + o. */
    static constexpr int32_t kFirstOutputFlag = 2;
    static constexpr int32_t kOutputCount = 6;
    /** The watcher key of the slave channel configuration. */
    static constexpr int32_t kSlaveConfigKey = static_cast<int32_t>(FourCharCode("slCh"));

    /** Watches the slave channel configuration (without being told at once). */
    explicit QM7SlavePanel(const XRect& frame);
    ~QM7SlavePanel() override;

    /** Flag i := bit i of bits, each changed (and notified) only when it differs. */
    void SetSlavedChannels(int32_t bits);
    /** Flag 0..7; null for any other index. */
    FloatParam* GetSlavedFlag(int32_t index) const;

    /** Builds the children once. */
    void ApplyStyle() override;
    /** The slave channel configuration sets the flags; then the view's own handling. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    // ApplyStyle's parts, called in this order (it is the drawing order).
    void AddOutputNames();
    void AddMeters();
    void AddFaders();
    void AddGainFields();
    void AddMutes();

    std::array<std::unique_ptr<FloatParam>, kFlagCount> flags;
    bool built = false;
};
