#pragma once

#include "core/XString.h"

/** What a job that waits for the unit's preset replies implements: the device watcher hands it the
    replies while it is the watcher's preset handler (DeviceCommWatcher::SetPresetHandler), in place
    of the messages it would otherwise post to the application.

    Called on the connection's reader thread ("RPCUSB"). A job sets itself before it sends its
    requests and clears the watcher's pointer before it is destroyed. */
class IReceivePresetHandler
{
public:
    virtual ~IReceivePresetHandler() = default;

    /** The name and configuration of a preset (command 13). */
    virtual void PresetInfoReceived(int number, int configuration, XString& name) = 0;
    /** The flags of a preset (command 14). */
    virtual void PresetFlagsReceived(int number, int flags) = 0;
    /** The compare answer is complete: every compare copy holds the preset's values. */
    virtual void PresetDataReceived() = 0;
};
