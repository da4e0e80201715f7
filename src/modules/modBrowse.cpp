#include "modules/modBrowse.h"

#include <shlobj.h>

#include <memory>

#include "platform/Form.h"
#include "platform/Platform.h"
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

}  // namespace

std::wstring GetFolderPath(const Form& owner) {
    std::string displayName(kPathChars, ' ');
    const std::string title = ToAnsi(kTitle);

    BROWSEINFOA request{};
    request.hwndOwner = owner.Hwnd();
    request.pidlRoot = nullptr;
    request.pszDisplayName = displayName.data();
    request.lpszTitle = title.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = nullptr;
    request.lParam = 0;
    request.iImage = 0;

    const UniqueItemList item(platform().SHBrowseForFolderA(&request));
    if (!item) return {};

    std::string path(kPathChars, ' ');
    if (!platform().SHGetPathFromIDListA(item.get(), path.data())) return {};
    const size_t end = path.find('\0');
    // No terminator in the buffer: whatever is there is not a path.
    if (end == std::string::npos) return {};
    path.resize(end);

    // The shell turns every character the ANSI code page lacks into '?',
    // which no file name may hold: such a path names some other folder, or
    // none, so it is refused like a path-less item.
    if (path.find('?') != std::string::npos) return {};
    return FromAnsi(path);
}

}  // namespace modBrowse
