// The shipped exe does the whole job, worked from outside as a user works
// it: found by captions, real dialogs operated across processes, results
// checked on disk.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/IconFiles.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"

namespace {

// Presses `button` ("Choix du Dossier...") and picks `folder` in the real
// folder browser.
bool ChooseFolder(const RunningProgram& program, HWND button, const std::wstring& folder) {
    Click(button);
    HWND browser = WaitForFolderBrowser(program, GetAncestor(button, GA_ROOT));
    if (!browser || !SelectInFolderBrowser(browser, folder)) return false;
    Click(GetDlgItem(browser, IDOK));
    return WaitFor([&] { return !IsWindow(browser); });
}

// Presses `button` ("Choix de l'Icône..."), opens `file` in the real Open
// dialog and picks its icon `index` in the picker from the keyboard.
bool PickIcon(const RunningProgram& program, HWND button, const std::wstring& file, int index) {
    HWND picker = OpenInIconPicker(program, button, file);
    HWND icons = picker ? FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    if (!icons || !WaitFor([&] { return SelectedItem(icons) == 0; })) return false;
    for (int i = 1; i <= index; ++i) {
        PostMessageW(icons, WM_KEYDOWN, VK_RIGHT, 0);
        if (!WaitFor([&] { return SelectedItem(icons) == i; })) return false;
    }
    PostMessageW(icons, WM_KEYDOWN, VK_RETURN, 0);
    return WaitFor([&] { return !IsWindow(picker); });
}

TEST(ExeDriver, DoesTheWholeTaskAsAUserWould) {
    if (!RunningOnWine())
        GTEST_SKIP() << "Windows shows the shell's own icon picker; this test works the one that stands in under Wine";
    TempFolder folder(BrowsableRoot());
    const std::wstring ini = folder / L"desktop.ini";
    RunningProgram program;
    HWND main = program.Window();
    ASSERT_NE(main, nullptr) << "main window not found by its caption";
    const MainControls c = MainControlsOf(main);
    ASSERT_TRUE(c.Found());
    HWND choose = c.folder, chooseIcon = c.icon, apply = c.apply, reset = c.reset, infoTip = c.infoTip;
    EXPECT_TRUE(IsWindowEnabled(choose));
    EXPECT_FALSE(IsWindowEnabled(chooseIcon));
    EXPECT_FALSE(IsWindowEnabled(apply));
    EXPECT_FALSE(IsWindowEnabled(reset));
    EXPECT_FALSE(IsWindowEnabled(infoTip));

    // The folder, through the real folder browser.
    ASSERT_TRUE(ChooseFolder(program, choose, folder.Path()));
    // The handler shows the folder first and enables the icon choice last.
    ASSERT_TRUE(WaitFor([&] { return FindChildByText(main, folder.Path()) && IsWindowEnabled(chooseIcon); }))
        << "folder not shown";
    EXPECT_TRUE(IsWindowEnabled(chooseIcon));
    EXPECT_TRUE(IsWindowEnabled(infoTip));

    // The file, through the real Open dialog; the fourth icon, from the keyboard.
    ASSERT_TRUE(PickIcon(program, chooseIcon, TestIconsDll(), 3)) << "no icon picked";
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; })) << "Apply not enabled after the choice";

    // An info tip, then Apply.
    PostText(infoTip, L"Mes icônes");
    ASSERT_TRUE(WaitFor([&] { return EditTextOf(infoTip) == L"Mes icônes"; }));
    Click(apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }));
    EXPECT_EQ(ReadBytes(ini), "[.ShellClassInfo]\r\nICONFILE=" + Narrow(TestIconsDll()) +
                                  "\r\nICONINDEX=3\r\nINFOTIP=Mes ic\xF4nes\r\n");
    EXPECT_EQ(UserAttributes(ini), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(UserAttributes(folder.Path()), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));

    // Reset mode, then Apply: the customisation is gone.
    Click(reset);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(chooseIcon));
    Click(apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }));
    EXPECT_FALSE(Exists(ini));
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);

    // The About window, closed with Esc.
    Click(c.about);
    HWND about = WaitForTitle(program, L"A propos Tivrelon");
    ASSERT_NE(about, nullptr) << "no About window";
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(main); })) << "About window is not modal";
    PostMessageW(FindChildByText(about, L"OK"), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(main); }));

    // Quit.
    Click(c.quit);
    EXPECT_EQ(program.ExitCode(), 0u);
}

