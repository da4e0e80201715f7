#include "ui/Surface.h"

#include <algorithm>

#include "platform/PlatformError.h"

namespace {

UniqueMemDc CompatibleDc() {
    WindowDc screen(nullptr);
    UniqueMemDc dc(CreateCompatibleDC(screen.get()));
    if (!dc) ThrowLastError("CreateCompatibleDC");
    return dc;
}

UniqueBitmap CompatibleBitmap(SIZE size) {
    // The screen's format, not the memory context's one-bit default.
    WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), std::max<int>(size.cx, 1), std::max<int>(size.cy, 1)));
    if (!bitmap) ThrowLastError("CreateCompatibleBitmap");
    return bitmap;
}

}  // namespace

Surface::Surface(SIZE size, HBRUSH background)
    : size_(size), dc_(CompatibleDc()), bitmap_(CompatibleBitmap(size)), selected_(dc_.get(), bitmap_.get()) {
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc_.get(), &all, background);
}
