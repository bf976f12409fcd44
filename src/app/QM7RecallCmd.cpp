#include "app/QM7RecallCmd.h"

#include "app/QM7App.h"
#include "app/QM7StoreCmd.h"
#include "app/RecallPresetDialog.h"
#include "app/UnitConnectionCheck.h"
#include "core/IAppServices.h"
#include "core/ParamEdits.h"
#include "core/XApplication.h"
#include "core/XCommandManager.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "device/DeviceCommWatcher.h"
#include "gui/XOKDialog.h"
#include "gui/XYesNoCancelDialog.h"
#include "platform/PlatformClock.h"

#include <chrono>

namespace
{
constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";
constexpr const char* kCancel = "Cancel";
constexpr const char* kOK = "OK";
constexpr const char* kPresetNumItem = "presetNum";
constexpr const char* kPresetConfigItem = "presetConfig";
constexpr const char* kPresetNameItem = "presetName";
constexpr const char* kPresetFlagsItem = "presetFlags";
/** How often the wait for the answer looks at the (scaled) clock. */
constexpr auto kWaitSlice = std::chrono::milliseconds(10);

void PostToApplication(XMessage& message)
{
    if (XApplication* application = GetApplication())
        application->PostMessage(&message);
}

int32_t ValueOf(QM7App& app, int32_t id)
{
    return ParamEdits::TruncToInt(app.GetParam(id)->GetValue());
}

void ShowMessage(QM7App& app, const char* title, const char* text)
{
    XOKDialog dialog(title, text, app.GetParentView(), nullptr, kOK);
    dialog.RunModal(app.GetParentView(), 0);
}
} // namespace

QM7RecallCmd::~QM7RecallCmd()
{
    LeaveHandlerSlot();
}

void QM7RecallCmd::Execute(XMessage* /*request*/)
{
    QM7App* app = QM7App::GetInstance();
    if (app == nullptr || !CheckUnitConnection())
        return;
    app->GetParam(kRecallMemLocationId)->ChangeValue(ValueOf(*app, kCurrentPresetId), true);

    if (app->IsGlobalDirty())
    {
        const XString programName = app->GetPresetParam(kProgramNameId)->GetText().TrimRight(' ');
        const XString question = XString("Store changes to preset ") + programName + " first?";
        XView* parent = app->GetParentView();
        XYesNoCancelDialog storeFirst(kStoreFirstTitle, question, parent, nullptr, kYes, kNo, kCancel);
        const XDialogResult answer = storeFirst.RunModal(parent, 0);
        if (answer == XDialog::kCancel)
            return;
        if (answer == XDialog::kOK)
        {
            const int32_t current = ValueOf(*app, kCurrentPresetId);
            if (current < QM7App::kUserPresetCount)
                app->GetParam(kStoreMemLocationId)->ChangeValue(current, true);
            DeviceCommWatcher* watcher = app->GetDeviceWatcher();
            watcher->SetRecallAfterStore(true);
            auto* store = dynamic_cast<QM7StoreCmd*>(FindCommandByName(QM7StoreCmd::kName));
            // The recall dialog comes back once the unit's data has been read again after the store.
            if (store != nullptr && store->StoreFlow())
                return;
            if (DeviceCommWatcher* still = app->GetDeviceWatcher())
                still->SetRecallAfterStore(false);
        }
    }
    AskAndRequestPresetInfo();
}

void QM7RecallCmd::RecallAfterStore(XMessage* /*message*/)
{
    QM7App* app = QM7App::GetInstance();
    if (app == nullptr)
        return;
    if (DeviceCommWatcher* watcher = app->GetDeviceWatcher())
        watcher->SetRecallAfterStore(false);
    if (CheckUnitConnection())
        AskAndRequestPresetInfo();
}

