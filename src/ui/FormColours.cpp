// A form's colours follow the system's scheme: system colours are looked up
// as they are now, and a form of colours of its own takes the system's while
// high contrast is on.
#include "ui/Form.h"

#include "platform/Platform.h"

COLORREF Form::Colour(COLORREF colour) const {
    if (highContrast_)
        for (const ColourSwap& swap : desc_.highContrast)
            if (swap.colour == colour) return ResolveColour(swap.highContrast);
    return ResolveColour(colour);
}

void Form::MakeFormBrush() {
    // Wine always answers "off": the setting is read through the seam.
    highContrast_ = !desc_.highContrast.empty() && platform().HighContrast();
    formBrush_.reset(CreateSolidBrush(Colour(desc_.backColour)));
}

// Brushes hold the colour they were made with: make them all again, as the
// system asks of every window that has any.
void Form::ChangeColours(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls paint with the form's brush until they have the new one.
    UniqueBrush old = std::move(formBrush_);
    MakeFormBrush();
    for (auto& c : controls_) c->ColoursChanged(FormBrush());
    old.reset();
    // Common controls keep their own copy of the system colours.
    if (tooltip_) SendMessageW(tooltip_, message, wParam, lParam);
    OnColoursChanged();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
