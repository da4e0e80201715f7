// The main window on screen: layout, initial states, modes, colours.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/ExplorerEntry.h"
#include "app/UnhandledFailure.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/IconFiles.h"
#include "support/KeptRegistryKey.h"
#include "support/KeptSysColours.h"
#include "support/Layout.h"
#include "support/MainWindow.h"
#include "support/Pictures.h"
#include "ui/MessageLoop.h"

namespace {

using F = frmIconChanger;

// What Windows does when the window moves onto a monitor of `dpi`: it asks
// the window for its size there, then suggests that size at a new place.
RECT MoveToDpi(HWND window, UINT dpi) {
    constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE
    SIZE size{};
    SendMessageW(window, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
    RECT r;
    GetWindowRect(window, &r);
    const RECT suggested{r.left + 16, r.top + 8, r.left + 16 + size.cx, r.top + 8 + size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

class MainWindowTest : public testing::Test {
protected:
    MainWindowFixture w{true};
    HWND Main() { return w.form.Hwnd(); }
    bool Enabled(int c) { return IsWindowEnabled(w.Ctl(c).Hwnd()) != FALSE; }
    // Every control where the twips table puts it at `dpi`, in a client area of its size.
    void ExpectLayoutAt(UINT dpi) {
        RECT client;
        GetClientRect(Main(), &client);
        EXPECT_EQ(client.right, Px(kMainWindowClient.cx, dpi));
        EXPECT_EQ(client.bottom, Px(kMainWindowClient.cy, dpi));
        ExpectLaidOut(kMainWindowPlaces, kMainWindowClient, dpi, [&](const Place& p) { return w.Ctl(p.control).Hwnd(); });
    }
    // The info-tip box's background where no text is drawn.
    COLORREF InfoTipBackground() {
        HWND box = w.Ctl(F::txtInfoTip).Hwnd();
        InvalidateRect(box, nullptr, TRUE);
        RECT r;
        GetClientRect(box, &r);
        return PixelOf(box, r.right - 3, r.bottom / 2);
    }
};

TEST_F(MainWindowTest, WindowIsFixedCentredWithMinimiseOnly) {
    EXPECT_EQ(WindowTextOf(Main()), L"Changer l'icône d'un dossier");
    const LONG_PTR style = GetWindowLongPtrW(Main(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    // A taskbar button; and Explorer drops files only on a window that says it takes them.
    constexpr LONG_PTR kExStyle = WS_EX_APPWINDOW | WS_EX_ACCEPTFILES;
    EXPECT_EQ(GetWindowLongPtrW(Main(), GWL_EXSTYLE) & kExStyle, kExStyle);
    EXPECT_EQ(GetWindow(Main(), GW_OWNER), nullptr);
    EXPECT_NE(SendMessageW(Main(), WM_GETICON, ICON_BIG, 0) | GetClassLongPtrW(Main(), GCLP_HICON), 0);

    RECT r;
    GetWindowRect(Main(), &r);
    MONITORINFO m{};
    m.cbSize = sizeof m;
    GetMonitorInfoW(MonitorFromWindow(Main(), MONITOR_DEFAULTTOPRIMARY), &m);
    EXPECT_LE(std::abs((r.left + r.right) - (m.rcMonitor.left + m.rcMonitor.right)), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - (m.rcMonitor.top + m.rcMonitor.bottom)), 1);
}

TEST_F(MainWindowTest, LayoutIsTheTwipsTableAtTheWindowsDpi) {
    ExpectLayoutAt(w.form.Dpi());
}

TEST_F(MainWindowTest, StartsWithOnlyFolderChoiceQuitAndAboutUsable) {
    const struct {
        int control;
        bool enabled;
        const wchar_t* text;
    } expected[] = {
        {F::fraIcon, true, L"Dossier"},
        {F::picIcon, true, L"Aperçu de l'icône"},  // its accessible name, never drawn
        {F::cmdShowIcon, false, L"Choix de l'&Icône..."},
        {F::lblInfoTip, true, L"Information Icône :"},
        {F::txtInfoTip, false, L""},
        {F::lblDir, true, L""},
        {F::chkReset, false, L"Restituer l'icône par défaut"},
        {F::Frame1, true, L""},
        {F::cmdDir, true, L"Choix du &Dossier..."},
        {F::cmdDone, false, L"&Appliquer..."},
        {F::Command1, true, L"&Quitter"},
        {F::Command2, true, L"A &Propos"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(w.Ctl(e.control).Desc().name)));
        EXPECT_EQ(Enabled(e.control), e.enabled);
        EXPECT_EQ(WindowTextOf(w.Ctl(e.control).Hwnd()), e.text);
    }
    EXPECT_EQ(AccessibleNameOf(w.Ctl(F::picIcon).Hwnd()), L"Aperçu de l'icône");
    EXPECT_FALSE(w.Ctl(F::chkReset).Checked());
    EXPECT_EQ(InfoTipBackground(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetFocus(), w.Ctl(F::cmdDir).Hwnd());
}

// Automation and accessibility tools post clicks to disabled controls, and
// Wine hands them on: the window ignores them.
TEST_F(MainWindowTest, ClicksFromDisabledControlsDoNothing) {
    int openDialogs = 0;
    w.fake.getOpenFileName = [&](OPENFILENAMEW*) {
        ++openDialogs;
        return FALSE;
    };
    const int disabled[] = {F::cmdShowIcon, F::chkReset, F::cmdDone};
    for (int c : disabled) {
        HWND control = w.Ctl(c).Hwnd();
        SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED), reinterpret_cast<LPARAM>(control));
    }
    EXPECT_EQ(openDialogs, 0);
    EXPECT_TRUE(w.fake.messageBoxes.empty());
    for (int c : disabled) EXPECT_FALSE(Enabled(c)) << c;
}

TEST_F(MainWindowTest, FontsAreMsSansSerifWithABoldFrameCaption) {
    for (int c = 0; c < F::kControlCount; ++c) {
        if (c == F::picIcon) continue;
        const LOGFONTW font = FontOf(w.Ctl(c).Hwnd());
        SCOPED_TRACE(testing::PrintToString(std::wstring(w.Ctl(c).Desc().name)));
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -FontPixels(9.75, w.form.Dpi()));
        EXPECT_EQ(font.lfWeight, c == F::fraIcon ? FW_BOLD : FW_NORMAL);
    }
}

TEST_F(MainWindowTest, TooltipsSayWhatEachButtonDoes) {
    // Tooltip windows stay hidden until they show a tip.
    HWND tips = TooltipsOf(Main());
    ASSERT_NE(tips, nullptr);
    const struct {
        int control;
        const wchar_t* tip;
    } expected[] = {
        {F::cmdShowIcon, L"Choisir l'icône pour le dossier sélectionné"},
        {F::chkReset, L"Restitue l'icône à défaut pour le dossier choisi"},
        {F::cmdDir, L"Choix du dossier pour modification d'icône"},
        {F::cmdDone, L"Apllique l'icône au dossier choisi"},
        {F::Command1, L"Quitter Tivrelon"},
        {F::Command2, L"Auteur"},
    };
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(expected)));
    for (const auto& e : expected) EXPECT_EQ(TooltipOf(tips, Main(), w.Ctl(e.control).Hwnd()), e.tip);
}

