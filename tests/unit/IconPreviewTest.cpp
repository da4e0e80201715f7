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

// Every icon extracted is given back, the one drawn included, whether the
// platform extracts at the preview's size or only at the standard size.
TEST_F(IconPreviewTest, EveryExtractedIconIsReleased) {
    const HICON kSizedIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5160));
    std::vector<HICON> destroyed;
    w.fake.extractIcon = [](HINSTANCE, const wchar_t*, UINT) { return kSomeIcon; };
    w.fake.drawIconEx = [](HDC, int, int, HICON, int, int) { return TRUE; };
    BOOL destroyResult = TRUE;
    w.fake.destroyIcon = [&](HICON icon) {
        destroyed.push_back(icon);
        return destroyResult;
    };
    for (const bool offered : {true, false}) {
        SCOPED_TRACE(offered ? "extracted at the preview's size" : "the standard icon only");
        destroyed.clear();
        w.fake.extractIconAtSize = [&](const wchar_t*, int, int, int, HICON* icon) -> UINT {
            if (!offered) throw PlatformError("PrivateExtractIconsW", ERROR_PROC_NOT_FOUND);
            *icon = kSizedIcon;
            return 1;
        };
        w.Ctl(F::cmdDone).SetEnabled(false);
        Choose(TestIconsDll(), 3);
        std::sort(destroyed.begin(), destroyed.end());
        const std::vector<HICON> extracted =
            offered ? std::vector<HICON>{kSomeIcon, kSizedIcon} : std::vector<HICON>{kSomeIcon};
        EXPECT_EQ(destroyed, extracted);
        EXPECT_TRUE(ApplyEnabled());
    }

    // Apply comes on only when the icon was drawn and released.
    w.Ctl(F::cmdDone).SetEnabled(false);
    destroyResult = FALSE;
    Choose(TestIconsDll(), 3);
    EXPECT_FALSE(ApplyEnabled());
}

// Whatever the size of the surface (the preview at any DPI), the icon fills
// it, drawn from the image the file holds for the nearest size: the 32 x 32
// one stretched to 48 x 48 would blur.
TEST_F(IconPreviewTest, IconFillsTheSurfaceItIsDrawnInto) {
    constexpr COLORREF kPaper = RGB(255, 255, 255);
    const struct {
        int side;  // the preview's at 48, 96, 144 and 192 DPI
        COLORREF colour;
    } cases[] = {{16, kTestIconColours[kSizedIcon]},
                 {32, kTestIconColours[kSizedIcon]},
                 {48, kSizedIconColour48},
                 {64, kSizedIconColour48}};
    for (const auto& [side, colour] : cases) {
        SCOPED_TRACE(side);
        HDC screen = GetDC(nullptr);
        UniqueMemDc dc(CreateCompatibleDC(screen));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen, side, side));
        ReleaseDC(nullptr, screen);
        const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        const RECT all{0, 0, side, side};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        // Opaque on its left half, transparent on its right.
        EXPECT_TRUE(modIcon::DrawIconOf(TestIconsDll(), kSizedIcon, dc.get()));
        EXPECT_EQ(GetPixel(dc.get(), 1, side - 2), colour);
        EXPECT_EQ(GetPixel(dc.get(), side / 2 - 2, side / 2), colour);
        EXPECT_EQ(GetPixel(dc.get(), side / 2 + 1, side / 2), kPaper);
        EXPECT_EQ(GetPixel(dc.get(), side - 1, side - 1), kPaper);
        SelectObject(dc.get(), old);
    }
}

TEST_F(IconPreviewTest, NotAFileOfIconsIsNeitherDrawnNorReleased) {
    std::vector<HICON> touched;
    w.fake.extractIcon = [](HINSTANCE, const wchar_t*, UINT) { return reinterpret_cast<HICON>(static_cast<INT_PTR>(1)); };
    w.fake.drawIconEx = [&](HDC, int, int, HICON icon, int, int) { touched.push_back(icon); return TRUE; };
    w.fake.destroyIcon = [&](HICON icon) { touched.push_back(icon); return TRUE; };
    Choose(TestIconsDll(), 0);
    EXPECT_TRUE(touched.empty());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(w.form.IconFilePath, L"");
}

}  // namespace
