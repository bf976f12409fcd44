#pragma once

#include "gui/XButton.h"

#include <cstdint>

/** A key of the on-screen keyboard ("touchkey"): a transparent, momentary button that sends its
    message at the press and, held, again every 80 ms from the fifth tick of its repeat timer; a key
    without a message drives its parameter instead (held at 1 while pressed, or toggled with the
    style word "notmomentary"). One flag shared by all keys says that a key is held. GUI thread only. */
class XTouchKey : public XButton
{
public:
    static constexpr int32_t kRepeatTimerId = 4001;
    static constexpr int32_t kRepeatPeriodMs = 80;
    /** Ticks of the repeat timer before the message repeats. */
    static constexpr int32_t kTicksBeforeRepeat = 4;

    XTouchKey();
    ~XTouchKey() override;

    bool IsDown() const { return down; }
    int32_t GetRepeatCount() const { return repeatCount; }
    /** True while any touch key is held. */
    static bool IsAnyKeyHeld();

    /** The button's keys, then the style word "notmomentary". */
    void ReadAttributes(XMessage& block) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    void HandleTimer(int32_t timerId) override;

private:
    bool HasMessage() const;

    bool down = false;
    int32_t repeatCount = 0;
};
