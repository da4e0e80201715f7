#include "support/ToolLocations.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

ToolLocations::ToolLocations() : lock_(CreateMutexW(nullptr, FALSE, L"Tivrelon.Tests.ToolLocations")) {
    WaitForSingleObject(lock_.get(), INFINITE);  // an abandoned lock is ours too
    Clear();
}

ToolLocations::~ToolLocations() {
    Clear();
    ReleaseMutex(lock_.get());
}

void ToolLocations::Clear() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPathKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kScratchKey);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kFolderKey, L"MSINFO");
}

void ToolLocations::SetValue(const wchar_t* keyName, const char* valueName, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, valueName, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot write " << valueName << ": error " << status;
}

void ToolLocations::SetPath(const std::wstring& path) { SetValue(kPathKey, "PATH", REG_SZ, ZeroTerminated(path)); }

void ToolLocations::SetFolder(const std::wstring& folder) {
    SetValue(kFolderKey, "MSINFO", REG_SZ, ZeroTerminated(folder));
}

std::string ZeroTerminated(const std::wstring& text) { return ToAnsi(text) + '\0'; }
