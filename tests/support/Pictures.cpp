#include "support/Pictures.h"

#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/Handles.h"

namespace {

void Check(HRESULT hr) {
    if (FAILED(hr)) throw std::runtime_error("WIC refused the test picture: " + std::to_string(hr));
}

template <class T>
ComPtr<T> Own(T* object) {
    return ComPtr<T>(object);
}

}  // namespace

std::string PictureBytes(PictureFormat format, int width, int height, const std::function<DWORD(int, int)>& pixel) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(&factory)));
    const auto ownedFactory = Own(factory);
    IStream* stream = nullptr;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    const auto ownedStream = Own(stream);
    const GUID containers[] = {GUID_ContainerFormatPng, GUID_ContainerFormatJpeg, GUID_ContainerFormatBmp,
                               GUID_ContainerFormatGif};
    IWICBitmapEncoder* encoder = nullptr;
    Check(factory->CreateEncoder(containers[static_cast<int>(format)], nullptr, &encoder));
    const auto ownedEncoder = Own(encoder);
    Check(encoder->Initialize(stream, WICBitmapEncoderNoCache));
    IWICBitmapFrameEncode* frame = nullptr;
    Check(encoder->CreateNewFrame(&frame, nullptr));
    const auto ownedFrame = Own(frame);
    Check(frame->Initialize(nullptr));
    Check(frame->SetSize(width, height));
    const bool gif = format == PictureFormat::Gif;
    WICPixelFormatGUID pixelFormat = gif ? GUID_WICPixelFormat8bppIndexed
                                         : format == PictureFormat::Png ? GUID_WICPixelFormat32bppBGRA
                                                                        : GUID_WICPixelFormat24bppBGR;
    const UINT bytesPerPixel = gif ? 1 : pixelFormat == GUID_WICPixelFormat32bppBGRA ? 4 : 3;
    Check(frame->SetPixelFormat(&pixelFormat));
    if (gif) {
        IWICPalette* palette = nullptr;
        Check(factory->CreatePalette(&palette));
        const auto ownedPalette = Own(palette);
        WICColor colours[] = {0xFF000000u | pixel(0, 0), 0xFF000000u};
        Check(palette->InitializeCustom(colours, 2));
        Check(frame->SetPalette(palette));
    }
    // In strips: a photo of many megapixels is never held whole.
    const UINT stride = (width * bytesPerPixel + 3) & ~3u;
    std::vector<BYTE> strip(stride * 64);
    for (int top = 0; top < height; top += 64) {
        const int rows = std::min(64, height - top);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width && !gif; ++x) {
                const DWORD argb = pixel(x, top + y);
                std::memcpy(&strip[y * stride + x * bytesPerPixel], &argb, bytesPerPixel);
            }
        Check(frame->WritePixels(rows, stride, stride * rows, strip.data()));
    }
    Check(frame->Commit());
    Check(encoder->Commit());
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream, &memory));
    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME));
    const std::string bytes(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return bytes;
}

COLORREF IconFilePixel(const std::wstring& path, int side, int x, int y, COLORREF background) {
    const UniqueIcon icon(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, side, side, LR_LOADFROMFILE)));
    if (!icon) return CLR_INVALID;
    const WindowDc screen(nullptr);
    const UniqueMemDc dc(CreateCompatibleDC(screen.get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), side, side));
    const Selection selected(dc.get(), bitmap.get());
    const UniqueBrush brush(CreateSolidBrush(background));
    const RECT all{0, 0, side, side};
    FillRect(dc.get(), &all, brush.get());
    DrawIconEx(dc.get(), 0, 0, icon.get(), side, side, 0, nullptr, DI_NORMAL);
    return GetPixel(dc.get(), x, y);
}
