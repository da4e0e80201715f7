#include "platform/Registry.h"

#include "platform/Platform.h"
#include "platform/PlatformError.h"

namespace {

void Check(LSTATUS status, const char* call) {
    if (status != ERROR_SUCCESS) throw PlatformError(call, static_cast<DWORD>(status));
}

}  // namespace

void RegistryKeyCloser::operator()(HKEY key) const { platform().RegCloseKey(key); }

RegistryKey RegistryKey::Create(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    Check(platform().RegCreateKeyExW(root, path.c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE, &key), "RegCreateKeyExW");
    return RegistryKey(key);
}

std::optional<RegistryKey> RegistryKey::Open(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    const LSTATUS status = platform().RegOpenKeyExW(root, path.c_str(), KEY_QUERY_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    Check(status, "RegOpenKeyExW");
    return RegistryKey(key);
}

void RegistryKey::SetText(const std::wstring& name, const std::wstring& text) {
    const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    Check(platform().RegSetValueExW(key_.get(), name.c_str(), REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                    size),
          "RegSetValueExW");
}

std::optional<std::wstring> RegistryKey::Text(const std::wstring& name) const {
    // The value may change between the size and the read: ask again then.
    for (;;) {
        DWORD type = REG_NONE, size = 0;
        LSTATUS status = platform().RegQueryValueExW(key_.get(), name.c_str(), &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        Check(status, "RegQueryValueExW");
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        // One more character than asked: a value stored without its
        // terminating zero (or with an odd size) still reads whole.
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = platform().RegQueryValueExW(key_.get(), name.c_str(), &type, reinterpret_cast<BYTE*>(text.data()),
                                             &read);
        if (status == ERROR_MORE_DATA) continue;
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        Check(status, "RegQueryValueExW");
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        text.resize(read / sizeof(wchar_t));
        if (const size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return text;
    }
}

void DeleteRegistryTree(HKEY root, const std::wstring& path) {
    const LSTATUS status = platform().RegDeleteTreeW(root, path.c_str());
    if (status != ERROR_FILE_NOT_FOUND) Check(status, "RegDeleteTreeW");
}
