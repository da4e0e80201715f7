#pragma once
#include <windows.h>

#include <string>

class Form;

// The icon choice: the picker, the extraction and the preview drawing.
namespace modIcon {

// The zero-based index of the icon chosen last; -1 after a cancelled picker.
inline int SelectedIconIndex = 0;

}  // namespace modIcon
