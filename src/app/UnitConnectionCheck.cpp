#include "app/UnitConnectionCheck.h"

#include "app/QM7App.h"
#include "gui/XOKDialog.h"

namespace
{
constexpr const char* kNoConnectionTitle = "No Connection...";
constexpr const char* kNoConnectionText = "There is no unit connected at this time.";
constexpr const char* kOK = "OK";
} // namespace

bool CheckUnitConnection()
{
    QM7App* app = QM7App::GetInstance();
    if (app != nullptr && app->IsUnitConnected())
        return true;
    XView* parent = app != nullptr ? app->GetParentView() : nullptr;
    XOKDialog dialog(kNoConnectionTitle, kNoConnectionText, parent, nullptr, kOK);
    dialog.RunModal(parent, 0);
    return false;
}
