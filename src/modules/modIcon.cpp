#include "modules/modIcon.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "modules/modOSInfo.h"
#include "platform/CurrentFolder.h"
#include "platform/IconFile.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "ui/IconPicker.h"

namespace modIcon {

namespace {

// An extracted icon, released through the platform whatever happens on the
// way; the drawn one is released by hand, for DestroyIcon's answer.
struct ExtractedIconDeleter {
    void operator()(HICON icon) const { platform().DestroyIcon(icon); }
};
using ExtractedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, ExtractedIconDeleter>;

// ExtractIcon's answer for a file that is not an executable, DLL or icon file.
const HICON kNotAFileOfIcons = reinterpret_cast<HICON>(static_cast<INT_PTR>(1));

// The picker's path buffer: the text, then room for any path the user may
// browse to in the shell's picker. One NUL past the size the picker is told
// of keeps the text ended whatever it writes.
template <class Char>
std::vector<Char> PathBuffer(const std::basic_string<Char>& text) {
    std::vector<Char> buffer(text.begin(), text.end());
    buffer.resize(std::max<size_t>(buffer.size() + 1, MAX_PATH + 1) + 1, Char{});
    return buffer;
}

template <class Char>
UINT ToldSize(const std::vector<Char>& buffer) {
    return static_cast<UINT>(buffer.size() - 1);
}

std::wstring ExpandEnvironment(const std::wstring& text) {
    std::wstring expanded(std::max<size_t>(text.size() + 1, MAX_PATH), L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (n == 0) ThrowLastError("ExpandEnvironmentStrings");
        if (n <= expanded.size()) {
            expanded.resize(n - 1);
            return expanded;
        }
        expanded.resize(n);
    }
}

// The size of the drawing surface: the bitmap selected into `dc`. A DC
// without a bitmap of its own gets the system's icon size.
SIZE SurfaceSize(HDC dc) {
    BITMAP bitmap{};
    const HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
    if (selected && GetObjectW(selected, sizeof bitmap, &bitmap) == sizeof bitmap && bitmap.bmWidth > 1)
        return {bitmap.bmWidth, bitmap.bmHeight};
    return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
}

// The icon extracted at `size`, where the platform offers that: the image
// the file holds for that size rather than the standard one stretched. None
// otherwise, and the standard icon is drawn stretched.
HICON IconAtSize(const std::wstring& file, int index, SIZE size) {
    HICON icon = nullptr;
    try {
        const UINT count = platform().PrivateExtractIconsW(file.c_str(), index, size.cx, size.cy, &icon);
        if (count != 0 && count != UINT_MAX) return icon;
    } catch (const PlatformError&) {
        // Not offered by this platform.
    }
    return nullptr;
}

}  // namespace

std::optional<IconChoice> ShowIcon(HWND owner, const std::wstring& iconFile, HDC dc) {
    std::optional<IconChoice> picked = PickIconIndex(owner, iconFile, 0);
    if (!picked || !DrawIconOf(picked->file, picked->index, dc)) return std::nullopt;
    return picked;
}

namespace {

// Icon `index` of `iconFile` at the system's icon size; none when the file
// is damaged, holds no icons or none at that index.
ExtractedIcon Extract(const std::wstring& iconFile, int index) {
    if (IsDamagedIconFile(iconFile)) return nullptr;
    HICON extracted =
        platform().ExtractIconW(GetModuleHandleW(nullptr), iconFile.c_str(), static_cast<UINT>(index));
    if (!extracted || extracted == kNotAFileOfIcons) return nullptr;
    return ExtractedIcon(extracted);
}

}  // namespace

bool HoldsIcon(const std::wstring& iconFile, int index) { return Extract(iconFile, index) != nullptr; }

bool DrawIconOf(const std::wstring& iconFile, int index, HDC dc) {
    ExtractedIcon standard = Extract(iconFile, index);
    if (!standard) return false;

    // DrawIcon would draw at the system's icon size, which is not the
    // preview's on a monitor whose DPI differs from the sign-in DPI.
    const SIZE size = SurfaceSize(dc);
    ExtractedIcon sized(IconAtSize(iconFile, index, size));
    ExtractedIcon& icon = sized ? sized : standard;
    platform().DrawIconEx(dc, 0, 0, icon.get(), size.cx, size.cy);
    return platform().DestroyIcon(icon.release()) != 0;
}

namespace {

// The shell's picker, or ours where the shell's shows nothing; ours keeps
// the shell's contract, and names no other file.
int PickIcon(HWND owner, wchar_t* path, UINT pathSize, int* index) {
    if (!platform().ShellPicksIcons()) return PickIconFromFile(owner, path, *index) ? 1 : 0;
    return platform().PickIconDlgW(owner, path, pathSize, index);
}

int PickIcon(HWND owner, char* path, UINT pathSize, int* index) {
    if (!platform().ShellPicksIcons()) return PickIconFromFile(owner, FromAnsi(path), *index) ? 1 : 0;
    return platform().PickIconDlgA(owner, path, pathSize, index);
}

}  // namespace

std::optional<IconChoice> PickIconIndex(HWND owner, const std::wstring& iconFile, int initialIndex) {
    const bool unicode = modOSInfo::GetPlatformId() == VER_PLATFORM_WIN32_NT;
    int index = initialIndex;
    std::wstring chosen;
    // The shell's picker has a Browse button of its own, whose Open dialog
    // moves the current folder as ours would.
    const KeepCurrentFolder keep;
    if (unicode) {
        std::vector<wchar_t> path = PathBuffer(iconFile);
        if (!PickIcon(owner, path.data(), ToldSize(path), &index)) return std::nullopt;
        chosen = path.data();
    } else {
        std::vector<char> path = PathBuffer(ToAnsi(iconFile));
        if (!PickIcon(owner, path.data(), ToldSize(path), &index)) return std::nullopt;
        chosen = FromAnsi(path.data());
    }
    // The shell's picker has a browse button of its own: the icon may come
    // from another file, named in the buffer, often as
    // "%SystemRoot%\System32\shell32.dll".
    if (chosen != iconFile) chosen = ExpandEnvironment(chosen);
    return IconChoice{chosen, index};
}

}  // namespace modIcon
