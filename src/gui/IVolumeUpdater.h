#pragma once

/** The drive list that the GUI application refreshes when volumes arrive or go ('volA', 'volR'):
    the file-management layer installs its volume manager here (XGuiApp::SetVolumeUpdater). GUI
    thread. */
class IVolumeUpdater
{
public:
    virtual ~IVolumeUpdater() = default;

    /** Rescans the drives and tells the list's clients. */
    virtual void UpdateVolumes() = 0;
};
