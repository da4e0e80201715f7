#pragma once
#include <windows.h>

#include <stdexcept>

// A key of the current user's registry taken away for a test and put back
// as the user had it, values and sub-keys, however the test ends.
class KeptRegistryKey {
public:
    explicit KeptRegistryKey(const wchar_t* path) : path_(path), saved_(Move(path, kSaved)) {
        if (saved_ != ERROR_SUCCESS && saved_ != ERROR_FILE_NOT_FOUND) throw std::runtime_error("key not kept");
    }
    ~KeptRegistryKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_);
        if (saved_ == ERROR_SUCCESS) Move(kSaved, path_);
    }
    KeptRegistryKey(const KeptRegistryKey&) = delete;
    KeptRegistryKey& operator=(const KeptRegistryKey&) = delete;

private:
    static constexpr wchar_t kSaved[] = L"Software\\Tivrelon Tests, kept key";
    static LSTATUS Move(const wchar_t* from, const wchar_t* to) {  // ERROR_FILE_NOT_FOUND: no `from`
        RegDeleteTreeW(HKEY_CURRENT_USER, to);
        HKEY target = nullptr;
        LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr);
        if (!status) status = RegCopyTreeW(HKEY_CURRENT_USER, from, target);
        if (target) RegCloseKey(target);
        RegDeleteTreeW(HKEY_CURRENT_USER, status ? to : from);  // `from` goes once all of it is at `to`
        return status;
    }
    const wchar_t* path_;
    LSTATUS saved_;
};
