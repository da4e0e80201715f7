#pragma once
#include <windows.h>

#include <optional>
#include <string>

class Form;

// The icon choice: the picker, the extraction and the preview drawing.
namespace modIcon {

// The zero-based index of the icon Apply writes, taken with the main
// window's IconFilePath when an icon was drawn.
inline int SelectedIconIndex = 0;

// One icon of a file, by its zero-based index as ExtractIcon counts them.
struct IconChoice {
    std::wstring file;
    int index = 0;
};

// Lets the user pick an icon of `iconFile` (the picker opens on the first
// one; the shell's own picker lets the user take it from another file), then
// draws it into `dc` over what it shows. Returns the icon drawn; nothing when
// the picker was cancelled or no icon could be drawn (a file without icons,
// a damaged icon file). Stores nothing: the caller takes the answer. A file
// name the ANSI code page cannot hold raises PlatformError
// (ERROR_NO_UNICODE_TRANSLATION); other failures pass to the caller too.
std::optional<IconChoice> ShowIcon(const Form& form, const std::wstring& iconFile, HDC dc);

// The shell's icon picker, modal to `form`, opened on `initialIndex`: the
// file and icon the user confirmed, or nothing when the user cancelled.
// Failures pass to the caller.
std::optional<IconChoice> PickIconIndex(const Form& form, const std::wstring& iconFile, int initialIndex);

// Draws icon `index` of `iconFile` at the top-left corner of `dc`, filling
// the bitmap selected into it, over what it shows: the preview at any DPI,
// and again after its size changed. True when an icon was drawn and
// released. Raises as ShowIcon does.
bool DrawIconOf(const std::wstring& iconFile, int index, HDC dc);

}  // namespace modIcon
