#include "modules/modBrowse.h"

#include <shlobj.h>

#include <memory>

#include "platform/Platform.h"
#include "platform/Refusal.h"
#include "platform/Text.h"

namespace modBrowse {

namespace {

constexpr size_t kPathChars = 260;
constexpr wchar_t kTitle[] = L"Choix du dossier";

// The browser hands back an item list allocated with the shell's allocator;
// it is needed only to ask for the path, then goes back to that allocator.
struct ItemListDeleter {
    void operator()(ITEMIDLIST_ABSOLUTE* item) const { platform().CoTaskMemFree(item); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST_ABSOLUTE, ItemListDeleter>;

// Win32 path handling drops a trailing dot from every name of a path, and
// trailing dots and spaces from its last name: "C:\x\a.\b" reaches
// "C:\x\a\b", "C:\x\b " reaches "C:\x\b". Both the folder (its
// attributes) and its desktop.ini must keep their exact paths through it.
bool KeptExactly(const std::wstring& path) {
    std::wstring full(path.size() + 1, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return n == path.size() && full.compare(0, n, path) == 0;
}

bool KeptExactlyWithItsFile(const std::wstring& folder) {
    // A drive root already ends in its backslash.
    return KeptExactly(folder) && KeptExactly(folder + (folder.back() == L'\\' ? L"" : L"\\") + L"desktop.ini");
}

std::optional<Refusal::Reason> RefusalOf(const std::wstring& path) {
    if (!KeptExactlyWithItsFile(path)) return Refusal::TrailingDotOrSpace;
    try {
        ToAnsi(path);
    } catch (const Refusal& refusal) {
        return refusal.Why();
    }
    return std::nullopt;
}

}  // namespace

FolderChoice GetFolderPath(HWND owner) {
    std::string displayName(kPathChars, ' ');
    const std::string title = ToAnsi(kTitle);

    BROWSEINFOA request{};
    request.hwndOwner = owner;
    request.pszDisplayName = displayName.data();
    request.lpszTitle = title.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;

    const UniqueItemList item(platform().SHBrowseForFolderA(&request));
    if (!item) return {};

    std::wstring path(kPathChars, L' ');
    if (!platform().SHGetPathFromIDListW(item.get(), path.data())) return {};
    const size_t end = path.find(L'\0');
    // No terminator in the buffer, or nothing before it: not a path.
    if (end == std::wstring::npos || end == 0) return {};
    path.resize(end);
    return ChoiceOf(path);
}

FolderChoice ChoiceOf(const std::wstring& path) {
    if (const auto refusal = RefusalOf(path)) return {.path = {}, .refusal = refusal};
    return {.path = path, .refusal = std::nullopt};
}

}  // namespace modBrowse
