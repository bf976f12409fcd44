#pragma once

#include "device/IDeviceJobLink.h"
#include "device/IDeviceRequests.h"

class DeviceCommWatcher;

/** The device jobs' and the editor windows' way to the unit: the application's device watcher and
    the USB link under its connection. Without a watcher (null) it reports no connection, sends
    nothing, maps no wire id and reports sending on. The watcher is not owned and must outlive this
    object. Any thread may call it. */
class DeviceJobLink final : public IDeviceJobLink, public IDeviceRequests
{
public:
    explicit DeviceJobLink(DeviceCommWatcher* watcher);

    bool IsConnected() override;
    void SendParamIdCommand(XParam* param) override;
    void SendParamValue(XParam* param, int wireId) override;
    void RequestPresetInfo(int presetNumber) override;
    void RequestPresetFlags(int presetNumber) override;
    void RecallPresetForSaving(unsigned presetNumber) override;
    void RequestAllParams() override;
    void SendBulkBracket(bool begin) override;
    void SetPresetHandler(IReceivePresetHandler* handler) override;
    IReceivePresetHandler* GetPresetHandler() override;
    void SetSendingEnabled(bool on) override;
    XParam* GetLiveParam(int wireId) override;
    int32_t GetPendingFrames() override;

    int32_t FindLiveWireId(const XParam* param) override;
    void SetGetAllFromRecall(bool on) override;
    void SetPresetFlags(int presetNumber, int32_t flags) override;
    bool IsSendingEnabled() override;

private:
    DeviceCommWatcher* const watcher; // not owned; may be null
};
