// The preview: the chosen icon drawn whole, at the size of the box, and
// released.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "modules/modIcon.h"
#include "platform/Handles.h"
#include "platform/PlatformError.h"
#include "support/IconFiles.h"
#include "unit/IconChoiceFixture.h"

namespace {

using IconPreviewTest = IconChoiceTest;

TEST_F(IconPreviewTest, IconFileIsDrawnWhole) {
    const std::wstring ico = folder / L"bleu ciel.ico";
    WriteBytes(ico, IcoBytes(RGB(0, 128, 255)));
    Choose(ico, 0);
    EXPECT_EQ(Left(), RGB(0, 128, 255));
    EXPECT_EQ(Right(), RGB(0, 128, 255));
    EXPECT_EQ(w.form.IconFilePath, ico);
    EXPECT_TRUE(ApplyEnabled());
}

TEST_F(IconPreviewTest, SecondChoiceDrawsOverTheFirstWithoutClearing) {
    Choose(TestIconsDll(), 0);
    ASSERT_EQ(Right(), kTestIconColours[0]);
    Choose(TestIconsDll(), 3);
    EXPECT_EQ(Left(), kTestIconColours[3]);
    EXPECT_EQ(Right(), kTestIconColours[0]) << "the first icon shows through the transparent half";
}

TEST_F(IconPreviewTest, ExtractsWithTheProgramInstanceAndDrawsAtThePreviewSizeThenReleases) {
    const HICON kSizedIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5160));
    RECT box;
    GetClientRect(w.Ctl(F::picIcon).Hwnd(), &box);
    struct Seen {
        HINSTANCE instance = nullptr;
        std::string file;
        UINT index = 0;
        std::wstring sizedFile;
        SIZE asked{}, drawnSize{};
        HDC dc = nullptr;
        POINT at{-1, -1};
        std::vector<HICON> drawn, destroyed;
    } seen;
    w.fake.extractIcon = [&](HINSTANCE instance, const char* file, UINT index) {
        seen.instance = instance;
        seen.file = file;
        seen.index = index;
        return kSomeIcon;
    };
    w.fake.drawIconEx = [&](HDC dc, int x, int y, HICON icon, int width, int height) {
        seen.dc = dc;
        seen.at = {x, y};
        seen.drawnSize = {width, height};
        seen.drawn.push_back(icon);
        return TRUE;
    };
    BOOL destroyResult = TRUE;
    w.fake.destroyIcon = [&](HICON icon) {
        seen.destroyed.push_back(icon);
        return destroyResult;
    };
    const struct {
        const char* name;
        bool offered;  // whether the platform extracts at a given size
        HICON drawn;
    } cases[] = {
        {"extracted at the preview's size", true, kSizedIcon},
        {"not offered: the standard icon, stretched", false, kSomeIcon},
    };
    const std::wstring dll = TestIconsDll();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen = Seen{};
        w.fake.extractIconAtSize = [&](const wchar_t* file, int index, int width, int height, HICON* icon) -> UINT {
            seen.sizedFile = file;
            seen.asked = {width, height};
            if (!c.offered) throw PlatformError("PrivateExtractIconsW", ERROR_PROC_NOT_FOUND);
            EXPECT_EQ(index, 3);
            *icon = kSizedIcon;
            return 1;
        };
        w.Ctl(F::cmdDone).SetEnabled(false);
        Choose(dll, 3);
        EXPECT_EQ(seen.instance, GetModuleHandleW(nullptr));
        EXPECT_EQ(seen.file, std::string(dll.begin(), dll.end()));
        EXPECT_EQ(seen.index, 3u);
        EXPECT_EQ(seen.sizedFile, dll);
        EXPECT_EQ(seen.asked.cx, box.right);
        EXPECT_EQ(seen.asked.cy, box.bottom);
        EXPECT_EQ(seen.dc, w.form.Picture(F::picIcon).Dc());
        EXPECT_EQ(seen.at.x, 0);
        EXPECT_EQ(seen.at.y, 0);
        EXPECT_EQ(seen.drawnSize.cx, box.right) << "the icon fills the box";
        EXPECT_EQ(seen.drawnSize.cy, box.bottom);
        EXPECT_EQ(seen.drawn, std::vector<HICON>{c.drawn});
        std::sort(seen.destroyed.begin(), seen.destroyed.end());
        const std::vector<HICON> released = c.offered ? std::vector<HICON>{kSomeIcon, kSizedIcon}
                                                      : std::vector<HICON>{kSomeIcon};
        EXPECT_EQ(seen.destroyed, released) << "every icon extracted is released";
        EXPECT_TRUE(ApplyEnabled());
    }

    // Apply comes on only when the icon was drawn and released.
    w.Ctl(F::cmdDone).SetEnabled(false);
    destroyResult = FALSE;
    Choose(dll, 3);
    EXPECT_FALSE(ApplyEnabled());
}

// Whatever the size of the surface (the preview at any DPI), the icon fills it.
TEST_F(IconPreviewTest, IconFillsTheSurfaceItIsDrawnInto) {
    constexpr COLORREF kPaper = RGB(255, 255, 255);
    for (const int side : {16, 32, 48, 64}) {
        SCOPED_TRACE(side);
        HDC screen = GetDC(nullptr);
        UniqueMemDc dc(CreateCompatibleDC(screen));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen, side, side));
        ReleaseDC(nullptr, screen);
        const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        const RECT all{0, 0, side, side};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        // The fourth icon: blue on its left half, transparent on its right.
        EXPECT_TRUE(modIcon::DrawIconOf(TestIconsDll(), 3, dc.get()));
        EXPECT_EQ(GetPixel(dc.get(), 1, side - 2), kTestIconColours[3]);
        EXPECT_EQ(GetPixel(dc.get(), side / 2 - 2, side / 2), kTestIconColours[3]);
        EXPECT_EQ(GetPixel(dc.get(), side / 2 + 1, side / 2), kPaper);
        EXPECT_EQ(GetPixel(dc.get(), side - 1, side - 1), kPaper);
        SelectObject(dc.get(), old);
    }
}

TEST_F(IconPreviewTest, NotAFileOfIconsIsNeitherDrawnNorReleased) {
    std::vector<HICON> touched;
    w.fake.extractIcon = [](HINSTANCE, const char*, UINT) { return reinterpret_cast<HICON>(static_cast<INT_PTR>(1)); };
    w.fake.drawIconEx = [&](HDC, int, int, HICON icon, int, int) { touched.push_back(icon); return TRUE; };
    w.fake.destroyIcon = [&](HICON icon) { touched.push_back(icon); return TRUE; };
    Choose(TestIconsDll(), 0);
    EXPECT_TRUE(touched.empty());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(w.form.IconFilePath, L"");
}

}  // namespace
