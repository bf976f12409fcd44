#pragma once

#include "files/XFileManager.h"
#include "files/XListView.h"
#include "gui/XButton.h"
#include "gui/XCircle.h"
#include "gui/XCloseBox.h"
#include "gui/XColorPicker.h"
#include "gui/XFill.h"
#include "gui/XFrame.h"
#include "gui/XLine.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XPopupWindow.h"
#include "gui/XScrollPane.h"
#include "gui/XText.h"
#include "gui/XToggleSwitch.h"
#include "widgets/MasterTimeView.h"
#include "widgets/SurroundPanner.h"
#include "widgets/XCheckBox.h"
#include "widgets/XFaderBar.h"
#include "widgets/XLCDView.h"
#include "widgets/XMatrixView.h"
#include "widgets/XMeterStick.h"
#include "widgets/XPanelContainerView.h"
#include "widgets/XPanelView.h"
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

#include <typeindex>
#include <vector>

namespace WidgetTest
{
struct TypeCase
{
    const char* word;
    std::type_index type;
};

/** Every type word in the order the view factory registers it, with the exact class it makes: the
    33 built-in words, then the panels' and the panners' words. */
inline const std::vector<TypeCase>& AllTypes()
{
    static const std::vector<TypeCase> cases{
        {"checkbox", typeid(XCheckBox)},
        {"button", typeid(XButton)},
        {"switch", typeid(XButton)},
        {"colorpicker", typeid(XColorPicker)},
        {"text", typeid(XText)},
        {"closebox", typeid(XCloseBox)},
        {"list", typeid(XListView)},
        {"popupmenu", typeid(XPopupMenu)},
        {"popupwindow", typeid(XPopupWindow)},
        {"pot", typeid(XPot)},
        {"scrollbar", typeid(XScrollBar)},
        {"sizer", typeid(XSizer)},
        {"slider", typeid(XSlider)},
        {"faderbar", typeid(XFaderBar)},
        {"meterstick", typeid(XMeterStick)},
        {"frame", typeid(XFrame)},
        {"fill", typeid(XFill)},
        {"line", typeid(XLine)},
        {"pict", typeid(XPict)},
        {"circle", typeid(XCircle)},
        {"edittext", typeid(XTextEditView)},
        {"basic", typeid(XView)},
        {"spinner", typeid(XSpinner)},
        {"windowframe", typeid(XWindowFrame)},
        {"titlebar", typeid(XTitleBar)},
        {"lcdview", typeid(XLCDView)},
        {"timeedit", typeid(XTimeView)},
        {"mastertimeedit", typeid(MasterTimeView)},
        {"touchkey", typeid(XTouchKey)},
        {"scrollpane", typeid(XScrollPane)},
        {"matrix", typeid(XMatrixView)},
        {"toggleSwitch", typeid(XToggleSwitch)},
        {"filemanager", typeid(XFileManager)},
        {"PanelContainer", typeid(XPanelContainerView)},
        {"panel", typeid(XPanelView)},
        {"xypanner", typeid(XYPanner)},
        {"surroundpanner", typeid(SurroundPanner)},
    };
    return cases;
}
} // namespace WidgetTest
