#include "app/AppFirmwareUpdateHost.h"

#include "app/QM7App.h"
#include "core/IAppServices.h"
#include "core/ParamEdits.h"
#include "core/XParam.h"
#include "device/GlobalParamTables.h"
#include "device/XParamDoc.h"
#include "gui/GuiHelpers.h"
#include "gui/XOKDialog.h"

#include <juce_events/juce_events.h>

namespace
{
constexpr const char* kOK = "OK";

/** Runs work on the GUI thread: at once there, else queued for it. */
void OnGuiThread(std::function<void()> work)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        work();
    else
        juce::MessageManager::callAsync(std::move(work));
}
} // namespace

AppFirmwareUpdateHost::AppFirmwareUpdateHost(QM7App& application) : app(application) {}

int AppFirmwareUpdateHost::GetSaveUserPreset()
{
    return ParamEdits::TruncToInt(app.GetParam(GlobalParamTables::kSaveUserPresetId)->GetValue());
}

XString AppFirmwareUpdateHost::GetSaveUserPresetPath()
{
    return app.GetParam(GlobalParamTables::kSaveUserPresetPathId)->GetText();
}

bool AppFirmwareUpdateHost::IsEmptyPresetName(const XString& name)
{
    return ::IsEmptyPresetName(name);
}

void AppFirmwareUpdateHost::SyncCompareGroups(bool toLive)
{
    app.SyncCompareGroups(toLive);
}

bool AppFirmwareUpdateHost::SavePresetFile(const XString& path)
{
    XParamDoc* document = app.GetParamDoc();
    return document != nullptr && document->WriteTo(path.CStr()) == 0;
}

void AppFirmwareUpdateHost::ShowWaitCursor(bool show)
{
    OnGuiThread(
        [show]
        {
            if (show)
                ::ShowWaitCursor();
            else
                ::HideWaitCursor();
        });
}

void AppFirmwareUpdateHost::ShowMessage(const XString& title, const XString& text)
{
    // QM7App::GetInstance, not app: a queued message may run after the application has gone.
    OnGuiThread(
        [title, text]
        {
            QM7App* application = QM7App::GetInstance();
            XView* parent = application != nullptr ? application->GetParentView() : nullptr;
            XOKDialog dialog(title, text, parent, nullptr, kOK);
            dialog.RunModal(parent, 0);
        });
}
