#include "app/MadeIconFile.h"

#include <cstdint>
#include <utility>

#include "app/WayBack.h"
#include "modules/IconFileBytes.h"
#include "modules/IniEncoding.h"
#include "modules/modINI.h"
#include "platform/Platform.h"

namespace madeicon {

namespace {

std::wstring IconFileNamedIn(const std::wstring& content) {
    return modINI::ValueOf(content, wayback::kShellSection, L"IconFile").value_or(L"");
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring Change::InFolder(const std::wstring& name) const { return folder_ + L"\\" + name; }

Change::Change(std::wstring folder, const std::wstring& content, const std::string& icon)
    : folder_(std::move(folder)), icon_(icon) {
    // The program's own: a name without a folder, of a plain file of the
    // folder's own (no link) that ends with the mark. Not there, not the
    // folder's own or unreadable: nothing of the program's.
    const std::wstring named = IconFileNamedIn(content), path = InFolder(named);
    if (named.find_first_of(L"\\/:") == std::wstring::npos && named.find_first_not_of(L'.') != std::wstring::npos) {
        try {
            services::RequireOwnFileOrNone(path, folder_);
            if (iconfile::Made(services::ReadFileBytes(path))) earlier_ = named;
        } catch (const std::exception&) {
        }
    }
    if (!earlier_.empty()) deletion_.emplace(path);
    if (icon_.empty()) return;
    // "Tivrelon-" and the eight hexadecimal digits of an FNV-1a hash of the
    // icon, counted on past names already there.
    uint32_t hash = 2166136261u;
    for (const char c : icon_) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    wchar_t name[] = L"Tivrelon-00000000.ico";
    WIN32_FIND_DATAW found;
    do {
        for (int digit = 0; digit < 8; ++digit) name[16 - digit] = L"0123456789abcdef"[(hash >> (4 * digit)) & 15];
        ++hash;
        name_ = name;
    } while (SameName(earlier_, name_) || platform().FindFile(InFolder(name_), found));
}

Change::~Change() {
    if (created_) DeleteFileW(InFolder(name_).c_str());
}

void Change::Make() {
    if (icon_.empty()) return;
    const std::wstring path = InFolder(name_);
    services::CreateNewFile(path);
    created_ = true;
    services::ReplaceBytes(path, icon_);
    services::SetAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// Marked last, when nothing else can fail: a mark taken back could leave
// the file deleted all the same.
void Change::Keep() {
    if (deletion_) {
        deletion_->Mark();
        deletion_->Keep();
    }
    created_ = false;
}

void Change::KeepUnlessNamedIn(const std::wstring& content) {
    if (!SameName(earlier_, IconFileNamedIn(content))) Keep();
}

std::wstring TextOf(const std::wstring& path) {
    try {
        return modINI::ReadTextFile(path);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace madeicon
