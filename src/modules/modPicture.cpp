#include "modules/modPicture.h"

#include <initguid.h>  // WIC's class and format GUIDs, defined here
#include <wincodec.h>

#include <algorithm>
#include <vector>

#include "modules/IconFileBytes.h"
#include "modules/PictureHeader.h"
#include "modules/Resample.h"
#include "platform/Declared.h"
#include "platform/Handles.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Services.h"

// Windows' JPEG decoder scales as it decodes through this interface, which
// MinGW's wincodec.h lacks; declared as the Windows SDK declares it.
MIDL_INTERFACE("3B16811B-6A43-4ec9-B713-3D5A0C13B940")
IWICBitmapSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect*, UINT, UINT, WICPixelFormatGUID*,
                                                 WICBitmapTransformOptions, UINT, UINT, BYTE*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT*, UINT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID*) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions, BOOL*) = 0;
};
__CRT_UUID_DECL(IWICBitmapSourceTransform, 0x3B16811B, 0x6A43, 0x4ec9, 0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40)

namespace modPicture {

namespace {

constexpr int kLargest = 256;
constexpr int kBitmapSides[] = {16, 20, 24, 32, 40, 48, 64};
// 64 million pixels of 4 bytes. The file itself may be no larger.
constexpr uint64_t kMaxDecodedBytes = uint64_t{256} << 20;

// WIC's own failures: creating its factory, a stream, a converter, encoding.
void Check(HRESULT hr) {
    if (FAILED(hr)) throw PlatformError("WIC", static_cast<DWORD>(hr));
}

[[noreturn]] void Refuse(Refusal::Reason why) { throw Refusal(why); }

// A decoder's failure is the picture's: bytes it cannot read, or too large
// to decode in the memory there is.
void Decoded(HRESULT hr) {
    if (FAILED(hr)) Refuse(hr == E_OUTOFMEMORY ? Refusal::PictureTooLarge : Refusal::NotAPicture);
}

// The COM objects of one picture's making, released together, the last
// first.
class Objects {
public:
    Objects() = default;
    ~Objects() {
        while (count_ > 0) held_[--count_]->Release();
    }
    Objects(const Objects&) = delete;
    Objects& operator=(const Objects&) = delete;

    void Hold(IUnknown* object) { held_[count_++] = object; }

private:
    IUnknown* held_[12] = {};
    int count_ = 0;
};

IWICImagingFactory* Factory(Objects& objects) {
    static Declared<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)> coCreateInstance{
        declared::ole32, "CoCreateInstance"};
    EnsureComApartment();
    IWICImagingFactory* factory = nullptr;
    Check((*coCreateInstance)(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                              reinterpret_cast<void**>(&factory)));
    objects.Hold(factory);
    return factory;
}

// A stream over `bytes`, which it reads and writes in place.
IWICStream* StreamOver(Objects& objects, IWICImagingFactory& factory, std::string& bytes) {
    IWICStream* stream = nullptr;
    Check(factory.CreateStream(&stream));
    objects.Hold(stream);
    Check(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    return stream;
}

// Where the decoder scales as it decodes (Windows' JPEG decoder, by 1/2,
// 1/4 or 1/8), the picture at the smallest such size still larger than the
// largest icon, 24-bit: a 24-megapixel photo is decoded at 0.4 megapixels.
// Asked for twice the largest icon, the nearest size it offers is never
// smaller. Nothing where it does not scale, as Wine's decoders do not.
IWICBitmapSource* Reduced(Objects& objects, IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, UINT width,
                          UINT height) {
    IWICBitmapSourceTransform* transform = nullptr;
    if (FAILED(frame.QueryInterface(__uuidof(IWICBitmapSourceTransform), reinterpret_cast<void**>(&transform))))
        return nullptr;
    objects.Hold(transform);
    const SIZE asked = resample::Fitted(width, height, 2 * kLargest, false);
    UINT w = static_cast<UINT>(asked.cx), h = static_cast<UINT>(asked.cy);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(transform->GetClosestSize(&w, &h)) || w >= width || std::max(w, h) < kLargest ||
        FAILED(transform->GetClosestPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return nullptr;
    const UINT stride = (w * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * h);
    Decoded(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, stride,
                                  static_cast<UINT>(pixels.size()), pixels.data()));
    // A copy of the pixels, read as the frame's would be.
    IWICBitmap* bitmap = nullptr;
    Check(factory.CreateBitmapFromMemory(w, h, GUID_WICPixelFormat24bppBGR, stride, static_cast<UINT>(pixels.size()),
                                         pixels.data(), &bitmap));
    objects.Hold(bitmap);
    return bitmap;
}

// The picture fitted into the largest icon's square (or as it is, when it
// is smaller), premultiplied: what every entry is made of. Read in strips
// of rows, 24-bit photos as they are, everything else through WIC's
// converter.
resample::Image Fitted(Objects& objects, IWICImagingFactory& factory, IWICBitmapFrameDecode& frame) {
    UINT width = 0, height = 0;
    Decoded(frame.GetSize(&width, &height));
    if (width == 0 || height == 0) Refuse(Refusal::NotAPicture);
    // A side longer than any camera's would take its rows' memory alone.
    if (uint64_t{width} * height * 4 > kMaxDecodedBytes || std::max(width, height) > 65535)
        Refuse(Refusal::PictureTooLarge);
    IWICBitmapSource* source = Reduced(objects, factory, frame, width, height);
    if (!source) source = &frame;
    Decoded(source->GetSize(&width, &height));
    WICPixelFormatGUID format{};
    Decoded(source->GetPixelFormat(&format));
    int bytesPerPixel = 3;
    if (format != GUID_WICPixelFormat24bppBGR) {
        IWICFormatConverter* converter = nullptr;
        Check(factory.CreateFormatConverter(&converter));
        objects.Hold(converter);
        Decoded(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                      WICBitmapPaletteTypeCustom));
        source = converter;
        bytesPerPixel = 4;
    }
    resample::Shrinker shrinker({static_cast<LONG>(width), static_cast<LONG>(height)},
                            resample::Fitted(width, height, kLargest, false));
    constexpr UINT kStrip = 64;
    const UINT stride = (width * bytesPerPixel + 3) & ~3u;
    std::vector<BYTE> strip(static_cast<size_t>(stride) * kStrip);
    for (UINT top = 0; top < height; top += kStrip) {
        const WICRect rows{0, static_cast<INT>(top), static_cast<INT>(width),
                           static_cast<INT>(std::min(kStrip, height - top))};
        Decoded(source->CopyPixels(&rows, stride, stride * rows.Height, strip.data()));
        for (INT y = 0; y < rows.Height; ++y) shrinker.Row(&strip[static_cast<size_t>(y) * stride], bytesPerPixel);
    }
    return shrinker.Done();
}

// `image` encoded as PNG by WIC's encoder, into memory.
std::string Png(Objects& objects, IWICImagingFactory& factory, resample::Image image) {
    // Compressed pixels never take much more room than raw ones.
    std::string png(image.pixels.size() + 65536, '\0');
    IWICStream* stream = StreamOver(objects, factory, png);
    IWICBitmapEncoder* encoder = nullptr;
    Check(factory.CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
    objects.Hold(encoder);
    Check(encoder->Initialize(stream, WICBitmapEncoderNoCache));
    IWICBitmapFrameEncode* frame = nullptr;
    Check(encoder->CreateNewFrame(&frame, nullptr));
    objects.Hold(frame);
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = static_cast<UINT>(image.width) * 4;
    Check(frame->Initialize(nullptr));
    Check(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height)));
    Check(frame->SetPixelFormat(&format));
    if (format != GUID_WICPixelFormat32bppBGRA) Check(WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT);
    Check(frame->WritePixels(static_cast<UINT>(image.height), stride, static_cast<UINT>(image.pixels.size()),
                             image.pixels.data()));
    Check(frame->Commit());
    Check(encoder->Commit());
    ULARGE_INTEGER end{};
    Check(stream->Seek({}, STREAM_SEEK_CUR, &end));
    png.erase(static_cast<size_t>(end.QuadPart));
    return png;
}

