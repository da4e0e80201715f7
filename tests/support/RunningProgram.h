#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The built Tivrelon.exe started in a process of its own, as a user starts
// it; ended by force if a test leaves it running.
class RunningProgram {
public:
    RunningProgram();
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The main window, found by its caption; nullptr if it never showed.
    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }
    // Waits for the program to end; STILL_ACTIVE if it does not.
    DWORD ExitCode(DWORD timeoutMs = 15000);
    // Lower-case file names of the modules loaded in the process.
    std::vector<std::wstring> LoadedModules() const;

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// The path of the built Tivrelon.exe beside the tests' folder.
std::wstring TivrelonExePath();
