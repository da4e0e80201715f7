#pragma once
#include <windows.h>

#include <string>

// Our own icon picker, for systems whose shell picker shows nothing (Wine's
// answers "cancelled" at once). It keeps the shell picker's contract: modal
// and owned by `owner`, every icon of `file` listed, `index` selected when
// it opens; true with the confirmed icon in `index`, false when the user
// cancelled. Arrow keys move, Enter confirms, Esc cancels, a double-click
// confirms. Raises PlatformError when the dialog cannot be shown.
bool PickIconFromFile(HWND owner, const std::wstring& file, int& index);

// The picker's window caption, by which tests and users find it.
inline constexpr wchar_t kIconPickerCaption[] = L"Changer d'icône";
