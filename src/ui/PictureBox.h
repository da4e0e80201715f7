#pragma once
#include <memory>

#include "ui/Control.h"
#include "ui/Surface.h"

inline constexpr wchar_t kPictureBoxClass[] = L"Tivrelon.PictureBox";

// A picture box: a box of the form's colour that keeps what is drawn into
// its surface and shows it at every repaint after. The preview of the main
// window is one.
class PictureBox : public Control {
public:
    using Control::Control;

    // The drawing surface, the box's size in pixels at the form's DPI.
    HDC Dc() const { return surface_->Dc(); }
    SIZE Size() const { return surface_->Size(); }
    // Shows what was drawn into Dc(). The box repaints once the running
    // handler returns; a repaint while a dialog of the handler is still open
    // would show the surface before the drawing.
    void ShowDrawn();
    // Back to its background colour, shown at once.
    void Clear();

protected:
    void Create(HWND parent, UINT dpi) override;
    // Sizes the surface to the box, keeping what was drawn.
    void Layout(UINT dpi, HFONT font) override;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void Paint(HWND hwnd);

    std::unique_ptr<Surface> surface_;
};
