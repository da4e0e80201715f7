#include "support/Dialogs.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/Files.h"
#include "support/Gui.h"
#include "support/WindowSearch.h"

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

// Actions waiting for the input posted before them: a window of our own
// gets a message posted after that input, and runs the action when the
// thread's loop (a dialog's own, or the test's) hands it on.
std::vector<std::pair<WPARAM, std::function<void()>>> afterInput;
WPARAM lastAfterInput = 0;

LRESULT CALLBACK RunAfterInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return DefWindowProcW(hwnd, message, wParam, lParam);
    for (auto it = afterInput.begin(); it != afterInput.end(); ++it) {
        if (it->first != wParam) continue;
        const std::function<void()> action = std::move(it->second);
        afterInput.erase(it);
        action();
        break;
    }
    return 0;
}

HWND AfterInputWindow() {
    static const HWND window = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &RunAfterInput;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Tivrelon.Tests.AfterInput";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }();
    return window;
}

bool IsVisibleDialog(HWND hwnd) {
    wchar_t cls[16];
    GetClassNameW(hwnd, cls, 16);
    return IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0;
}

}  // namespace

void WhenWindow(std::function<HWND()> find, std::function<void(HWND)> act, DWORD timeoutMs, bool required) {
    const UINT_PTR id = SetTimer(nullptr, 0, 50, &Poll);
    watches.push_back({id, std::move(find), std::move(act), GetTickCount() + timeoutMs, required});
}

void ForgetWatches() {
    for (const Watch& watch : watches) KillTimer(nullptr, watch.id);
    watches.clear();
    afterInput.clear();
}

void CloseIfStillOpen(HWND window, std::function<void()> left) {
    if (!left) left = [] { ADD_FAILURE() << "a dialog was still open"; };
    afterInput.emplace_back(++lastAfterInput, [window, left = std::move(left)] {
        if (!IsWindow(window) || !IsWindowVisible(window)) return;
        left();
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    PostMessageW(AfterInputWindow(), WM_APP, lastAfterInput, 0);
}

HWND FindThreadWindowTitled(const std::wstring& caption) {
    return FindTopLevel([&](HWND hwnd) { return IsWindowVisible(hwnd) && WindowTextOf(hwnd) == caption; },
                        GetCurrentThreadId());
}

HWND FindDialogWith(const std::function<bool(HWND)>& accept) {
    return FindTopLevel([&](HWND hwnd) { return IsVisibleDialog(hwnd) && accept(hwnd); }, GetCurrentThreadId());
}

HWND FindDialogHolding(const std::wstring& childText) {
    return FindDialogWith([&](HWND hwnd) { return FindChildByText(hwnd, childText) != nullptr; });
}

void PostKey(HWND target, UINT key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | (1u << 30) | (1u << 31));
}

void CancelThreadDialogs() {
    FindTopLevel(
        [](HWND hwnd) {
            if (IsVisibleDialog(hwnd)) PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
            return false;  // every one of them
        },
        GetCurrentThreadId());
}
