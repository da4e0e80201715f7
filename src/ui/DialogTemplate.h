#pragma once
#include <windows.h>

#include <vector>

// A dialog template built in memory: header, then one item per control,
// each starting on a DWORD boundary. The forms and the icon picker are made
// from one.
class DialogTemplate {
public:
    // A dialog of window class `className` (nullptr: the standard dialog
    // class), `cx` x `cy` dialog units, in `font` at `points` when one is given.
    DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* className, const wchar_t* caption, short cx = 0,
                   short cy = 0, const wchar_t* font = nullptr, WORD points = 0);

    void Add(const wchar_t* cls, const wchar_t* text, WORD id, DWORD style, short x, short y, short cx, short cy);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD value);
    void Rect(short x, short y, short cx, short cy);
    void Text(const wchar_t* text);

    std::vector<WORD> words_;
};
