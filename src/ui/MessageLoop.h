#pragma once
#include <windows.h>

// The program's message loops. Keyboard messages for a form go through the
// dialog manager first, which gives it Tab, access keys, Enter and Esc.

// Marks `window` as a form whose keyboard messages the dialog manager takes.
void AddDialogWindow(HWND window);
void RemoveDialogWindow(HWND window);

// Pumps messages for every window until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Pumps messages while `dialog` exists, `dialog` taking the keyboard.
// Returns false when the loop ended on WM_QUIT (posted again for the outer
// loop) or on a failure of GetMessage instead.
bool RunModalLoop(HWND dialog);
