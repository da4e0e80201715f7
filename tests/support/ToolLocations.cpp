#include "support/ToolLocations.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/Text.h"

namespace {

// The machine's two values, in both registry views: a 32-bit program on
// 64-bit Windows reads the 64-bit view too.
constexpr REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
constexpr std::pair<const wchar_t*, const wchar_t*> kValues[] = {{ToolLocations::kPathKey, L"PATH"},
                                                                 {ToolLocations::kFolderKey, L"MSINFO"}};

bool KeyExists(const wchar_t* keyName, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

ToolLocations::ToolLocations() : lock_(CreateMutexW(nullptr, FALSE, L"Tivrelon.Tests.ToolLocations")) {
    WaitForSingleObject(lock_.get(), INFINITE);  // an abandoned lock is ours too
    for (REGSAM view : kViews) {
        for (auto [key, name] : kValues) {
            Saved s{view, key, name, KeyExists(key, view), false, REG_NONE, std::string(4096, '\0')};
            DWORD size = static_cast<DWORD>(s.bytes.size());
            s.valueExisted = RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY | RRF_NOEXPAND | view, &s.type,
                                          s.bytes.data(), &size) == ERROR_SUCCESS;
            s.bytes.resize(s.valueExisted ? size : 0);
            saved_.push_back(std::move(s));
        }
    }
    Clear();
}

ToolLocations::~ToolLocations() {
    Clear();
    for (const Saved& s : saved_) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, s.key, 0, nullptr, 0, KEY_SET_VALUE | s.view, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            continue;
        if (s.valueExisted) {
            RegSetValueExW(key, s.name, 0, s.type, reinterpret_cast<const BYTE*>(s.bytes.data()),
                           static_cast<DWORD>(s.bytes.size()));
        } else {
            RegDeleteValueW(key, s.name);
        }
        RegCloseKey(key);
        // A key the tests made goes with them (a key holding sub-keys stays).
        if (!s.keyExisted) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, s.key, s.view, 0);
    }
    ReleaseMutex(lock_.get());
}

void ToolLocations::Clear() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kScratchKey);
    for (REGSAM view : kViews) {
        for (auto [keyName, valueName] : kValues) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) continue;
            RegDeleteValueW(key, valueName);
            RegCloseKey(key);
        }
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

void ToolLocations::SetPathIn64BitView(const std::wstring& path) {
    // As an installer of the 64-bit tool records it: reg.exe, not our own view.
    std::wstring command = L"reg.exe add \"HKLM\\" + std::wstring(kPathKey) + L"\" /v PATH /d \"" + path +
                           L"\" /f /reg:64";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 1;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                       &process)) {
        UniqueHandle owned(process.hProcess);
        CloseHandle(process.hThread);
        WaitForSingleObject(owned.get(), INFINITE);
        GetExitCodeProcess(owned.get(), &code);
    }
    if (code != 0) ADD_FAILURE() << "reg add /reg:64 refused the path";
}
