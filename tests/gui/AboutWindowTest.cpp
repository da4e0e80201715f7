// The About window on screen, opened from the main window's "A Propos".
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "about/frmAbout.h"
#include "version.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "resource.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/KeptSysColours.h"
#include "support/Layout.h"
#include "support/MainWindow.h"
#include "support/Rerun.h"

namespace {

using A = frmAbout;

class AboutWindowTest : public testing::Test {
protected:
    MainWindowFixture w{true};
    HWND Main() { return w.form.Hwnd(); }

    // Clicks "A Propos" and runs `inside` in the About window's modal loop.
    // A window that `inside` leaves open once the input it posted is handled
    // is closed then, and the answer says whether that was needed. The
    // click returns once it is gone.
    bool OpenAbout(const std::function<void(frmAbout&)>& inside) {
        // Shared with the close-up, which may outlive this call.
        const auto leftOpen = std::make_shared<bool>(false);
        WhenWindow([this] { return FindThreadWindowTitled(L"A propos Tivrelon"); },
                   [this, inside, leftOpen](HWND hwnd) {
                       inside(*w.form.About());
                       CloseIfStillOpen(hwnd, [leftOpen] { *leftOpen = true; });
                   });
        Click(w.Ctl(frmIconChanger::Command2).Hwnd());
        return *leftOpen;
    }
};

TEST_F(AboutWindowTest, OpensModallyOverTheMainWindowWithItsTexts) {
    const bool leftOpen = OpenAbout([&](frmAbout& about) {
        HWND hwnd = about.Hwnd();
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_FALSE(IsWindowEnabled(Main())) << "the main window must take no input";
        EXPECT_EQ(GetFocus(), about.Ctl(A::cmdOK).Hwnd());

        const struct {
            int control;
            const wchar_t* text;
        } expected[] = {
            {A::lblTitle, L"Tivrelon"},
            {A::lblVersion, L"Version " TIVRELON_VERSION_TEXT},
            {A::lblDescription, L"© L'équipe Tivrelon, décembre 2026"},
            {A::Label2, L"Logiciel FREEWARE"},
            {A::Label3, L"URL : https://tivrelon.example"},
            {A::lblDisclaimer, L"E-Mail : contact@tivrelon.example"},
            {A::cmdOK, L"OK"},
            {A::Command1, L"Détails..."},
            {A::cmdSysInfo, L"&Système Info..."},
        };
        EXPECT_EQ(WindowTextOf(hwnd), L"A propos Tivrelon");
        for (const auto& e : expected) EXPECT_EQ(WindowTextOf(about.Ctl(e.control).Hwnd()), e.text);

        // Centred over the main window.
        RECT a, m;
        GetWindowRect(hwnd, &a);
        GetWindowRect(Main(), &m);
        EXPECT_LE(std::abs((a.left + a.right) - (m.left + m.right)), 1);
        EXPECT_LE(std::abs((a.top + a.bottom) - (m.top + m.bottom)), 1);

        Click(about.Ctl(A::cmdOK).Hwnd());
    });
    EXPECT_FALSE(leftOpen) << "OK did not close the window";
    EXPECT_TRUE(IsWindowEnabled(Main()));
    EXPECT_FALSE(w.form.About()->Loaded());
}

TEST_F(AboutWindowTest, EverySecondOpeningRunsTheLoadStepAgain) {
    frmAbout* first = nullptr;
    OpenAbout([&](frmAbout& about) {
        first = &about;
        SetWindowTextW(about.Hwnd(), L"autre");
        about.Ctl(A::lblVersion).SetText(L"Version 9.9.9");
        about.Ctl(A::lblTitle).SetText(L"autre");
        about.cmdOK_Click();
    });
    OpenAbout([&](frmAbout& about) {
        EXPECT_EQ(&about, first) << "the same About window object is shown again";
        EXPECT_EQ(WindowTextOf(about.Hwnd()), L"A propos Tivrelon");
        EXPECT_EQ(WindowTextOf(about.Ctl(A::lblVersion).Hwnd()), L"Version " TIVRELON_VERSION_TEXT);
        EXPECT_EQ(WindowTextOf(about.Ctl(A::lblTitle).Hwnd()), L"Tivrelon");
        about.cmdOK_Click();
    });
    EXPECT_TRUE(IsWindowEnabled(Main()));
}

TEST_F(AboutWindowTest, EscClosesFromAnywhereAndEnterOrSpacePressesTheFocusedItem) {
    const struct {
        const char* what;
        int focus;
        WPARAM key;
        bool closes;
        size_t messages;  // the details message counts
        size_t links = 0;  // addresses opened
    } cases[] = {
        {"Enter on OK", A::cmdOK, VK_RETURN, true, 0},
        {"Esc on OK", A::cmdOK, VK_ESCAPE, true, 0},
        {"Esc on Système Info", A::cmdSysInfo, VK_ESCAPE, true, 0},
        {"Esc on Détails", A::Command1, VK_ESCAPE, true, 0},
        {"Enter on Détails", A::Command1, VK_RETURN, false, 1},
        {"Space on the mail line", A::lblDisclaimer, VK_SPACE, false, 0, 1},
        {"Enter on the donation picture", A::Image2, VK_RETURN, false, 0, 1},
        {"Esc on the web line", A::Label3, VK_ESCAPE, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        w.fake.messageBoxes.clear();
        w.fake.startedPrograms.clear();
        w.fake.shellExecutes.clear();
        const bool leftOpen = OpenAbout([&](frmAbout& about) {
            HWND control = about.Ctl(c.focus).Hwnd();
            SendMessageW(about.Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
            EXPECT_EQ(GetFocus(), control);
            PostMessageW(control, WM_KEYDOWN, c.key, 1);
            PostMessageW(control, WM_KEYUP, c.key, 0xC0000001);
        });
        EXPECT_EQ(!leftOpen, c.closes);
        EXPECT_EQ(w.fake.messageBoxes.size(), c.messages);
        EXPECT_EQ(w.fake.shellExecutes.size(), c.links);
        EXPECT_TRUE(w.fake.startedPrograms.empty());
        EXPECT_TRUE(IsWindowEnabled(Main()));
    }
}

TEST_F(AboutWindowTest, CloseBoxUnloadsTheWindow) {
    const bool leftOpen =
        OpenAbout([&](frmAbout& about) { PostMessageW(about.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_FALSE(leftOpen);
    EXPECT_FALSE(w.form.About()->Loaded());
    EXPECT_TRUE(IsWindowEnabled(Main()));
}

TEST_F(AboutWindowTest, DetailsMessageIsNineLinesJoinedByCarriageReturns) {
    OpenAbout([&](frmAbout& about) {
        Click(about.Ctl(A::Command1).Hwnd());
        EXPECT_TRUE(about.Loaded()) << "the details leave the window open";
        about.cmdOK_Click();
    });
    ASSERT_EQ(w.fake.messageBoxes.size(), 1u);
    const auto& box = w.fake.messageBoxes[0];
    EXPECT_EQ(box.text,
              L"Tivrelon version " TIVRELON_VERSION_TEXT L"\r\rChanger l'icône d'un dossier\r\r"
              L"Auteur : © L'équipe Tivrelon, décembre 2026\rE-Mail : contact@tivrelon.example\r"
              L"Url : https://tivrelon.example\r\rLogiciel FREEWARE");
    EXPECT_EQ(box.caption, L"A propos");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

// From the program's folder, whatever its name: this test runs itself again
// from one the ANSI code page cannot hold.
TEST_F(AboutWindowTest, LinksHandTheirAddressesToTheShell) {
    const std::wstring folder = services::App().folder;
    if (AnsiForm(folder)) {
        TempFolder parent;
        const std::wstring foreign = parent / L"Dvořák 家族";
        MakeFolder(foreign);
        EXPECT_EQ(RerunCurrentTestFrom(foreign), 0u) << "the copy's own output above says what it saw";
    }
    const struct {
        int control;
        const wchar_t* file;
        bool hasParameters, hasDirectory;
    } links[] = {
        {A::Image2, L"https://tivrelon.example/Don/Don.htm", true, true},
        {A::Label3, L"https://tivrelon.example", true, true},
        {A::lblDisclaimer, L"mailto:contact@tivrelon.example", false, false},
    };
    HWND aboutHwnd = nullptr;
    OpenAbout([&](frmAbout& about) {
        aboutHwnd = about.Hwnd();
        for (const auto& link : links) Click(about.Ctl(link.control).Hwnd());
        EXPECT_TRUE(about.Loaded());
        about.cmdOK_Click();
    });
    ASSERT_EQ(w.fake.shellExecutes.size(), std::size(links));
    for (size_t i = 0; i < std::size(links); ++i) {
        const auto& call = w.fake.shellExecutes[i];
        SCOPED_TRACE(links[i].file);
        EXPECT_EQ(call.owner, aboutHwnd);
        EXPECT_TRUE(call.hasOperation);
        EXPECT_EQ(call.operation, L"Open");
        EXPECT_EQ(call.file, links[i].file);
        EXPECT_EQ(call.hasParameters, links[i].hasParameters);
        EXPECT_EQ(call.parameters, L"");
        EXPECT_EQ(call.hasDirectory, links[i].hasDirectory);
        EXPECT_EQ(call.directory, links[i].hasDirectory ? folder : L"");
        EXPECT_EQ(call.showCommand, SW_SHOWNORMAL);
    }
    EXPECT_TRUE(w.fake.messageBoxes.empty());
}

// Screen readers know the two links and the donation picture for what they
// are, and their default action hands the shell what a click hands it.
TEST_F(AboutWindowTest, ScreenReadersKnowTheClickableItemsAndOpenThemAsAClickDoes) {
    const struct { int control; LONG role; const wchar_t* file; } items[] = {
        {A::lblDisclaimer, ROLE_SYSTEM_LINK, L"mailto:contact@tivrelon.example"},
        {A::Label3, ROLE_SYSTEM_LINK, L"https://tivrelon.example"},
        {A::Image2, ROLE_SYSTEM_PUSHBUTTON, L"https://tivrelon.example/Don/Don.htm"},
    };
    ComPtr<IAccessible> kept;
    VARIANT self{}, role{};
    self.vt = VT_I4;  // CHILDID_SELF
    OpenAbout([&](frmAbout& about) {
        for (const auto& item : items) {
            SCOPED_TRACE(item.file);
            HWND hwnd = about.Ctl(item.control).Hwnd();
            EXPECT_EQ(AccessibleRoleOf(hwnd), item.role);
            EXPECT_NE(AccessibleDefaultActionOf(hwnd), L"");
            EXPECT_EQ(AccessibleStateOf(hwnd) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_FOCUSABLE);
            SetFocus(hwnd);
            EXPECT_TRUE(AccessibleStateOf(hwnd) & STATE_SYSTEM_FOCUSED);
            SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~WS_TABSTOP);  // Tab passes it by
            EXPECT_FALSE(AccessibleStateOf(hwnd) & STATE_SYSTEM_FOCUSABLE);
            SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_TABSTOP);
            w.fake.shellExecutes.clear();
            Click(hwnd);
            EXPECT_TRUE(DoAccessibleDefaultAction(hwnd));
            EXPECT_EQ(w.fake.shellExecutes.size(), 1u) << "the reader waited for the click";
            ASSERT_TRUE(PumpUntil([&] { return w.fake.shellExecutes.size() == 2; }));
            EXPECT_EQ(w.fake.shellExecutes[0].file, item.file);
            EXPECT_EQ(w.fake.shellExecutes[1], w.fake.shellExecutes[0]) << "not the call a click makes";
        }
        kept = AccessibleOf(about.Ctl(A::Label3).Hwnd(), true);  // as readers that start from a window find it
        ASSERT_TRUE(kept && kept->get_accRole(self, &role) == S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK) << "IOleWindow leads to another object";
        about.cmdOK_Click();
    });
    EXPECT_EQ(kept->get_accRole(self, &role), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(kept->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
}

TEST_F(AboutWindowTest, LooksAsLaidOut) {
    OpenAbout([&](frmAbout& about) {
        HWND hwnd = about.Hwnd();
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

        // What a user sees, in pixels at the window's DPI: the table's twips.
        const UINT dpi = about.Dpi();
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, Px(kAboutWindowClient.cx, dpi));
        EXPECT_EQ(client.bottom, Px(kAboutWindowClient.cy, dpi));
        ExpectLaidOut(kAboutWindowPlaces, kAboutWindowClient, dpi,
                      [&](const Place& p) { return about.Ctl(p.control).Hwnd(); });

        // Fonts as asked for (the face falls back where it is not installed).
        const struct {
            int control;
            double points;
            bool bold;
        } fonts[] = {
            {A::Command1, 8.25, false}, {A::cmdOK, 8.25, true},    {A::cmdSysInfo, 8.25, false},
            {A::Label3, 8.25, false},   {A::Label2, 9.75, true},   {A::lblDescription, 8.25, false},
            {A::lblTitle, 9.75, true},  {A::lblVersion, 8.25, false}, {A::lblDisclaimer, 8.25, false},
        };
        for (const auto& f : fonts) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(about.Ctl(f.control).Desc().name)));
            const LOGFONTW font = FontOf(about.Ctl(f.control).Hwnd());
            EXPECT_STREQ(font.lfFaceName, L"Comic Sans MS");
            EXPECT_EQ(font.lfHeight, -FontPixels(f.points, dpi));
            EXPECT_EQ(font.lfWeight, f.bold ? FW_BOLD : FW_NORMAL);
        }

        // Black background, the donation picture in its place, and the
        // white-over-grey separator under the title block.
        EXPECT_EQ(PixelOf(hwnd, 3, client.bottom - 3), RGB(0, 0, 0));
        const RECT gif = ChildRect(about.Ctl(A::Image2).Hwnd());
        // The button's gold at mid-height; stretched at other DPIs, it blends.
        const COLORREF gold = PixelOf(hwnd, gif.left + 3, (gif.top + gif.bottom) / 2);
        EXPECT_LE(std::abs(GetRValue(gold) - 247) + std::abs(GetGValue(gold) - 190) + std::abs(GetBValue(gold) - 69),
                  dpi == 96 ? 0 : 12)
            << std::hex << gold;
        // The separator's two lines, 17 twips apart, are one pixel each way
        // of the boundary only at 96 DPI.
        if (dpi == 96) {
            EXPECT_EQ(PixelOf(hwnd, 40, 80), RGB(255, 255, 255));
            EXPECT_EQ(PixelOf(hwnd, 40, 81), RGB(128, 128, 128));
        }

        // Tab order: the three buttons, then the three clickable items.
        const int order[] = {A::cmdOK, A::cmdSysInfo, A::Command1, A::lblDisclaimer, A::Label3, A::Image2, A::cmdOK};
        for (size_t i = 1; i < std::size(order); ++i)
            EXPECT_EQ(GetNextDlgTabItem(hwnd, about.Ctl(order[i - 1]).Hwnd(), FALSE), about.Ctl(order[i]).Hwnd())
                << "step " << i;

        // The three clickable items show the pointing hand, its tip at (12, 1).
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(about.HandCursor(), &info));
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, 12u);
        EXPECT_EQ(info.yHotspot, 1u);
        for (int c : {A::Image2, A::Label3, A::lblDisclaimer, A::Label2}) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(about.Ctl(c).Hwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor() == about.HandCursor(), c != A::Label2) << c;
        }

        about.cmdOK_Click();
    });
}

