#include "ui/WindowClass.h"

#include "platform/PlatformError.h"

namespace {

HICON LoadIconAt(HINSTANCE instance, int iconId, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

void RegisterWindowClass(const WindowClassSpec& spec) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, spec.name, &wc)) return;
    wc.style = spec.style;
    wc.lpfnWndProc = spec.procedure;
    wc.cbWndExtra = spec.extraBytes;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (spec.iconId) {
        wc.hIcon = LoadIconAt(instance, spec.iconId, SM_CXICON, SM_CYICON);
        wc.hIconSm = LoadIconAt(instance, spec.iconId, SM_CXSMICON, SM_CYSMICON);
    }
    wc.lpszClassName = spec.name;
    if (!RegisterClassExW(&wc)) ThrowLastError("RegisterClassEx");
}
