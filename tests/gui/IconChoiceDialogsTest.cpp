// The folder browser, the Open dialog and our icon picker as they really
// open under Wine, driven from inside their modal loops as a user would.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "modules/modIcon.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/IconFiles.h"
#include "support/KeptCurrentFolder.h"
#include "support/MainWindow.h"
#include "support/ProgramWindows.h"
#include "ui/IconPicker.h"

namespace {

using F = frmIconChanger;

const std::wstring kBrowserTitle = L"Choix du dossier";
const std::wstring kOpenTitle = L"Choisir un fichier contenant des icônes";

bool SamePath(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

HWND FindBrowser() { return FindDialogHolding(kBrowserTitle); }
HWND FindOpenDialog() { return FindThreadWindowTitled(kOpenTitle); }

// The Open dialog's file-name box: a combo box on Windows (cmb13), an edit
// box in Wine's dialog (edt1).
HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    return box ? box : GetDlgItem(dialog, edt1);
}

// An icon picker's list of icons: a list view in ours, a list box in the
// shell's (on Windows; Wine's shows nothing).
HWND PickerList(HWND picker) {
    HWND list = FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr);
    return list ? list : FindWindowExW(picker, nullptr, L"ListBox", nullptr);
}
bool IsOurPicker(HWND picker) { return FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr) != nullptr; }
// The icon picker open over this thread's windows, whichever it is.
HWND FindPicker() { return FindDialogWith([](HWND dialog) { return PickerList(dialog) != nullptr; }); }

class IconChoiceDialogsTest : public testing::Test {
protected:
    void ClickOn(int control) { Click(w.Ctl(control).Hwnd()); }

    // The real browser: goes to `folder`, then OK.
    void BrowseTo(const std::wstring& folder) {
        WhenWindow(FindBrowser, [this, folder](HWND browser) {
            browserOwner = GetWindow(browser, GW_OWNER);
            EXPECT_TRUE(SelectInFolderBrowser(browser, folder));
            Click(GetDlgItem(browser, IDOK));
        });
        ClickOn(F::cmdDir);
    }

    // The real Open dialog: types `file` into the file-name box, then OK;
    // `then` arms what comes after (the picker).
    void OpenFile(const std::wstring& file, std::function<void()> then = nullptr) {
        WhenWindow(FindOpenDialog, [this, file, then](HWND dialog) {
            openOwner = GetWindow(dialog, GW_OWNER);
            openPrefilled = WindowTextOf(FileNameBox(dialog));
            if (file.empty()) {
                Click(GetDlgItem(dialog, IDCANCEL));
                return;
            }
            SetWindowTextW(FileNameBox(dialog), file.c_str());
            if (then) then();
            Click(GetDlgItem(dialog, IDOK));
        });
    }

    // Our picker: what it shows, then the keys a user presses.
    void PickWithKeys(std::vector<UINT> keys) {
        WhenWindow(FindPicker, [this, keys](HWND picker) {
            HWND list = PickerList(picker);
            pickerOwner = GetWindow(picker, GW_OWNER);
            pickerItems = ListView_GetItemCount(list);
            pickerFirstSelection = SelectedItem(list);
            mainDisabledMeanwhile = !IsWindowEnabled(w.form.Hwnd());
            for (UINT key : keys) PostKey(list, key);
            CloseIfStillOpen(picker);
        });
    }

    // The picker the program shows, ours or the shell's: icon `index` chosen, then OK.
    void PickIcon(int index) {
        WhenWindow(FindPicker, [this, index](HWND picker) {
            HWND list = PickerList(picker);
            if (IsOurPicker(picker)) {
                pickerItems = ListView_GetItemCount(list);
                ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            } else {
                pickerItems = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
                SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            }
            Click(GetDlgItem(picker, IDOK));
            CloseIfStillOpen(picker);
        });
    }

    // The index our picker answers for `file`, -1 when cancelled: ours
    // itself, on Windows too, where the program shows the shell's.
    int Picked(const std::wstring& file, int initialIndex) {
        int index = initialIndex;
        return PickIconFromFile(w.form.Hwnd(), file, index) ? index : -1;
    }

    COLORREF PreviewOnScreen(int x, int y) { return PixelOf(w.Ctl(F::picIcon).Hwnd(), x, y); }
    COLORREF Background() { return ResolveColour(kButtonFace); }

    TempFolder folder{BrowsableRoot()};  // the real browser finds it
    MainWindowFixture w{true};
    HWND browserOwner = nullptr, openOwner = nullptr, pickerOwner = nullptr;
    std::wstring openPrefilled = L"<not shown>";
    int pickerItems = -1, pickerFirstSelection = -2;
    bool mainDisabledMeanwhile = false;
};