// The shipped exe started with a folder, as Explorer's menu entry and a
// shortcut start it (quoted, a space in its name), in a folder of the
// user's own settings: Apply, then reset, gives it back exactly what it had.
// Under WOW64 in the i686 build, where the exe meets the file system's and
// the registry's redirection.
TEST(ExeDriver, StartedWithAFolderAppliesAndResetsItBackToWhatItHad) {
    if (!RunningOnWine()) GTEST_SKIP() << "Windows shows the shell's own icon picker";
    TempFolder root;
    const std::wstring folder = root / L"Mes projets", ini = folder + L"\\desktop.ini";
    MakeFolder(folder);
    WriteBytes(ini, "[.ShellClassInfo]\r\nIconResource=C:\\Windows\\System32\\imageres.dll,-3\r\n"
                    "LocalizedResourceName=Projets\r\n[ViewState]\r\nMode=4\r\n");
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const std::wstring keys = ProfileSection(ini, L".ShellClassInfo"), view = ProfileSection(ini, L"ViewState");
    RunningProgram program(TivrelonExePath(), L"", L"\"" + folder + L"\"");
    ASSERT_NE(program.Window(), nullptr);
    const MainControls c = MainControlsOf(program.Window());
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(c.icon) != FALSE; })) << "the folder was not chosen";

    ASSERT_TRUE(PickIcon(program, c.icon, TestIconsDll(), 2));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(c.apply) != FALSE; }));
    Click(c.apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(c.apply); }));
    EXPECT_NE(ProfileSection(ini, L".ShellClassInfo").find(L"IconResource=" + TestIconsDll() + L",2\n"),
              std::wstring::npos) << ProfileSection(ini, L".ShellClassInfo");
    EXPECT_EQ(UserAttributes(folder), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));

    Click(c.reset);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(c.apply) != FALSE; }));
    Click(c.apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(c.apply); }));
    EXPECT_EQ(ProfileSection(ini, L".ShellClassInfo"), keys);
    EXPECT_EQ(ProfileSection(ini, L"ViewState"), view);
    EXPECT_EQ(ProfileSection(ini, L"Tivrelon"), L"");
    EXPECT_EQ(UserAttributes(ini), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(UserAttributes(folder), 0u);
    Click(c.quit);
    EXPECT_EQ(program.ExitCode(), 0u);
}

// Damaged files of icons once crashed the program inside the platform's
// extraction, reached from the picker: posted clicks, as a user's arrive,
// would end it. Apply stays off, and a click posted to it (as automation
// tools post them) writes nothing.
TEST(ExeDriver, DamagedIconFilesLeaveTheProgramRunningAndApplyOff) {
    if (!RunningOnWine())
        GTEST_SKIP() << "Windows shows the shell's own icon picker; this test works the one that stands in under Wine";
    TempFolder folder(BrowsableRoot());
    const std::pair<std::wstring, std::string> damaged[] = {
        {L"coupee.ico", TruncatedIcoBytes()},
        {L"trop-loin.ico", IcoPointingPastItsEnd()},
        {L"immense.ico", IcoClaimingAHugeImage()},
        {L"coupee.dll", LibraryCutShort()},
    };
    std::vector<std::wstring> files;
    for (const auto& [name, bytes] : damaged) {
        files.push_back(folder / name);
        WriteBytes(files.back(), bytes);
    }
    RunningProgram program;
    HWND main = program.Window();
    ASSERT_NE(main, nullptr) << "main window not found by its caption";
    const MainControls c = MainControlsOf(main);
    HWND chooseIcon = c.icon, apply = c.apply;
    ASSERT_TRUE(ChooseFolder(program, c.folder, folder.Path()));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(chooseIcon) != FALSE; })) << "no folder chosen";

    for (const std::wstring& file : files) {
        SCOPED_TRACE(testing::PrintToString(file));
        HWND picker = OpenInIconPicker(program, chooseIcon, file);
        ASSERT_NE(picker, nullptr) << "no icon picker";
        HWND icons = FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(ListView_GetItemCount(icons), 0);
        PostMessageW(icons, WM_KEYDOWN, VK_RETURN, 0);  // nothing to confirm
        PostMessageW(icons, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(picker); }));
        EXPECT_TRUE(program.Running());
        EXPECT_FALSE(IsWindowEnabled(apply));
    }
    Click(apply);
    Click(c.quit);  // handled after the click on Apply
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(Exists(folder / L"desktop.ini"));
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);
}

}  // namespace
