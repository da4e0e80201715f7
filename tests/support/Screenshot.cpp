#include "support/Screenshot.h"

#include <vector>

#include "platform/Handles.h"

void SaveScreenshot(HWND window, const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    if (!GetEnvironmentVariableW(L"TIVRELON_SCREENSHOTS", folder, MAX_PATH) || !window) return;
    // The program paints on its own thread, after the step that changed it;
    // and no tooltip should cover the picture.
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    Sleep(700);
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;

    HDC screen = GetDC(nullptr);
    UniqueMemDc dc(CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(dc.get(), old);
    ReleaseDC(nullptr, screen);

    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(h);
    const std::wstring path = std::wstring(folder) + L"\\" + name + L".bmp";
    UniqueHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return;
    DWORD written;
    WriteFile(out.get(), &file, sizeof file, &written, nullptr);
    WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(out.get(), bits, stride * static_cast<DWORD>(h), &written, nullptr);
}
