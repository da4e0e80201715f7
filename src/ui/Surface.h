#pragma once
#include <windows.h>

#include "platform/Handles.h"

// A drawing surface kept in memory: a memory device context with a bitmap
// of its own selected into it. It owns the context, the bitmap and the
// object the bitmap displaced, and gives that object back before deleting
// the bitmap: Windows refuses to delete a bitmap still selected into a
// context, and it would leak.
class Surface {
public:
    // A surface of `size` pixels, compatible with the screen and filled
    // with `background`. Raises PlatformError when GDI cannot make it.
    Surface(SIZE size, HBRUSH background);

    HDC Dc() const { return dc_.get(); }
    SIZE Size() const { return size_; }

private:
    SIZE size_;
    UniqueMemDc dc_;
    UniqueBitmap bitmap_;
    Selection selected_;  // the last member: deselected before the bitmap and the context go
};
