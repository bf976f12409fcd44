#include "widgets/WidgetViewTypes.h"

#include "gui/ViewFactory.h"
#include "gui/XView.h"
#include "widgets/MasterTimeView.h"
#include "widgets/TextEntryDialog.h"
#include "widgets/XCheckBox.h"
#include "widgets/XFaderBar.h"
#include "widgets/XLCDView.h"
#include "widgets/XMatrixView.h"
#include "widgets/XMeterStick.h"
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

void WidgetViewTypes::Register()
{
    XView::RegisterViewClass("pot", &ViewFactory::Create<XPot>);
    XView::RegisterViewClass("scrollbar", &ViewFactory::Create<XScrollBar>);
    XView::RegisterViewClass("slider", &ViewFactory::Create<XSlider>);
    XView::RegisterViewClass("faderbar", &ViewFactory::Create<XFaderBar>);
    XView::RegisterViewClass("meterstick", &ViewFactory::Create<XMeterStick>);
    XView::RegisterViewClass("edittext", &ViewFactory::Create<XTextEditView>);
    XView::RegisterViewClass("timeedit", &ViewFactory::Create<XTimeView>);
    XView::RegisterViewClass("mastertimeedit", &ViewFactory::Create<MasterTimeView>);
    XView::RegisterViewClass("spinner", &ViewFactory::Create<XSpinner>);
    XView::RegisterViewClass("checkbox", &ViewFactory::Create<XCheckBox>);
    XView::RegisterViewClass("touchkey", &ViewFactory::Create<XTouchKey>);
    XView::RegisterViewClass("lcdview", &ViewFactory::Create<XLCDView>);
    XView::RegisterViewClass("matrix", &ViewFactory::Create<XMatrixView>);
    XView::RegisterViewClass("windowframe", &ViewFactory::Create<XWindowFrame>);
    XView::RegisterViewClass("titlebar", &ViewFactory::Create<XTitleBar>);
    XView::RegisterViewClass("sizer", &ViewFactory::Create<XSizer>);
}

void WidgetViewTypes::Install()
{
    ViewFactory::AddViewTypeRegistration(&WidgetViewTypes::Register);
    TextEntryDialog::Install();
}
