#pragma once
#include <windows.h>

// Colours are 0x00BBGGRR; a value with the top bit set names system colour n.
inline constexpr COLORREF kSystemColour = 0x80000000;
inline constexpr COLORREF kButtonFace = kSystemColour | COLOR_BTNFACE;   // 0x8000000F
inline constexpr COLORREF kButtonText = kSystemColour | COLOR_BTNTEXT;   // 0x80000012
inline constexpr COLORREF kWindow = kSystemColour | COLOR_WINDOW;  // white on every standard theme
inline constexpr COLORREF kWindowText = kSystemColour | COLOR_WINDOWTEXT;
inline constexpr COLORREF kHotLight = kSystemColour | COLOR_HOTLIGHT;  // links
inline constexpr COLORREF kTransparent = 0xFFFFFFFF;  // labels that let the form show through

// The RGB value of `colour`, looking system colours up as they are now.
inline COLORREF ResolveColour(COLORREF colour) {
    if (colour != kTransparent && (colour & kSystemColour)) return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour;
}
