#pragma once
#include <windows.h>

#include <span>
#include <utility>
#include <vector>

// System colours set for a test, as a change of theme sets them: Windows
// tells every top-level window (WM_SYSCOLORCHANGE). The earlier colours come
// back when this goes, whatever the test did.
class KeptSysColours {
public:
    explicit KeptSysColours(std::span<const std::pair<int, COLORREF>> colours) {
        std::vector<COLORREF> wanted;
        for (const auto& [index, colour] : colours) {
            indices_.push_back(index);
            before_.push_back(GetSysColor(index));
            wanted.push_back(colour);
        }
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), wanted.data());
    }
    ~KeptSysColours() { SetSysColors(static_cast<int>(indices_.size()), indices_.data(), before_.data()); }
    KeptSysColours(const KeptSysColours&) = delete;
    KeptSysColours& operator=(const KeptSysColours&) = delete;

private:
    std::vector<int> indices_;
    std::vector<COLORREF> before_;
};

// Windows' "High Contrast Black", as far as the program's windows use it.
inline constexpr std::pair<int, COLORREF> kHighContrastBlack[] = {
    {COLOR_WINDOW, RGB(0, 0, 0)},       {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(0, 0, 0)},      {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_HOTLIGHT, RGB(255, 255, 0)}, {COLOR_GRAYTEXT, RGB(63, 242, 63)},
};
