#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Handles.h"

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
inline constexpr UINT kYesNo = MB_YESNO | MB_DEFBUTTON2;   // a question: Oui, Non; Non unless chosen

// A modal message box with an OK button (or Oui and Non: kYesNo), owned by
// the active window; without a title of its own it shows the application
// title. Returns the button pressed.
int MsgBox(const std::wstring& prompt, UINT style = kPlain, const std::optional<std::wstring>& title = std::nullopt);

// Read from the program's version resource and file name once, on the first
// call: neither changes while the program runs.
struct AppInfo {
    std::wstring title;
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::wstring file;    // the program file's full path
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
// The same as a yes or no, a failed look-up (an invalid or unreachable path)
// taken as no file.
bool HasPlainFile(const std::wstring& path);

// `path` opened only to ask about it (a folder too, and through the links on
// its way); empty when Windows refuses.
UniqueHandle OpenToQuery(const std::wstring& path);
// The path the file system gives what `handle` holds open, after every link,
// 8.3 name and mapped drive on its way, as Win32 spells it ("C:\x",
// "\\server\share\x"; a drive root "C:"); empty when it gives none.
std::wstring FinalPath(HANDLE handle);

// Raises Refusal(NotOwnFile) unless `path`, a file of `folder`, is a plain
// file of that folder's own, or is not there at all: through a folder, a
// link or other reparse point, or a file that has other names (hard links),
// a change would land somewhere else. Windows' failures raise PlatformError.
void RequireOwnFileOrNone(const std::wstring& path, const std::wstring& folder);

// Creates `path` as a new, empty plain file, only when nothing at all is
// there: Wine shows a symbolic link that leads nowhere as no file, and
// creating through it would create its target elsewhere. Raises
// Refusal(NotOwnFile) when something is there, PlatformError otherwise.
void CreateNewFile(const std::wstring& path);

// The bytes of the file at `path`. Raises PlatformError when it cannot be read
// whole (held open without read sharing), Refusal(FileTooLarge) when it is
// over `limit` bytes: nothing over 1 MiB is a customisation file.
std::string ReadFileBytes(const std::wstring& path, uint64_t limit = 1 << 20);

// A file as it was when this was made (its bytes and attributes, or that it
// was not there), put back when this goes unless Keep() was called: a change
// to it either lands whole or leaves it as it was. A file that was not there
// is deleted only when the caller says it created it: whatever else stands
// at its path now is not the caller's. Reading it raises as ReadFileBytes
// does; putting it back is done as far as Windows lets it.
class FileSnapshot {
public:
    explicit FileSnapshot(std::wstring path);
    ~FileSnapshot();
    FileSnapshot(const FileSnapshot&) = delete;
    FileSnapshot& operator=(const FileSnapshot&) = delete;

    bool Existed() const { return attributes_ != INVALID_FILE_ATTRIBUTES; }
    DWORD Attributes() const { return attributes_; }
    const std::string& Bytes() const { return bytes_; }
    void Created() { created_ = true; }
    void Keep() { kept_ = true; }

private:
    std::wstring path_;
    DWORD attributes_;
    std::string bytes_;
    bool created_ = false;
    bool kept_ = false;
};

// Gives the existing file at `path` the bytes `bytes`, in place: never
// created where it is not. Raises PlatformError when Windows refuses.
void ReplaceBytes(const std::wstring& path, const std::string& bytes);

// A file opened to be deleted, before anything else changes: another
// program that holds it open without delete sharing refuses the opening.
// Mark() has it deleted when this goes, its name gone at once where the
// volume offers POSIX semantics, even while others hold it open. Unless
// Keep() was called by then, the mark is taken back; where Windows will not
// take it back, the file goes all the same, for a FileSnapshot made before
// this to put back: the caller's last step that can fail is Mark().
class PendingDeletion {
public:
    explicit PendingDeletion(const std::wstring& path);
    ~PendingDeletion();
    PendingDeletion(const PendingDeletion&) = delete;
    PendingDeletion& operator=(const PendingDeletion&) = delete;

    void Mark();
    void Keep() { kept_ = true; }

private:
    UniqueHandle file_;
    bool marked_ = false;
    bool posix_ = false;
    bool kept_ = false;
};

// Replaces the whole attribute set of `path` (0 none, 2 hidden, 4 system).
void SetAttributes(const std::wstring& path, DWORD attributes);
// The same, for a path that is put back on the way out: false when Windows
// refused.
bool TrySetAttributes(const std::wstring& path, DWORD attributes) noexcept;

// Starts `path` as a program, shown with `showCommand`, in the current folder
// `directory` (the program's own when empty), not waited for.
void StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory);

// Ends the program at once.
void EndProgram();

}  // namespace services
