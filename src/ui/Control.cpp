#include "ui/Control.h"

#include <algorithm>

#include "platform/PlatformError.h"
#include "ui/ClickableItem.h"
#include "ui/ControlKinds.h"
#include "ui/Dpi.h"

namespace {

// The background a control has while it is enabled or disabled.
COLORREF BackColourOf(const ControlSpec& desc, bool enabled) {
    return (desc.flags & kWindowWhenEnabled) && enabled ? kWindow : desc.backColour;
}

// The window styles of a row: its kind's, and those its alignment and flags add.
DWORD StyleOf(const ControlSpec& desc) {
    DWORD style = TraitsOf(desc.kind).style | desc.alignment;
    if (desc.flags & kDefaultButton) style |= BS_DEFPUSHBUTTON;
    if (desc.flags & kPathText) style |= SS_NOPREFIX | SS_PATHELLIPSIS;
    if (desc.flags & (kClickable | kHandCursor)) style |= SS_NOTIFY;
    if (desc.flags & kClickable) style |= WS_TABSTOP;
    return style | (desc.enabled ? 0 : WS_DISABLED);
}

}  // namespace

Control::Control(const ControlSpec& desc, int id, POINT origin, HBRUSH formBrush)
    : desc_(desc), id_(id), origin_(origin), formBrush_(formBrush), backColour_(BackColourOf(desc, desc.enabled)),
      widthTwips_(desc.width), heightTwips_(desc.height) {}

RECT Control::PixelRect(UINT dpiValue) const {
    const RECT t = TwipsRect();
    return {dpi::TwipsToPixels(t.left, dpiValue), dpi::TwipsToPixels(t.top, dpiValue),
            dpi::TwipsToPixels(t.right, dpiValue), dpi::TwipsToPixels(t.bottom, dpiValue)};
}

void Control::Create(HWND parent, UINT dpiValue) {
    const KindTraits& kind = TraitsOf(desc_.kind);
    const DWORD style = WS_CHILD | WS_VISIBLE | StyleOf(desc_);
    // Born where it belongs at the form's DPI: moving every control after
    // the fact costs a noticeable share of the start-up.
    dpi_ = dpiValue;
    placed_ = PixelRect(dpiValue);
    const wchar_t* text = desc_.accessibleName ? desc_.accessibleName : desc_.caption;
    hwnd_ = CreateWindowExW(kind.exStyle, kind.className, text, style, placed_.left, placed_.top,
                            placed_.right - placed_.left, placed_.bottom - placed_.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), this);
    if (!hwnd_) ThrowLastError("CreateWindowEx");
    // The text box has no length limit of its own.
    if (desc_.kind == ControlKind::TextBox) SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    if (desc_.flags & kClickable)
        MakeClickable(hwnd_, desc_.kind == ControlKind::Image ? ItemRole::Button : ItemRole::Link);
    dpi::TakeOverControlDpiScaling(hwnd_);
    SetBackColour(backColour_);
}

RECT Control::TwipsRect() const {
    const int left = origin_.x + desc_.left, top = origin_.y + desc_.top;
    return {left, top, left + widthTwips_, top + heightTwips_};
}

void Control::Layout(UINT dpiValue, HFONT font) {
    dpi_ = dpiValue;
    const RECT r = PixelRect(dpi_);
    if (!EqualRect(&r, &placed_)) {
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        placed_ = r;
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (desc_.flags & kAutoSize) FitToText();
}

void Control::FitToText() {
    const std::wstring text = Text();
    SIZE size{};
    {
        WindowDc dc(hwnd_);
        Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    widthTwips_ = MulDiv(size.cx, dpi::kTwipsPerInch, static_cast<int>(dpi_));
    heightTwips_ = std::max(desc_.height, MulDiv(size.cy, dpi::kTwipsPerInch, static_cast<int>(dpi_)));
    const RECT r = PixelRect(dpi_);
    if (EqualRect(&r, &placed_)) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = r;
}

void Control::SetEnabled(bool enabled) {
    // A control that loses its enabled state while it has the focus would
    // leave the keyboard with nowhere to go: hand the focus on first.
    if (!enabled && GetFocus() == hwnd_) SendMessageW(GetParent(hwnd_), WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(hwnd_, enabled);
    if (desc_.flags & kWindowWhenEnabled) SetBackColour(BackColourOf(desc_, enabled));
}

bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::SetBackColour(COLORREF colour) {
    backColour_ = colour;
    backBrush_.reset(colour == kTransparent ? nullptr : CreateSolidBrush(ResolveColour(colour)));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::BackBrush() const { return backBrush_ ? backBrush_.get() : formBrush_; }

void Control::ColoursChanged(HBRUSH formBrush) {
    formBrush_ = formBrush;
    SetBackColour(backColour_);
}

void Control::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
    if (desc_.flags & kAutoSize) FitToText();
}

std::wstring Control::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Control::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
