// The main task with the keyboard alone, on the shipped exe: real keystrokes
// through the system's input queue, the access keys, Tab, Space, Enter, Esc.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/Keyboard.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"

namespace {

// Presses Tab until `control` has the focus; false if it never gets it.
bool TabTo(HWND main, HWND control) {
    for (int i = 0; i < 13; ++i) {
        HWND before = FocusOf(main);
        if (before == control) return true;
        PressKey(VK_TAB);
        if (!WaitFor([&] { return FocusOf(main) != before; })) return false;
    }
    return false;
}

TEST(Keyboard, TheWholeTaskWithTheKeyboardAlone) {
    if (!RunningOnWine())
        GTEST_SKIP() << "Windows shows the shell's own icon picker; this test works the one that stands in under Wine";
    TempFolder folder(BrowsableRoot());
    const std::wstring ini = folder / L"desktop.ini";
    RunningProgram program;
    HWND main = program.Window();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(BringToFront(main));
    const MainControls c = MainControlsOf(main);
    ASSERT_TRUE(c.Found());
    HWND choose = c.folder, chooseIcon = c.icon, apply = c.apply, quit = c.quit, about = c.about, reset = c.reset,
         infoTip = c.infoTip;

    // At start Tab goes round the three usable buttons in the table's order.
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == choose; })) << "the first button does not start with the focus";
    for (HWND next : {quit, about, choose}) {
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return FocusOf(main) == next; })) << WindowTextOf(next).c_str();
    }

    // Alt+D: the folder browser; the shell's tree is pointed at the folder,
    // Enter confirms it.
    PressKey('D', VK_MENU);
    HWND browser = WaitForFolderBrowser(program, main);
    ASSERT_NE(browser, nullptr) << "Alt+D opens no folder browser";
    ASSERT_TRUE(SelectInFolderBrowser(browser, folder.Path()));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return FindChildByText(main, folder.Path()) && IsWindowEnabled(chooseIcon); }))
        << "Enter does not confirm the folder";

    // Alt+I: the Open dialog, the file typed, Enter; then the fourth icon
    // with the arrow keys and Enter.
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    PressKey('I', VK_MENU);
    HWND open = WaitForTitle(program, L"Choisir un fichier contenant des icônes");
    ASSERT_NE(open, nullptr) << "Alt+I opens no Open dialog";
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == open; }));
    TypeText(TestIconsDll());
    PressKey(VK_RETURN);
    HWND picker = WaitForTitle(program, L"Changer d'icône");
    ASSERT_NE(picker, nullptr) << "no icon picker after Enter in the Open dialog";
    HWND icons = FindWindowExW(picker, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_TRUE(WaitFor([&] { return SelectedItem(icons) == 0 && GetForegroundWindow() == picker; }));
    for (int i = 1; i <= 3; ++i) {
        PressKey(VK_RIGHT);
        ASSERT_TRUE(WaitFor([&] { return SelectedItem(icons) == i; })) << "arrow key " << i;
    }
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) && GetForegroundWindow() == main; }));

    // Tab to the info tip, type it, Alt+A applies.
    ASSERT_TRUE(TabTo(main, infoTip)) << "Tab never reaches the info tip";
    TypeText(L"Mes icônes");
    PressKey('A', VK_MENU);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); })) << "Alt+A does not apply";
    EXPECT_EQ(ReadBytes(ini), "[.ShellClassInfo]\r\nICONFILE=" + Narrow(TestIconsDll()) +
                                  "\r\nICONINDEX=3\r\nINFOTIP=Mes ic\xF4nes\r\n");

    // Tab to the reset box, Space ticks it, Alt+A resets.
    ASSERT_TRUE(TabTo(main, reset)) << "Tab never reaches the reset box";
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) && !IsWindowEnabled(chooseIcon); })) << "Space does not tick";
    PressKey('A', VK_MENU);
    ASSERT_TRUE(WaitFor([&] { return !Exists(ini) && !IsWindowEnabled(apply); })) << "Alt+A does not reset";
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);

    // Alt+P: the About window; Esc closes it.
    PressKey('P', VK_MENU);
    HWND aboutWindow = WaitForTitle(program, L"A propos Tivrelon");
    ASSERT_NE(aboutWindow, nullptr) << "Alt+P opens no About window";
    // The window has the focus on OK once it has shown.
    ASSERT_TRUE(WaitFor([&] { return IsChild(aboutWindow, FocusOf(aboutWindow)); }));
    // Tab goes round six items: the three buttons, the two links, the donation picture.
    HWND ok = FocusOf(aboutWindow), at = ok;
    int items = 0;
    do {
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return FocusOf(aboutWindow) != at; })) << "Tab stays on item " << items;
        at = FocusOf(aboutWindow);
    } while (++items < 10 && at != ok);
    EXPECT_EQ(items, 6);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(aboutWindow) && GetForegroundWindow() == main; }));

    // Alt+Q quits.
    PressKey('Q', VK_MENU);
    EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
