#pragma once
#include <windows.h>

#include <memory>

// What a screen reader is told a clickable label or picture is.
enum class ItemRole { Link, Button };

// True while the item lives: made with it, set false when it is destroyed,
// and shared with every object handed out for it. Its window handle cannot
// say so: once the item is gone, that handle may name another window.
using ItemPresence = std::shared_ptr<const bool>;

// The answer to WM_GETOBJECT for the client area of `item`, a static
// control that reports clicks: the object Windows makes for it, but named a
// link or a push button that Tab reaches, with a default action that clicks
// it as the mouse does. 0 when it cannot be made, or once the item is being
// destroyed; the static control's own answer stands then.
LRESULT AccessibleItemObject(HWND item, ItemRole role, const ItemPresence& present, WPARAM wParam) noexcept;
