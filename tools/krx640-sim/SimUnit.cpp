#include "SimUnit.h"

#include "platform/PlatformClock.h"
#include "platform/UsbDeviceInterface.h"

namespace
{
constexpr size_t kReadChunk = 4096;
constexpr uint64_t kMicrosecondsPerMs = 1000;
} // namespace

SimUnit::SimUnit(const SimOptions& chosen)
    : options(chosen),
      endpoint(chosen.deviceFolder.empty() ? UsbDeviceInterface::DeviceFolder() : chosen.deviceFolder,
               chosen.unitName),
      responder(chosen.mode, chosen.firmwareVersion), frontPanel(chosen.mode == SimUnitMode::slave),
      bootloader(chosen.faults)
{
}

int SimUnit::Run(const volatile std::sig_atomic_t* stopRequested)
{
    std::string error;
    if (!options.logPath.empty() && !log.Open(options.logPath, error))
    {
        log.Note(error);
        return 1;
    }
    if (!endpoint.Create(error))
    {
        log.Note(error);
        endpoint.Remove();
        return 1;
    }
    log.Note("serving " + endpoint.UnitFolder());

    while (*stopRequested == 0 && !vanished)
    {
        if (phase == Phase::startingBootloader || phase == Phase::startingApplication)
        {
            if (!FinishRestart())
                return 1;
            continue;
        }
        ServeTurn();
        if (enterBootloaderRequested)
            Restart(Phase::startingBootloader, kBootloaderStartMs);
        else if (leaveRequested && outgoing.empty()) // once the editor has its "ACK"
            LeaveBootloader();
    }

    log.Note(vanished ? "gone" : "stopping");
    endpoint.Remove();
    return 0;
}

void SimUnit::ServeTurn()
{
    if (!endpoint.IsOutgoingOpen() && endpoint.OpenOutgoing())
    {
        log.Note("editor connected");
        editorConnected = true;
        lastMeterAt = lastDisplayAt = 0;
    }

    const bool wantWrite = endpoint.IsOutgoingOpen() && !outgoing.empty();
    const SimPipeEndpoint::Activity activity = endpoint.Wait(wantWrite, kTurnMs);
    if (activity.editorLeft)
        EditorLeft();
    if (activity.incoming)
        ReadFromEditor();
    if (vanished)
        return;
    if (phase == Phase::application)
    {
        if (const auto stale = codec.DropStale(); stale.kind != SimFrameCodec::Decoded::Kind::none)
        {
            HandleDecoded(stale);
            DecodeBuffered(); // what followed the given-up frame may be whole
        }
        SendFrontPanel();
    }
    if (endpoint.IsOutgoingOpen())
        WriteQueued();
}

void SimUnit::Restart(Phase starting, uint32_t delayMs)
{
    log.Note(starting == Phase::startingBootloader ? "restarting into the bootloader"
                                                   : "restarting the application");
    endpoint.Remove();
    DiscardQueue();
    codec.Reset();
    enterBootloaderRequested = false;
    leaveRequested = false;
    phase = starting;
    restartTick = PlatformClock::GetTickCount();
    restartDelayMs = delayMs;
}

bool SimUnit::FinishRestart()
{
    if (PlatformClock::TicksSince(restartTick, PlatformClock::GetTickCount()) < restartDelayMs)
    {
        PlatformClock::Sleep(kTurnMs);
        return true;
    }
    std::string error;
    if (!endpoint.Create(error))
    {
        log.Note(error);
        endpoint.Remove();
        return false;
    }
    if (phase == Phase::startingBootloader)
    {
        phase = Phase::bootloader;
        bootloader.BeginSession();
        log.Note("bootloader serving " + endpoint.UnitFolder());
    }
    else
    {
        phase = Phase::application;
        log.Note("serving " + endpoint.UnitFolder());
    }
    return true;
}

void SimUnit::LeaveBootloader()
{
    if (bootloader.IsControllerUpdateVerified() &&
        responder.FirmwareVersion() != SimResponder::kDefaultFirmwareVersion)
    {
        responder.SetFirmwareVersion(SimResponder::kDefaultFirmwareVersion);
        log.Note("firmware updated");
    }
    std::string error;
    if (!options.flashDumpPath.empty() && !bootloader.SaveFlash(options.flashDumpPath, error))
        log.Note(error);
    Restart(Phase::startingApplication, kApplicationStartMs);
}

void SimUnit::ReadFromEditor()
{
    uint8_t buffer[kReadChunk];
    for (;;)
    {
        const long count = endpoint.ReadIncoming(buffer, sizeof buffer);
        if (count == 0)
            return;
        if (count < 0)
        {
            // The editor closed PIPE00: its session is over, whether or not PIPE01 was seen to go.
            EditorLeft();
            return;
        }
        if (phase == Phase::bootloader)
        {
            HandleBootloaderBytes(buffer, static_cast<size_t>(count));
            if (vanished)
                return;
            continue;
        }
        codec.Push(buffer, static_cast<size_t>(count));
        DecodeBuffered();
        if (enterBootloaderRequested)
            return; // what follows command 11 reaches no application
    }
}

