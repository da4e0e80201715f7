#include "modules/modIcon.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "modules/modOSInfo.h"
#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace modIcon {

namespace {

// The extracted icon until DestroyIcon gives its answer; released anyway if
// drawing fails on the way.
struct ExtractedIconDeleter {
    void operator()(HICON icon) const { platform().DestroyIcon(icon); }
};
using ExtractedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, ExtractedIconDeleter>;

// ExtractIcon's answer for a file that is not an executable, DLL or icon file.
const HICON kNotAFileOfIcons = reinterpret_cast<HICON>(static_cast<INT_PTR>(1));

// The picker is told its path buffer holds nothing (size 0) and should write
// nothing back; the text still goes in a buffer of full path length, so that
// a shell which writes anyway stays inside it.
template <class Char>
std::vector<Char> PathBuffer(const std::basic_string<Char>& text) {
    std::vector<Char> buffer(text.begin(), text.end());
    buffer.resize(std::max<size_t>(buffer.size() + 1, MAX_PATH + 1), Char{});
    return buffer;
}

}  // namespace

int ShowIcon(const Form& form, const std::wstring& iconFile, HDC dc) {
    SelectedIconIndex = PickIconIndex(form, iconFile, 0);
    if (SelectedIconIndex == -1) return 0;

    const std::string file = ToAnsi(iconFile);
    HICON extracted =
        platform().ExtractIconA(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(SelectedIconIndex));
    if (!extracted || extracted == kNotAFileOfIcons) return 0;
    ExtractedIcon icon(extracted);

    platform().DrawIcon(dc, 0, 0, icon.get());
    return platform().DestroyIcon(icon.release());
}

int PickIconIndex(const Form& form, const std::wstring& iconFile, int initialIndex) {
    const bool unicode = modOSInfo::GetPlatformId() == VER_PLATFORM_WIN32_NT;
    const HWND owner = form.Hwnd();
    int index = initialIndex;
    int confirmed;
    if (unicode) {
        std::vector<wchar_t> path = PathBuffer(iconFile);
        confirmed = platform().PickIconDlg(owner, path.data(), 0, &index);
    } else {
        std::vector<char> path = PathBuffer(ToAnsi(iconFile));
        confirmed = platform().PickIconDlg(owner, path.data(), 0, &index);
    }
    return confirmed ? index : -1;
}

}  // namespace modIcon
