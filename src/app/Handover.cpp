// A folder handed to the program: on its command line (a folder dropped on
// Tivrelon.exe or on a shortcut to it, "Envoyer vers"), or dropped on its
// window.
#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "app/frmIconChanger.h"
#include "modules/modBrowse.h"
#include "modules/modPicture.h"
#include "platform/Platform.h"
#include "platform/Services.h"

namespace {

constexpr wchar_t kSeveral[] = L"Tivrelon ne change l'icône que d'un dossier à la fois : donnez-lui un seul dossier.";

// `before` « what » `after`, as French quotes a name.
std::wstring Quoting(const std::wstring& before, const std::wstring& what, const std::wstring& after) {
    return before + L"« " + what + L" »" + after;
}

// Separators as Win32 writes them: "/" read as "\", no doubled "\" but the
// one that starts a share, and no closing "\" but a drive root's ("C:\").
std::wstring Tidied(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring tidy;
    for (const wchar_t c : path)
        if (c != L'\\' || tidy.size() < 2 || tidy.back() != L'\\') tidy += c;
    while (tidy.size() > 1 && tidy.back() == L'\\' && !(tidy.size() == 3 && tidy[1] == L':')) tidy.pop_back();
    return tidy;
}

// A drive letter and its root ("C:\..."), or a share ("\\serveur\..."):
// not a path relative to a current folder nobody sees, nor a device path
// ("\\?\", "\\.\") that no folder browser gives.
bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return (path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z';
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
}

// A full path with its "." and ".." names resolved, as Windows resolves a
// path it is given: "C:\x\..\y\." is "C:\y", and ".." stops at the drive
// root or the share. Only those names: a name ending in a dot keeps it, for
// the folder check to refuse.
std::wstring Resolved(const std::wstring& path) {
    size_t rootEnd = 3;  // "C:\"
    if (path.starts_with(L"\\\\")) {
        const size_t server = path.find(L'\\', 2);
        rootEnd = server == std::wstring::npos ? path.size() : std::min(path.find(L'\\', server + 1), path.size());
    }
    if (rootEnd >= path.size()) return path;
    std::vector<std::wstring> names;
    for (size_t start = rootEnd; start <= path.size();) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring name = path.substr(start, end - start);
        if (name == L"..") {
            if (!names.empty()) names.pop_back();
        } else if (name != L"." && !name.empty()) {
            names.push_back(name);
        }
        start = end + 1;
    }
    std::wstring resolved = path.substr(0, rootEnd);
    for (const std::wstring& name : names) {
        if (resolved.back() != L'\\') resolved += L'\\';
        resolved += name;
    }
    return resolved;
}

// What is wrong with `argument` as a folder to hand over, before the
// folder check; nothing when it is a full path.
std::wstring ProblemWith(const std::wstring& argument, const std::wstring& path) {
    if (argument.starts_with(L'/') || argument.starts_with(L'-'))
        return Quoting(L"Tivrelon ne connaît pas l'option ", argument,
                       L". Donnez-lui seulement le chemin d'un dossier, par exemple :\n"
                       L"Tivrelon.exe \"C:\\Users\\Public\\Documents\"");
    if (!IsFullPath(path))
        return Quoting(L"Tivrelon ne sait pas trouver ", argument,
                       L" : donnez-lui le chemin complet d'un dossier, par exemple C:\\Users\\Public\\Documents.");
    return {};
}

// Files of icons, by their extension: programs, libraries, icons, icon
// libraries, Control Panel items.
bool HoldsIcons(const std::wstring& file) {
    const size_t dot = file.find_last_of(L".\\");
    if (dot == std::wstring::npos || file[dot] != L'.') return false;
    const std::wstring extension = file.substr(dot);
    return std::ranges::any_of(std::initializer_list<const wchar_t*>{L".ico", L".exe", L".dll", L".icl", L".cpl"},
                               [&](const wchar_t* e) {
                                   return CompareStringOrdinal(extension.c_str(), -1, e, -1, TRUE) == CSTR_EQUAL;
                               });
}

// `path`, a full path, as the file system holds it: "\\?\" turns off Win32's
// trimming of a trailing dot or space.
std::wstring Verbatim(const std::wstring& path) {
    return path.starts_with(L"\\\\") ? L"\\\\?\\UNC" + path.substr(1) : L"\\\\?\\" + path;
}

struct DropDeleter {
    void operator()(HDROP drop) const { platform().DragFinish(drop); }
};
using UniqueDrop = std::unique_ptr<std::remove_pointer_t<HDROP>, DropDeleter>;

// The first item of a drop, by its full path; empty when there is none.
std::wstring FirstItem(HDROP drop) {
    const UniqueDrop owned(drop);
    const UINT size = platform().DragQueryFileW(drop, 0, nullptr, 0);
    if (size == 0) return {};
    std::wstring item(size + 1, L'\0');
    item.resize(platform().DragQueryFileW(drop, 0, item.data(), size + 1));
    return item;
}

}  // namespace

void frmIconChanger::TakeHandedArguments(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) return;
    if (arguments.size() > 1) {
        services::MsgBox(kSeveral, services::kExclamation);
        return;
    }
    const std::wstring tidied = Tidied(arguments[0]);
    if (const std::wstring problem = ProblemWith(arguments[0], tidied); !problem.empty()) {
        services::MsgBox(problem, services::kExclamation);
        return;
    }
    const std::wstring path = Resolved(tidied);
    // The browser's own check first: a name it refuses is told as it tells
    // it, whatever else is wrong with the path.
    const modBrowse::FolderChoice choice = modBrowse::ChoiceOf(path);
    if (choice.refusal) {
        TakeFolder(choice);
        return;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        services::MsgBox(Quoting(L"Tivrelon ne trouve pas le dossier ", path, L"."), services::kExclamation);
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        services::MsgBox(Quoting(L"", path,
                                 L" est un fichier, pas un dossier. Tivrelon change l'icône d'un dossier : "
                                 L"donnez-lui un dossier."),
                         services::kExclamation);
    } else {
        TakeFolder(choice);
    }
}

void frmIconChanger::OnDropFiles(HDROP drop) {
    const std::wstring item = FirstItem(drop);
    // While a dialog of the program is open the window takes no input: a
    // drop then is ignored, as a click would be.
    if (item.empty() || !IsWindowEnabled(Hwnd())) return;
    // Looked up as the file system holds it: a name Win32 would shorten
    // ("fin.") is then refused aloud, as the browser refuses it.
    const DWORD attributes = GetFileAttributesW(Verbatim(item).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        TakeFolder(modBrowse::ChoiceOf(item));
    } else if ((HoldsIcons(item) || modPicture::IsPictureName(item)) && !FolderPath.empty() &&
               !Ctl(chkReset).Checked()) {
        ChooseIconOf(item);
    }
}
