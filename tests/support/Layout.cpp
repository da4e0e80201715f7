#include "support/Layout.h"

#include <gtest/gtest.h>

#include "support/Gui.h"

void ExpectLaidOut(std::span<const Place> places, SIZE client, UINT dpi, const std::function<HWND(const Place&)>& find) {
    for (const Place& p : places) {
        SCOPED_TRACE(testing::Message() << "control " << p.control << " at " << dpi << " DPI");
        HWND control = find(p);
        ASSERT_NE(control, nullptr);
        const RECT r = ChildRect(control), want = PixelsOf(p, dpi);
        EXPECT_EQ(r.left, want.left);
        EXPECT_EQ(r.top, want.top);
        if (p.fitted) {
            EXPECT_GT(r.right, r.left);
            EXPECT_LE(r.right, Px(client.cx, dpi));
            continue;
        }
        EXPECT_EQ(r.right, want.right);
        EXPECT_EQ(r.bottom, want.bottom);
    }
}
