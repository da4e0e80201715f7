#pragma once
#include <windows.h>

#include "ui/AccessibleItem.h"

// A label or image that reports clicks, made usable from the keyboard as a
// button is: Tab reaches it (WS_TABSTOP), it shows a focus rectangle while
// it has the focus, and Space or Enter click it. Clicks of the mouse pass as
// before, and the mouse never gives it the focus. Screen readers know it as
// `role`, and can click it.
void MakeClickable(HWND item, ItemRole role);
