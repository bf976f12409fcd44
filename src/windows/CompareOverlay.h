#pragma once

#include "device/GlobalParamTables.h"

class XText;
class SubWindow;

/** The cover of an editor window's content while the unit is in compare mode: an invisible text over
    the whole content with the tooltip "Compare Mode", shown only while "QM7\lockUIForEditCompare"
    is 0, so that it takes the clicks meant for the controls below it. */
namespace CompareOverlay
{
constexpr const char* kTooltip = "Compare Mode";
/** Main group id of "QM7\lockUIForEditCompare". */
constexpr int kEditLockParamId = GlobalParamTables::kEditCompareLockId;

/** Adds the cover to the window's content as its last child (above everything added before),
    binds its visibility and tells the edit-lock parameter's watchers 1000000. The window owns it. */
XText* Add(SubWindow& window);
} // namespace CompareOverlay
