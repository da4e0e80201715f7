#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The path of the built Tivrelon.exe beside the tests' folder.
std::wstring TivrelonExePath();

// The built Tivrelon.exe started in a process of its own, as a user starts
// it; ended by force if a test leaves it running. A program that ends by
// itself with a code nobody asked for (a crash: 0xC0000005 and the like)
// fails the test, and every wait of the tests stops as soon as it ends.
class RunningProgram {
public:
    // The built program, or a copy of it at `exe`, started in `folder` (the
    // tests' current folder when empty) with `arguments` after its name.
    explicit RunningProgram(const std::wstring& exe = TivrelonExePath(), const std::wstring& folder = L"",
                            const std::wstring& arguments = L"");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The main window, found by its caption; nullptr if it never showed.
    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }
    DWORD Id() const { return process_.dwProcessId; }
    bool Running() const;
    // Waits for the program to end; STILL_ACTIVE if it does not.
    DWORD ExitCode(DWORD timeoutMs = 15000);
    // Lower-case file names of the modules loaded in the process.
    std::vector<std::wstring> LoadedModules() const;

    // The program the test is working, if any: the waits check it is alive.
    static const RunningProgram* Current() { return current_; }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    bool exitCodeAsked_ = false;
    static inline const RunningProgram* current_ = nullptr;
};

