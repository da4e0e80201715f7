#include "ui/Dpi.h"

#include "platform/Declared.h"
#include "platform/Handles.h"
#include "platform/Platform.h"

namespace dpi {
namespace {

// Per-monitor DPI calls of Windows 10; older Windows lacks them.
Declared<UINT(WINAPI*)(HWND)> getDpiForWindow{declared::user32, "GetDpiForWindow"};
Declared<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)> adjustWindowRectExForDpi{declared::user32,
                                                                                   "AdjustWindowRectExForDpi"};
Declared<BOOL(WINAPI*)(HWND, int, int)> setDialogDpiChangeBehavior{declared::user32, "SetDialogDpiChangeBehavior"};
Declared<BOOL(WINAPI*)(HWND, int, int)> setDialogControlDpiChangeBehavior{declared::user32,
                                                                          "SetDialogControlDpiChangeBehavior"};

UINT ForSystem() {
    WindowDc screen(nullptr);
    const int value = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return value > 0 ? static_cast<UINT>(value) : 96;
}

}  // namespace

UINT ForWindow(HWND window) {
    if (auto fn = getDpiForWindow.IfPresent(); fn && window)
        if (const UINT value = fn(window)) return value;
    return ForSystem();
}

void AdjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, UINT value) {
    if (auto fn = adjustWindowRectExForDpi.IfPresent(); fn && fn(&rect, style, FALSE, exStyle, value)) return;
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

LOGFONTW TooltipFont(UINT value) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (platform().NonClientMetricsForDpi(&metrics, value)) return metrics.lfStatusFont;
    // Older Windows gives the metrics at the system DPI only.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, static_cast<int>(value),
                                           static_cast<int>(ForSystem()));
    return metrics.lfStatusFont;
}

void TakeOverDpiScaling(HWND dialog) {
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (auto fn = setDialogDpiChangeBehavior.IfPresent()) fn(dialog, kDisableAll, kDisableAll);
}

void TakeOverControlDpiScaling(HWND control) {
    constexpr int kDisableFontAndLayout = 1 | 2;  // DCDC_DISABLE_FONTUPDATE | DCDC_DISABLE_RELAYOUT
    if (auto fn = setDialogControlDpiChangeBehavior.IfPresent())
        fn(control, kDisableFontAndLayout, kDisableFontAndLayout);
}

}  // namespace dpi
