#pragma once
#include <windows.h>

// What a screen reader is told a clickable label or picture is.
enum class ItemRole { Link, Button };

// The answer to WM_GETOBJECT for the client area of `item`, a static
// control that reports clicks: the object Windows makes for it, but named a
// link or a push button, with a default action that clicks it as the mouse
// does. 0 when it cannot be made; the static control's own answer stands then.
LRESULT AccessibleItemObject(HWND item, ItemRole role, WPARAM wParam) noexcept;