TEST_F(IconChoiceDialogsTest, RealFolderBrowserChoosesAFolder) {
    BrowseTo(folder.Path());
    EXPECT_EQ(browserOwner, w.form.Hwnd());
    EXPECT_TRUE(SamePath(w.form.FolderPath, folder.Path())) << testing::PrintToString(w.form.FolderPath);
    EXPECT_EQ(w.Ctl(F::lblDir).Text(), w.form.FolderPath);
    EXPECT_TRUE(w.Ctl(F::cmdShowIcon).Enabled());
    EXPECT_TRUE(w.Ctl(F::chkReset).Enabled());
    EXPECT_TRUE(w.Ctl(F::txtInfoTip).Enabled());
}

TEST_F(IconChoiceDialogsTest, RealBrowserCancelledLeavesNoFolder) {
    WhenWindow(FindBrowser, [](HWND browser) { Click(GetDlgItem(browser, IDCANCEL)); });
    ClickOn(F::cmdDir);
    EXPECT_EQ(w.form.FolderPath, L"");
    EXPECT_FALSE(w.Ctl(F::cmdShowIcon).Enabled());
}

TEST_F(IconChoiceDialogsTest, RealOpenDialogChoosesAFileAndStartsWithItNextTime) {
    w.ChooseFolder(folder.Path());
    w.fake.pickIconW = [](HWND, wchar_t*, UINT, int* index) {
        *index = 2;
        return 1;
    };
    OpenFile(TestIconsDll());
    ClickOn(F::cmdShowIcon);
    EXPECT_EQ(openOwner, w.form.Hwnd());
    EXPECT_EQ(openPrefilled, L"");
    EXPECT_TRUE(SamePath(w.form.IconFilePath, TestIconsDll())) << testing::PrintToString(w.form.IconFilePath);
    EXPECT_EQ(modIcon::SelectedIconIndex, 2);
    EXPECT_TRUE(w.Ctl(F::cmdDone).Enabled());
    EXPECT_EQ(PreviewOnScreen(4, 16), kTestIconColours[2]);

    // The second use starts with that file filled in; cancelling it changes nothing.
    OpenFile(L"");
    ClickOn(F::cmdShowIcon);
    EXPECT_NE(openPrefilled.find(L"TivrelonTestIcons.dll"), std::wstring::npos) << testing::PrintToString(openPrefilled);
    EXPECT_EQ(modIcon::SelectedIconIndex, 2);
    EXPECT_TRUE(w.Ctl(F::cmdDone).Enabled());
}

TEST_F(IconChoiceDialogsTest, OurPickerChoosesTheFourthIconFromTheKeyboard) {
    PickWithKeys({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(Picked(TestIconsDll(), 0), 3);
    EXPECT_EQ(pickerOwner, w.form.Hwnd());
    EXPECT_TRUE(mainDisabledMeanwhile) << "modal to the main window";
    EXPECT_EQ(pickerItems, kTestIconCount) << "every icon of the file";
    EXPECT_EQ(pickerFirstSelection, 0) << "opens on the initial index";
    EXPECT_TRUE(IsWindowEnabled(w.form.Hwnd()));
}

TEST_F(IconChoiceDialogsTest, OurPickerOpensOnTheInitialIndexAndEscCancels) {
    PickWithKeys({VK_LEFT, VK_ESCAPE});
    EXPECT_EQ(Picked(TestIconsDll(), 2), -1);
    EXPECT_EQ(pickerFirstSelection, 2);
}

TEST_F(IconChoiceDialogsTest, OurPickerConfirmsADoubleClickedIcon) {
    WhenWindow(FindPicker, [](HWND picker) {
        HWND list = PickerList(picker);
        RECT r;
        ListView_GetItemRect(list, 4, &r, LVIR_ICON);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        CloseIfStillOpen(picker);
    });
    EXPECT_EQ(Picked(TestIconsDll(), 0), 4);
}

// A damaged icon file counts as one without icons: nothing is extracted
// from it (the extraction would read past its end and crash the program).
TEST_F(IconChoiceDialogsTest, OurPickerOffersNothingToConfirmInAFileWithoutIcons) {
    const struct {
        const wchar_t* name;
        std::string bytes;
    } files[] = {
        {L"notes.txt", "pas une icône"},
        {L"coupée.ico", TruncatedIcoBytes()},
        {L"trop loin.ico", IcoPointingPastItsEnd()},
    };
    bool okEnabled = true;  // outlives every pass's watch
    for (const auto& f : files) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(f.name)));
        const std::wstring file = folder / f.name;
        WriteBytes(file, f.bytes);
        okEnabled = true;
        pickerItems = -1;
        WhenWindow(FindPicker, [&](HWND picker) {
            pickerItems = ListView_GetItemCount(PickerList(picker));
            okEnabled = IsWindowEnabled(GetDlgItem(picker, IDOK));
            PostKey(PickerList(picker), VK_RETURN);  // nothing to confirm: stays open
            PostKey(PickerList(picker), VK_ESCAPE);
            CloseIfStillOpen(picker);
        });
        EXPECT_EQ(Picked(file, 0), -1);
        EXPECT_EQ(pickerItems, 0);
        EXPECT_FALSE(okEnabled);
    }
}

