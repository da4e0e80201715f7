#pragma once
#include <windows.h>

#include <span>
#include <string_view>

#include "ui/Colours.h"

// A window as data: the FormSpec of the window and one ControlSpec row per
// control.

enum class ControlKind { Frame, Picture, Button, Label, TextBox, CheckBox, Image };

struct FontSpec {
    const wchar_t* face = L"MS Sans Serif";
    int hundredthsOfPoint = 975;
    bool bold = false;
    bool operator==(const FontSpec&) const = default;
};

// Behaviour flags of a control.
enum ControlFlags : unsigned {
    kDefaultButton = 1u << 0,  // pressed by Enter
    kCancelButton = 1u << 1,   // pressed by Esc
    kHandCursor = 1u << 2,     // shows the form's pointing-hand cursor
    kClickable = 1u << 3,      // a label or image that reports clicks; Tab reaches it and Space or Enter clicks it
    kAutoSize = 1u << 4,       // a label sized to its text whenever the text changes
    kPathText = 1u << 5,       // shows a path: no access keys, ellipsis in the middle when too long
    // Shows its state by its colour too: the window colour when enabled (its
    // text is the window-text colour), its row's when not.
    kWindowWhenEnabled = 1u << 6,
};

inline constexpr int kOnForm = -1;   // container: the form's client area
inline constexpr int kNoTab = -1;    // takes no place in the tab order

// One row of a window's control table. Positions and sizes are in twips from
// the top-left corner of the container: the form, or a frame of the table.
struct ControlSpec {
    const wchar_t* name;
    ControlKind kind;
    int container = kOnForm;
    const wchar_t* caption = L"";
    const wchar_t* tooltip = nullptr;
    // What a screen reader names a control that draws no text of its own (a
    // picture): its window text, which it never draws.
    const wchar_t* accessibleName = nullptr;
    int left = 0, top = 0, width = 0, height = 0;
    int tabIndex = kNoTab;
    bool enabled = true;
    FontSpec font{};
    COLORREF foreColour = kButtonText;
    COLORREF backColour = kButtonFace;
    DWORD alignment = SS_LEFT;  // labels: SS_LEFT, SS_CENTER or SS_RIGHT
    unsigned flags = 0;
};

// True when row `index` of `table` is named `name`: each form checks that
// its rows sit where its enumerators say.
constexpr bool RowNamed(std::span<const ControlSpec> table, int index, std::wstring_view name) {
    return index >= 0 && static_cast<size_t>(index) < table.size() && table[static_cast<size_t>(index)].name == name;
}

// A straight line the form paints itself, in twips of its client area.
struct LineSpec {
    int x1, y1, x2, y2;
    COLORREF colour;
    int width;  // pixels at 96 DPI
};

enum class Placement { CentreScreen, CentreOwner };

// A colour of a form's tables and the system colour that stands in for it
// while high contrast is on.
struct ColourSwap {
    COLORREF colour, highContrast;
};

struct FormSpec {
    const wchar_t* className;
    const wchar_t* caption;
    int clientWidth, clientHeight;  // twips
    DWORD style;
    DWORD exStyle;
    COLORREF backColour;
    int iconId;            // resource id of the window icon
    int handCursorId = 0;  // resource id of the pointing-hand cursor, if any control uses it
    Placement placement = Placement::CentreScreen;
    std::span<const LineSpec> lines{};
    // A form of colours of its own takes the system's under high contrast:
    // its background, its controls' text and its lines. Empty: the form
    // keeps its colours (system colours already).
    std::span<const ColourSwap> highContrast{};
};
