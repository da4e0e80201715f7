#include "platform/Dpi.h"

namespace dpi {
namespace {

template <class Fn>
Fn User32(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT ForSystem() {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? static_cast<UINT>(value) : 96;
}

UINT ForWindow(HWND window) {
    static const auto getDpiForWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT value = getDpiForWindow(window);
        if (value) return value;
    }
    return ForSystem();
}

void AdjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, UINT value) {
    static const auto adjustForDpi = User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&rect, style, FALSE, exStyle, value)) return;
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

void TakeOverDpiScaling(HWND dialog) {
    static const auto setBehavior = User32<BOOL(WINAPI*)(HWND, int, int)>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (setBehavior) setBehavior(dialog, kDisableAll, kDisableAll);
}

void TakeOverControlDpiScaling(HWND control) {
    static const auto setBehavior = User32<BOOL(WINAPI*)(HWND, int, int)>("SetDialogControlDpiChangeBehavior");
    constexpr int kDisableFontAndLayout = 1 | 2;  // DCDC_DISABLE_FONTUPDATE | DCDC_DISABLE_RELAYOUT
    if (setBehavior) setBehavior(control, kDisableFontAndLayout, kDisableFontAndLayout);
}

}  // namespace dpi
