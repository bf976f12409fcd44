#include "gui/GuiViewServices.h"

#include "gui/GuiHelpers.h"
#include "gui/XViewBuilder.h"
#include "gui/XViewExplorer.h"

bool GuiViewServices::IsCursorShown()
{
    return IsMousePointerShown();
}

bool GuiViewServices::IsWaitCursorOn()
{
    return IsBusy();
}

void GuiViewServices::InspectorSelectView(XView* view)
{
    XViewExplorer& inspector = XViewExplorer::Get();
    if (inspector.IsOpen() && !IsBusy())
        inspector.InspectView(view);
}

void GuiViewServices::InspectorAddProperty(XPropertyList* list, const char* group, const char* field,
                                           const char* label)
{
    if (list != nullptr)
        list->Add(group, field, label);
}

void GuiViewServices::BuildDescription(const char* name, XView* root)
{
    if (name == nullptr || root == nullptr)
        return;
    XViewBuilder builder(name);
    builder.BuildInto(root);
}

GuiViewServices& GetGuiViewServices()
{
    static GuiViewServices services;
    return services;
}
