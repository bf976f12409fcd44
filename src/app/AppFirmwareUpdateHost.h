#pragma once

#include "device/WatcherFirmwareUpdateHost.h"

class QM7App;

/** The firmware update's host as the application supplies it: the device watcher's half from
    WatcherFirmwareUpdateHost (the application sets and clears its watcher), and the application's
    half: the firmware dialog's two parameters (SaveUserPreset, SaveUserPresetPath), the
    compare groups synced, the preset document written as a preset file, the wait cursor and
    messages. Owned by the application, which it must not outlive.

    Its operations may run on the update's job thread or the connection's reader thread: the wait
    cursor and messages are handed to the GUI thread (a message is shown without holding up the
    caller), everything else reads the application's parameters and document directly. */
class AppFirmwareUpdateHost final : public WatcherFirmwareUpdateHost
{
public:
    explicit AppFirmwareUpdateHost(QM7App& app);

    int GetSaveUserPreset() override;
    XString GetSaveUserPresetPath() override;
    bool IsEmptyPresetName(const XString& name) override;
    void SyncCompareGroups(bool toLive) override;
    /** The application's preset document written to path; false without one or when it fails. */
    bool SavePresetFile(const XString& path) override;
    void ShowWaitCursor(bool show) override;
    /** A modal OK dialog with the title and text, run on the GUI thread. */
    void ShowMessage(const XString& title, const XString& text) override;

private:
    QM7App& app;
};
