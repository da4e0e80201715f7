// The scene of the README's pictures: the built program given a task a user
// would give it (a folder of their documents, an icon of the system's own
// shell32.dll, an info tip in French), worked from outside through the real
// dialogs, with a picture of each step (SaveScreenshot, when
// TIVRELON_SCREENSHOTS names a folder). It leaves the folder as it found it.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/Gui.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"
#include "support/Screenshot.h"

namespace {

constexpr wchar_t kFolder[] = L"C:\\Users\\Public\\Documents\\Mes projets";
constexpr wchar_t kInfoTip[] = L"Projets en cours : devis, plans et photos";
// The globe, in the icon list of Wine's shell32.dll.
constexpr int kIconIndex = 15;

std::wstring Shell32() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\shell32.dll";
}

TEST(Scene, AFolderOfProjectsGetsAnIconAndAnInfoTip) {
    MakeFolder(kFolder);
    RunningProgram program;
    HWND main = program.Window();
    ASSERT_NE(main, nullptr) << "main window not found by its caption";
    const MainControls c = MainControlsOf(main);
    HWND apply = c.apply, infoTip = c.infoTip;
    SaveScreenshot(main, L"main-window");

    Click(c.folder);
    HWND browser = WaitForFolderBrowser(program, main);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    ASSERT_TRUE(SelectInFolderBrowser(browser, kFolder));
    SaveScreenshot(browser, L"folder-browser");
    Click(GetDlgItem(browser, IDOK));
    HWND chooseIcon = c.icon;
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(chooseIcon) != FALSE; })) << "no folder chosen";

    HWND picker = OpenInIconPicker(program, chooseIcon, Shell32());
    ASSERT_NE(picker, nullptr) << "no icon picker";
    HWND icons = FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(icons, nullptr);
    ASSERT_TRUE(WaitFor([&] { return SelectedItem(icons) == 0; }));
    // The globe selected from outside, as a click would select it.
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    RemoteMemory remote(program.Process(), sizeof item);
    remote.Write(&item, sizeof item);
    SendMessageW(icons, LVM_SETITEMSTATE, kIconIndex, remote.Address());
    SendMessageW(icons, LVM_ENSUREVISIBLE, kIconIndex, FALSE);
    ASSERT_TRUE(WaitFor([&] { return SelectedItem(icons) == kIconIndex; }));
    SaveScreenshot(picker, L"icon-picker");
    PostMessageW(icons, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; })) << "no icon drawn";

    PostText(infoTip, kInfoTip);
    ASSERT_TRUE(WaitFor([&] { return EditTextOf(infoTip) == kInfoTip; }));
    SaveScreenshot(main, L"main-window-icon");
    Click(apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }));
    EXPECT_EQ(UserAttributes(kFolder), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));

    // Taking it away again.
    Click(c.reset);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; }));
    SaveScreenshot(main, L"main-window-reset");
    Click(apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }));
    EXPECT_EQ(UserAttributes(kFolder), 0u);

    Click(c.about);
    HWND about = WaitForTitle(program, L"A propos Tivrelon");
    ASSERT_NE(about, nullptr) << "no About window";
    SaveScreenshot(about, L"about-window");
    PostMessageW(FindChildByText(about, L"OK"), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
    Click(c.quit);
    EXPECT_EQ(program.ExitCode(), 0u);
    RemoveTree(kFolder);
}

}  // namespace
