#include "support/RunningProgram.h"

#include <psapi.h>

#include <algorithm>

#include "support/Files.h"
#include "support/Gui.h"

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND hwnd, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd) || WindowTextOf(hwnd) != L"Changer l'icône d'un dossier") return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

std::wstring TivrelonExePath() {
    const std::wstring tests = TestProgramFolder();
    return tests.substr(0, tests.find_last_of(L'\\')) + L"\\Tivrelon.exe";
}

RunningProgram::RunningProgram() {
    const std::wstring exe = TivrelonExePath();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        return;
    PumpUntil(
        [&] {
            Search search{process_.dwProcessId, nullptr};
            EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
            window_ = search.found;
            return window_ != nullptr;
        },
        15000);
    WaitForInputIdle(process_.hProcess, 5000);
}

RunningProgram::~RunningProgram() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

DWORD RunningProgram::ExitCode(DWORD timeoutMs) {
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
