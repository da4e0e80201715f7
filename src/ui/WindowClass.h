#pragma once
#include <windows.h>

// Registers the program's window class `name` on first use; later calls find
// it registered and do nothing. The forms and the picture box have their own.
struct WindowClassSpec {
    const wchar_t* name;
    WNDPROC procedure;
    UINT style = 0;
    int extraBytes = 0;  // window bytes: DLGWINDOWEXTRA for a dialog's class
    int iconId = 0;      // resource id of the window icon, if any
};
void RegisterWindowClass(const WindowClassSpec& wanted);
