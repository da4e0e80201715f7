#pragma once
#include <windows.h>

#include <string>

// The folder choice: the shell's folder browser.
namespace modBrowse {

// Why a chosen folder is not taken.
enum class Refusal {
    None,
    // A character the ANSI code page cannot hold exactly: the profile writer
    // would reach a look-alike folder ("Dvorák" for "Dvořák"), or none.
    UnwritableName,
    // A name ending in a dot (any name of the path) or a space (the last
    // one): Win32 path handling drops it, so the change would land on the
    // look-alike folder without it.
    TrailingDotOrSpace,
};

struct FolderChoice {
    std::wstring path;  // empty when cancelled, path-less or refused
    Refusal refusal = Refusal::None;
};

// Shows the shell's folder browser, modal to `owner`, and returns the chosen
// folder's file-system path exactly as the shell gives it (a drive root keeps
// its backslash); the empty text when the user cancelled, chose an item with
// no file-system path, or chose a folder this program cannot change (then
// `refusal` says why).
FolderChoice GetFolderPath(HWND owner);

}  // namespace modBrowse
