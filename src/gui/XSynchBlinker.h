#pragma once

#include "core/XMessageCodes.h"
#include "gui/XView.h"

#include <cstdint>
#include <vector>

/** The one clock of blinking buttons: every 300 ms (timer 10 on the application looper) it flips
    its phase and repaints every listed view, so all blinking buttons blink together. A 'blnk'
    message hands the beat to whoever sends it: the timer stops for good and each 'blnk' repaints.

    One instance per process (Get), created by the first button, attached to the application looper
    and deleted when JUCE shuts down (a view is a JUCE component); a later Get makes a new one. It
    does not own the listed views; a view must leave the list (Remove) before it is destroyed. GUI
    thread only. */
class XSynchBlinker final : public XView
{
public:
    static constexpr int32_t kBlinkTimerId = 10;
    static constexpr int32_t kBlinkPeriodMs = 300;
    static constexpr uint32_t kSyncMessage = FourCharCode("blnk");
    static constexpr const char* kLabel = "SynchTimer";

    /** The process's blinker, made and attached to the application looper on first use. */
    static XSynchBlinker& Get();
    /** Whether the blinker has been made yet (tests and shutdown code). */
    static bool Exists();

    /** Adds the view once; the first one attaches the blinker and starts its timer unless the beat
        comes from outside or the timer already runs. */
    void Add(XView* view);
    /** Takes the view out; nothing when it is not listed. The timer keeps running. */
    void Remove(const XView* view);
    bool Contains(const XView* view) const;
    int32_t GetCount() const { return static_cast<int32_t>(views.size()); }
    bool IsPhaseOff() const { return phaseOff; }
    bool IsExternallySynchronised() const { return externallySynchronised; }
    bool IsTimerRunning() const { return timerRunning; }

    void HandleTimer(int32_t timerId) override;
    void MessageReceived(XMessage& message) override;

private:
    XSynchBlinker();
    void AttachToApplication();
    void RepaintAll();

    bool externallySynchronised = false;
    bool phaseOff = false;
    bool timerRunning = false;
    std::vector<XView*> views;
};