// GetOpenFileName moves the current folder to the chosen file's on Windows,
// whatever OFN_NOCHANGEDIR says; the program's stays where it was.
TEST_F(IconChoiceDialogsTest, RealOpenDialogLeavesTheCurrentFolderAsItWas) {
    w.ChooseFolder(folder.Path());
    const std::wstring elsewhere = folder / L"ailleurs";
    MakeFolder(elsewhere);
    const std::wstring icons = elsewhere + L"\\icônes.dll";
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), icons.c_str(), FALSE));
    const KeptCurrentFolder kept;  // put back even when the program does not
    const std::wstring& before = kept.Folder();
    ASSERT_FALSE(SamePath(before, elsewhere));
    w.fake.pickIconW = [](HWND, wchar_t*, UINT, int*) { return 0; };
    struct Case {
        const char* name;
        std::function<BOOL(OPENFILENAMEW*)> dialog;  // empty: the real one
    };
    const Case cases[] = {
        {"the real dialog", nullptr},
        {"Windows' dialog, which moves it",
         [&](OPENFILENAMEW* r) {
             SetCurrentDirectoryW(elsewhere.c_str());
             lstrcpynW(r->lpstrFile, icons.c_str(), static_cast<int>(r->nMaxFile));
             return TRUE;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.fake.getOpenFileName = c.dialog;
        if (!c.dialog) OpenFile(icons);
        ClickOn(F::cmdShowIcon);
        EXPECT_TRUE(SamePath(w.form.dlgChooseIcon.FileName, icons)) << testing::PrintToString(w.form.dlgChooseIcon.FileName);
        EXPECT_TRUE(SamePath(KeptCurrentFolder::Now(), before)) << testing::PrintToString(KeptCurrentFolder::Now());
    }
}

TEST_F(IconChoiceDialogsTest, PreviewKeepsItsPictureWhenMinimisedAndRestored) {
    w.ChooseFolder(folder.Path());
    w.fake.getOpenFileName = [](OPENFILENAMEW* r) {
        lstrcpynW(r->lpstrFile, TestIconsDll().c_str(), static_cast<int>(r->nMaxFile));
        return TRUE;
    };
    w.fake.pickIconW = [](HWND, wchar_t*, UINT, int* index) {
        *index = 3;
        return 1;
    };
    ClickOn(F::cmdShowIcon);
    ASSERT_EQ(PreviewOnScreen(4, 16), kTestIconColours[3]);
    ShowWindow(w.form.Hwnd(), SW_MINIMIZE);
    PumpMessages();
    ShowWindow(w.form.Hwnd(), SW_RESTORE);
    PumpMessages();
    EXPECT_EQ(PreviewOnScreen(4, 16), kTestIconColours[3]);
    EXPECT_EQ(PreviewOnScreen(27, 16), Background());
    // Entering reset mode clears it.
    w.ClickReset();
    EXPECT_EQ(PreviewOnScreen(4, 16), Background());
}

// The whole main task on the real dialogs: folder, file, icon, Apply.
TEST_F(IconChoiceDialogsTest, MainTaskFromFolderToApplyOnRealDialogs) {
    BrowseTo(folder.Path());
    ASSERT_TRUE(SamePath(w.form.FolderPath, folder.Path()));

    // The picker the platform gives: ours under Wine, whose shell picker
    // shows nothing; the shell's on Windows.
    OpenFile(TestIconsDll(), [this] { PickIcon(3); });
    ClickOn(F::cmdShowIcon);
    EXPECT_EQ(pickerItems, kTestIconCount);
    EXPECT_EQ(modIcon::SelectedIconIndex, 3);
    ASSERT_TRUE(SamePath(w.form.IconFilePath, TestIconsDll()));
    EXPECT_NE(PreviewOnScreen(4, 16), Background());
    EXPECT_EQ(PreviewOnScreen(4, 16), kTestIconColours[3]);
    ASSERT_TRUE(w.Ctl(F::cmdDone).Enabled());

    ClickOn(F::cmdDone);
    const std::wstring ini = folder / L"desktop.ini";
    const std::string text = ReadBytes(ini);
    const std::wstring& file = w.form.IconFilePath;
    EXPECT_NE(text.find("[.ShellClassInfo]"), std::string::npos) << text;
    EXPECT_NE(text.find("ICONFILE=" + std::string(file.begin(), file.end()) + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ICONINDEX=3\r\n"), std::string::npos) << text;
    EXPECT_EQ(UserAttributes(folder.Path()), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(UserAttributes(ini), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());
    EXPECT_TRUE(w.fake.messageBoxes.empty());
}

}  // namespace
