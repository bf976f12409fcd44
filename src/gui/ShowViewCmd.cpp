#include "gui/ShowViewCmd.h"

ShowViewCmd::ShowViewCmd(XView* viewIn, const XString& titleIn) : view(viewIn), title(titleIn) {}

void ShowViewCmd::Execute(XMessage* request)
{
    if (view == nullptr)
        return;
    if (view->IsVisible())
        view->Hide();
    else
        view->Show();
}

bool ShowViewCmd::IsChecked()
{
    return view != nullptr && view->IsVisible();
}
