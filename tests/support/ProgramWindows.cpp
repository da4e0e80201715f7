#include "support/ProgramWindows.h"

#include <commctrl.h>
#include <shlobj.h>

#include "support/Gui.h"

namespace {

struct WindowSearch {
    DWORD pid;
    const std::function<bool(HWND)>* accept;
    HWND found;
};

BOOL CALLBACK AcceptWindow(HWND hwnd, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd) || !(*s->accept)(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

HWND WaitForWindow(const RunningProgram& program, std::function<bool(HWND)> accept) {
    WindowSearch search{GetProcessId(program.Process()), &accept, nullptr};
    PumpUntil([&] {
        EnumWindows(&AcceptWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

HWND WaitForTitle(const RunningProgram& program, const std::wstring& title) {
    return WaitForWindow(program, [&](HWND hwnd) { return WindowTextOf(hwnd) == title; });
}

HWND WaitForFolderBrowser(const RunningProgram& program, HWND owner) {
    return WaitForWindow(program, [&](HWND hwnd) {
        return GetWindow(hwnd, GW_OWNER) == owner && FindWindowExW(hwnd, nullptr, WC_TREEVIEWW, nullptr);
    });
}

bool WaitFor(const std::function<bool()>& condition) { return PumpUntil(condition, 10000); }

bool SelectInFolderBrowser(const RunningProgram& program, HWND browser, const std::wstring& folder) {
    HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
    if (!tree || !WaitFor([&] { return SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0; })) return false;
    RemoteText path(program.Process(), Narrow(folder));
    return WaitFor([&] {
        SendMessageW(browser, BFFM_SETSELECTIONA, TRUE, path.Address());
        return SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
    });
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

RemoteText::RemoteText(HANDLE process, const std::string& text) : process_(process) {
    address_ = VirtualAllocEx(process, nullptr, text.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_) WriteProcessMemory(process, address_, text.c_str(), text.size() + 1, nullptr);
}

RemoteText::~RemoteText() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}
