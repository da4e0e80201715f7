#pragma once
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Handles.h"

// Handles the messages waiting for this thread, then returns.
void PumpMessages();
// Clicks `control` as a mouse does: a press and a release at its centre,
// through its thread's queue (a button, a check box, a link). A control of
// this thread is clicked before Click returns, and a modal dialog the click
// opens runs, and closes, inside it; another program's is clicked as soon as
// that program takes its input.
void Click(HWND control);
// Drops `items` (full paths) on `window` of this thread as Explorer drops
// files: WM_DROPFILES, with a DROPFILES its handler frees.
void Drop(HWND window, const std::vector<std::wstring>& items);

// Pumps messages until `done` holds or `timeoutMs` passes; true when done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
std::wstring WindowTextOf(HWND hwnd);
// The first child of `parent` (at any depth) whose text is `text`.
HWND FindChildByText(HWND parent, const std::wstring& text);
// The selected item of a list view, in this process or another; -1 if none.
int SelectedItem(HWND list);
// The colour of one pixel of a window's client area, as shown on screen.
COLORREF PixelOf(HWND hwnd, int x, int y);
// How many pixels across the middle of a window's client area show `colour`.
int MiddleRowPixels(HWND hwnd, COLORREF colour);
// The object a screen reader gets for a window's client area; or, when
// `throughItsWindow`, the one its IOleWindow gives for IAccessible again.
ComPtr<IAccessible> AccessibleOf(HWND hwnd, bool throughItsWindow = false);
// What a screen reader is told of a window: its name, its role (ROLE_SYSTEM_...,
// 0 if none) and its default action's name; and that action done as a screen
// reader does it (true when taken).
std::wstring AccessibleNameOf(HWND hwnd);
LONG AccessibleRoleOf(HWND hwnd);
LONG AccessibleStateOf(HWND hwnd);  // STATE_SYSTEM_...
std::wstring AccessibleDefaultActionOf(HWND hwnd);
bool DoAccessibleDefaultAction(HWND hwnd);

// The font `window` draws its text with.
LOGFONTW FontOf(HWND window);

// The tooltip window holding the tips of `owner`'s controls (hidden until
// it shows one), and the tip it holds for `control`.
HWND TooltipsOf(HWND owner);
std::wstring TooltipOf(HWND tips, HWND owner, HWND control);

// A top-level window of class `className` that this thread owns, other
// than `except`, visible unless `visibleOnly` is false; nullptr if none.
HWND FindThreadWindow(const wchar_t* className, HWND except = nullptr, bool visibleOnly = true);
