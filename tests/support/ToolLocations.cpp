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

namespace {
constexpr REGSAM k64BitView = KEY_WOW64_64KEY;
}  // namespace

ToolPathIn64BitView::ToolPathIn64BitView(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToolLocations::kPathKey, 0, KEY_QUERY_VALUE | k64BitView, &key) ==
        ERROR_SUCCESS) {
        keyExisted_ = true;
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, L"PATH", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<BYTE> bytes(size);
            if (RegQueryValueExW(key, L"PATH", nullptr, &type, bytes.data(), &size) == ERROR_SUCCESS)
                saved_.emplace(type, std::move(bytes));
        }
        RegCloseKey(key);
    }
    std::wstring command = L"reg.exe add \"HKLM\\" + std::wstring(ToolLocations::kPathKey) +
                           L"\" /v PATH /t REG_SZ /d \"" + path + L"\" /f /reg:64";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                       &process)) {
        UniqueHandle owned(process.hProcess);
        CloseHandle(process.hThread);
        if (WaitForSingleObject(owned.get(), 60000) != WAIT_OBJECT_0) TerminateProcess(owned.get(), 1);
        GetExitCodeProcess(owned.get(), &exitCode);
    }
    if (exitCode != 0) ADD_FAILURE() << "reg add /reg:64 failed: " << exitCode;
}

ToolPathIn64BitView::~ToolPathIn64BitView() {
    if (!keyExisted_) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, ToolLocations::kPathKey, k64BitView, 0);
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToolLocations::kPathKey, 0, KEY_SET_VALUE | k64BitView, &key) !=
        ERROR_SUCCESS)
        return;
    if (saved_) {
        RegSetValueExW(key, L"PATH", 0, saved_->first, saved_->second.data(), static_cast<DWORD>(saved_->second.size()));
    } else {
        RegDeleteValueW(key, L"PATH");
    }
    RegCloseKey(key);
}
