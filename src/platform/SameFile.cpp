#include "platform/SameFile.h"

#include <algorithm>

#include "platform/Services.h"

std::optional<Platform::FileId> IdentityOf(HANDLE handle) {
    Platform::FileId identity;
    if (!platform().GetFileId(handle, identity)) return std::nullopt;
    const auto all = [&](BYTE b) { return std::ranges::all_of(identity.id, [b](BYTE x) { return x == b; }); };
    if (all(0) || all(0xFF)) return std::nullopt;
    return identity;
}

namespace {

std::optional<Platform::FileId> IdentityAt(const std::wstring& path) {
    const UniqueHandle opened = services::OpenToQuery(path);
    return opened ? ::IdentityOf(opened.get()) : std::nullopt;
}

// `a`, whose identity is `known`, against `b`.
bool Same(const std::wstring& a, const std::optional<Platform::FileId>& known, const std::wstring& b) {
    const std::optional<Platform::FileId> other = known ? IdentityAt(b) : std::nullopt;
    if (known && other) return *known == *other;
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool SameFile(const std::wstring& a, const std::wstring& b) { return Same(a, IdentityAt(a), b); }

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    const std::optional<Platform::FileId> known = IdentityAt(folder);
    // Each folder above, up to the drive root ("C:\") or the share.
    for (size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos && slash > 1;
         slash = path.find_last_of(L'\\', slash - 1)) {
        const std::wstring above = path.substr(0, slash);
        if (Same(folder, known, above.back() == L':' ? above + L'\\' : above)) return true;
    }
    return false;
}
