#include "support/Pictures.h"

#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/Handles.h"
#include "ui/Surface.h"

namespace {

// `made` is the answer of the call that made `object`, read once it has
// answered: its owner, or an exception for the test.
template <class T>
ComPtr<T> Made(HRESULT made, T*& object) {
    if (FAILED(made)) throw std::runtime_error("WIC refused the test picture: " + std::to_string(made));
    return ComPtr<T>(object);
}

void Check(HRESULT hr) {
    IUnknown* none = nullptr;
    Made(hr, none);
}

}  // namespace

std::string PictureBytes(PictureFormat format, int width, int height, const std::function<DWORD(int, int)>& pixel) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* f = nullptr;
    IStream* s = nullptr;
    IWICBitmapEncoder* e = nullptr;
    IWICBitmapFrameEncode* fr = nullptr;
    const auto factory = Made(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IWICImagingFactory, reinterpret_cast<void**>(&f)), f);
    const auto stream = Made(CreateStreamOnHGlobal(nullptr, TRUE, &s), s);
    const GUID containers[] = {GUID_ContainerFormatPng, GUID_ContainerFormatJpeg, GUID_ContainerFormatBmp,
                               GUID_ContainerFormatGif};
    const auto encoder = Made(factory->CreateEncoder(containers[static_cast<int>(format)], nullptr, &e), e);
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    const auto frame = Made(encoder->CreateNewFrame(&fr, nullptr), fr);
    Check(frame->Initialize(nullptr));
    Check(frame->SetSize(width, height));
    const bool gif = format == PictureFormat::Gif;
    WICPixelFormatGUID pixelFormat = gif ? GUID_WICPixelFormat8bppIndexed
                                         : format == PictureFormat::Png ? GUID_WICPixelFormat32bppBGRA
                                                                        : GUID_WICPixelFormat24bppBGR;
    const UINT bytesPerPixel = gif ? 1 : pixelFormat == GUID_WICPixelFormat32bppBGRA ? 4 : 3;
    Check(frame->SetPixelFormat(&pixelFormat));
    if (gif) {
        IWICPalette* p = nullptr;
        const auto palette = Made(factory->CreatePalette(&p), p);
        WICColor colours[] = {0xFF000000u | pixel(0, 0), 0xFF000000u};
        Check(palette->InitializeCustom(colours, 2));
        Check(frame->SetPalette(palette.get()));
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
    STATSTG stat{};
    Check(GetHGlobalFromStream(stream.get(), &memory));
    Check(stream->Stat(&stat, STATFLAG_NONAME));
    const std::string bytes(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return bytes;
}

COLORREF IconFilePixel(const std::wstring& path, int side, int x, int y, COLORREF background) {
    const UniqueIcon icon(
        static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, side, side, LR_LOADFROMFILE)));
    const UniqueBrush brush(CreateSolidBrush(background));
    const Surface surface({side, side}, brush.get());
    if (!icon || !DrawIconEx(surface.Dc(), 0, 0, icon.get(), side, side, 0, nullptr, DI_NORMAL)) return CLR_INVALID;
    return GetPixel(surface.Dc(), x, y);
}
