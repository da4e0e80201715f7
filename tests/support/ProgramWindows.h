#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "support/RunningProgram.h"

// Windows of another process, found and waited for from outside as a user
// sees them.

// Waits for a visible top-level window of the program that `accept` takes.
HWND WaitForWindow(const RunningProgram& program, std::function<bool(HWND)> accept);
HWND WaitForTitle(const RunningProgram& program, const std::wstring& title);
// The folder browser the program shows over `owner`.
HWND WaitForFolderBrowser(const RunningProgram& program, HWND owner);
// Pumps this thread's messages until `condition` holds (10 s at most).
bool WaitFor(const std::function<bool()>& condition);

// Points the program's folder browser at `folder` and waits until its tree
// shows it selected. The tree fills in after the browser shows, and Wine's
// browser selects its own first item meanwhile, so the request is repeated.
bool SelectInFolderBrowser(const RunningProgram& program, HWND browser, const std::wstring& folder);

// The control of `window`'s thread that has the keyboard focus.
HWND FocusOf(HWND window);

// ANSI text for a path known to be ASCII (the test folders).
inline std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// ANSI text written into another process's memory, for a message whose
// pointer that process reads (BFFM_SETSELECTIONA).
class RemoteText {
public:
    RemoteText(HANDLE process, const std::string& text);
    ~RemoteText();
    RemoteText(const RemoteText&) = delete;
    RemoteText& operator=(const RemoteText&) = delete;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }

private:
    HANDLE process_;
    void* address_ = nullptr;
};
