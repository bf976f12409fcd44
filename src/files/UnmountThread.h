#pragma once

#include "core/XSignal.h"
#include "core/XThread.h"
#include "files/XFileEntry.h"

#include <cstdint>
#include <vector>

/** The worker that ejects removable volumes one after the other ("UnmountThread") through the
    volume manager, 3 seconds apart, telling each volume's line and the ejection's stages; it ends
    with complete and finished, or with failed at the first volume that cannot be ejected. The
    signals are emitted on the thread; the owner joins it (Join) before the dialog it talks to
    goes. */
class UnmountThread final : public XThread
{
public:
    static constexpr int32_t kStartPauseMs = 200;
    static constexpr int32_t kBetweenVolumesMs = 3000;
    static constexpr int32_t kSettleMs = 250;

    explicit UnmountThread(std::vector<XFileEntry> volumes);
    ~UnmountThread() override;

    void Run() override;
    void Join() { StopAndWait(); }

    XSignal<> finishedSignal;
    XSignal<> failedSignal;
    XSignal<const char*> textSignal;
    XSignal<uint32_t, uint32_t> ratioSignal;
    XSignal<uint64_t, bool> stepSignal;
    XSignal<> resetSignal;
    XSignal<> completeSignal;

private:
    static void OnEjectProgress(float fraction, void* userData);

    std::vector<XFileEntry> volumes;
};
