#include "ui/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <numeric>

#include "platform/PlatformError.h"
#include "ui/ControlKinds.h"
#include "ui/DialogTemplate.h"
#include "ui/Dpi.h"
#include "ui/MessageLoop.h"
#include "ui/WindowClass.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace

Form::Form(const FormSpec& desc, std::span<const ControlSpec> controls) : desc_(desc), table_(controls) {}

Form::~Form() {
    if (hwnd_) DestroyWindow(hwnd_);
}

int Form::Pixels(int twips) const { return dpi::TwipsToPixels(twips, dpi_); }

void Form::Load(HWND owner) {
    if (hwnd_) return;
    RegisterWindowClass({.name = desc_.className, .procedure = &Form::WindowProc, .extraBytes = DLGWINDOWEXTRA,
                         .iconId = desc_.iconId});

    // An in-memory dialog template naming our own class: the window is a
    // dialog to the dialog manager and ours in every other respect.
    const DialogTemplate tmpl(desc_.style, desc_.exStyle, desc_.className, desc_.caption);

    owner_ = owner;
    creating_ = this;
    HWND hwnd = CreateDialogIndirectParamW(Instance(), tmpl.Get(), owner, nullptr, 0);
    creating_ = nullptr;
    if (!hwnd) ThrowLastError("CreateDialogIndirectParam");
    hwnd_ = hwnd;
    try {
        dpi_ = dpi::ForWindow(hwnd_);
        dpi::TakeOverDpiScaling(hwnd_);
        if (desc_.exStyle & WS_EX_ACCEPTFILES) LetDropsThrough();
        formBrush_.reset(CreateSolidBrush(ResolveColour(desc_.backColour)));
        if (desc_.handCursorId)
            handCursor_ = static_cast<HCURSOR>(LoadImageW(Instance(), MAKEINTRESOURCEW(desc_.handCursorId),
                                                          IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
        CreateControls();
        const SIZE size = WindowSize(dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        FitClientArea();
        LayoutControls();
        OnLoad();
    } catch (...) {
        Unload();
        throw;
    }
}

void Form::LetDropsThrough() {
    // Run as administrator, the window would never hear of a drop from an
    // Explorer that runs as the user: Windows filters the drop's messages
    // (user interface privilege isolation) unless the window lets them in.
    constexpr UINT kCopyGlobalData = 0x0049;  // WM_COPYGLOBALDATA, carries the dropped names
    for (const UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData})
        ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
}

void Form::CreateControls() {
    controls_.clear();
    for (size_t i = 0; i < table_.size(); ++i)
        controls_.push_back(TraitsOf(table_[i].kind)
                                .make(table_[i], kFirstControlId + static_cast<int>(i), ContainerOrigin(table_[i]),
                                      FormBrush()));

    // The dialog manager tabs in Z order, which is the order of creation:
    // create the controls by tab index, those without one last, in table
    // order.
    std::vector<size_t> order(table_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int ta = table_[a].tabIndex, tb = table_[b].tabIndex;
        return (ta == kNoTab ? INT_MAX : ta) < (tb == kNoTab ? INT_MAX : tb);
    });
    for (size_t i : order) controls_[i]->Create(hwnd_, dpi_);

    for (auto& c : controls_)
        if (c->Desc().flags & kDefaultButton) SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(c->Id()), 0);
    AddTooltips();
}

void Form::AddTooltips() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, Instance(),
                               nullptr);
    if (!tooltip_) return;
    for (auto& c : controls_) {
        if (!c->Desc().tooltip) continue;
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(c->Hwnd());
        tool.lpszText = const_cast<wchar_t*>(c->Desc().tooltip);
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

HFONT Form::Font(const FontSpec& desc) {
    for (auto& [key, font] : fonts_)
        if (key == desc) return font.get();
    UniqueFont font(CreateFontW(-MulDiv(desc.hundredthsOfPoint, static_cast<int>(dpi_), 7200), 0, 0, 0,
                                desc.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                desc.face));
    if (!font) ThrowLastError("CreateFont");
    fonts_.emplace_back(desc, std::move(font));
    return fonts_.back().second.get();
}

// The window's size for a client area of the table's size at `dpi`.
SIZE Form::WindowSize(UINT dpi) const {
    RECT r{0, 0, dpi::TwipsToPixels(desc_.clientWidth, dpi), dpi::TwipsToPixels(desc_.clientHeight, dpi)};
    dpi::AdjustWindowRect(r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi);
    return {r.right - r.left, r.bottom - r.top};
}

void Form::FitClientArea() {
    // Where the frame did not scale as the metrics for this DPI say (Wine,
    // older Windows), correct by what the client area actually got.
    RECT client, window;
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &window);
    const int dw = Pixels(desc_.clientWidth) - client.right, dh = Pixels(desc_.clientHeight) - client.bottom;
    if (dw != 0 || dh != 0)
        SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::LayoutControls() {
    // Fonts of the old DPI stay alive until every control has its new one.
    auto oldFonts = std::move(fonts_);
    fonts_.clear();
    for (auto& c : controls_) c->Layout(dpi_, Font(c->Desc().font));
    // The tooltip control keeps the font it was created with, the one of
    // the system DPI: give it the one of the window's DPI, now and after
    // every change. Without a new one it keeps the font it has.
    const LOGFONTW tipFont = dpi::TooltipFont(dpi_);
    if (UniqueFont font(tooltip_ ? CreateFontIndirectW(&tipFont) : nullptr); font) {
        SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        tooltipFont_ = std::move(font);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::Place(HWND owner) {
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    RECT around{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (desc_.placement == Placement::CentreOwner && owner && !IsIconic(owner)) {
        GetWindowRect(owner, &around);
        GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    } else {
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        around = monitor.rcMonitor;
    }
    int x = around.left + (around.right - around.left - w) / 2;
    int y = around.top + (around.bottom - around.top - h) / 2;
    // Never open with the title bar out of reach.
    const RECT& work = monitor.rcWork;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - w));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - h));
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    Load(nullptr);
    Place(owner_);
    ShowWindow(hwnd_, SW_SHOW);
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE))
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void Form::ShowModal(HWND owner) {
    Load(owner);
    modal_ = true;
    if (owner_) EnableWindow(owner_, FALSE);
    Show();
    if (!RunModalLoop(hwnd_)) Unload();
}

void Form::Unload() {
    if (!hwnd_) return;
    // Give the owner its input back before this window goes, so that Windows
    // activates the owner rather than some other program's window.
    if (modal_ && owner_) EnableWindow(owner_, TRUE);
    modal_ = false;
    DestroyWindow(hwnd_);
}

POINT Form::ContainerOrigin(const ControlSpec& desc) const {
    POINT origin{0, 0};
    for (int c = desc.container; c != kOnForm; c = table_[static_cast<size_t>(c)].container) {
        origin.x += table_[static_cast<size_t>(c)].left;
        origin.y += table_[static_cast<size_t>(c)].top;
    }
    return origin;
}

HBRUSH Form::FormBrush() const { return formBrush_ ? formBrush_.get() : GetSysColorBrush(COLOR_BTNFACE); }
