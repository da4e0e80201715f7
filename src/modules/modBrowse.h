#pragma once
#include <string>

class Form;

// The folder choice: the shell's folder browser.
namespace modBrowse {

// Shows the shell's folder browser, modal to `owner`, and returns the chosen
// folder's file-system path exactly as the shell gives it (a drive root keeps
// its backslash), or the empty text when the user cancelled or chose an item
// with no path this program can use.
std::wstring GetFolderPath(const Form& owner);

}  // namespace modBrowse
