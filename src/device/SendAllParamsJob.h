#pragma once

#include "core/IThreadCallback.h"

#include <atomic>
#include <cstdint>
#include <memory>

class IDeviceJobLink;
class XThread;

/** Sends every parameter to the unit on the thread "SendAllParamsCmd" (the send-all of the connect
    hand-shake): with the watcher's sender off and the compare button hidden, command 21 (1), one
    command 5 per live wire id in ascending order (2 ms apart), a wait until the link's queue is back
    at its starting level, command 21 (0) and command 6 for CurrentPreset; then sending, the status,
    the listen-mode confirmation and the compare button are restored.

    Start begins it on its own thread; SendAllParams is the body, callable on any thread. Every wait
    is bounded and ends when the link drops or Stop is asked; the restoring steps run whatever
    happened after the first one. The destructor stops the thread and joins it. The link is not owned
    and must outlive the job. */
class SendAllParamsJob final : private IThreadCallback
{
public:
    static constexpr const char* kThreadName = "SendAllParamsCmd";
    static constexpr int32_t kThreadLevel = 3;
    static constexpr uint32_t kValueSpacingMs = 2;
    static constexpr uint32_t kQueueWaitStepMs = 50;
    /** The queue drains in well under a second; a link that stops writing is left after a minute. */
    static constexpr int kMaxQueueWaitSteps = 1200;
    static constexpr const char* kSendingText = "sending data to device...";
    static constexpr const char* kConnectedText = "connected to QM-Seven";

    /** link may be null (no watcher: nothing is sent). */
    explicit SendAllParamsJob(IDeviceJobLink* link);
    ~SendAllParamsJob();

    /** global\ListenMode := 1 (not picked up by the sender), then the thread starts. False when there
        is no connection or a send-all is still running. */
    bool Start();
    /** The body (see the class comment); returns at once without a connection. */
    void SendAllParams();
    /** Asks a running send-all to end and waits for its thread. */
    void Stop();

    /** Called by the thread that calls Start and Stop. */
    bool IsRunning() const;
    /** Live parameters handed to the sender in the last run (those never sent included). */
    int32_t GetSentCount() const { return sentCount.load(); }
    /** True once the body has run to its end at least once. */
    bool HasFinished() const { return finished.load(); }

private:
    void Run(XThread* thread, void* argument) override;
    bool ShouldEnd() const;

    IDeviceJobLink* const link; // not owned; may be null
    std::unique_ptr<XThread> thread;
    std::atomic<bool> stopRequested{false};
    std::atomic<int32_t> sentCount{0};
    std::atomic<bool> finished{false};
};
