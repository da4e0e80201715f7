#pragma once
#include <windows.h>

#include <string>

class Form;

// The icon choice: the picker, the extraction and the preview drawing.
namespace modIcon {

// The zero-based index of the icon chosen last; -1 after a cancelled picker.
inline int SelectedIconIndex = 0;

// Lets the user pick an icon of `iconFile` (the picker opens on the first
// one), stores the answer in SelectedIconIndex, then draws that icon of
// `iconFile` at the top-left corner of `dc` over what it shows. Returns 1
// when an icon was drawn and released, 0 otherwise. Failures pass to the
// caller.
int ShowIcon(const Form& form, const std::wstring& iconFile, HDC dc);

// The shell's icon picker, modal to `form`, opened on `initialIndex`: the
// index the user confirmed, or -1 when the user cancelled. Failures pass to
// the caller.
int PickIconIndex(const Form& form, const std::wstring& iconFile, int initialIndex);

}  // namespace modIcon
