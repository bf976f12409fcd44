#include "device/DeviceJobLink.h"

#include "device/DeviceCommWatcher.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"

DeviceJobLink::DeviceJobLink(DeviceCommWatcher* watcher) : watcher(watcher) {}

bool DeviceJobLink::IsConnected()
{
    if (watcher == nullptr)
        return false;
    TWRPCUSBConnection* connection = watcher->GetConnection();
    return connection != nullptr && connection->IsConnected();
}

void DeviceJobLink::SendParamIdCommand(XParam* param)
{
    if (watcher != nullptr)
        watcher->SendParamIdCommand(param);
}

void DeviceJobLink::SendParamValue(XParam* param, int wireId)
{
    if (watcher != nullptr)
        watcher->SendParamValue(param, wireId);
}

void DeviceJobLink::RequestPresetInfo(int presetNumber)
{
    if (watcher != nullptr)
        watcher->RequestPresetInfo(presetNumber);
}

void DeviceJobLink::RequestPresetFlags(int presetNumber)
{
    if (watcher != nullptr)
        watcher->RequestPresetFlags(presetNumber);
}

void DeviceJobLink::RecallPresetForSaving(unsigned presetNumber)
{
    if (watcher != nullptr)
        watcher->RecallPresetForSaving(presetNumber);
}

void DeviceJobLink::RequestAllParams()
{
    if (watcher != nullptr)
        watcher->RequestAllParams();
}

void DeviceJobLink::SendBulkBracket(bool begin)
{
    if (watcher != nullptr)
        watcher->SendBulkBracket(begin);
}

void DeviceJobLink::SetPresetHandler(IReceivePresetHandler* handler)
{
    if (watcher != nullptr)
        watcher->SetPresetHandler(handler);
}

IReceivePresetHandler* DeviceJobLink::GetPresetHandler()
{
    return watcher != nullptr ? watcher->GetPresetHandler() : nullptr;
}

void DeviceJobLink::SetSendingEnabled(bool on)
{
    if (watcher != nullptr)
        watcher->SetSendingEnabled(on);
}

XParam* DeviceJobLink::GetLiveParam(int wireId)
{
    return watcher != nullptr ? watcher->GetLiveParam(wireId) : nullptr;
}

int32_t DeviceJobLink::GetPendingFrames()
{
    if (watcher == nullptr || watcher->GetConnection() == nullptr)
        return 0;
    return watcher->GetConnection()->GetLink().GetPendingFrames();
}

int32_t DeviceJobLink::FindLiveWireId(const XParam* param)
{
    return watcher != nullptr ? watcher->FindLiveWireId(param) : -1;
}

void DeviceJobLink::SetGetAllFromRecall(bool on)
{
    if (watcher != nullptr)
        watcher->SetGetAllFromRecall(on);
}

void DeviceJobLink::SetPresetFlags(int presetNumber, int32_t flags)
{
    if (watcher != nullptr)
        watcher->SetPresetFlags(presetNumber, flags);
}

bool DeviceJobLink::IsSendingEnabled()
{
    return watcher == nullptr || watcher->IsSendingEnabled();
}
