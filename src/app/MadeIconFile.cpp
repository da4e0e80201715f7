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

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }

std::optional<std::wstring> IconFileNamedIn(const std::wstring& content) {
    return modINI::ValueOf(content, wayback::kShellSection, L"IconFile");
}

bool SameName(const std::optional<std::wstring>& a, const std::optional<std::wstring>& b) {
    return a && b && CompareStringOrdinal(a->c_str(), -1, b->c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The program's own icon file that `content` names in `folder`: a name
// without a folder, of a plain file of the folder's own (no link) that ends
// with the mark. Nothing when anything else is there, or nothing at all.
std::optional<std::wstring> OwnIconFile(const std::wstring& folder, const std::wstring& content) {
    const std::optional<std::wstring> name = IconFileNamedIn(content);
    if (!name || name->empty() || name->find_first_of(L"\\/:") != std::wstring::npos || *name == L"." ||
        *name == L"..")
        return std::nullopt;
    try {
        services::RequireOwnFileOrNone(InFolder(folder, *name), folder);
        if (iconfile::Made(services::ReadFileBytes(InFolder(folder, *name)))) return name;
    } catch (const std::exception&) {
        // Not there, not the folder's own, or unreadable: nothing of ours.
    }
    return std::nullopt;
}

// "Tivrelon-" and the eight hexadecimal digits of an FNV-1a hash of `icon`,
// counted on past names already there.
std::wstring FreeName(const std::wstring& folder, const std::string& icon, const std::optional<std::wstring>& earlier) {
    uint32_t hash = 2166136261u;
    for (const char c : icon) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    std::wstring name = L"Tivrelon-00000000.ico";
    WIN32_FIND_DATAW found;
    do {
        for (int digit = 0; digit < 8; ++digit) name[16 - digit] = L"0123456789abcdef"[(hash >> (4 * digit)) & 15];
        ++hash;
    } while (SameName(name, earlier) || platform().FindFile(InFolder(folder, name), found));
    return name;
}

}  // namespace

Change::Change(std::wstring folder, const std::wstring& content, const std::string& icon)
    : folder_(std::move(folder)), icon_(icon), earlier_(OwnIconFile(folder_, content)) {
    if (earlier_) deletion_.emplace(InFolder(folder_, *earlier_));
    if (!icon_.empty()) name_ = FreeName(folder_, icon_, earlier_);
}

Change::~Change() {
    if (created_) DeleteFileW(InFolder(folder_, name_).c_str());
}

void Change::Make() {
    if (!icon_.empty()) {
        const std::wstring path = InFolder(folder_, name_);
        services::CreateNewFile(path);
        created_ = true;
        services::ReplaceBytes(path, icon_);
        services::SetAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    if (deletion_) deletion_->Mark();
}

void Change::Keep() {
    created_ = false;
    if (deletion_) deletion_->Keep();
}

namespace {

// The text of desktop.ini; none when there is none: the reset says so.
std::wstring TextOf(const std::wstring& iniPath) {
    try {
        return modINI::ReadTextFile(iniPath);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

Removal::Removal(const std::wstring& folder, std::wstring iniPath)
    : iniPath_(std::move(iniPath)), change_(folder, TextOf(iniPath_)) {
    change_.Make();
}

void Removal::Done() {
    if (!SameName(IconFileNamedIn(TextOf(iniPath_)), change_.Earlier())) change_.Keep();
}

}  // namespace madeicon
