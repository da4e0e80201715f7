// The About window of the built program: "Système Info..." as a user meets it.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "support/Gui.h"
#include "support/RunningProgram.h"
#include "support/ToolLocations.h"

namespace {

struct WindowSearch {
    DWORD pid;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd) || WindowTextOf(hwnd) != *s->caption) return TRUE;
    s->found = hwnd;
    return FALSE;
}

// A visible top-level window of process `pid` titled `caption`, once it shows.
HWND WaitForWindow(DWORD pid, const std::wstring& caption) {
    WindowSearch search{pid, &caption, nullptr};
    PumpUntil([&] { return EnumWindows(&MatchCaption, reinterpret_cast<LPARAM>(&search)), search.found != nullptr; },
              15000);
    return search.found;
}

// A process named `exeName` that `parent` started; 0 if none.
DWORD ChildProcess(DWORD parent, const wchar_t* exeName) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent && lstrcmpiW(entry.szExeFile, exeName) == 0) return entry.th32ProcessID;
    return 0;
}

// Opens the About window from the main window and presses "Système Info...".
HWND OpenAboutAndAskForSystemInfo(RunningProgram& program) {
    PostMessageW(FindChildByText(program.Window(), L"A &Propos"), BM_CLICK, 0, 0);
    HWND about = WaitForWindow(GetProcessId(program.Process()), L"A propos Tivrelon");
    if (!about) return nullptr;
    PostMessageW(FindChildByText(about, L"&Système Info..."), BM_CLICK, 0, 0);
    return about;
}

TEST(AboutExe, SystemInfoWithNothingRegisteredSaysItCannotBeFound) {
    ToolLocations locations;  // none registered, as in a fresh prefix
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    const DWORD pid = GetProcessId(program.Process());
    HWND about = OpenAboutAndAskForSystemInfo(program);
    ASSERT_NE(about, nullptr) << "the About window did not open";
    EXPECT_FALSE(IsWindowEnabled(program.Window()));

    HWND box = WaitForWindow(pid, L"Tivrelon");
    ASSERT_NE(box, nullptr) << "no message box titled with the application title";
    EXPECT_NE(FindChildByText(box, L"Information Systeme introuvable !"), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }));

    // The About window stays, and "OK" gives the main window back.
    ASSERT_TRUE(IsWindow(about));
    PostMessageW(FindChildByText(about, L"OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(program.Window()) != FALSE; }));
}

TEST(AboutExe, SystemInfoStartsTheToolAtTheFirstLocation) {
    ToolLocations locations;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    locations.SetPath(std::wstring(system) + L"\\msinfo32.exe");
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    const DWORD pid = GetProcessId(program.Process());
    ASSERT_NE(OpenAboutAndAskForSystemInfo(program), nullptr);

    DWORD tool = 0;
    EXPECT_TRUE(PumpUntil([&] { return (tool = ChildProcess(pid, L"msinfo32.exe")) != 0; }, 15000));
    if (tool) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, tool));
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), 5000);
    }
    WindowSearch search{pid, nullptr, nullptr};
    const std::wstring title = L"Tivrelon";
    search.caption = &title;
    EnumWindows(&MatchCaption, reinterpret_cast<LPARAM>(&search));
    EXPECT_EQ(search.found, nullptr) << "a message box came up";
}

}  // namespace
