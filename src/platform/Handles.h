#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

// One owner for every handle the program creates. Predefined registry roots
// and child windows that their parent destroys are never wrapped.
struct IconDeleter { void operator()(HICON h) const { if (h) DestroyIcon(h); } };
struct GdiDeleter { void operator()(HGDIOBJ h) const { if (h) DeleteObject(h); } };
struct DcDeleter { void operator()(HDC h) const { if (h) DeleteDC(h); } };

using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiDeleter>;
using UniqueMemDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// A window's (or, for nullptr, the screen's) device context from GetDC,
// released to the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope: the object it
// displaced goes back in before the scope's owners delete anything, since
// Windows will not delete an object that is still selected.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), displaced_(SelectObject(dc, object)) {}
    ~Selection() {
        if (displaced_) SelectObject(dc_, displaced_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ displaced_;
};

// A kernel handle (process, thread, file); INVALID_HANDLE_VALUE counts as none.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept { reset(o.release()); return *this; }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    HANDLE release() { HANDLE h = h_; h_ = nullptr; return h; }
    void reset(HANDLE h = nullptr) {
        if (*this) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// A search handle from FindFirstFile.
struct FindDeleter { void operator()(HANDLE h) const { if (h && h != INVALID_HANDLE_VALUE) FindClose(h); } };
using UniqueFind = std::unique_ptr<void, FindDeleter>;

// A release-only owner for COM interfaces.
template <class T>
struct ComReleaser { void operator()(T* p) const { if (p) p->Release(); } };
template <class T>
using ComPtr = std::unique_ptr<T, ComReleaser<T>>;
