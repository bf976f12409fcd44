#pragma once

#include <cstdint>

class XParam;

/** What the editor windows ask of the device watcher: whether a unit is connected, the live wire id
    of a parameter, the requests they send (command 5 one value, 7 every value, 13 a preset's name,
    14 and 15 a preset's flags), the mark that the next full request follows a recall, and the
    watcher's sender of changed parameters with its state.

    The application registers its implementation (DeviceJobLink over its watcher) with
    SetDeviceRequests while it has a watcher; until then GetDeviceRequests answers as a link without
    a unit: not connected, no wire ids, sending on, nothing sent. Requests made while the link is
    down are dropped; replies come later, on the link's reader thread. Any thread may call it. */
class IDeviceRequests
{
public:
    virtual ~IDeviceRequests() = default;

    virtual bool IsConnected() = 0;
    /** The parameter's wire id in the live map; -1 when it is not mapped. */
    virtual int32_t FindLiveWireId(const XParam* param) = 0;
    /** Command 5: the parameter's value and flags under the wire id (nothing for ids never sent). */
    virtual void SendParamValue(XParam* param, int wireId) = 0;
    /** Command 7: the unit sends every value back; the sender stays off until they are in. */
    virtual void RequestAllParams() = 0;
    /** Marks whether the next full request follows a recall. */
    virtual void SetGetAllFromRecall(bool on) = 0;
    /** Command 13: the unit answers with the preset's number, configuration and name ('pInf'). */
    virtual void RequestPresetInfo(int presetNumber) = 0;
    /** Command 14: the unit answers with the preset's flags ('prfg'). */
    virtual void RequestPresetFlags(int presetNumber) = 0;
    /** Command 15: the preset's flags (4 locked, 8 hidden). */
    virtual void SetPresetFlags(int presetNumber, int32_t flags) = 0;
    /** Whether the watcher sends changed parameters every 100 ms. */
    virtual bool IsSendingEnabled() = 0;
    /** Switches that sender on or off (switching it on drops what changed while it was off). */
    virtual void SetSendingEnabled(bool on) = 0;
};

/** Registers the requests (null: none); the caller keeps ownership and unregisters them before they
    go. Thread-safe. */
void SetDeviceRequests(IDeviceRequests* requests);
/** The registered requests, or the link without a unit; never null. */
IDeviceRequests& GetDeviceRequests();
