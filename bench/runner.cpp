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
#include "modules/modPicture.h"
#include "platform/Platform.h"
#include "support/Pictures.h"      // the tests' pictures made through WIC
#include "support/WindowSearch.h"  // the tests' window search

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

// Writes `bytes` as the file at `path`, visible, over whatever is there.
void PutFile(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The main window on a folder of its own, its message boxes counted; the
// folder goes with it, desktop.ini and all.
struct BenchWindow {
    explicit BenchWindow(const wchar_t* name) : override(quiet), folder(BenchFolder() + L"\\" + name) {
        CreateDirectoryW(folder.c_str(), nullptr);
        form.Load();
        form.FolderPath = folder;
    }
    ~BenchWindow() {
        DeleteFileW((folder + L"\\desktop.ini").c_str());
        RemoveDirectoryW(folder.c_str());
    }
    void Apply(bool reset) {
        SendMessageW(form.Ctl(frmIconChanger::chkReset).Hwnd(), BM_SETCHECK, reset ? BST_CHECKED : BST_UNCHECKED, 0);
        form.cmdDone_Click();
    }

    QuietPlatform quiet;
    PlatformOverride override;
    std::wstring folder;
    frmIconChanger form;
};

// Apply then reset on a folder of its own, `runs` times; before each Apply
// the folder's desktop.ini is `existing`, or none.
void MeasureApply(int runs, const std::string& existing, double& applyMs, double& resetMs, int& failures) {
    BenchWindow bench(L"bench-folder");
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    modIcon::chosenIcon.Take({std::wstring(system) + L"\\shell32.dll", 3});
    std::vector<double> apply, resetTimes;
    for (int i = 0; i < runs; ++i) {
        if (!existing.empty()) PutFile(bench.folder + L"\\desktop.ini", existing);
        double t0 = Now();
        bench.Apply(false);
        apply.push_back(Now() - t0);
        t0 = Now();
        bench.Apply(true);
        resetTimes.push_back(Now() - t0);
    }
    applyMs = Median(apply);
    resetMs = Median(resetTimes);
    failures = bench.quiet.failures;
}

// A photo's pixels: gradients under a grain, so that the JPEG made of them
// takes the room a camera's does rather than a flat colour's.
DWORD PhotoPixel(int x, int y) {
    uint32_t grain = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    grain = (grain ^ grain >> 13) * 0x5bd1e995u;
    const auto channel = [&](int ramp, int shift) { return static_cast<DWORD>((ramp + (grain >> shift & 31)) & 255); };
    return 0xFF000000u | channel(x / 24, 0) << 16 | channel(y / 16, 8) << 8 | channel((x + y) / 40, 16);
}

// In a process of its own, started by MeasurePicture: the picture chosen
// (decoded, scaled, its icon file made in memory: the time the window waits)
// and applied to a folder of its own (the icon file written), then reset.
int MakeIconOf(const std::wstring& picture) {
    BenchWindow bench(L"bench-picture");
    const double t0 = Now();
    modIcon::chosenIcon.Take({picture, 0}, modPicture::MakeIconFile(picture));
    const double chosen = Now();
    bench.Apply(false);
    const double applied = Now();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("  %.0f ms (the choice %.0f ms, Apply %.0f ms), peak working set %.1f MiB%s\n", applied - t0,
                chosen - t0, applied - chosen, static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0),
                bench.quiet.failures ? ", FAILED" : "");
    bench.Apply(true);
    return bench.quiet.failures;
}

// A 24-megapixel JPEG made into the folder's icon file, three times, each in
// a process of its own, whose peak memory is then the picture's alone.
bool MeasurePicture() {
    const std::wstring picture = BenchFolder() + L"\\bench-photo.jpg";
    const std::string bytes = PictureBytes(PictureFormat::Jpeg, 6000, 4000, PhotoPixel);
    PutFile(picture, bytes);
    std::printf("A 6,000 x 4,000 JPEG of %zu bytes made into the folder's icon file, in a process of its own:\n",
                bytes.size());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    bool ok = true;
    for (int run = 0; run < 3; ++run) {
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --picture \"" + picture + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        ok = ok && exitCode == 0;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    DeleteFileW(picture.c_str());
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2 && std::wstring(argv[1]) == L"--picture") return MakeIconOf(argv[2]);
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
    const bool pictures = MeasurePicture();
    return failures || largeFailures || !pictures ? 1 : 0;
}
