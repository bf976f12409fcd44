#pragma once

#include "device/IDeviceJobLink.h"

class DeviceCommWatcher;

/** The device jobs' way to the unit: the application's device watcher and the USB link under its
    connection. Without a watcher (null) it reports no connection and sends nothing. The watcher is
    not owned and must outlive this object. Any thread may call it. */
class DeviceJobLink final : public IDeviceJobLink
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

private:
    DeviceCommWatcher* const watcher; // not owned; may be null
};
