#pragma once

#include "device/IPresetLink.h"

#include <cstdint>

class XParam;

/** What the device jobs ask of the device watcher and its link: besides the preset requests and the
    preset-handler slot of IPresetLink, the few other requests they send, the watcher's sending
    switch, its live wire map and the link's queue of frames not yet written. DeviceJobLink
    implements it over the application's watcher; tests play it with fakes. Any thread may call
    it. */
class IDeviceJobLink : public IPresetLink
{
public:
    /** Command 6 with the parameter's live wire id. */
    virtual void SendParamIdCommand(XParam* param) = 0;
    /** Command 5 with the parameter's value (nothing for ids that are never sent). */
    virtual void SendParamValue(XParam* param, int wireId) = 0;
    /** Command 19, a 1000 ms wait, command 12 (0): the unit answers with the preset's values as a
        compare answer (0: its edit buffer). */
    virtual void RecallPresetForSaving(unsigned presetNumber) = 0;
    /** Command 7: the unit sends every value back. */
    virtual void RequestAllParams() = 0;
    /** Command 21: true begins a send-all, false ends it. */
    virtual void SendBulkBracket(bool begin) = 0;

    /** The watcher's sender of changed parameters on or off. */
    virtual void SetSendingEnabled(bool on) = 0;

    /** The live parameter of a wire id, null when the map has none. */
    virtual XParam* GetLiveParam(int wireId) = 0;
    /** Frames queued for the unit and not yet written. */
    virtual int32_t GetPendingFrames() = 0;
};
