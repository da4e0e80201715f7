#include "ui/DialogTemplate.h"

namespace {
constexpr size_t kItemCount = 4;  // the header's word that counts the items
}  // namespace

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* className, const wchar_t* caption, short cx,
                               short cy, const wchar_t* font, WORD points) {
    Dword(font ? style | DS_SETFONT : style);
    Dword(exStyle);
    words_.push_back(0);  // item count, counted by Add
    Rect(0, 0, cx, cy);
    words_.push_back(0);  // no menu
    if (className) {
        Text(className);
    } else {
        words_.push_back(0);  // the standard dialog class
    }
    Text(caption);
    if (font) {
        words_.push_back(points);
        Text(font);
    }
}

void DialogTemplate::Add(const wchar_t* cls, const wchar_t* text, WORD id, DWORD style, short x, short y, short cx,
                         short cy) {
    if (words_.size() % 2) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Rect(x, y, cx, cy);
    words_.push_back(id);
    Text(cls);
    Text(text);
    words_.push_back(0);  // no creation data
    ++words_[kItemCount];
}

void DialogTemplate::Dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::Rect(short x, short y, short cx, short cy) {
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
}

void DialogTemplate::Text(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
}
