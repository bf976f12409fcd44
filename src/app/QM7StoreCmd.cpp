#include "app/QM7StoreCmd.h"

#include "app/QM7App.h"
#include "app/StorePresetDialog.h"
#include "app/UnitConnectionCheck.h"
#include "core/IAppServices.h"
#include "core/ParamEdits.h"
#include "core/XParam.h"
#include "device/DeviceCommWatcher.h"
#include "device/PresetsManager.h"
#include "platform/PlatformClock.h"

namespace
{
constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";
constexpr const char* kCancel = "Cancel";

/** True when the unit's preset list shows location (1..) as empty. */
bool IsEmptySlot(int32_t location)
{
    PresetsManager::Preset entry("", PresetsManager::kNoConfiguration, 0);
    return PresetsManager::Instance().GetEntry(location - 1, &entry) && IsEmptyPresetName(entry.name);
}
} // namespace

void QM7StoreCmd::Execute(XMessage* /*request*/)
{
    if (CheckUnitConnection())
        StoreFlow();
}

bool QM7StoreCmd::StoreFlow()
{
    QM7App* app = QM7App::GetInstance();
    if (app == nullptr)
        return false;
    XParam* location = app->GetParam(kStoreMemLocationId);
    const int32_t current = ParamEdits::TruncToInt(app->GetParam(kCurrentPresetId)->GetValue());
    if (current < QM7App::kUserPresetCount)
        location->ChangeValue(current, true);

    XView* parent = app->GetParentView();
    StorePresetDialog dialog(kTitle, kDialogText, parent, nullptr, kYes, kCancel);
    if (dialog.RunModal(parent, 0) != XDialog::kOK)
        return false;

    bool stored = false;
    const int32_t slot = ParamEdits::TruncToInt(location->GetValue());
    bool confirmed = IsEmptySlot(slot);
    if (!confirmed)
    {
        XOKCancelDialog overwrite(kOverwriteTitle, kOverwriteText, parent,
                                  XOKCancelDialog::kDefaultDescription, kYes, kNo);
        confirmed = overwrite.RunModal(parent, 0) == XDialog::kOK;
    }
    DeviceCommWatcher* watcher = app->GetDeviceWatcher();
    if (confirmed && watcher != nullptr)
    {
        watcher->StorePreset(slot);
        stored = true;
    }
    app->GetParam(kListenModeId)->SetValue(0.0, true);
    PlatformClock::Sleep(kSettleMs);
    return stored;
}