void SimUnit::HandleBootloaderBytes(const uint8_t* bytes, size_t count)
{
    std::vector<uint8_t> answer;
    SimBootloader::Outcome outcome;
    bootloader.Receive(bytes, count, answer, outcome);
    for (const std::string& note : outcome.notes)
        log.Note(note);
    if (outcome.userPresetsErased)
        responder.EraseUserPresets();
    if (outcome.vanish)
    {
        vanished = true;
        return;
    }
    if (!answer.empty())
        outgoing.push_back(std::move(answer));
    leaveRequested = leaveRequested || outcome.leave;
}

void SimUnit::DecodeBuffered()
{
    for (auto decoded = codec.Next(); decoded.kind != SimFrameCodec::Decoded::Kind::none;
         decoded = codec.Next())
        HandleDecoded(decoded);
}

void SimUnit::EditorLeft()
{
    // Its answers can no longer be delivered, and a frame it left unfinished will never be completed.
    // PIPE01 is closed as well, so that nothing written for this session waits in the pipe for the
    // next editor.
    if (editorConnected)
        log.Note("editor disconnected");
    editorConnected = false;
    endpoint.EndSession();
    DiscardQueue();
    HandleDecoded(codec.Reset());
    bootloader.ResetInput();
}

void SimUnit::HandleDecoded(const SimFrameCodec::Decoded& decoded)
{
    using Kind = SimFrameCodec::Decoded::Kind;
    if (decoded.kind == Kind::dropped)
    {
        log.Dropped(decoded.reason, decoded.bytes);
        return;
    }
    if (decoded.kind != Kind::frame)
        return;

    log.Received(decoded.bytes);
    std::vector<SimFrame> replies;
    std::string note;
    switch (responder.Handle(decoded.frame, replies, note))
    {
    case SimResponder::Outcome::malformed:
        log.Dropped(note, decoded.bytes);
        break;
    case SimResponder::Outcome::refused:
        log.Refused(note, decoded.bytes);
        break;
    case SimResponder::Outcome::ignored:
        log.Note(note);
        break;
    case SimResponder::Outcome::handled:
        break;
    }
    Queue(replies);
    if (decoded.frame.command == SimCommand::kEnterBootloader)
        enterBootloaderRequested = true;
}

void SimUnit::Queue(const std::vector<SimFrame>& frames)
{
    for (const SimFrame& frame : frames)
    {
        if (outgoing.size() >= kMaxQueuedFrames)
        {
            ++droppedFrames;
            continue;
        }
        outgoing.push_back(SimFrameCodec::Encode(frame));
    }
}

void SimUnit::WriteQueued()
{
    while (!outgoing.empty())
    {
        const std::vector<uint8_t>& bytes = outgoing.front();
        const auto result = endpoint.WriteOutgoing(bytes.data(), bytes.size());
        if (result == SimPipeEndpoint::WriteResult::full)
            return;
        if (result == SimPipeEndpoint::WriteResult::editorLeft)
        {
            EditorLeft();
            return;
        }
        log.Sent(bytes);
        outgoing.pop_front();
    }
    if (droppedFrames > 0) // reported once the editor has caught up
    {
        log.Note("the editor did not read: " + std::to_string(droppedFrames) + " frames not sent");
        droppedFrames = 0;
    }
}

void SimUnit::SendFrontPanel()
{
    if (!options.meters || !endpoint.IsOutgoingOpen())
        return;
    // The panel's pace is the hardware's: real time, also when the clock runs fast for a test (a
    // faster clock would flood the editor's reader, which handles one frame a turn in real time).
    const uint64_t nowUs = PlatformClock::GetRealMicroseconds();
    const uint32_t now = PlatformClock::GetTickCount();
    std::vector<SimFrame> frames;
    if (lastMeterAt == 0 || nowUs - lastMeterAt >= kMeterPeriodMs * kMicrosecondsPerMs)
    {
        frontPanel.AppendMeterFrames(now, responder.EditBuffer(), frames);
        lastMeterAt = nowUs;
    }
    if (lastDisplayAt == 0 || nowUs - lastDisplayAt >= kDisplayPeriodMs * kMicrosecondsPerMs)
    {
        const int current = responder.EditBuffer().Integer(SimWireTable::kCurrentPreset);
        frontPanel.AppendDisplayFrames(current, responder.EditBuffer().ProgramName(),
                                       responder.IsEditBufferDirty(), frames);
        lastDisplayAt = nowUs;
    }
    Queue(frames);
}

void SimUnit::DiscardQueue()
{
    outgoing.clear();
    droppedFrames = 0;
}