// Under high contrast the window takes the system's colours, and its own
// again when high contrast goes off while it is open.
TEST_F(AboutWindowTest, TakesTheSystemColoursUnderHighContrast) {
    constexpr COLORREF kWindow = RGB(0, 0, 128), kText = RGB(255, 255, 0), kLink = RGB(0, 255, 255);
    constexpr std::pair<int, COLORREF> kScheme[] = {{COLOR_WINDOW, kWindow}, {COLOR_WINDOWTEXT, kText}, {COLOR_HOTLIGHT, kLink}};
    const KeptSysColours scheme(kScheme);
    w.fake.highContrast = true;
    OpenAbout([&](frmAbout& about) {
        const struct {
            COLORREF background, text, link, line;
        } looks[] = {{kWindow, kText, kLink, kText}, {RGB(0, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)}};
        for (const auto& look : looks) {
            EXPECT_EQ(PixelOf(about.Hwnd(), 3, 3), look.background);
            EXPECT_EQ(PixelOf(about.Hwnd(), 3, about.Pixels(1200)), look.line);
            EXPECT_GT(MiddleRowPixels(about.Ctl(A::lblVersion).Hwnd(), look.text), 0);
            EXPECT_GT(MiddleRowPixels(about.Ctl(A::Label3).Hwnd(), look.link), 0);
            w.fake.highContrast = false;
            SendMessageW(about.Hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        }
        about.cmdOK_Click();
    });
}

TEST_F(AboutWindowTest, TooltipsNameWhatTheClickableItemsDo) {
    OpenAbout([&](frmAbout& about) {
        HWND tips = TooltipsOf(about.Hwnd());
        ASSERT_NE(tips, nullptr);
        const struct {
            int control;
            const wchar_t* tip;
        } expected[] = {
            {A::cmdSysInfo, L"Informations système"},
            {A::Image2, L"Faire un don avec PayPal - Un solution gratuite, rapide et sécurisée."},
            {A::Label3, L"Visitez le site officiel Tivrelon"},
            {A::lblDisclaimer, L"Envoyer un courriel"},
        };
        EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(expected)));
        for (const auto& e : expected) EXPECT_EQ(TooltipOf(tips, about.Hwnd(), about.Ctl(e.control).Hwnd()), e.tip);

        // Screen readers name the donation picture by its tooltip's words,
        // the links by their text, and the icon.
        const auto name = [&](int c) { return AccessibleNameOf(about.Ctl(c).Hwnd()); };
        EXPECT_EQ(name(A::Image2), expected[1].tip);
        for (int c : {A::Label3, A::lblDisclaimer}) EXPECT_EQ(name(c), WindowTextOf(about.Ctl(c).Hwnd()));
        EXPECT_NE(name(A::Image1), L"");
        about.cmdOK_Click();
    });
}

}  // namespace
