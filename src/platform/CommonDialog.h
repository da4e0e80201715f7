#pragma once
#include <windows.h>

#include <string>

// Our stand-in for the common-dialog control: the Open dialog driven by a
// handful of properties, set before each use. FileName keeps its value from
// one use to the next, so a second use starts with the last file filled in.
class CommonDialog {
public:
    // Error code of a cancelled dialog when CancelError is set.
    static constexpr DWORD kCancelled = 32755;

    std::wstring DialogTitle;
    // "Description|pattern|Description|pattern..." as the control takes it.
    std::wstring Filter;
    // The filter entry selected when the dialog opens, counted from 1.
    int FilterIndex = 0;
    // When set, a cancel raises PlatformError("ShowOpen", kCancelled).
    bool CancelError = false;
    std::wstring FileName;

    // Shows the Open dialog, modal to `owner`; only existing files can be
    // confirmed. Returns normally only when the user confirmed a file, which
    // FileName then holds with its full path; a cancel leaves FileName as it
    // was. A failure of the dialog raises PlatformError.
    void ShowOpen(HWND owner);
};

// "a|b|c|d" to the double-NUL-terminated list the Open dialog takes.
std::wstring OpenDialogFilter(const std::wstring& filter);
