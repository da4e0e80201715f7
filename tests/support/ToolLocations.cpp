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
    // A 32-bit program on 64-bit Windows also reads the 64-bit view.
    for (auto [keyName, valueName] : {std::pair{kPathKey, L"PATH"}, std::pair{kFolderKey, L"MSINFO"}}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
            continue;
        RegDeleteValueW(key, valueName);
        RegCloseKey(key);
    }
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
// reg.exe on location 1's key in the 64-bit view; its exit code.
DWORD Reg64(const std::wstring& verb, const std::wstring& arguments) {
    std::wstring command = L"reg.exe " + verb + L" \"HKLM\\" + ToolLocations::kPathKey + L"\" " + arguments +
                           L" /f /reg:64";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return GetLastError();
    UniqueHandle owned(process.hProcess);
    CloseHandle(process.hThread);
    if (WaitForSingleObject(owned.get(), 60000) != WAIT_OBJECT_0) TerminateProcess(owned.get(), 1);
    DWORD code = 1;
    GetExitCodeProcess(owned.get(), &code);
    return code;
}
}  // namespace

ToolPathIn64BitView::ToolPathIn64BitView(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToolLocations::kPathKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) ==
        ERROR_SUCCESS) {
        keyExisted_ = true;
        wchar_t value[MAX_PATH];
        DWORD size = sizeof value;
        if (RegGetValueW(key, nullptr, L"PATH", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS) saved_ = value;
        RegCloseKey(key);
    }
    if (Reg64(L"add", L"/v PATH /d \"" + path + L"\"") != 0) ADD_FAILURE() << "reg add /reg:64 refused the path";
}

ToolPathIn64BitView::~ToolPathIn64BitView() {
    if (saved_) {
        Reg64(L"add", L"/v PATH /d \"" + *saved_ + L"\"");
    } else {
        Reg64(L"delete", keyExisted_ ? L"/v PATH" : L"");
    }
}
