#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "support/RunningProgram.h"

// Windows of another process, found and waited for from outside as a user
// sees them, and worked with posted input as a user's clicks and keys
// arrive. A message sent from another process runs the program's handler
// inside a cross-thread call, where Wine swallows a crash; a posted one runs
// it from the program's own message loop, where a crash ends the program.

// Waits for a visible top-level window of the program that `accept` takes.
HWND WaitForWindow(const RunningProgram& program, std::function<bool(HWND)> accept);
HWND WaitForTitle(const RunningProgram& program, const std::wstring& title);
// The folder browser the program shows over `owner`.
HWND WaitForFolderBrowser(const RunningProgram& program, HWND owner);
// Pumps this thread's messages until `condition` holds. Fails the test and
// returns false at once if the program being worked ends meanwhile, and
// after 30 s if nothing happens.
bool WaitFor(const std::function<bool()>& condition);

// The main window's controls as a user finds them: the buttons and the
// check box by their captions, the info-tip box as the window's one text box.
struct MainControls {
    HWND folder, icon, apply, reset, infoTip, quit, about;
    bool Found() const { return folder && icon && apply && reset && infoTip && quit && about; }
};
MainControls MainControlsOf(HWND main);

// Types `text` into an edit control of the program, character by character.
void PostText(HWND edit, const std::wstring& text);
// What an edit control of the program holds (the system's copy of another
// process's window text is only its caption at creation).
std::wstring EditTextOf(HWND edit);

// Points a folder browser, this process's or the program's, at `folder`
// and waits until its tree shows it selected; false if it never does.
bool SelectInFolderBrowser(HWND browser, const std::wstring& folder);

// Presses `button` (the program's "Choix de l'Icône..."), types `file` into
// the Open dialog and confirms it: the icon picker that then opens, or
// nullptr when none does.
HWND OpenInIconPicker(const RunningProgram& program, HWND button, const std::wstring& file);

// The control of `window`'s thread that has the keyboard focus.
HWND FocusOf(HWND window);

// ANSI text for a path known to be ASCII (the test folders).
inline std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Memory in another process, for a message whose pointer that process reads
// or fills (BFFM_SETSELECTIONA, TVM_GETITEMW).
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    void Write(const void* bytes, size_t size, size_t offset = 0);
    void Read(void* bytes, size_t size, size_t offset = 0) const;

private:
    HANDLE process_;
    char* address_ = nullptr;
};