TEST_F(MainWindowTest, TabOrderFollowsTheTable) {
    w.ChooseFolder(L"C:\\");
    w.ChooseIcon(L"C:\\a.ico", 0);
    const int order[] = {F::cmdShowIcon, F::txtInfoTip, F::chkReset, F::cmdDir, F::cmdDone, F::Command1, F::Command2,
                         F::cmdShowIcon};
    HWND at = w.Ctl(order[0]).Hwnd();
    for (size_t i = 1; i < std::size(order); ++i) {
        at = GetNextDlgTabItem(Main(), at, FALSE);
        EXPECT_EQ(at, w.Ctl(order[i]).Hwnd()) << "step " << i;
    }
}

TEST_F(MainWindowTest, ResetModeAndBackFollowTheModeTable) {
    w.ChooseFolder(L"C:\\");
    EXPECT_EQ(InfoTipBackground(), RGB(255, 255, 255));
    w.ChooseIcon(L"C:\\a.ico", 1);
    SetWindowTextW(w.Ctl(F::txtInfoTip).Hwnd(), L"Mon info");

    w.ClickReset();  // entering reset mode
    EXPECT_TRUE(w.Ctl(F::chkReset).Checked());
    EXPECT_FALSE(Enabled(F::cmdShowIcon));
    EXPECT_FALSE(Enabled(F::txtInfoTip));
    EXPECT_EQ(WindowTextOf(w.Ctl(F::txtInfoTip).Hwnd()), L"");
    EXPECT_EQ(InfoTipBackground(), GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(Enabled(F::cmdDone));
    EXPECT_TRUE(Enabled(F::cmdDir));
    EXPECT_TRUE(Enabled(F::chkReset));

    w.ClickReset();  // back to apply mode
    EXPECT_FALSE(w.Ctl(F::chkReset).Checked());
    EXPECT_FALSE(Enabled(F::cmdDone));  // the icon must be chosen again
    EXPECT_TRUE(Enabled(F::cmdShowIcon));
    EXPECT_TRUE(Enabled(F::txtInfoTip));
    EXPECT_EQ(WindowTextOf(w.Ctl(F::txtInfoTip).Hwnd()), L"");  // not given back
    EXPECT_EQ(InfoTipBackground(), RGB(255, 255, 255));
}

// A dark scheme set while the window is open: typed text shows on the
// info-tip box (white on a fixed white before), and the window and the
// chosen icon's clear half take the new button face.
TEST_F(MainWindowTest, FollowsTheSystemColoursAsTheyChange) {
    w.ChooseFolder(L"C:\\");
    w.ChooseIcon(TestIconsDll(), 3);
    SetWindowTextW(w.Ctl(F::txtInfoTip).Hwnd(), L"Mes icônes");
    constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
    constexpr std::pair<int, COLORREF> kDark[] = {{COLOR_WINDOW, kBlack}, {COLOR_WINDOWTEXT, kWhite}, {COLOR_BTNFACE, kBlack}};
    const KeptSysColours scheme(kDark);
    EXPECT_EQ(InfoTipBackground(), kBlack);
    EXPECT_GT(MiddleRowPixels(w.Ctl(F::txtInfoTip).Hwnd(), kWhite), 0) << "the typed text";
    EXPECT_EQ(PixelOf(Main(), 2, 2), kBlack);
    HWND preview = w.Ctl(F::picIcon).Hwnd();
    const int side = w.form.Picture(F::picIcon).Size().cx;
    EXPECT_EQ(PixelOf(preview, 2, side - 3), kTestIconColours[3]);
    EXPECT_EQ(PixelOf(preview, side - 3, 2), kBlack);
}

TEST_F(MainWindowTest, EnteringResetModeClearsThePreview) {
    w.ChooseFolder(L"C:\\");
    HDC dc = w.form.Picture(F::picIcon).Dc();
    RECT all{0, 0, 32, 32};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
    w.form.Picture(F::picIcon).ShowDrawn();
    PumpMessages();
    EXPECT_EQ(PixelOf(w.Ctl(F::picIcon).Hwnd(), 16, 16), RGB(255, 0, 0));
    w.ClickReset();
    EXPECT_EQ(PixelOf(w.Ctl(F::picIcon).Hwnd(), 16, 16), GetSysColor(COLOR_BTNFACE));
}

TEST_F(MainWindowTest, ApplyIsDisabledAfterSuccessAndAfterFailure) {
    TempFolder folder;
    const std::wstring icon = folder / L"a.ico";
    WriteBytes(icon, IcoBytes(RGB(0, 0, 255)));
    w.ChooseFolder(folder.Path());
    w.ChooseIcon(icon, 0);
    w.Apply();
    EXPECT_FALSE(Enabled(F::cmdDone));
    EXPECT_TRUE(w.fake.messageBoxes.empty());
    w.ChooseFolder(folder / L"missing");
    w.ChooseIcon(icon, 0);
    w.Apply();
    EXPECT_FALSE(Enabled(F::cmdDone));
    EXPECT_EQ(w.fake.messageBoxes.size(), 1u);
}

// Dropped on the window: a folder is chosen as in the folder browser, with
// its refusals; a file of icons opens the picker, and a picture is taken,
// once a folder is chosen outside reset mode; anything else, and a drop
// while a dialog is open, is ignored without a word. Of several items the
// first counts; each is freed.
TEST_F(MainWindowTest, TakesWhatIsDroppedOnIt) {
    TempFolder root;
    const std::wstring one = root / L"Un", two = root / L"Deux", icon = root / L"bleu.ICO", text = root / L"notes.txt",
                       picture = root / L"photo.JPG";
    for (const std::wstring& folder : {one, two, Verbatim(root / L"fin.")}) MakeFolder(folder);
    WriteBytes(icon, IcoBytes(RGB(0, 0, 255)));
    WriteBytes(text, "texte");
    WriteBytes(picture, PictureBytes(PictureFormat::Jpeg, 16, 16, [](int, int) { return 0xFF0000FFu; }));
    size_t picks = 0;
    w.fake.pickIconW = [&](HWND, wchar_t*, UINT, int*) { return static_cast<int>(++picks); };
    enum Before { Nothing, ResetMode, DialogOpen };
    const struct {
        const char* name;
        std::vector<std::wstring> items;
        Before before;
        std::wstring folder;  // FolderPath afterwards
        size_t picks, boxes;  // pickers and messages so far
        bool pictureTaken = false;
    } cases[] = {
        {"a file of icons before any folder", {icon}, Nothing, L"", 0, 0},
        {"a folder", {one}, Nothing, one, 0, 0},
        {"several folders: the first", {two, one}, Nothing, two, 0, 0},
        {"a file of icons", {icon, one}, Nothing, two, 1, 0},
        {"another file", {text}, Nothing, two, 1, 0},
        {"a path that is gone", {root / L"absent"}, Nothing, two, 1, 0},
        {"a folder the browser refuses", {root / L"fin."}, Nothing, L"", 1, 1},
        {"a folder in reset mode", {one}, ResetMode, one, 1, 1},
        {"a file of icons in reset mode", {icon}, Nothing, one, 1, 1},
        {"a folder while a dialog is open", {two}, DialogOpen, one, 1, 1},
        {"a picture, out of reset mode", {picture}, ResetMode, one, 1, 1, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        if (c.before == ResetMode) w.ClickReset();
        EnableWindow(Main(), c.before != DialogOpen);
        Drop(Main(), c.items);
        EnableWindow(Main(), TRUE);
        EXPECT_EQ(w.fake.finishedDrops.size(), i + 1) << "the drop is not freed";
        EXPECT_EQ(w.form.FolderPath, c.folder);
        EXPECT_EQ(WindowTextOf(w.Ctl(F::lblDir).Hwnd()), c.folder);
        EXPECT_EQ(Enabled(F::chkReset), i > 0);  // from the first folder on
        EXPECT_EQ(picks, c.picks);
        EXPECT_EQ(w.form.IconFilePath, c.pictureTaken ? picture : c.picks ? icon : L"");
        EXPECT_EQ(w.fake.messageBoxes.size(), c.boxes);
    }
    ASSERT_EQ(w.fake.messageBoxes.size(), 1u);
    EXPECT_EQ(w.fake.messageBoxes[0].text,
              L"Windows ne peut pas modifier un dossier dont le nom finit par un point ou un espace.");
}

// A failure no handler expects is told to the user, and the window goes on.
TEST_F(MainWindowTest, AnUnexpectedFailureIsToldAndTheWindowGoesOn) {
    w.fake.browseForFolder = [](BROWSEINFOW*) -> PIDLIST_ABSOLUTE { throw std::runtime_error("panne"); };
    Form::SetFailureReport(&ReportUnhandledFailure);  // as the program does at start
    Click(w.Ctl(F::cmdDir).Hwnd());
    Form::SetFailureReport(nullptr);
    ASSERT_EQ(w.fake.messageBoxes.size(), 1u);
    EXPECT_EQ(w.fake.messageBoxes[0].text, L"Erreur d'exécution :\nune erreur inattendue s'est produite.");
    EXPECT_EQ(w.fake.messageBoxes[0].caption, L"Tivrelon");
    EXPECT_EQ(w.fake.messageBoxes[0].style, static_cast<UINT>(MB_OK | MB_ICONHAND));
    EXPECT_TRUE(Enabled(F::cmdDir));
}

TEST_F(MainWindowTest, CloseBoxEndsTheMessageLoop) {
    PostMessageW(Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_FALSE(w.form.Loaded());
}

TEST_F(MainWindowTest, KeepsItsLayoutWhenTheDpiChanges) {
    const UINT start = w.form.Dpi(), dpi = start * 3 / 2;
    const RECT suggested = MoveToDpi(Main(), dpi);
    RECT window;
    GetWindowRect(Main(), &window);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);
    ExpectLayoutAt(dpi);

    // Fonts scale with the window, and every caption still fits its control.
    for (int c = 0; c < F::kControlCount; ++c) {
        HWND control = w.Ctl(c).Hwnd();
        const std::wstring text = WindowTextOf(control);
        if (text.empty() || w.Ctl(c).Desc().accessibleName) continue;  // a name, never drawn
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(FontOf(control).lfHeight, -FontPixels(9.75, dpi));
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT need{};
        DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        const RECT have = ChildRect(control);
        EXPECT_LE(need.right, have.right - have.left);
        EXPECT_LE(need.bottom, have.bottom - have.top);
    }
    // The tooltips' too: the font Windows gives them, as its metrics hold it
    // at the DPI the window started at, scaled.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    EXPECT_EQ(FontOf(TooltipsOf(Main())).lfHeight, MulDiv(metrics.lfStatusFont.lfHeight, static_cast<int>(dpi), static_cast<int>(start)));
    // The same where Windows has no SystemParametersInfoForDpi (before
    // Windows 10 1607) and the program scales the system DPI's font itself.
    w.fake.nonClientMetricsForDpi = [](NONCLIENTMETRICSW*, UINT) { return FALSE; };
    MoveToDpi(Main(), start * 2);
    EXPECT_EQ(FontOf(TooltipsOf(Main())).lfHeight, metrics.lfStatusFont.lfHeight * 2);
}

TEST_F(MainWindowTest, PreviewKeepsItsPictureAndFillsTheBoxAtEveryDpi) {
    const UINT start = w.form.Dpi();
    const struct {
        UINT dpi;
        COLORREF colour;
    } steps[] = {{start, RGB(255, 0, 0)}, {start * 3 / 2, RGB(0, 0, 255)}, {start, RGB(0, 255, 0)}};
    COLORREF before = GetSysColor(COLOR_BTNFACE);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.dpi);
        if (step.dpi != w.form.Dpi()) MoveToDpi(Main(), step.dpi);
        PictureBox& preview = w.form.Picture(F::picIcon);
        const int side = MulDiv(480, static_cast<int>(step.dpi), 1440);
        RECT box;
        GetClientRect(preview.Hwnd(), &box);
        EXPECT_EQ(box.right, side);
        EXPECT_EQ(box.bottom, side);
        PumpMessages();
        EXPECT_EQ(PixelOf(preview.Hwnd(), 0, 0), before) << "what was drawn stays across the change";

        // A picture drawn at the surface's size fills the box on screen.
        ASSERT_EQ(preview.Size().cx, side);
        ASSERT_EQ(preview.Size().cy, side);
        const RECT all{0, 0, side, side};
        HBRUSH brush = CreateSolidBrush(step.colour);
        FillRect(preview.Dc(), &all, brush);
        DeleteObject(brush);
        preview.ShowDrawn();
        PumpMessages();
        EXPECT_EQ(PixelOf(preview.Hwnd(), side - 1, side - 1), step.colour);
        before = step.colour;
    }
}

