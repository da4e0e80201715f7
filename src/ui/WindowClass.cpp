#include "ui/WindowClass.h"

#include "platform/PlatformError.h"

namespace {

HICON LoadIconAt(HINSTANCE instance, int iconId, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

void RegisterWindowClass(const WindowClassSpec& wanted) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, wanted.name, &wc)) return;
    wc.style = wanted.style;
    wc.lpfnWndProc = wanted.procedure;
    wc.cbWndExtra = wanted.extraBytes;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (wanted.iconId) {
        wc.hIcon = LoadIconAt(instance, wanted.iconId, SM_CXICON, SM_CYICON);
        wc.hIconSm = LoadIconAt(instance, wanted.iconId, SM_CXSMICON, SM_CYSMICON);
    }
    wc.lpszClassName = wanted.name;
    if (!RegisterClassExW(&wc)) ThrowLastError("RegisterClassEx");
}
