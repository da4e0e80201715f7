// What a form does with its messages: clicks, colours, painting, DPI changes.
#include "ui/Form.h"

#include <algorithm>

#include "ui/ControlKinds.h"
#include "ui/MessageLoop.h"

namespace {
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703 and later
}  // namespace

Control* Form::FromHwnd(HWND hwnd) {
    for (auto& c : controls_)
        if (c->Hwnd() == hwnd) return c.get();
    return nullptr;
}

bool Form::Command(WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == IDCANCEL || id == IDOK) {
        // Esc, or Enter with no default button: the table's cancel or
        // default button answers, if it can.
        const unsigned wanted = id == IDCANCEL ? kCancelButton : kDefaultButton;
        for (size_t i = 0; i < controls_.size(); ++i)
            if ((controls_[i]->Desc().flags & wanted) && controls_[i]->Enabled()) {
                OnClick(static_cast<int>(i));
                break;
            }
        return true;
    }
    const int index = id - kFirstControlId;
    // BN_CLICKED and STN_CLICKED share the value 0.
    if (index < 0 || static_cast<size_t>(index) >= controls_.size() || HIWORD(wParam) != BN_CLICKED) return true;
    const Control& control = *controls_[static_cast<size_t>(index)];
    // Wine hands on a click posted to a disabled button, as automation and
    // accessibility tools post them: a disabled control does nothing.
    if (!control.Enabled()) return true;
    if (TraitsOf(control.Desc().kind).reportsClicks) OnClick(index);
    return true;
}

LRESULT Form::ControlColour(UINT message, HDC dc, HWND control) {
    Control* c = FromHwnd(control);
    if (!c || message == WM_CTLCOLORBTN) return reinterpret_cast<LRESULT>(FormBrush());
    SetTextColor(dc, Colour(c->ForeColour()));
    if (c->BackColour() == kTransparent) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkColor(dc, ResolveColour(c->BackColour()));
    }
    return reinterpret_cast<LRESULT>(c->BackBrush());
}

void Form::ChangeDpi(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    LayoutControls();
    // Windows suggests where the window goes and how large it is at the new
    // DPI (the size we gave it for WM_GETDPISCALEDSIZE); taking it in one
    // move keeps the window under the pointer that is dragging it.
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    OnDpiChanged();
}

void Form::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    for (const LineSpec& line : desc_.lines) {
        UniquePen pen(CreatePen(PS_INSIDEFRAME, std::max(1, MulDiv(line.width, static_cast<int>(dpi_), 96)),
                                Colour(line.colour)));
        Selection selected(dc, pen.get());
        MoveToEx(dc, Pixels(line.x1), Pixels(line.y1), nullptr);
        LineTo(dc, Pixels(line.x2), Pixels(line.y2));
    }
    EndPaint(hwnd_, &ps);
}

bool Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_COMMAND:
        return Command(wParam);
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        result = ControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(FormBrush());
        return true;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, FormBrush());
        result = 1;
        return true;
    }
    case WM_PAINT:
        Paint();
        return true;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (Control* c = FromHwnd(item->hwndItem)) c->Draw(*item);
        result = TRUE;
        return true;
    }
    case WM_SETCURSOR: {
        Control* c = FromHwnd(reinterpret_cast<HWND>(wParam));
        if (!c || !(c->Desc().flags & kHandCursor) || !handCursor_) return false;
        SetCursor(handCursor_);
        result = TRUE;
        return true;
    }
    case kGetDpiScaledSize: {
        *reinterpret_cast<SIZE*>(lParam) = WindowSize(static_cast<UINT>(wParam));
        result = TRUE;
        return true;
    }
    case WM_DPICHANGED:
        ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return true;
    case WM_SYSCOLORCHANGE:
        ChangeColours(message, wParam, lParam);
        return true;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST) ChangeColours(message, wParam, lParam);
        return false;
    case WM_SYSCOMMAND:
        return OnSystemCommand(static_cast<UINT>(wParam & 0xFFF0));
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam)) OnSystemMenuOpening(reinterpret_cast<HMENU>(wParam));
        return false;
    case WM_DESTROY:
        OnDestroyed();
        return false;
    default:
        return false;
    }
}

// The window is gone: so are its controls and tooltip, which it destroyed.
void Form::Forget() {
    RemoveDialogWindow(hwnd_);
    hwnd_ = nullptr;
    tooltip_ = nullptr;
    controls_.clear();
    fonts_.clear();
    tooltipFont_.reset();
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form && creating_) {
        form = creating_;
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        AddDialogWindow(hwnd);
    }
    if (form) {
        // No exception may cross a window procedure back into Windows.
        try {
            LRESULT result;
            if (form->Dispatch(message, wParam, lParam, result)) return result;
        } catch (const std::exception& failure) {
            if (failureReport_) failureReport_(failure);
            return 0;
        }
    }
    const LRESULT result = DefDlgProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY && form) form->Forget();
    return result;
}
