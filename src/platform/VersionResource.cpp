#include "platform/VersionResource.h"

#include <cstring>
#include <string_view>

#include "platform/PlatformError.h"

namespace {

// One node of the version-information tree: a length, a value length, a
// type, a NUL-terminated UTF-16 key, then the value and the children, each
// aligned on 32 bits.
struct Node {
    const BYTE* begin = nullptr;
    const BYTE* end = nullptr;
    std::wstring_view key;
    const BYTE* value = nullptr;
    WORD valueLength = 0;
    const BYTE* children = nullptr;
};

const BYTE* Align4(const BYTE* base, const BYTE* p) {
    return base + ((p - base + 3) & ~static_cast<ptrdiff_t>(3));
}

bool ReadNode(const BYTE* base, const BYTE* p, const BYTE* limit, Node& node) {
    if (limit - p < 6) return false;
    WORD length, valueLength, type;
    std::memcpy(&length, p, 2);
    std::memcpy(&valueLength, p + 2, 2);
    std::memcpy(&type, p + 4, 2);
    if (length < 6 || length > limit - p) return false;
    node.begin = p;
    node.end = p + length;
    const auto* key = reinterpret_cast<const wchar_t*>(p + 6);
    size_t keyLength = 0;
    while (reinterpret_cast<const BYTE*>(key + keyLength + 1) <= node.end && key[keyLength]) ++keyLength;
    node.key = std::wstring_view(key, keyLength);
    node.value = Align4(base, reinterpret_cast<const BYTE*>(key + keyLength + 1));
    // Text values count their length in characters, binary ones in bytes.
    node.valueLength = static_cast<WORD>(type == 1 ? valueLength * 2 : valueLength);
    if (node.value + node.valueLength > node.end) return false;
    node.children = Align4(base, node.value + node.valueLength);
    return true;
}

// The child of `parent` named `key` (any when key is empty).
bool FindChild(const BYTE* base, const Node& parent, std::wstring_view key, Node& child) {
    for (const BYTE* p = parent.children; p < parent.end; p = Align4(base, child.end)) {
        if (!ReadNode(base, p, parent.end, child)) return false;
        if (key.empty() || child.key == key) return true;
    }
    return false;
}

[[noreturn]] void Malformed() { throw PlatformError("ReadVersionResource", ERROR_RESOURCE_DATA_NOT_FOUND); }

}  // namespace

VersionResource ReadVersionResource(HMODULE module) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    if (!info) ThrowLastError("FindResource");
    HGLOBAL loaded = LoadResource(module, info);
    if (!loaded) ThrowLastError("LoadResource");
    const auto* base = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, info);

    Node root;
    if (!base || !ReadNode(base, base, base + size, root) || root.key != L"VS_VERSION_INFO") Malformed();
    VS_FIXEDFILEINFO fixed;
    if (root.valueLength < sizeof fixed) Malformed();
    std::memcpy(&fixed, root.value, sizeof fixed);
    if (fixed.dwSignature != VS_FFI_SIGNATURE) Malformed();

    VersionResource version;
    version.major = HIWORD(fixed.dwFileVersionMS);
    version.minor = LOWORD(fixed.dwFileVersionMS);
    version.revision = HIWORD(fixed.dwFileVersionLS);

    Node strings, table, entry;
    if (FindChild(base, root, L"StringFileInfo", strings) && FindChild(base, strings, {}, table) &&
        FindChild(base, table, L"ProductName", entry)) {
        const auto* text = reinterpret_cast<const wchar_t*>(entry.value);
        size_t n = entry.valueLength / 2;
        while (n > 0 && text[n - 1] == L'\0') --n;
        version.productName.assign(text, n);
    }
    if (version.productName.empty()) Malformed();
    return version;
}