// The picture's bytes; a file larger than the largest picture decoded is
// refused as one.
std::string BytesOf(const std::wstring& file) {
    try {
        return services::ReadFileBytes(file, kMaxDecodedBytes);
    } catch (const Refusal&) {
        Refuse(Refusal::PictureTooLarge);
    }
}

}  // namespace

bool IsPictureName(const std::wstring& file) {
    const size_t dot = file.find_last_of(L".\\");
    if (dot == std::wstring::npos || file[dot] != L'.') return false;
    for (const wchar_t* extension : {L".png", L".jpg", L".jpeg", L".bmp", L".gif", L".tif", L".tiff"})
        if (CompareStringOrdinal(file.c_str() + dot, -1, extension, -1, TRUE) == CSTR_EQUAL) return true;
    return false;
}

std::string MakeIconFile(const std::wstring& file) {
    std::string bytes = BytesOf(file);
    if (pictureheader::DecodedBytes(bytes) > kMaxDecodedBytes) Refuse(Refusal::PictureTooLarge);

    Objects objects;
    IWICImagingFactory& factory = *Factory(objects);
    IWICBitmapDecoder* decoder = nullptr;
    Decoded(factory.CreateDecoderFromStream(StreamOver(objects, factory, bytes), nullptr,
                                            WICDecodeMetadataCacheOnDemand, &decoder));
    objects.Hold(decoder);
    IWICBitmapFrameDecode* frame = nullptr;
    Decoded(decoder->GetFrame(0, &frame));
    objects.Hold(frame);

    const resample::Image fitted = Fitted(objects, factory, *frame);
    return iconfile::Bytes(fitted, kBitmapSides, Png(objects, factory, resample::InSquare(fitted, kLargest)));
}

void DrawIconFile(const std::string& iconFile, HDC dc, SIZE size) {
    static Declared<HICON(WINAPI*)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT)> createIcon{
        declared::user32, "CreateIconFromResourceEx"};
    const iconfile::Entry entry = iconfile::Nearest(iconFile, std::max(size.cx, size.cy));
    const UniqueIcon icon((*createIcon)(const_cast<BYTE*>(entry.bytes), entry.size, TRUE, 0x00030000, entry.side,
                                        entry.side, LR_DEFAULTCOLOR));
    if (!icon) ThrowLastError("CreateIconFromResourceEx");
    if (!platform().DrawIconEx(dc, 0, 0, icon.get(), size.cx, size.cy)) ThrowLastError("DrawIconEx");
}

}  // namespace modPicture
