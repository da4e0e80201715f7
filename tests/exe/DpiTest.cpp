// The built program at 144 DPI: the window and every control at 1.5 times
// their size at 96 DPI. Wine reads the DPI from the registry when a process
// starts, so the test sets it, starts the program, and puts it back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "support/Gui.h"
#include "support/Layout.h"
#include "support/RunningProgram.h"

namespace {

// The DPI Wine gives the programs started while this lives; what the user
// had comes back afterwards, however the test ends.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        for (Value& v : values_) {
            DWORD size = sizeof v.saved;
            v.existed = RegGetValueW(v.root, v.key, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &v.saved, &size) == 0;
            RegSetKeyValueW(v.root, v.key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        }
    }
    ~ScopedLogPixels() {
        for (const Value& v : values_) {
            if (v.existed) {
                RegSetKeyValueW(v.root, v.key, L"LogPixels", REG_DWORD, &v.saved, sizeof v.saved);
            } else {
                RegDeleteKeyValueW(v.root, v.key, L"LogPixels");
            }
        }
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    struct Value {
        HKEY root;
        const wchar_t* key;
        bool existed = false;
        DWORD saved = 0;
    } values_[2] = {{HKEY_CURRENT_USER, L"Control Panel\\Desktop"}, {HKEY_CURRENT_CONFIG, L"Software\\Fonts"}};
};

TEST(Dpi, At144EveryControlIsOneAndAHalfTimesItsSize) {
    // Windows takes the DPI from the display, not from this value, and the
    // value belongs to the user there: leave it alone.
    if (!RunningOnWine()) GTEST_SKIP() << "only Wine takes the DPI from the registry when a program starts";
    ScopedLogPixels dpi144(144);
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    RECT client;
    GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, Px(kMainWindowClient.cx, 144));  // 516
    EXPECT_EQ(client.bottom, Px(kMainWindowClient.cy, 144));
    std::vector<Place> captioned;
    for (const Place& p : kMainWindowPlaces)
        if (*p.caption) captioned.push_back(p);
    ExpectLaidOut(captioned, kMainWindowClient, 144,
                  [&](const Place& p) { return FindChildByText(program.Window(), p.caption); });
}

}  // namespace
