#pragma once

#include "core/XResult.h"
#include "core/XServer.h"
#include "gui/IVolumeUpdater.h"

#include <cstdint>
#include <memory>
#include <vector>

class PlatformVolumeEjector;
class XFileEntry;

/** The program's one keeper of the drives: the list of drive roots, a broadcast of 10000049 to its
    clients (the file browsers) when the drives change, and the safe removal of a removable volume.
    It is the GUI application's volume updater (XGuiApp::SetVolumeUpdater), so 'volA' and 'volR'
    rebuild the list and tell the clients.

    Made on the first GetInstance and kept for the program's life. Update runs on the GUI thread;
    EjectVolume runs on the caller's (unmount) thread, one ejection at a time; the drive list is not
    locked. */
class XVolumeManager final : public XServer, public IVolumeUpdater
{
public:
    static constexpr uint32_t kDrivesChangedMessage = 10000049;
    /** Unmount attempts of a volume in use, and the pause after each failed one. */
    static constexpr int32_t kUnmountAttempts = 100;
    static constexpr uint32_t kUnmountRetryMs = 500;
    static constexpr uint32_t kStagePauseMs = 50;
    static constexpr uint32_t kSettleMs = 250;

    /** Called at each stage of an ejection with the fraction done, on the ejecting thread. */
    using ProgressCallback = void (*)(float fraction, void* userData);

    ~XVolumeManager() override;

    static XVolumeManager& GetInstance();

    /** Rebuilds the drive list: every drive root of the listing of "Root". */
    void Refresh();
    /** Refresh, then posts 10000049 to every client without waiting. */
    void Update();
    /** Copies of the drive roots, in listing order. */
    const std::vector<std::unique_ptr<XFileEntry>>& GetDrives() const { return drives; }

    /** Unmounts the volume whose root is the entry and powers its device off, reporting
        0.1 ... 1.0 through the callback (each report followed by a 50 ms pause). XResult::kOk when the
        volume was ejected, else XResult::kFailed. */
    int32_t EjectVolume(const XFileEntry& volume, ProgressCallback callback, void* userData);

    /** Replaces the system's ejector (not owned); null restores it. */
    void SetEjector(PlatformVolumeEjector* replacement) { ejector = replacement; }

    // IVolumeUpdater ---------------------------------------------------------------------------------

    void UpdateVolumes() override { Update(); }

private:
    XVolumeManager();

    std::vector<std::unique_ptr<XFileEntry>> drives;
    PlatformVolumeEjector* ejector = nullptr; // not owned; null: the system's
};
