#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The runtime services the handlers lean on: message boxes, the
// application's own information, and the file and program services. Each
// failure raises PlatformError; each handler meets it as its behaviour says.
//
// Not a seam: message boxes and program start and end go through Platform
// (what the tests fake), but the file services and the application's
// information call Windows directly, and tests meet them on real files.
namespace services {

// Message-box styles the program uses.
inline constexpr UINT kPlain = 0;
inline constexpr UINT kExclamation = MB_ICONEXCLAMATION;  // 48
inline constexpr UINT kInformation = MB_ICONINFORMATION;  // 64

// A modal message box with an OK button, owned by the active window; without
// a title of its own it shows the application title.
int MsgBox(const std::wstring& prompt, UINT style = kPlain, const std::optional<std::wstring>& title = std::nullopt);

// Read from the program's version resource and file name once, on the first
// call: neither changes while the program runs.
struct AppInfo {
    std::wstring title;
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::wstring folder;  // the folder of the program file, no trailing backslash
};
const AppInfo& App();

// The folder part of `path`, up to its last backslash (a drive root keeps
// it: "C:\"); empty when the path names no folder.
std::wstring FolderOf(const std::wstring& path);

// The file's name when a plain file of `path` exists; the empty text when
// none does. Hidden and system files and folders are not found. An invalid
// or unreachable path raises PlatformError.
std::wstring FindPlainFile(const std::wstring& path);

// Raises Refusal(NotOwnFile) unless `path`, a file of `folder`, is a plain
// file of that folder's own, or is not there at all: through a folder, a
// link or other reparse point, or a file that has other names (hard links),
// a change would land somewhere else. Windows' failures raise PlatformError.
void RequireOwnFileOrNone(const std::wstring& path, const std::wstring& folder);

// Replaces the whole attribute set of `path` (0 none, 2 hidden, 4 system).
void SetAttributes(const std::wstring& path, DWORD attributes);
// The same, for a path that is put back on the way out: false when Windows
// refused.
bool TrySetAttributes(const std::wstring& path, DWORD attributes) noexcept;

void RemoveFile(const std::wstring& path);

// Starts `path` as a program, shown with `showCommand`, in the current folder
// `directory` (the program's own when empty), not waited for.
void StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory);

// Ends the program at once.
void EndProgram();

}  // namespace services
