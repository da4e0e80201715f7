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
    TempFolder root(BrowsableRoot());
    const struct {
        std::wstring name;
        bool taken;
    } cases[] = {{L"Dossier", true}, {L"Dvořák", false}};
    bool modal = false, selected = false;  // outlive every pass's watch
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        const std::wstring chosen = root / c.name;
        MakeFolder(chosen);
        const size_t boxes = w.fake.messageBoxes.size();
        modal = selected = false;
        WhenWindow([] { return FindDialogHolding(L"Choix du dossier"); },
                   [&](HWND browser) {
                       modal = GetWindow(browser, GW_OWNER) == w.form.Hwnd() && !IsWindowEnabled(w.form.Hwnd());
                       selected = SelectInFolderBrowser(browser, chosen);
                       Click(GetDlgItem(browser, IDOK));
                   });
        w.form.cmdDir_Click();
        EXPECT_TRUE(modal);
        ASSERT_TRUE(selected);
        EXPECT_EQ(w.form.FolderPath, c.taken ? chosen : L"");
        EXPECT_EQ(WindowTextOf(w.Ctl(frmIconChanger::lblDir).Hwnd()), c.taken ? chosen : L"");
        EXPECT_EQ(w.fake.messageBoxes.size(), boxes + (c.taken ? 0 : 1));
    }
}

// Items of the shell that are no folder on disk ("Ce PC") cannot be chosen:
// OK stays off while one is selected, so the user is never left with an
// empty choice after pressing it.
TEST(FolderBrowser, OffersOnlyFoldersOnDisk) {
    MainWindowFixture w{true};
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    bool okEnabled = true;
    WhenWindow([] { return FindDialogHolding(L"Choix du dossier"); },
               [&](HWND browser) {
                   SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
                   PumpMessages();
                   okEnabled = IsWindowEnabled(GetDlgItem(browser, IDOK));
                   Click(GetDlgItem(browser, IDCANCEL));
               });
    w.form.cmdDir_Click();
    CoTaskMemFree(computer);
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(w.form.FolderPath, L"");
}

}  // namespace
