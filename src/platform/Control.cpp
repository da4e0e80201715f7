#include "platform/Control.h"

#include <algorithm>

#include "platform/Dpi.h"
#include "platform/Form.h"
#include "platform/PlatformError.h"

namespace {

// The background a control has while it is enabled or disabled.
COLORREF BackColourOf(const ControlSpec& desc, bool enabled) {
    return (desc.flags & kWhiteWhenEnabled) && enabled ? kWhite : desc.backColour;
}

}  // namespace

Control::Control(Form& form, const ControlSpec& desc, int id)
    : form_(form), desc_(desc), id_(id), backColour_(BackColourOf(desc, desc.enabled)), widthTwips_(desc.width),
      heightTwips_(desc.height) {}

Control::WindowKind Control::Kind() const {
    const DWORD tab = WS_TABSTOP;
    switch (desc_.kind) {
    case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Button:
        return {L"BUTTON", tab | ((desc_.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case ControlKind::CheckBox: return {L"BUTTON", tab | BS_AUTOCHECKBOX, 0};
    case ControlKind::TextBox: return {L"EDIT", tab | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        return {L"STATIC", desc_.alignment | ((desc_.flags & kPathText) ? SS_NOPREFIX | SS_PATHELLIPSIS : 0), 0};
    default: return {L"STATIC", 0, 0};
    }
}

RECT Control::PixelRect(UINT dpiValue) const {
    const RECT t = TwipsRect();
    return {dpi::TwipsToPixels(t.left, dpiValue), dpi::TwipsToPixels(t.top, dpiValue),
            dpi::TwipsToPixels(t.right, dpiValue), dpi::TwipsToPixels(t.bottom, dpiValue)};
}

void Control::Create(HWND parent, UINT dpiValue) {
    const WindowKind kind = Kind();
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style | (desc_.enabled ? 0 : WS_DISABLED);
    if (desc_.flags & (kClickable | kHandCursor)) style |= SS_NOTIFY;
    // Born where it belongs at the form's DPI: moving every control after
    // the fact costs a noticeable share of the start-up.
    dpi_ = dpiValue;
    placed_ = PixelRect(dpiValue);
    hwnd_ = CreateWindowExW(kind.exStyle, kind.className, desc_.caption, style, placed_.left, placed_.top,
                            placed_.right - placed_.left, placed_.bottom - placed_.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), this);
    if (!hwnd_) ThrowLastError("CreateWindowEx");
    // The text box has no length limit of its own.
    if (desc_.kind == ControlKind::TextBox) SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    dpi::TakeOverControlDpiScaling(hwnd_);
    SetBackColour(backColour_);
}

RECT Control::TwipsRect() const {
    int left = desc_.left, top = desc_.top;
    for (int c = desc_.container; c != kOnForm; c = form_.table_[static_cast<size_t>(c)].container) {
        left += form_.table_[static_cast<size_t>(c)].left;
        top += form_.table_[static_cast<size_t>(c)].top;
    }
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
    if (desc_.flags & kWhiteWhenEnabled) SetBackColour(BackColourOf(desc_, enabled));
}

bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::SetBackColour(COLORREF colour) {
    backColour_ = colour;
    backBrush_.reset(colour == kTransparent ? nullptr : CreateSolidBrush(ResolveColour(colour)));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::BackBrush() { return backBrush_ ? backBrush_.get() : form_.FormBrush(); }

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
