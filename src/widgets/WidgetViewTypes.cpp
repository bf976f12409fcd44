#include "widgets/WidgetViewTypes.h"

#include "gui/TextFieldAccess.h"
#include "gui/ViewFactory.h"
#include "widgets/MasterTimeView.h"
#include "widgets/TextEntryDialog.h"
#include "widgets/XCheckBox.h"
#include "widgets/XFaderBar.h"
#include "widgets/XLCDView.h"
#include "widgets/XMatrixView.h"
#include "widgets/XMeterStick.h"
#include "widgets/XPanelContainerView.h"
#include "widgets/XPot.h"
#include "widgets/XScrollBar.h"
#include "widgets/XSizer.h"
#include "widgets/XSlider.h"
#include "widgets/XSpinner.h"
#include "widgets/XTextEditView.h"
#include "widgets/XTimeView.h"
#include "widgets/XTitleBar.h"
#include "widgets/XTouchKey.h"
#include "widgets/XWindowFrame.h"
#include "widgets/XYPanner.h"

void WidgetViewTypes::ProvideCreators()
{
    ViewFactory::ProvideCreator("checkbox", &ViewFactory::Create<XCheckBox>);
    ViewFactory::ProvideCreator("pot", &ViewFactory::Create<XPot>);
    ViewFactory::ProvideCreator("scrollbar", &ViewFactory::Create<XScrollBar>);
    ViewFactory::ProvideCreator("sizer", &ViewFactory::Create<XSizer>);
    ViewFactory::ProvideCreator("slider", &ViewFactory::Create<XSlider>);
    ViewFactory::ProvideCreator("faderbar", &ViewFactory::Create<XFaderBar>);
    ViewFactory::ProvideCreator("meterstick", &ViewFactory::Create<XMeterStick>);
    ViewFactory::ProvideCreator("edittext", &ViewFactory::Create<XTextEditView>);
    ViewFactory::ProvideCreator("spinner", &ViewFactory::Create<XSpinner>);
    ViewFactory::ProvideCreator("windowframe", &ViewFactory::Create<XWindowFrame>);
    ViewFactory::ProvideCreator("titlebar", &ViewFactory::Create<XTitleBar>);
    ViewFactory::ProvideCreator("lcdview", &ViewFactory::Create<XLCDView>);
    ViewFactory::ProvideCreator("timeedit", &ViewFactory::Create<XTimeView>);
    ViewFactory::ProvideCreator("mastertimeedit", &ViewFactory::Create<MasterTimeView>);
    ViewFactory::ProvideCreator("touchkey", &ViewFactory::Create<XTouchKey>);
    ViewFactory::ProvideCreator("matrix", &ViewFactory::Create<XMatrixView>);
}

void WidgetViewTypes::RegisterFollowers()
{
    XPanelContainerView::RegisterViewTypes();
    XYPanner::RegisterViewTypes();
}

void WidgetViewTypes::Register()
{
    ProvideCreators();
    RegisterFollowers();
}

void WidgetViewTypes::Install()
{
    ProvideCreators();
    ViewFactory::AddViewTypeRegistration(&WidgetViewTypes::RegisterFollowers);
    TextEntryDialog::Install();
    // The text prompts read their "TextField" through this; without it every entry reads empty.
    TextFieldAccess::SetReader(
        [](XView* view, XString& out)
        {
            auto* field = dynamic_cast<XTextEditView*>(view);
            if (field != nullptr)
                out = field->GetText();
            return field != nullptr;
        });
}