// At 1.5 times the DPI the box is 48 x 48 where the system's icon size
// stays 32 x 32: drawn from the file's 48 x 48 image, not the 32 x 32 one
// stretched (a blur), which the test icon shows in another colour.
TEST_F(MainWindowTest, ChosenIconIsDrawnAgainAtTheBoxsNewSize) {
    TempFolder folder;
    w.ChooseFolder(folder.Path());
    w.ChooseIcon(TestIconsDll(), kSizedIcon);
    ASSERT_TRUE(w.Ctl(F::cmdDone).Enabled());
    MoveToDpi(Main(), w.form.Dpi() * 3 / 2);
    PumpMessages();
    PictureBox& preview = w.form.Picture(F::picIcon);
    const int side = preview.Size().cx;
    ASSERT_EQ(side, MulDiv(480, static_cast<int>(w.form.Dpi()), 1440));
    // The bottom of the icon's opaque left half reaches the bottom of the
    // larger box: the icon is drawn at the new size, not kept at the old.
    EXPECT_EQ(PixelOf(preview.Hwnd(), 2, side - 3), kSizedIconColour48);
}

// The system menu adds and removes Explorer's entry; another copy's goes only when chosen; a refused write leaves none.
TEST_F(MainWindowTest, SystemMenuAddsAndRemovesTheExplorerEntry) {
    const KeptRegistryKey kept(explorerEntry::kKey);
    const std::wstring key = explorerEntry::kKey, command = key + L"\\command", exe = services::App().file;
    const auto text = [](const std::wstring& k, const wchar_t* name) {
        const auto opened = RegistryKey::Open(HKEY_CURRENT_USER, k);
        return opened ? opened->Text(name).value_or(L"") : L"";
    };
    HMENU menu = GetSystemMenu(Main(), FALSE);
    const int last = GetMenuItemCount(menu) - 1;
    wchar_t caption[64] = L"";
    GetMenuStringW(menu, last, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Ajouter au menu de l'Explorateur");
    const auto checked = [&] {  // as the menu shows it when it opens
        SendMessageW(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        return (GetMenuState(menu, last, MF_BYPOSITION) & MF_CHECKED) != 0;
    };
    const auto choose = [&] { SendMessageW(Main(), WM_SYSCOMMAND, GetMenuItemID(menu, last), 0); };
    // None; a copy moved away (a name outside the ANSI code page); another copy that is there.
    for (const std::wstring& before : {std::wstring(), std::wstring(LR"("C:\Dvořák ✓\Tivrelon.exe" "%1")"),
                                      L"\"" + TestProgramFolder() + L"\\..\\Tivrelon.exe\" \"%1\""}) {
        SCOPED_TRACE(testing::PrintToString(before));
        if (!before.empty())
            RegSetKeyValueW(HKEY_CURRENT_USER, command.c_str(), nullptr, REG_SZ, before.c_str(), (before.size() + 1) * 2);
        EXPECT_FALSE(checked());
        EXPECT_EQ(text(command, L""), before) << "left alone until chosen";
        choose();
        EXPECT_TRUE(checked());
        EXPECT_EQ(text(key, L""), L"Changer l'icône avec Tivrelon...");
        EXPECT_EQ(text(key, L"Icon"), exe + L",0");
        EXPECT_EQ(text(key, L"MultiSelectModel"), L"Single");
        EXPECT_EQ(text(command, L""), L"\"" + exe + L"\" \"%1\"");
        choose();
        EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, key));
    }
    EXPECT_EQ(w.fake.shellEvents, std::vector<LONG>(6, SHCNE_ASSOCCHANGED)) << "Explorer not told at each choice";
    // This program by another spelling: its 8.3 name, another letter case.
    wchar_t shortName[MAX_PATH];
    GetShortPathNameW(exe.c_str(), shortName, MAX_PATH);
    for (const std::wstring& same : {std::wstring(shortName), ToUpper(exe)}) {
        const std::wstring line = explorerEntry::CommandFor(same);
        RegSetKeyValueW(HKEY_CURRENT_USER, command.c_str(), nullptr, REG_SZ, line.c_str(), (line.size() + 1) * 2);
        EXPECT_TRUE(checked()) << testing::PrintToString(same);
        choose();  // takes it away as this program's
    }
    int refused = 0, writes = 0;  // each value write refused in turn, the command's last
    w.fake.regSetValue = [&](HKEY k, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
        return ++writes == refused ? ERROR_ACCESS_DENIED : w.fake.Platform::RegSetValueExW(k, name, type, data, size);
    };
    for (refused = 1; refused <= 4; ++refused, writes = 0) {
        choose();
        EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, key)) << refused;
        ASSERT_EQ(w.fake.messageBoxes.size(), static_cast<size_t>(refused));
        EXPECT_EQ(w.fake.messageBoxes.back().text, explorerEntry::kAddFailed);
    }
    // A copy opened straight from a ZIP runs from the temporary folder, which
    // goes: its entry is added only once the user says so.
    wchar_t temp[MAX_PATH + 1];
    const TempFolder zip(std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp) - 1));
    for (const int answer : {IDNO, IDYES}) {
        w.fake.messageBoxAnswer = answer;
        explorerEntry::Toggle(zip / L"Tivrelon.exe");
        EXPECT_EQ(w.fake.messageBoxes.back().text, explorerEntry::kTemporaryProgram);
        EXPECT_EQ(w.fake.messageBoxes.back().style, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION));
        EXPECT_EQ(explorerEntry::PointsAt(zip / L"Tivrelon.exe"), answer == IDYES);
    }
}

}  // namespace
