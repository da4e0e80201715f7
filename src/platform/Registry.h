#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

// An opened registry key's handle, closed through the platform once,
// whatever path the caller takes. A predefined root is never owned.
struct RegistryKeyCloser {
    void operator()(HKEY key) const;
};
using UniqueRegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

// Registry keys of the current user's settings, read and written in UTF-16
// through the platform. Each failure but a key or value that is not there
// raises PlatformError, carrying the call's name and Windows' answer.
class RegistryKey {
public:
    // Creates the key `path` under `root`, or opens it where it is, to write.
    static RegistryKey Create(HKEY root, const std::wstring& path);
    // Opens the key `path` under `root` to read; nothing when it is not there.
    static std::optional<RegistryKey> Open(HKEY root, const std::wstring& path);

    // Sets the text value `name` (empty: the key's default value), REG_SZ.
    void SetText(const std::wstring& name, const std::wstring& text);
    // The text value `name`, without its terminating zero; nothing when it is
    // not there or holds no text.
    std::optional<std::wstring> Text(const std::wstring& name) const;

private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    UniqueRegistryKey key_;
};

// Deletes the key `path` under `root` and everything beneath it. A key that
// is not there is no failure.
void DeleteRegistryTree(HKEY root, const std::wstring& path);
