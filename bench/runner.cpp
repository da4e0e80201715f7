// Measures Tivrelon.exe beside two floors built with the same flags: F0, a
// bare window; F1, the main window's layout with no logic. Start-up is the
// time from process start to the main window shown and idle; memory is the
// peak working set then. Apply and reset are timed in this process on a
// folder of its own. Figures only: nothing here passes or fails.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "app/frmIconChanger.h"
#include "modules/modIcon.h"
#include "platform/Platform.h"
#include "../tests/support/WindowSearch.h"  // the tests' window search

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

std::wstring BenchFolder() {
    wchar_t path[MAX_PATH];
    std::wstring p(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return p.substr(0, p.find_last_of(L'\\'));
}

struct StartFigures {
    double startMs = 0;
    double peakMiB = 0;
    bool ok = false;
};

StartFigures StartOnce(const std::wstring& exe) {
    StartFigures figures;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double t0 = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return figures;
    HWND window = nullptr;
    while (Now() - t0 < 20000) {
        window = FindProcessWindow(process.dwProcessId, [](HWND hwnd) { return !GetWindow(hwnd, GW_OWNER); });
        if (window && WaitForInputIdle(process.hProcess, 0) == 0) break;
        Sleep(1);
    }
    figures.startMs = Now() - t0;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    figures.peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    figures.ok = window != nullptr;
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return figures;
}

struct ProgramFigures {
    const wchar_t* label;
    std::wstring exe;
    double startMs = 0, peakMiB = 0;
    ULONGLONG bytes = 0;
};

// Start-up figures drift with what else the machine does: the programs are
// started in turns (F0, F1, Tivrelon, F0, ...), so that a slower moment
// hits all three alike, and each gets the median of its starts.
void Measure(std::span<ProgramFigures> programs, int runs) {
    std::vector<std::vector<double>> start(programs.size()), peak(programs.size());
    for (ProgramFigures& p : programs) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(p.exe.c_str(), GetFileExInfoStandard, &data);
        p.bytes = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        StartOnce(p.exe);  // warm the file cache and Wine's own start-up
    }
    for (int i = 0; i < runs; ++i)
        for (size_t k = 0; k < programs.size(); ++k) {
            const StartFigures f = StartOnce(programs[k].exe);
            if (!f.ok) continue;
            start[k].push_back(f.startMs);
            peak[k].push_back(f.peakMiB);
        }
    for (size_t k = 0; k < programs.size(); ++k) {
        programs[k].startMs = Median(start[k]);
        programs[k].peakMiB = Median(peak[k]);
    }
}

// Apply must not stop on a message box in a measurement: count them instead.
class QuietPlatform : public Platform {
public:
    int failures = 0;
    int MessageBoxW(HWND, const std::wstring&, const std::wstring&, UINT) override {
        ++failures;
        return IDOK;
    }
};

// Writes `bytes` as the folder's desktop.ini, visible, over whatever is there.
void PutDesktopIni(const std::wstring& folder, const std::string& bytes) {
    const std::wstring ini = folder + L"\\desktop.ini";
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    const HANDLE file = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Apply then reset on a folder of its own, `runs` times; before each Apply
// the folder's desktop.ini is `existing`, or none.
void MeasureApply(int runs, const std::string& existing, double& applyMs, double& resetMs, int& failures) {
    QuietPlatform quiet;
    PlatformOverride override(quiet);
    const std::wstring folder = BenchFolder() + L"\\bench-folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    frmIconChanger form;
    form.Load();
    form.FolderPath = folder;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    modIcon::chosenIcon.Take({std::wstring(system) + L"\\shell32.dll", 3});
    HWND reset = form.Ctl(frmIconChanger::chkReset).Hwnd();
    std::vector<double> apply, resetTimes;
    for (int i = 0; i < runs; ++i) {
        SendMessageW(reset, BM_SETCHECK, BST_UNCHECKED, 0);
        if (!existing.empty()) PutDesktopIni(folder, existing);
        double t0 = Now();
        form.cmdDone_Click();
        apply.push_back(Now() - t0);
        SendMessageW(reset, BM_SETCHECK, BST_CHECKED, 0);
        t0 = Now();
        form.cmdDone_Click();
        resetTimes.push_back(Now() - t0);
    }
    DeleteFileW((folder + L"\\desktop.ini").c_str());
    RemoveDirectoryW(folder.c_str());
    applyMs = Median(apply);
    resetMs = Median(resetTimes);
    failures = quiet.failures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    const std::wstring here = BenchFolder();
    const std::wstring parent = here.substr(0, here.find_last_of(L'\\'));
    ProgramFigures programs[] = {
        {L"F0 bare window", here + L"\\floor0.exe"},
        {L"F1 layout only", here + L"\\floor1.exe"},
        {L"Tivrelon.exe", parent + L"\\Tivrelon.exe"},
    };
    Measure(programs, runs);
    const auto& f0 = programs[0];
    const auto& f1 = programs[1];

    std::printf("Start-up and memory: medians of %d starts each, taken in turns (F0, F1, Tivrelon, F0, ...). A start-up\n"
                "figure moves by tens of percent with what else the machine does: compare the ratios of one run.\n",
                runs);
    std::printf("%-16s %12s %6s %6s %12s %7s %10s %6s %6s\n", "program", "start-up ms", "/F0", "/F1", "exe bytes",
                "/F0", "peak MiB", "/F0", "/F1");
    for (const auto& p : programs)
        std::printf("%-16ls %12.1f %6.2f %6.2f %12llu %7.2f %10.2f %6.2f %6.2f\n", p.label, p.startMs,
                    p.startMs / f0.startMs, p.startMs / f1.startMs, p.bytes,
                    static_cast<double>(p.bytes) / static_cast<double>(f0.bytes), p.peakMiB, p.peakMiB / f0.peakMiB,
                    p.peakMiB / f1.peakMiB);

    double applyMs = 0, resetMs = 0;
    int failures = 0;
    MeasureApply(std::max(runs, 20), "", applyMs, resetMs, failures);
    std::printf("Apply (write desktop.ini, set attributes): %.2f ms; reset: %.2f ms (median of %d each%s)\n", applyMs,
                resetMs, std::max(runs, 20), failures ? ", SOME FAILED" : "");
    // A desktop.ini near the 1 MiB a read takes: 9,000 keys of 110 bytes.
    std::string large = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\n[Grand]\r\n";
    for (int i = 0; i < 9000; ++i) large += "cle" + std::to_string(10000 + i) + "=" + std::string(99, 'v') + "\r\n";
    int largeFailures = 0;
    MeasureApply(5, large, applyMs, resetMs, largeFailures);
    std::printf("The same on a desktop.ini of %zu bytes, 9,000 keys: %.2f ms; reset: %.2f ms (median of 5 each%s)\n",
                large.size(), applyMs, resetMs, largeFailures ? ", SOME FAILED" : "");
    return failures || largeFailures ? 1 : 0;
}
