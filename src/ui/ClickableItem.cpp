#include "ui/ClickableItem.h"

#include <commctrl.h>

#include <memory>

namespace {

// What the item's subclass keeps: its role, and whether it still lives for
// the screen readers' objects that outlive it.
struct Clickable {
    ItemRole role;
    std::shared_ptr<bool> present = std::make_shared<bool>(true);
};

bool IsClickKey(WPARAM key) { return key == VK_SPACE || key == VK_RETURN; }

// The focus rectangle, unless the window hides keyboard cues (it shows them
// once the keyboard is used, as buttons do).
void DrawFocus(HWND item) {
    if (GetFocus() != item || (SendMessageW(item, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) return;
    RECT r;
    GetClientRect(item, &r);
    HDC dc = GetDC(item);
    DrawFocusRect(dc, &r);
    ReleaseDC(item, dc);
}

LRESULT CALLBACK ItemProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* clickable = reinterpret_cast<Clickable*>(data);
    switch (message) {
    case WM_GETDLGCODE: {
        // Without this the dialog manager would take Enter for the default
        // button.
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(item, message, wParam, lParam);
        if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && IsClickKey(msg->wParam))
            return code | DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (!IsClickKey(wParam)) break;
        // The click a mouse would give; a key held down clicks once.
        if (!(lParam & (1 << 30)))
            SendMessageW(GetParent(item), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item), STN_CLICKED),
                         reinterpret_cast<LPARAM>(item));
        return 0;
    case WM_GETOBJECT:
        // Windows would describe it as static text, which nothing invokes.
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
            if (const LRESULT object = AccessibleItemObject(item, clickable->role, clickable->present, wParam))
                return object;
        break;
    case WM_DESTROY:
        *clickable->present = false;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        InvalidateRect(item, nullptr, TRUE);
        break;
    case WM_PAINT: {
        // The rectangle is drawn by inverting: the whole item is painted
        // under it first, or a partial repaint would invert part of it twice.
        if (GetFocus() == item) InvalidateRect(item, nullptr, TRUE);
        const LRESULT result = DefSubclassProc(item, message, wParam, lParam);
        DrawFocus(item);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(item, &ItemProc, 0);
        delete clickable;
        break;
    default:
        break;
    }
    return DefSubclassProc(item, message, wParam, lParam);
}

}  // namespace

void MakeClickable(HWND item, ItemRole role) {
    auto clickable = std::make_unique<Clickable>(Clickable{.role = role});
    if (SetWindowSubclass(item, &ItemProc, 0, reinterpret_cast<DWORD_PTR>(clickable.get()))) clickable.release();
}
