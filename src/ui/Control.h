#pragma once
#include <windows.h>

#include <string>

#include "platform/Handles.h"
#include "ui/FormSpec.h"

// A control made from its table row. Child windows are destroyed by their
// form; a Control only owns the GDI objects it made. Picture boxes and
// images are controls of their own kinds (PictureBox, ImageBox).
class Control {
public:
    // `origin` is where the row's container lies in the form, in twips;
    // `formBrush` paints what lets the form show through, and outlives the
    // control.
    Control(const ControlSpec& desc, int id, POINT origin, HBRUSH formBrush);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlSpec& Desc() const { return desc_; }
    HWND Hwnd() const { return hwnd_; }
    int Id() const { return id_; }

    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetBackColour(COLORREF colour);
    COLORREF BackColour() const { return backColour_; }
    COLORREF ForeColour() const { return desc_.foreColour; }
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    bool Checked() const;

    // What the control's background is painted with: its own colour, or the
    // form's where it lets the form show through.
    HBRUSH BackBrush() const;
    // The system's colours changed: its brush made again, `formBrush` the form's new one.
    void ColoursChanged(HBRUSH formBrush);

    // The form makes and places its controls through these.
    // Creates the window where it belongs at `dpi`; `this` is its create parameter.
    virtual void Create(HWND parent, UINT dpi);
    // Moves it to its place at `dpi` and gives it `font`.
    virtual void Layout(UINT dpi, HFONT font);
    // Owner-drawn controls paint here (WM_DRAWITEM).
    virtual void Draw(const DRAWITEMSTRUCT& item) { (void)item; }

protected:
    SIZE PixelSize() const { return {placed_.right - placed_.left, placed_.bottom - placed_.top}; }

private:
    void FitToText();
    RECT TwipsRect() const;
    RECT PixelRect(UINT dpi) const;  // TwipsRect at `dpi`

    ControlSpec desc_;
    int id_;
    POINT origin_;
    HBRUSH formBrush_;
    HWND hwnd_ = nullptr;
    COLORREF backColour_;
    UniqueBrush backBrush_;
    RECT placed_{};  // where the window is now, in pixels
    int widthTwips_, heightTwips_;  // after auto-sizing
    UINT dpi_ = 96;
};
