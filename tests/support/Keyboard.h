#pragma once
#include <windows.h>

#include <string>

// Real keystrokes, through the system's input queue to whichever window is
// in the foreground, as a user types them.

// Presses and releases `key`, with `modifier` (VK_MENU for Alt) held if any.
void PressKey(WORD key, WORD modifier = 0);
// Types `text` character by character.
void TypeText(const std::wstring& text);
// Brings `window` to the foreground; true once it is there.
bool BringToFront(HWND window);
