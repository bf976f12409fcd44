#pragma once

#include "files/FileViewTypes.h"
#include "gui/ViewFactory.h"
#include "gui/XStyle.h"
#include "support/gui/SkinTestSupport.h"
#include "widgets/WidgetViewTypes.h"

/** Sets the file views up as the program does: the built skin, style as the current style, and the
    widget and file view types known to the description builder. False when the skin is not built,
    so the caller can skip. */
inline bool UseFileViewSkin(XStyle& style)
{
    if (!SkinTestSupport::UseBuiltSkin())
        return false;
    XStyle::SetCurrentStyle(&style);
    WidgetViewTypes::Install();
    FileViewTypes::Install();
    InitViewFactory();
    return true;
}
