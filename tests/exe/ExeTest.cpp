// The built Tivrelon.exe, started as a user starts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Handles.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"

namespace {

TEST(Exe, QuitButtonEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr) << "main window not found by its caption";
    const MainControls c = MainControlsOf(program.Window());
    ASSERT_TRUE(c.Found());
    EXPECT_FALSE(IsWindowEnabled(c.apply));
    EXPECT_TRUE(IsWindowEnabled(c.folder));
    Click(c.quit);
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Exe, CloseBoxEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

// What only a dialog needs is loaded when a dialog is first opened, not at
// start: start-up stays as fast as the main window allows.
TEST(Exe, StartsWithoutLoadingWhatOnlyDialogsNeed) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    const std::vector<std::wstring> loaded = program.LoadedModules();
    ASSERT_FALSE(loaded.empty());
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), L"user32.dll"), loaded.end());
    auto isLoaded = [&](const wchar_t* name) { return std::find(loaded.begin(), loaded.end(), name) != loaded.end(); };
    for (const wchar_t* notYet : {L"shell32.dll", L"comdlg32.dll", L"oleaut32.dll", L"shlwapi.dll"})
        EXPECT_FALSE(isLoaded(notYet)) << testing::PrintToString(std::wstring(notYet));
    // Wine's X11 display driver brings ole32 into every process with a
    // window; on Windows nothing of ours may load it before a dialog.
    if (!isLoaded(L"winex11.drv")) {
        EXPECT_FALSE(isLoaded(L"ole32.dll"));
    }
}

// Asks the running program to load `dll` by name, as a system DLL asks for
// a helper of its own: true when it loaded one.
bool ProgramLoads(const RunningProgram& program, const std::wstring& dll) {
    RemoteMemory name(program.Process(), (dll.size() + 1) * sizeof(wchar_t));
    name.Write(dll.c_str(), (dll.size() + 1) * sizeof(wchar_t));
    // LoadLibraryW takes one pointer, as a thread's start does; kernel32 lies
    // at the same address in every process of a session.
    auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    const UniqueHandle thread(CreateRemoteThread(program.Process(), nullptr, 0, load,
                                                 reinterpret_cast<void*>(name.Address()), 0, nullptr));
    if (!thread) return false;
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD module = 0;  // the low half of the module's handle
    GetExitCodeThread(thread.get(), &module);
    return module != 0;
}

// A DLL planted beside the program or in the folder it starts in is never
// loaded: the program looks for DLLs in System32 alone.
TEST(Exe, NeverLoadsADllPlantedBesideItOrInItsCurrentFolder) {
    TempFolder beside, current;
    const std::wstring exe = beside / L"Tivrelon.exe";
    ASSERT_TRUE(CopyFileW(TivrelonExePath().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), (beside / L"planted1.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), (current / L"planted2.dll").c_str(), FALSE));
    RunningProgram program(exe, current.Path());
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_FALSE(ProgramLoads(program, L"planted1.dll")) << "loaded from the program's folder";
    EXPECT_FALSE(ProgramLoads(program, L"planted2.dll")) << "loaded from the current folder";
    // The check itself works: named by its full path, the DLL loads.
    EXPECT_TRUE(ProgramLoads(program, beside / L"planted1.dll"));
}

}  // namespace
