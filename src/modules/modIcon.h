#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

// The icon choice: the picker, the extraction and the preview drawing.
namespace modIcon {

// One icon of a file, by its zero-based index as ExtractIcon counts them.
struct IconChoice {
    std::wstring file;
    int index = 0;
};

// The icon Apply writes. The file and its index are taken together, when an
// icon was drawn, and never change apart; so is the icon file made of a
// chosen picture (its file, index 0).
class ChosenIcon {
public:
    const std::wstring& File() const { return choice_.file; }
    const int& Index() const { return choice_.index; }
    // The bytes of the icon file made of the chosen picture; empty when the
    // choice is an icon of a file of icons.
    const std::string& MadeIcon() const { return madeIcon_; }
    void Take(IconChoice drawn, std::string madeIcon = {}) {
        choice_ = std::move(drawn);
        madeIcon_ = std::move(madeIcon);
    }
    void Forget() { Take(IconChoice{}); }

private:
    IconChoice choice_;
    std::string madeIcon_;
};
inline ChosenIcon chosenIcon;

// The zero-based index of the chosen icon, read-only: chosenIcon changes it.
inline const int& SelectedIconIndex = chosenIcon.Index();

// Lets the user pick an icon of `iconFile` (the picker opens on the first
// one; the shell's own picker lets the user take it from another file), then
// draws it into `dc` over what it shows. Returns the icon drawn; nothing when
// the picker was cancelled or no icon could be drawn (a file without icons,
// a damaged icon file). Stores nothing: the caller takes the answer.
// Failures pass to the caller; before the NT platform, the picker takes only
// a name the ANSI code page holds, and any other raises
// Refusal(UnwritableName).
std::optional<IconChoice> ShowIcon(HWND owner, const std::wstring& iconFile, HDC dc);

// The shell's icon picker, modal to `owner`, opened on `initialIndex`: the
// file and icon the user confirmed, or nothing when the user cancelled.
// Failures pass to the caller.
std::optional<IconChoice> PickIconIndex(HWND owner, const std::wstring& iconFile, int initialIndex);

// Draws icon `index` of `iconFile` at the top-left corner of `dc`, filling
// the bitmap selected into it, over what it shows: the preview at any DPI,
// and again after its size changed. True when an icon was drawn and
// released. Raises as ShowIcon does.
bool DrawIconOf(const std::wstring& iconFile, int index, HDC dc);

// True when icon `index` of `iconFile` can be extracted now: the file may
// have been replaced since the icon was chosen by one without it.
bool HoldsIcon(const std::wstring& iconFile, int index);

}  // namespace modIcon
