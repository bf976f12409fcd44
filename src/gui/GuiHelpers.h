#pragma once

#include "core/XRGB.h"
#include "core/XRect.h"

#include <cstdint>

class IColourChooser;
class IMonitorList;
class XDebugConsole;
class XView;

// The small GUI helpers that views, windows and commands share: monitor geometry and centring, the
// drag pointer flag and pointer placement, the wait cursor, the colour chooser and the flush of the
// debug console. GUI thread only; the pointer and busy flags are process-wide.

/** The work area that GetWindowArea gives when there is no monitor at all. */
constexpr XRect kFallbackMonitorArea{0, 0, 1024, 768};

/** The number of display monitors. */
int32_t GetMonitorCount();
/** The work area of a monitor; an index past the last (or negative) gives monitor 0; the fallback
    area when there is no monitor. */
XRect GetMonitorArea(int32_t index);
/** The work area of the first monitor that overlaps the view's rectangle on the screen; the first
    monitor's when none does (or for a null view); kFallbackMonitorArea without monitors. */
XRect GetWindowArea(const XView* view);
/** Installs the monitor list (not owned; null restores JUCE's displays). */
void SetMonitorList(IMonitorList* list);

/** rect moved, same size, to be centred in outer, its left and top at least 0. */
XRect CenterRectIn(const XRect& rect, const XRect& outer);

/** The drag pointer flag (initially shown): while hidden, views report no mouse cursor. */
void HideMousePointer();
void ShowMousePointer();
bool IsMousePointerShown();
/** Moves the mouse pointer to screen coordinates. */
void SetMousePosition(int32_t x, int32_t y);

/** Shows the wait cursor in every window and sets the busy flag; HideWaitCursor clears the flag
    and restores the normal cursor. While busy, views show the wait cursor and ignore presses. */
void ShowWaitCursor();
void HideWaitCursor();
bool IsBusy();

/** Opens the colour chooser on the colour (opaque): true and the chosen colour (alpha 255) when
    the user confirms, false and the colour unchanged when the user cancels. */
bool ChooseSystemColour(XRGB& colour);
/** Installs the colour chooser (not owned; null restores JUCEColourChooser). */
void SetColourChooser(IColourChooser* chooser);

/** Appends the console's queued lines to its text editor (XDebugConsole::Flush); nothing for a
    null console. */
void FlushDebugConsole(XDebugConsole* console);
