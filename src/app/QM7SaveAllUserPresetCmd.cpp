#include "app/QM7SaveAllUserPresetCmd.h"

#include "app/QM7App.h"
#include "app/UnitConnectionCheck.h"
#include "core/SystemInfo.h"
#include "device/DeviceCommWatcher.h"
#include "device/DeviceJobLink.h"
#include "device/UserPresetSavingMananger.h"
#include "device/XParamDoc.h"
#include "device/ui/DeviceJobWindow.h"
#include "gui/IFolderChooser.h"

QM7SaveAllUserPresetCmd::QM7SaveAllUserPresetCmd(const XString& folder) : folder(folder) {}

XString QM7SaveAllUserPresetCmd::DefaultFolder()
{
    XString path = GetExecutableFolderPath();
    if (!path.IsEmpty() && !path.EndsWithChar('/'))
        path += "/";
    path += kPresetFolderName;
    return path;
}

void QM7SaveAllUserPresetCmd::Execute(XMessage* /*request*/)
{
    QM7App* app = QM7App::GetInstance();
    if (app == nullptr || !CheckUnitConnection())
        return;
    XString chosen = folder;
    if (!GetFolderChooser().ChooseFolder(kChooserTitle, kChooserWildcard, chosen))
        return;
    UserPresetSavingMananger job(chosen.CStr(), app->GetParamDoc(), app->GetDeviceJobLink());
    DeviceJobWindow::RunJob(job);
    if (DeviceCommWatcher* watcher = app->GetDeviceWatcher())
        watcher->RequestAllParams();
}
