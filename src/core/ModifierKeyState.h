#pragma once

#include <cstdint>

/** Modifier-key queries for controls and parameter behaviours. A modifier counts as held when its
    parameter ("dca\shift", "dca\control", "dca\alt", found by path) exists with a value other than
    0, so that on-screen modifier buttons act like the keyboard's; otherwise the installed
    asynchronous key state decides (IAsyncKeyState: up while none is installed). Any thread. */
bool IsShiftKeyDown();
bool IsControlKeyDown();
bool IsAltKeyDown();

/** Mouse buttons held now: 2 when the right button is down, else 1 for the left one, else 0. */
int32_t GetMouseButtonState();
