#include "about/Picture.h"

#include <olectl.h>

#include <cstring>

#include "platform/Declared.h"
#include "platform/PlatformError.h"

namespace {

// OleLoadPicture wants a stream; the stream takes a movable global block of
// its own and frees it on its last release.
ComPtr<IStream> StreamOver(const void* bytes, DWORD size) {
    static Declared<HRESULT(WINAPI*)(HGLOBAL, BOOL, LPSTREAM*)> createStream{declared::ole32,
                                                                           "CreateStreamOnHGlobal"};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) ThrowLastError("GlobalAlloc");
    void* to = GlobalLock(block);
    std::memcpy(to, bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    const HRESULT hr = (*createStream)(block, TRUE, &stream);
    if (FAILED(hr)) {
        GlobalFree(block);
        throw PlatformError("CreateStreamOnHGlobal", static_cast<DWORD>(hr));
    }
    return ComPtr<IStream>(stream);
}

}  // namespace

UniqueBitmap LoadGifResource(int id) {
    static Declared<HRESULT(WINAPI*)(LPSTREAM, LONG, BOOL, REFIID, LPVOID*)> oleLoadPicture{declared::oleaut32,
                                                                                          "OleLoadPicture"};
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!resource) ThrowLastError("FindResource");
    const DWORD size = SizeofResource(module, resource);
    const void* bytes = LockResource(LoadResource(module, resource));
    if (!bytes || size == 0) ThrowLastError("LoadResource");

    ComPtr<IStream> stream = StreamOver(bytes, size);
    IPicture* raw = nullptr;
    HRESULT hr = (*oleLoadPicture)(stream.get(), static_cast<LONG>(size), FALSE, __uuidof(IPicture),
                                   reinterpret_cast<void**>(&raw));
    if (FAILED(hr)) throw PlatformError("OleLoadPicture", static_cast<DWORD>(hr));
    ComPtr<IPicture> picture(raw);

    // The picture owns its bitmap and frees it on release: keep a copy.
    OLE_HANDLE handle = 0;
    hr = picture->get_Handle(&handle);
    if (FAILED(hr)) throw PlatformError("IPicture::get_Handle", static_cast<DWORD>(hr));
    UniqueBitmap copy(static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                                     IMAGE_BITMAP, 0, 0, 0)));
    if (!copy) ThrowLastError("CopyImage");
    return copy;
}