void QM7RecallCmd::AskAndRequestPresetInfo()
{
    QM7App* app = QM7App::GetInstance();
    XView* parent = app->GetParentView();
    RecallPresetDialog dialog(kTitle, kDialogText, parent, nullptr, kYes, kCancel);
    // The handler slot is taken only for an answer the user asked for: a cancelled dialog leaves
    // every later answer to the application.
    if (dialog.RunModal(parent, 0) != XDialog::kOK)
        return;
    DeviceCommWatcher* watcher = app->GetDeviceWatcher();
    if (watcher == nullptr)
        return;
    const int32_t location = ValueOf(*app, kRecallMemLocationId);
    BecomeHandler(watcher, location);
    watcher->RequestPresetInfo(location);
    if (WaitForPresetInfo())
        return;
    LeaveHandlerSlot();
    ShowMessage(*app, kTitle, kNoAnswerText);
}

void QM7RecallCmd::BecomeHandler(DeviceCommWatcher* watcher, int32_t number)
{
    {
        std::lock_guard<std::mutex> hold(infoLock);
        requestedNumber = number;
        infoArrived = false;
    }
    handlerWatcher.store(watcher);
    watcher->SetPresetHandler(this);
}

void QM7RecallCmd::LeaveHandlerSlot()
{
    QM7App* app = QM7App::GetInstance();
    DeviceCommWatcher* watcher = app != nullptr ? app->GetDeviceWatcher() : nullptr;
    if (watcher != nullptr && watcher->GetPresetHandler() == this)
        watcher->SetPresetHandler(nullptr);
    handlerWatcher.store(nullptr);
}

bool QM7RecallCmd::WaitForPresetInfo()
{
    const uint32_t start = PlatformClock::GetTickCount();
    std::unique_lock<std::mutex> hold(infoLock);
    while (!infoArrived)
    {
        if (PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) >= kPresetInfoTimeoutMs)
            return false;
        infoSignal.wait_for(hold, kWaitSlice);
    }
    return true;
}

void QM7RecallCmd::Prepare(void* argument)
{
    auto* message = static_cast<XMessage*>(argument);
    QM7App* app = QM7App::GetInstance();
    if (message == nullptr || message->GetWhat() != QM7App::kMsgRecallPrepare || app == nullptr ||
        !CheckUnitConnection())
        return;
    int32_t config = 0;
    message->FindInt32(kPresetConfigItem, config);
    const char* nameText = "";
    message->FindString(kPresetNameItem, nameText);
    const XString name(nameText != nullptr ? nameText : "");

    if (IsEmptyPresetName(name))
    {
        ShowMessage(*app, kEmptyPresetTitle, kEmptyPresetText);
        return;
    }
    if (config != app->GetCurrentConfig())
    {
        XView* parent = app->GetParentView();
        XOKCancelDialog question(QM7App::kConfigChangeTitle, QM7App::kConfigChangeText, parent, nullptr, kYes,
                                 kNo);
        const XDialogResult answer = question.RunModal(parent, 0);
        app->SetUserConfigChange(false);
        if (answer != XDialog::kOK)
            return;
    }
    DeviceCommWatcher* watcher = app->GetDeviceWatcher();
    watcher->RecallPreset(static_cast<unsigned>(ValueOf(*app, kRecallMemLocationId)));
    PlatformClock::Sleep(kSettleMs);
    watcher->SetGetAllFromRecall(true);
    watcher->RequestAllParams();
    PlatformClock::Sleep(kSettleMs);
}

void QM7RecallCmd::PresetInfoReceived(int number, int configuration, XString& name)
{
    bool requested = false;
    {
        std::lock_guard<std::mutex> hold(infoLock);
        requested = number == requestedNumber && !infoArrived;
        if (requested)
        {
            infoArrived = true;
            infoSignal.notify_all();
        }
    }
    if (requested)
    {
        if (DeviceCommWatcher* watcher = handlerWatcher.exchange(nullptr))
            watcher->SetPresetHandler(nullptr);
    }
    XMessage info(requested ? QM7App::kMsgRecallPrepare : DeviceCommWatcher::kMsgPresetInfo);
    info.AddInt32(kPresetNumItem, number);
    info.AddInt32(kPresetConfigItem, configuration);
    info.AddString(kPresetNameItem, name.CStr());
    PostToApplication(info);
}

void QM7RecallCmd::PresetFlagsReceived(int number, int flags)
{
    XMessage message(DeviceCommWatcher::kMsgPresetFlags);
    message.AddInt32(kPresetNumItem, number);
    message.AddInt32(kPresetFlagsItem, flags);
    PostToApplication(message);
}
