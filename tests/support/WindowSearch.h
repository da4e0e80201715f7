#pragma once
#include <windows.h>

#include <functional>

// The one search over windows that the tests and the bench share: the first
// window that `accept` takes. Header-only, so that the bench uses it without
// the test framework.

namespace window_search {
struct State {
    const std::function<bool(HWND)>* accept;
    HWND found;
};
inline BOOL CALLBACK Visit(HWND hwnd, LPARAM p) {
    auto* s = reinterpret_cast<State*>(p);
    if (!(*s->accept)(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
}
}  // namespace window_search

// Among the top-level windows of thread `thread`, or of every thread when 0.
inline HWND FindTopLevel(const std::function<bool(HWND)>& accept, DWORD thread = 0) {
    window_search::State state{&accept, nullptr};
    const LPARAM p = reinterpret_cast<LPARAM>(&state);
    if (thread) {
        EnumThreadWindows(thread, &window_search::Visit, p);
    } else {
        EnumWindows(&window_search::Visit, p);
    }
    return state.found;
}

// Among the children of `parent`, at any depth.
inline HWND FindChild(HWND parent, const std::function<bool(HWND)>& accept) {
    window_search::State state{&accept, nullptr};
    EnumChildWindows(parent, &window_search::Visit, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

// A visible top-level window of process `pid` that `accept` takes.
inline HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& accept) {
    return FindTopLevel([&](HWND hwnd) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        return owner == pid && IsWindowVisible(hwnd) && accept(hwnd);
    });
}
