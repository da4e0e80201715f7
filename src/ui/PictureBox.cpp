#include "ui/PictureBox.h"

#include "ui/WindowClass.h"

void PictureBox::Create(HWND parent, UINT dpi) {
    RegisterWindowClass(
        {.name = kPictureBoxClass, .procedure = &PictureBox::WindowProc, .style = CS_HREDRAW | CS_VREDRAW});
    Control::Create(parent, dpi);
}

void PictureBox::Layout(UINT dpi, HFONT font) {
    Control::Layout(dpi, font);
    const SIZE size = PixelSize();
    if (surface_ && surface_->Size().cx == size.cx && surface_->Size().cy == size.cy) return;
    // Keep what was drawn across a DPI change; new area gets the background.
    auto surface = std::make_unique<Surface>(size, BackBrush());
    if (surface_) BitBlt(surface->Dc(), 0, 0, surface_->Size().cx, surface_->Size().cy, surface_->Dc(), 0, 0, SRCCOPY);
    surface_ = std::move(surface);
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PictureBox::ShowDrawn() { InvalidateRect(Hwnd(), nullptr, FALSE); }

void PictureBox::Clear() {
    RECT all{0, 0, Size().cx, Size().cy};
    FillRect(Dc(), &all, BackBrush());
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PictureBox::Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (surface_) BitBlt(dc, 0, 0, Size().cx, Size().cy, Dc(), 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    // The create parameter is the Control the box was created as.
    auto* self = static_cast<PictureBox*>(reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the surface covers the whole box
    case WM_PAINT:
        if (!self) break;
        self->Paint(hwnd);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // the preview reacts to no input
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
