#pragma once
#include <windows.h>

#include <memory>

#include "ui/Control.h"

// What each kind of control is, in one table: its window class and styles,
// whether its clicks reach the form, and the class that makes it.
struct KindTraits {
    const wchar_t* className;
    DWORD style;  // the kind's own; a row's alignment and flags add theirs
    DWORD exStyle;
    bool reportsClicks;
    std::unique_ptr<Control> (*make)(const ControlSpec& desc, int id, POINT origin, HBRUSH formBrush);
};

const KindTraits& TraitsOf(ControlKind kind);
