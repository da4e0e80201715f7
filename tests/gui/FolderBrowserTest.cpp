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
// modal to the main window; the folder chosen in it becomes the folder, by
// its exact name in any script.
TEST(FolderBrowser, IsModalAndGivesTheChosenFolder) {
    MainWindowFixture w{true};
    TempFolder root(BrowsableRoot());
    bool modal = false, selected = false;  // outlive every pass's watch
    for (const wchar_t* name : {L"Dossier", L"Dvořák 家族"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const std::wstring chosen = root / name;
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
        EXPECT_EQ(w.form.FolderPath, chosen);
        EXPECT_EQ(WindowTextOf(w.Ctl(frmIconChanger::lblDir).Hwnd()), chosen);
        EXPECT_EQ(w.fake.messageBoxes.size(), boxes);
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
