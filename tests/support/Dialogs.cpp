#include "support/Dialogs.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/Files.h"
#include "support/Gui.h"

std::wstring TestIconsDll() { return TestProgramFolder() + L"\\TivrelonTestIcons.dll"; }

namespace {

struct Watch {
    UINT_PTR id;
    std::function<HWND()> find;
    std::function<void(HWND)> act;
    DWORD deadline;
    bool required;
};
std::vector<Watch> watches;

void CALLBACK Poll(HWND, UINT, UINT_PTR id, DWORD) {
    for (size_t i = 0; i < watches.size(); ++i) {
        if (watches[i].id != id) continue;
        const HWND found = watches[i].find();
        const bool late = static_cast<LONG>(GetTickCount() - watches[i].deadline) > 0;
        if (!found && !late) return;
        KillTimer(nullptr, id);
        Watch watch = std::move(watches[i]);
        watches.erase(watches.begin() + static_cast<std::ptrdiff_t>(i));
        if (found) {
            watch.act(found);
        } else if (watch.required) {
            ADD_FAILURE() << "the awaited window never appeared";
            CancelThreadDialogs();
        }
        return;
    }
    KillTimer(nullptr, id);
}

struct Search {
    const std::wstring* text;
    bool child;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(hwnd) || WindowTextOf(hwnd) != *s->text) return TRUE;
    s->found = hwnd;
    return FALSE;
}

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    wchar_t cls[16];
    GetClassNameW(hwnd, cls, 16);
    if (!IsWindowVisible(hwnd) || lstrcmpW(cls, L"#32770") != 0 || !FindChildByText(hwnd, *s->text)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM) {
    wchar_t cls[16];
    GetClassNameW(hwnd, cls, 16);
    if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0) PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

void WhenWindow(std::function<HWND()> find, std::function<void(HWND)> act, DWORD timeoutMs, bool required) {
    const UINT_PTR id = SetTimer(nullptr, 0, 50, &Poll);
    watches.push_back({id, std::move(find), std::move(act), GetTickCount() + timeoutMs, required});
}

void CancelIfStillOpen(std::function<HWND()> find, DWORD delayMs) {
    const DWORD due = GetTickCount() + delayMs;
    WhenWindow([find, due] { return static_cast<LONG>(GetTickCount() - due) > 0 ? find() : nullptr; },
               [](HWND window) {
                   ADD_FAILURE() << "a dialog was still open";
                   PressButton(window, IDCANCEL);
               },
               delayMs + 2000, false);
}

HWND FindThreadWindowTitled(const std::wstring& caption) {
    Search search{&caption, false, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialogHolding(const std::wstring& childText) {
    Search search{&childText, true, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PostKey(HWND target, UINT key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | (1u << 30) | (1u << 31));
}

void CancelThreadDialogs() { EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0); }
