#pragma once

class IReceivePresetHandler;

/** What a job that reads presets from the unit needs of the device link: whether it is connected,
    the preset-handler slot through which the replies reach the job, and the two preset requests.
    DeviceJobLink provides it over the device watcher (as part of IDeviceJobLink); tests provide a
    simulated unit.

    Any thread may call it; requests made while the link is down are dropped. Replies never arrive
    inside a request call: they come later, on the link's reader thread. */
class IPresetLink
{
public:
    virtual ~IPresetLink() = default;

    virtual bool IsConnected() = 0;
    /** The job that receives the preset replies (null: none). */
    virtual IReceivePresetHandler* GetPresetHandler() = 0;
    virtual void SetPresetHandler(IReceivePresetHandler* handler) = 0;
    /** Command 13: the unit answers with the preset's name and configuration. */
    virtual void RequestPresetInfo(int presetNumber) = 0;
    /** Command 14: the unit answers with the preset's flags. */
    virtual void RequestPresetFlags(int presetNumber) = 0;
};
