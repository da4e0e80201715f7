#include "ui/MessageLoop.h"

namespace {

constexpr wchar_t kDialogProperty[] = L"Tivrelon.Form";

void Dispatch(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

void AddDialogWindow(HWND window) { SetPropW(window, kDialogProperty, reinterpret_cast<HANDLE>(1)); }

void RemoveDialogWindow(HWND window) { RemovePropW(window, kDialogProperty); }

int RunMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && GetPropW(root, kDialogProperty) && IsDialogMessageW(root, &msg)) continue;
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

bool RunModalLoop(HWND dialog) {
    MSG msg;
    while (IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // Let the outer loop see the quit request too.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!IsDialogMessageW(dialog, &msg)) Dispatch(msg);
    }
    return true;
}
