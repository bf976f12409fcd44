#pragma once

#include "SimBootloader.h"
#include "SimFrameCodec.h"
#include "SimFrameLog.h"
#include "SimFrontPanel.h"
#include "SimOptions.h"
#include "SimPipeEndpoint.h"
#include "SimResponder.h"

#include <csignal>
#include <cstdint>
#include <deque>
#include <vector>

/** The simulated unit: serves its pipes until asked to stop. Each turn it reads what the editor
    wrote, answers every frame through the responder, writes the answers whole and in order, and
    with --meters sends meter readings five times a second and the display once a second, in real
    time whatever the clock's scale.

    Command 11 restarts it into its bootloader: it removes its pipes and after kBootloaderStartMs
    creates them again under the same name, then speaks the bootloader's byte protocol
    (SimBootloader). Leaving the bootloader restarts it the same way as the application after
    kApplicationStartMs; when that session wrote and verified the controller program, it reports the
    current firmware version from then on. A fault of kind "vanish" removes the pipes and ends it.

    Answers wait in a bounded queue while the editor does not read; what would overflow it is
    dropped and reported. An editor's session ends when it closes either pipe: queued answers are
    discarded and PIPE01 is closed, so that nothing meant for it reaches the next editor. Runs on
    one thread; stopRequested is written by the signal handler only. */
class SimUnit final
{
public:
    static constexpr int kTurnMs = 20;              // longest wait for pipe activity
    static constexpr uint32_t kMeterPeriodMs = 200; // meter readings, in real time
    static constexpr uint32_t kDisplayPeriodMs = 1000;
    static constexpr size_t kMaxQueuedFrames = 4096; // well above a bulk and a compare answer
    /** Restart times, well within the editor's waits of 10 s and 23 s. */
    static constexpr uint32_t kBootloaderStartMs = 3000;
    static constexpr uint32_t kApplicationStartMs = 8000;

    explicit SimUnit(const SimOptions& options);

    /** Serves until *stopRequested is set; 0 after a clean end, 1 when the pipes cannot be made. */
    int Run(const volatile std::sig_atomic_t* stopRequested);

private:
    enum class Phase
    {
        application,
        startingBootloader,
        bootloader,
        startingApplication,
    };

    void ServeTurn();
    /** Removes the pipes; they come back after delayMs in the phase that follows. */
    void Restart(Phase starting, uint32_t delayMs);
    /** Creates the pipes again once the restart's time has passed; false when they cannot be made. */
    bool FinishRestart();
    void LeaveBootloader();
    void ReadFromEditor();
    void HandleBootloaderBytes(const uint8_t* bytes, size_t count);
    void DecodeBuffered();
    void EditorLeft();
    void HandleDecoded(const SimFrameCodec::Decoded& decoded);
    void Queue(const std::vector<SimFrame>& frames);
    void WriteQueued();
    void SendFrontPanel();
    void DiscardQueue();

    SimOptions options;
    SimFrameLog log;
    SimPipeEndpoint endpoint;
    SimFrameCodec codec;
    SimResponder responder;
    SimFrontPanel frontPanel;
    SimBootloader bootloader;
    std::deque<std::vector<uint8_t>> outgoing; // encoded frames or bootloader answers not yet written
    size_t droppedFrames = 0;                  // since the last report
    uint64_t lastMeterAt = 0;                  // real microseconds; 0: none sent this session
    uint64_t lastDisplayAt = 0;

    Phase phase = Phase::application;
    uint32_t restartTick = 0;
    uint32_t restartDelayMs = 0;
    bool enterBootloaderRequested = false;
    bool leaveRequested = false;
    bool vanished = false;
    bool editorConnected = false; // PIPE01 was opened for the editor of the current session
};
