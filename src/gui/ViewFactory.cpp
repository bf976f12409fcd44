#include "gui/ViewFactory.h"

#include "gui/GuiViewServices.h"
#include "gui/ViewKeywords.h"
#include "gui/XCircle.h"
#include "gui/XButton.h"
#include "gui/XColorPicker.h"
#include "gui/XFill.h"
#include "gui/XFrame.h"
#include "gui/XLine.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XScrollPane.h"
#include "gui/XText.h"
#include "gui/XToggleSwitch.h"
#include "gui/XView.h"

#include <algorithm>
#include <vector>

namespace
{
std::vector<ViewFactoryStep>& TypeRegistrations()
{
    static std::vector<ViewFactoryStep> steps;
    return steps;
}

std::vector<ViewFactoryStep>& LateSetupSteps()
{
    static std::vector<ViewFactoryStep> steps;
    return steps;
}

void AddOnce(std::vector<ViewFactoryStep>& steps, ViewFactoryStep step)
{
    if (step != nullptr && std::find(steps.begin(), steps.end(), step) == steps.end())
        steps.push_back(step);
}
} // namespace

void ViewFactory::AddViewTypeRegistration(ViewFactoryStep step)
{
    AddOnce(TypeRegistrations(), step);
}

void ViewFactory::AddLateSetupStep(ViewFactoryStep step)
{
    AddOnce(LateSetupSteps(), step);
}

void ViewFactory::ResetSteps()
{
    TypeRegistrations().clear();
    LateSetupSteps().clear();
}

void RegisterViewTypes()
{
    // The GUI foundation's words, one line per class; the widgets and the lists add theirs through
    // ViewFactory::AddViewTypeRegistration.
    XView::RegisterViewClass("colorpicker", &ViewFactory::Create<XColorPicker>);
    XView::RegisterViewClass("text", &ViewFactory::Create<XText>);
    XView::RegisterViewClass("frame", &ViewFactory::Create<XFrame>);
    XView::RegisterViewClass("fill", &ViewFactory::Create<XFill>);
    XView::RegisterViewClass("line", &ViewFactory::Create<XLine>);
    XView::RegisterViewClass("pict", &ViewFactory::Create<XPict>);
    XView::RegisterViewClass("circle", &ViewFactory::Create<XCircle>);
    XView::RegisterViewClass("basic", &ViewFactory::Create<XView>);
    XView::RegisterViewClass("scrollpane", &ViewFactory::Create<XScrollPane>);
    XView::RegisterViewClass("button", &ViewFactory::Create<XButton>);
    XView::RegisterViewClass("switch", &ViewFactory::Create<XButton>);
    XView::RegisterViewClass("toggleSwitch", &ViewFactory::Create<XToggleSwitch>);
    XView::RegisterViewClass("popupmenu", &ViewFactory::Create<XPopupMenu>);

    for (ViewFactoryStep step : TypeRegistrations())
        step();
}

void InitViewFactory()
{
    IViewServices::Set(&GetGuiViewServices());
    RegisterViewTypes();
    RegisterViewKeywords();
    for (ViewFactoryStep step : LateSetupSteps())
        step();
}
