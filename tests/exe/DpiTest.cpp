// The built program at 144 DPI: the window and every control at 1.5 times
// their size at 96 DPI. Wine reads the DPI from the registry when a process
// starts, so the test sets it, starts the program, and puts it back.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/Gui.h"
#include "support/RunningProgram.h"

namespace {

class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        Set(HKEY_CURRENT_USER, L"Control Panel\\Desktop", dpi);
        Set(HKEY_CURRENT_CONFIG, L"Software\\Fonts", dpi);
    }
    ~ScopedLogPixels() {
        Set(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 96);
        Set(HKEY_CURRENT_CONFIG, L"Software\\Fonts", 96);
    }

private:
    static void Set(HKEY root, const wchar_t* key, DWORD dpi) {
        RegSetKeyValueW(root, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
};

// Caption, and rectangle in twips of the window's client area.
struct Expected {
    const wchar_t* caption;
    int left, top, width, height;
};
const Expected kLayout[] = {
    {L"Dossier", 120, 120, 4935, 2655},
    {L"Choix de l'&Icône...", 120 + 1320, 120 + 840, 1935, 495},
    {L"Restituer l'icône par défaut", 120 + 240, 120 + 2160, 3615, 375},
    {L"Choix du &Dossier...", 120 + 240, 2880 + 360, 2175, 495},
    {L"&Appliquer...", 120 + 2520, 2880 + 360, 2175, 495},
    {L"&Quitter", 120 + 2520, 2880 + 960, 2175, 495},
    {L"A &Propos", 120 + 240, 2880 + 960, 2175, 495},
};

int Px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

TEST(Dpi, At144EveryControlIsOneAndAHalfTimesItsSize) {
    // Windows takes the DPI from the display, not from this value, and the
    // value belongs to the user there: leave it alone.
    if (!RunningOnWine()) GTEST_SKIP() << "only Wine takes the DPI from the registry when a program starts";
    ScopedLogPixels dpi144(144);
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    RECT client;
    GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, Px(5160, 144));  // 516
    EXPECT_EQ(client.bottom, Px(4545, 144));
    for (const Expected& e : kLayout) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(e.caption)));
        HWND control = FindChildByText(program.Window(), e.caption);
        ASSERT_NE(control, nullptr);
        const RECT r = ChildRect(control);
        EXPECT_EQ(r.left, Px(e.left, 144));
        EXPECT_EQ(r.top, Px(e.top, 144));
        EXPECT_EQ(r.right, Px(e.left + e.width, 144));
        EXPECT_EQ(r.bottom, Px(e.top + e.height, 144));
    }
}

}  // namespace
