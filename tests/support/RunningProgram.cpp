#include "support/RunningProgram.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/Files.h"
#include "support/Gui.h"
#include "support/WindowSearch.h"

std::wstring TivrelonExePath() {
    const std::wstring tests = TestProgramFolder();
    return tests.substr(0, tests.find_last_of(L'\\')) + L"\\Tivrelon.exe";
}

RunningProgram::RunningProgram(const std::wstring& exe, const std::wstring& folder, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process_)) {
        ADD_FAILURE() << "CreateProcessW failed with error " << GetLastError();
        return;
    }
    current_ = this;
    PumpUntil(
        [&] {
            window_ = FindProcessWindow(process_.dwProcessId, [](HWND hwnd) {
                return WindowTextOf(hwnd) == L"Changer l'icône d'un dossier";
            });
            return window_ != nullptr || !Running();
        },
        15000);
    WaitForInputIdle(process_.hProcess, 5000);
    if (!window_) {
        std::string seen;
        FindTopLevel([&](HWND hwnd) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == process_.dwProcessId)
                seen += " [" + testing::PrintToString(WindowTextOf(hwnd)) + (IsWindowVisible(hwnd) ? " visible]" : "]");
            return false;
        });
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        ADD_FAILURE() << "no main window: exit code 0x" << std::hex << code << ", windows of the process:" << seen;
    }
}

RunningProgram::~RunningProgram() {
    if (current_ == this) current_ = nullptr;
    if (!process_.hProcess) return;
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
    } else if (!exitCodeAsked_) {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        if (code != 0) ADD_FAILURE() << "Tivrelon.exe ended by itself with code 0x" << std::hex << code;
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool RunningProgram::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD RunningProgram::ExitCode(DWORD timeoutMs) {
    exitCodeAsked_ = true;
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::vector<std::wstring> RunningProgram::LoadedModules() const {
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    if (!K32EnumProcessModules(process_.hProcess, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                               &needed))
        return {};
    modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
    std::vector<std::wstring> names;
    for (HMODULE module : modules) {
        wchar_t name[MAX_PATH] = L"";
        K32GetModuleBaseNameW(process_.hProcess, module, name, MAX_PATH);
        std::wstring lower = name;
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
        names.push_back(lower);
    }
    return names;
}
