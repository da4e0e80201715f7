#include "support/Gui.h"

#include "support/WindowSearch.h"

#include "platform/Handles.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>

#include <vector>

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Click(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(control, WM_LBUTTONUP, 0, centre);
    if (GetWindowThreadProcessId(control, nullptr) == GetCurrentThreadId()) PumpMessages();
}

void Drop(HWND window, const std::vector<std::wstring>& items) {
    // The names follow the header, each ended by a NUL, the list by another.
    std::wstring names;
    for (const std::wstring& item : items) names += item + L'\0';
    names += L'\0';
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    *header = {.pFiles = sizeof(DROPFILES), .pt = {}, .fNC = FALSE, .fWide = TRUE};
    names.copy(reinterpret_cast<wchar_t*>(header + 1), names.size());
    GlobalUnlock(drop);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring WindowTextOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
    return FindChild(parent, [&](HWND hwnd) { return WindowTextOf(hwnd) == text; });
}

COLORREF PixelOf(HWND hwnd, int x, int y) {
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

int MiddleRowPixels(HWND hwnd, COLORREF colour) {
    RECT r;
    GetClientRect(hwnd, &r);
    int n = 0;
    for (int x = 0; x < r.right; ++x) n += PixelOf(hwnd, x, r.bottom / 2) == colour;
    return n;
}

ComPtr<IAccessible> AccessibleOf(HWND hwnd, bool throughItsWindow) {
    IAccessible* object = nullptr;
    IOleWindow* window = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object))))
        return nullptr;
    ComPtr<IAccessible> owned(object);
    if (!throughItsWindow || !owned) return owned;
    if (FAILED(owned->QueryInterface(IID_PPV_ARGS(&window)))) return nullptr;
    object = nullptr;
    ComPtr<IOleWindow>(window)->QueryInterface(IID_PPV_ARGS(&object));
    return ComPtr<IAccessible>(object);
}

namespace {
// Asks the object a screen reader gets for a window's client area about itself.
template <class Ask>
void AskAccessible(HWND hwnd, Ask ask) {
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF
    if (const ComPtr<IAccessible> object = AccessibleOf(hwnd)) ask(*object, self);
}
// A text answer: get_accName, get_accDefaultAction.
std::wstring TextAnswer(HWND hwnd, decltype(&IAccessible::get_accName) ask) {
    BSTR text = nullptr;
    AskAccessible(hwnd, [&](IAccessible& object, VARIANT self) { (object.*ask)(self, &text); });
    std::wstring answer = text ? text : L"";
    SysFreeString(text);
    return answer;
}
}  // namespace

std::wstring AccessibleNameOf(HWND hwnd) { return TextAnswer(hwnd, &IAccessible::get_accName); }

std::wstring AccessibleDefaultActionOf(HWND hwnd) { return TextAnswer(hwnd, &IAccessible::get_accDefaultAction); }

LONG AccessibleRoleOf(HWND hwnd) {
    VARIANT role{};
    AskAccessible(hwnd, [&](IAccessible& object, VARIANT self) { object.get_accRole(self, &role); });
    const LONG value = role.vt == VT_I4 ? role.lVal : 0;
    VariantClear(&role);
    return value;
}

LONG AccessibleStateOf(HWND hwnd) {
    VARIANT state{};
    AskAccessible(hwnd, [&](IAccessible& object, VARIANT self) { object.get_accState(self, &state); });
    return state.vt == VT_I4 ? state.lVal : 0;
}

bool DoAccessibleDefaultAction(HWND hwnd) {
    bool done = false;
    AskAccessible(hwnd, [&](IAccessible& object, VARIANT self) { done = object.accDoDefaultAction(self) == S_OK; });
    return done;
}

HWND FindThreadWindow(const wchar_t* className, HWND except, bool visibleOnly) {
    return FindTopLevel(
        [&](HWND hwnd) {
            wchar_t cls[64];
            GetClassNameW(hwnd, cls, 64);
            return hwnd != except && lstrcmpW(cls, className) == 0 && (!visibleOnly || IsWindowVisible(hwnd));
        },
        GetCurrentThreadId());
}

int SelectedItem(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

HWND TooltipsOf(HWND owner) {
    HWND tips = nullptr;
    do tips = FindThreadWindow(TOOLTIPS_CLASSW, tips, false);
    while (tips && GetWindow(tips, GW_OWNER) != owner);
    return tips;
}

std::wstring TooltipOf(HWND tips, HWND owner, HWND control) {
    wchar_t text[256] = L"";
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}
