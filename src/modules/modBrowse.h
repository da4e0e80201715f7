#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Refusal.h"

// The folder choice: the shell's folder browser.
namespace modBrowse {

// A chosen folder is refused when a character of its path is one the ANSI
// code page cannot hold exactly (UnwritableName: the profile writer would
// reach a look-alike folder, "Dvorák" for "Dvořák", or none), or when a name
// of it ends in a dot (any name) or a space (the last one): Win32 path
// handling drops those, so the change would land on the look-alike folder
// without it (TrailingDotOrSpace).
struct FolderChoice {
    std::wstring path;  // empty when cancelled, path-less or refused
    std::optional<Refusal::Reason> refusal;
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
