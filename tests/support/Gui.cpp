#include "support/Gui.h"

#include "support/WindowSearch.h"

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Handles.h"

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

int PixelsOfColour(HWND hwnd, COLORREF colour) {
    UpdateWindow(hwnd);
    RECT r;
    GetClientRect(hwnd, &r);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = -r.bottom;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = GetDC(hwnd);
    UniqueBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemDc copy(CreateCompatibleDC(dc));
    {
        Selection selected(copy.get(), bitmap.get());
        BitBlt(copy.get(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    }
    ReleaseDC(hwnd, dc);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    // A DIB holds 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    const DWORD wanted = RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
    return static_cast<int>(std::count(pixels, pixels + r.right * r.bottom, wanted));
}

std::wstring AccessibleNameOf(HWND hwnd) {
    IAccessible* object = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&object));
    if (FAILED(hr)) {
        ADD_FAILURE() << "no accessible object: " << std::hex << hr;
        return L"";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(object->get_accName(self, &name)) && name) text = name;
    SysFreeString(name);
    object->Release();
    return text;
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
