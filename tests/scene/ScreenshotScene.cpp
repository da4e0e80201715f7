// The scene of the README's pictures: the built program given a task a user
// would give it (a folder of their documents, an icon of the system's own
// shell32.dll, an info tip in French, then a photo of the holidays made into
// another folder's icon), worked from outside through the real
// dialogs, with a picture of each step (SaveScreenshot, when
// TIVRELON_SCREENSHOTS names a folder). It leaves the folder as it found it.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/Gui.h"
#include "support/Pictures.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"
#include "support/Screenshot.h"

namespace {

constexpr wchar_t kFolder[] = L"C:\\Users\\Public\\Documents\\Mes projets";
constexpr wchar_t kInfoTip[] = L"Projets en cours : devis, plans et photos";
// The globe, in the icon list of Wine's shell32.dll.
constexpr int kIconIndex = 15;
constexpr wchar_t kPhotos[] = L"C:\\Users\\Public\\Pictures\\Vacances";

// A beach at sunset, as a camera would save it: sky, sun, sea and sand.
DWORD Seaside(int x, int y) {
    // From `from` to `to` (0xRRGGBB) as `t` goes from 0 to `n`.
    const auto blend = [](DWORD from, DWORD to, int t, int n) {
        DWORD colour = 0xFF000000;
        for (int shift : {0, 8, 16}) {
            const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
            colour |= static_cast<DWORD>(a + (b - a) * t / n) << shift;
        }
        return colour;
    };
    const int dx = x - 400, dy = y - 170;
    if (dx * dx + dy * dy < 45 * 45) return 0xFFFFE08A;  // the sun
    if (y < 200) return blend(0x3A6EC8, 0xFFA060, y, 200);  // the sky
    if (y < 310) return blend(0x1E5AA8, 0x2E8AA8, y - 200, 110);  // the sea
    return 0xFFE8D2A0;  // the sand
}

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

    // A photo of the holidays on another folder: made into its icon file.
    MakeFolder(L"C:\\Users\\Public\\Pictures");
    MakeFolder(kPhotos);
    const std::wstring photo = std::wstring(kPhotos) + L"\\plage.jpg";
    WriteBytes(photo, PictureBytes(PictureFormat::Jpeg, 600, 400, Seaside));
    Click(c.reset);  // back to apply mode
    Click(c.folder);
    browser = WaitForFolderBrowser(program, main);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    ASSERT_TRUE(SelectInFolderBrowser(browser, kPhotos));
    Click(GetDlgItem(browser, IDOK));
    Click(chooseIcon);
    HWND open = WaitForTitle(program, L"Choisir un fichier contenant des icônes");
    ASSERT_NE(open, nullptr) << "no Open dialog";
    SendMessageW(GetDlgItem(open, cmb13), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(photo.c_str()));
    Click(GetDlgItem(open, IDOK));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; })) << "no picture made into an icon";
    PostText(infoTip, L"Vacances 2026");
    ASSERT_TRUE(WaitFor([&] { return EditTextOf(infoTip) == L"Vacances 2026"; }));
    SaveScreenshot(main, L"main-window-picture");
    Click(apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }));
    Click(c.reset);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; }));
    Click(apply);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }));
    EXPECT_EQ(UserAttributes(kPhotos), 0u);
    RemoveTree(kPhotos);

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
