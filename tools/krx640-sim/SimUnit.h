#pragma once

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
    with --meters sends meter readings a few times a second and the display once a second.

    Answers wait in a bounded queue while the editor does not read; what would overflow it is
    dropped and reported. When the editor goes, queued answers are discarded. Runs on one thread;
    stopRequested is written by the signal handler only. */
class SimUnit final
{
public:
    static constexpr int kTurnMs = 20;              // longest wait for pipe activity
    static constexpr uint32_t kMeterPeriodMs = 200; // meter readings, in clock ticks
    static constexpr uint32_t kDisplayPeriodMs = 1000;
    static constexpr size_t kMaxQueuedFrames = 4096; // well above a bulk and a compare answer

    explicit SimUnit(const SimOptions& options);

    /** Serves until *stopRequested is set; 0 after a clean end, 1 when the pipes cannot be made. */
    int Run(const volatile std::sig_atomic_t* stopRequested);

private:
    void ReadFromEditor();
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
    std::deque<std::vector<uint8_t>> outgoing; // encoded frames not yet written
    size_t droppedFrames = 0;                  // since the last report
    uint32_t lastMeterTick = 0;
    uint32_t lastDisplayTick = 0;
};
