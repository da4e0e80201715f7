// The About window of the built program: "Système Info..." as a user meets it.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/Gui.h"
#include "support/Processes.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"
#include "support/ToolLocations.h"
#include "support/WindowSearch.h"

namespace {

// Opens the About window from the main window and presses "Système Info...".
HWND OpenAboutAndAskForSystemInfo(RunningProgram& program) {
    Click(MainControlsOf(program.Window()).about);
    HWND about = WaitForTitle(program, L"A propos Tivrelon");
    if (!about) return nullptr;
    Click(FindChildByText(about, L"&Système Info..."));
    return about;
}

TEST(AboutExe, SystemInfoWithNothingRegisteredSaysItCannotBeFound) {
    ToolLocations locations;  // none registered, as in a fresh prefix
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    HWND about = OpenAboutAndAskForSystemInfo(program);
    ASSERT_NE(about, nullptr) << "the About window did not open";
    EXPECT_FALSE(IsWindowEnabled(program.Window()));

    HWND box = WaitForTitle(program, L"Tivrelon");
    ASSERT_NE(box, nullptr) << "no message box titled with the application title";
    EXPECT_NE(FindChildByText(box, L"Information Systeme introuvable !"), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    // The About window stays, and "OK" gives the main window back.
    ASSERT_TRUE(IsWindow(about));
    Click(FindChildByText(about, L"OK"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(program.Window()); }));
}

std::wstring SystemTool() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\msinfo32.exe";
}

// Starts the program, asks for the tool and ends the tool it started.
void ExpectTheToolStarted() {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_NE(OpenAboutAndAskForSystemInfo(program), nullptr);

    DWORD tool = 0;
    EXPECT_TRUE(WaitFor([&] { return (tool = ChildProcess(program.Id(), L"msinfo32.exe")) != 0; }));
    if (tool) EndProcess(tool);
    EXPECT_EQ(FindProcessWindow(program.Id(), [](HWND hwnd) { return WindowTextOf(hwnd) == L"Tivrelon"; }), nullptr)
        << "a message box came up";
    EXPECT_TRUE(program.Running());
}

TEST(AboutExe, SystemInfoStartsTheToolAtTheFirstLocation) {
    ToolLocations locations;
    locations.SetPath(SystemTool());
    ExpectTheToolStarted();
}

// A 64-bit Windows may record the tool in its 64-bit registry view alone,
// which a 32-bit program does not see as its own.
TEST(AboutExe, SystemInfoStartsTheToolRecordedInThe64BitViewAlone) {
    if (sizeof(void*) == 8) GTEST_SKIP() << "a 64-bit program reads the 64-bit view as its own: there is no other";
    if (!RunningOnWine()) GTEST_SKIP() << "it would write the machine's own HKLM; run in Wine's prefix only";
    ToolLocations locations;  // nothing in the program's own view
    locations.SetPathIn64BitView(SystemTool());
    ExpectTheToolStarted();
}

}  // namespace
