// The shell's real folder browser, driven from inside its modal loop.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/MainWindow.h"
#include "support/ProgramWindows.h"

namespace {

// The real folder browser as a user meets it: headed "Choix du dossier",
// modal to the main window; the folder chosen in it becomes the folder, and
// one whose name the ANSI code page cannot hold is refused with a message.
TEST(FolderBrowser, IsModalAndGivesTheChosenFolder) {
    MainWindowFixture w{true};
    TempFolder root;
    const struct {
        std::wstring name;
        bool taken;
    } cases[] = {{L"Dossier", true}, {L"Dvořák", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        const std::wstring chosen = root / c.name;
        MakeFolder(chosen);
        const size_t boxes = w.fake.messageBoxes.size();
        bool modal = false, selected = false;
        WhenWindow([] { return FindDialogHolding(L"Choix du dossier"); },
                   [&](HWND browser) {
                       modal = GetWindow(browser, GW_OWNER) == w.form.Hwnd() && !IsWindowEnabled(w.form.Hwnd());
                       selected = SelectInFolderBrowser(browser, chosen);
                       PressButton(browser, IDOK);
                   });
        w.form.cmdDir_Click();
        EXPECT_TRUE(modal);
        ASSERT_TRUE(selected);
        EXPECT_EQ(w.form.FolderPath, c.taken ? chosen : L"");
        EXPECT_EQ(WindowTextOf(w.Ctl(frmIconChanger::lblDir).Hwnd()), c.taken ? chosen : L"");
        EXPECT_EQ(w.fake.messageBoxes.size(), boxes + (c.taken ? 0 : 1));
    }
}

}  // namespace
