#include "modules/modBrowse.h"

#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "platform/Platform.h"
#include "platform/Redirector.h"
#include "platform/Refusal.h"
#include "platform/Text.h"

namespace modBrowse {

namespace {

constexpr size_t kPathChars = 260;
// The longest path Windows has: one the program cannot change is still
// learnt whole, to be told why.
constexpr size_t kLongestAnswer = 32768;
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
bool KeptExactly(const std::wstring& path) { return platform().FullPathName(path) == path; }

bool KeptExactlyWithItsFile(const std::wstring& folder) {
    // A drive root already ends in its backslash.
    return KeptExactly(folder) && KeptExactly(folder + (folder.back() == L'\\' ? L"" : L"\\") + L"desktop.ini");
}

// True when Windows maps the folder's own name to a device: its full path is
// then the device's, "\\.\CON". Windows 10 maps "aux", "Con.txt", "COM1",
// "nul .ini"; Windows 11 frees all but "NUL". Only the last name of a path
// is mapped: "C:\x\con\photos" is a real folder under a folder named so.
bool NamesADevice(const std::wstring& path) {
    return !path.starts_with(L"\\\\.\\") && platform().FullPathName(path).starts_with(L"\\\\.\\");
}

// Why Win32 would not keep a path: the folder's own name ends in a dot or a
// space, or else the name of a folder above it ends in a dot.
Refusal::Reason ShortenedName(const std::wstring& path) {
    const wchar_t last = path.back();
    return last == L'.' || last == L' ' ? Refusal::TrailingDotOrSpace : Refusal::TrailingDotAbove;
}

}  // namespace

std::optional<Refusal::Reason> RefusalOf(const std::wstring& folder) {
    if (folder.size() > kLongestPath) return Refusal::PathTooLong;
    if (NamesADevice(folder)) return Refusal::ReservedName;
    if (!KeptExactlyWithItsFile(folder)) return ShortenedName(folder);
    if (redirector::ShowsAnotherFolder(folder)) return Refusal::RedirectedFolder;
    if (!IsWellFormed(folder)) return Refusal::UnpairedSurrogate;
    return std::nullopt;
}

FolderChoice GetFolderPath(HWND owner) {
    std::wstring displayName(kPathChars, L' ');

    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.pszDisplayName = displayName.data();
    request.lpszTitle = kTitle;
    request.ulFlags = BIF_RETURNONLYFSDIRS;

    const UniqueItemList item(platform().SHBrowseForFolderW(&request));
    if (!item) return {};

    std::wstring path(kLongestAnswer, L' ');
    if (!platform().SHGetPathFromIDListEx(item.get(), path.data(), static_cast<DWORD>(path.size()))) return {};
    const size_t end = path.find(L'\0');
    // No terminator in the buffer, or nothing before it: not a path.
    if (end == std::wstring::npos || end == 0) return {};
    path.resize(end);
    return ChoiceOf(path);
}

FolderChoice ChoiceOf(const std::wstring& path) {
    if (const auto refusal = RefusalOf(path)) return {.path = {}, .refusal = refusal, .refused = path};
    return {.path = path, .refusal = std::nullopt, .refused = {}};
}

}  // namespace modBrowse
