// The built Tivrelon.exe, started as a user starts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Gui.h"
#include "support/RunningProgram.h"

namespace {

TEST(Exe, QuitButtonEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr) << "main window not found by its caption";
    HWND quit = FindChildByText(program.Window(), L"&Quitter");
    ASSERT_NE(quit, nullptr);
    EXPECT_FALSE(IsWindowEnabled(FindChildByText(program.Window(), L"&Appliquer...")));
    EXPECT_TRUE(IsWindowEnabled(FindChildByText(program.Window(), L"Choix du &Dossier...")));
    PostMessageW(quit, BM_CLICK, 0, 0);
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

}  // namespace
