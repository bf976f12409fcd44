#pragma once

#include "WidgetTestSupport.h"
#include "gui/ViewFactory.h"
#include "widgets/WidgetViewTypes.h"

namespace WidgetTest
{
/** The view factory with the GUI foundation's and the widgets' type words for the object's life,
    so that descriptions create widgets by their words; empty again afterwards. */
class WidgetTypeWords
{
public:
    WidgetTypeWords()
    {
        XView::ResetClassFactory();
        ViewFactory::ResetSteps();
        WidgetViewTypes::Install();
        RegisterViewTypes();
    }
    ~WidgetTypeWords()
    {
        XView::ResetClassFactory();
        ViewFactory::ResetSteps();
    }
    WidgetTypeWords(const WidgetTypeWords&) = delete;
    WidgetTypeWords& operator=(const WidgetTypeWords&) = delete;
};

/** UseBuiltSkin, then the built skin's colour and font tables; false when the skin is not built. */
inline bool UseBuiltSkinTables()
{
    return UseBuiltSkin() && SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder());
}
} // namespace WidgetTest
