#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Refusal.h"

// The folder choice: the shell's folder browser.
namespace modBrowse {

// The longest folder path this program can change: its desktop.ini's path,
// 12 characters more, must stay under MAX_PATH for Win32's file calls.
inline constexpr size_t kLongestPath = MAX_PATH - 1 - 12;

// Why this program cannot change `folder` as the user means it, or nothing
// when it can; every road by which a folder is chosen goes through it:
// - PathTooLong: longer than kLongestPath: Win32's file calls would not
//   reach its desktop.ini;
// - ReservedName: Windows maps its own name to a device, which the file
//   calls would reach instead ("aux", "con.txt", "COM1" on Windows 10, only
//   "NUL" on Windows 11: Windows' own answer decides);
// - TrailingDotOrSpace, TrailingDotAbove: its own name ends in a dot or a
//   space, or the name of a folder above it ends in a dot; Win32 path
//   handling drops those and would reach the look-alike without them;
// - RedirectedFolder: under WOW64, System32 or a folder under it, which is
//   SysWOW64's folder by that name and not the one Explorer shows;
// - UnpairedSurrogate: half a UTF-16 surrogate pair in its path, which NTFS
//   allows and no desktop.ini can hold exactly. Any other name, in any
//   script, is taken exactly as it is.
std::optional<Refusal::Reason> RefusalOf(const std::wstring& folder);

struct FolderChoice {
    std::wstring path;  // empty when cancelled, path-less or refused
    std::optional<Refusal::Reason> refusal;
    std::wstring refused;  // the path refused, which the message may name
};

// Shows the shell's folder browser, modal to `owner`, and returns the chosen
// folder's file-system path exactly as the shell gives it (a drive root keeps
// its backslash); the empty text when the user cancelled, chose an item with
// no file-system path, or chose a folder this program cannot change (then
// `refusal` says why).
FolderChoice GetFolderPath(HWND owner);

// A folder path as a choice, checked as the browser's answer is: the path
// when this program can change that folder, else the empty path and the
// refusal. A folder handed over (the command line, a drop) comes through
// here too, so every road to a folder refuses the same names.
FolderChoice ChoiceOf(const std::wstring& path);

}  // namespace modBrowse
