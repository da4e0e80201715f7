// The built Tivrelon.exe, started as a user starts it.
#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "support/Files.h"
#include "support/Gui.h"

namespace {

struct RunningProgram {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;

    RunningProgram() {
        std::wstring exe = TestProgramFolder();
        exe = exe.substr(0, exe.find_last_of(L'\\')) + L"\\" + TIVRELON_EXE_NAME;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + exe + L"\"";
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return;
        PumpUntil([&] { return (window = FindMainWindow()) != nullptr; }, 15000);
    }
    ~RunningProgram() {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
    HWND FindMainWindow() const {
        Search search{process.dwProcessId, nullptr};
        EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    struct Search {
        DWORD pid;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND hwnd, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->pid || !IsWindowVisible(hwnd) || WindowTextOf(hwnd) != L"Changer l'icône d'un dossier")
            return TRUE;
        s->found = hwnd;
        return FALSE;
    }
    DWORD ExitCode() {
        if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
};

TEST(Exe, QuitButtonEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.window, nullptr) << "main window not found by its caption";
    HWND quit = FindChildByText(program.window, L"&Quitter");
    ASSERT_NE(quit, nullptr);
    EXPECT_FALSE(IsWindowEnabled(FindChildByText(program.window, L"&Appliquer...")));
    EXPECT_TRUE(IsWindowEnabled(FindChildByText(program.window, L"Choix du &Dossier...")));
    PostMessageW(quit, BM_CLICK, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Exe, CloseBoxEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.window, nullptr);
    PostMessageW(program.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
