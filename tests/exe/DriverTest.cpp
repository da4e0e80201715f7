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
    HWND picker = OpenInIconPicker(program, chooseIcon, TestIconsDll());
    ASSERT_NE(picker, nullptr) << "no icon picker";
    HWND icons = FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(icons, nullptr);
    ASSERT_TRUE(WaitFor([&] { return SelectedItem(icons) == 0; })) << "the picker does not open on the first icon";
    for (int i = 1; i <= 3; ++i) {
        PostMessageW(icons, WM_KEYDOWN, VK_RIGHT, 0);
        ASSERT_TRUE(WaitFor([&] { return SelectedItem(icons) == i; })) << "arrow key " << i;
    }
    PostMessageW(icons, WM_KEYDOWN, VK_RETURN, 0);
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
