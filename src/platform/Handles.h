#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

// One owner for every handle the program creates. Predefined registry roots
// and child windows that their parent destroys are never wrapped.
struct IconDeleter { void operator()(HICON h) const { if (h) DestroyIcon(h); } };
struct GdiDeleter { void operator()(HGDIOBJ h) const { if (h) DeleteObject(h); } };
struct DcDeleter { void operator()(HDC h) const { if (h) DeleteDC(h); } };
struct WindowDeleter { void operator()(HWND h) const { if (h && IsWindow(h)) DestroyWindow(h); } };

using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiDeleter>;
using UniqueMemDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

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
