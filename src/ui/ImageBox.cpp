#include "ui/ImageBox.h"

void ImageBox::SetPicture(UniqueIcon icon) {
    icon_ = std::move(icon);
    bitmap_.reset();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ImageBox::SetPicture(UniqueBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    icon_.reset();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ImageBox::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    FillRect(item.hDC, &r, BackBrush());
    if (icon_) {
        DrawIconEx(item.hDC, r.left, r.top, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
    } else if (bitmap_) {
        BITMAP info{};
        GetObjectW(bitmap_.get(), sizeof info, &info);
        UniqueMemDc source(CreateCompatibleDC(item.hDC));
        Selection picture(source.get(), bitmap_.get());
        SetStretchBltMode(item.hDC, HALFTONE);
        SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        StretchBlt(item.hDC, r.left, r.top, w, h, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
}
