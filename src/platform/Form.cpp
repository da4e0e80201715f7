#include "platform/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

#include "platform/Dpi.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Services.h"

namespace {

constexpr wchar_t kFormProperty[] = L"Tivrelon.Form";
constexpr wchar_t kPictureClass[] = L"Tivrelon.PictureBox";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

thread_local Form* creating = nullptr;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterPictureClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(Instance(), kPictureClass, &wc)) return;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window below
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPictureClass;
    if (!RegisterClassExW(&wc)) ThrowLastError("RegisterClassEx");
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

COLORREF ResolveColour(COLORREF colour) {
    if (colour != kTransparent && (colour & kSystemColour)) return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour;
}

// ---------------------------------------------------------------- Control

Control::Control(Form& form, const ControlSpec& desc, int id)
    : form_(form), desc_(desc), id_(id), backColour_(desc.backColour), widthTwips_(desc.width),
      heightTwips_(desc.height) {}

RECT Control::PixelRect(UINT dpiValue) const {
    const RECT t = TwipsRect();
    return {dpi::TwipsToPixels(t.left, dpiValue), dpi::TwipsToPixels(t.top, dpiValue),
            dpi::TwipsToPixels(t.right, dpiValue), dpi::TwipsToPixels(t.bottom, dpiValue)};
}

void Control::Create(HWND parent, HINSTANCE instance, UINT dpiValue) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | (desc_.enabled ? 0 : WS_DISABLED);
    DWORD exStyle = 0;
    switch (desc_.kind) {
    case ControlKind::Frame:
        cls = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
    case ControlKind::Picture:
        cls = kPictureClass;
        break;
    case ControlKind::Button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | ((desc_.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    case ControlKind::CheckBox:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
    case ControlKind::TextBox:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Label:
        style |= desc_.alignment;
        if (desc_.flags & kPathText) style |= SS_NOPREFIX | SS_PATHELLIPSIS;
        break;
    case ControlKind::Image:
        style |= SS_OWNERDRAW;
        break;
    }
    if (desc_.flags & (kClickable | kHandCursor)) style |= SS_NOTIFY;
    // Born where it belongs at the form's DPI: moving every control after
    // the fact costs a noticeable share of the start-up.
    placed_ = PixelRect(dpiValue);
    hwnd_ = CreateWindowExW(exStyle, cls, desc_.caption, style, placed_.left, placed_.top,
                            placed_.right - placed_.left, placed_.bottom - placed_.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), instance, this);
    if (!hwnd_) ThrowLastError("CreateWindowEx");
    if (desc_.kind == ControlKind::Picture) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::PictureProc));
    }
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
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!EqualRect(&r, &placed_)) {
        SetWindowPos(hwnd_, nullptr, r.left, r.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        placed_ = r;
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (desc_.flags & kAutoSize) FitToText();

    if (desc_.kind == ControlKind::Picture && (w != pictureSize_.cx || h != pictureSize_.cy)) {
        // Keep what was drawn across a DPI change; new area gets the background.
        HDC screen = GetDC(nullptr);
        UniqueMemDc dc(CreateCompatibleDC(screen));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen, std::max(w, 1), std::max(h, 1)));
        ReleaseDC(nullptr, screen);
        if (!dc || !bitmap) ThrowLastError("CreateCompatibleBitmap");
        HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        RECT all{0, 0, w, h};
        FillRect(dc.get(), &all, BackBrush());
        if (pictureDc_) {
            BitBlt(dc.get(), 0, 0, pictureSize_.cx, pictureSize_.cy, pictureDc_.get(), 0, 0, SRCCOPY);
            SelectObject(pictureDc_.get(), pictureOldBitmap_);
        }
        pictureDc_ = std::move(dc);
        pictureBitmap_ = std::move(bitmap);
        pictureOldBitmap_ = old;
        pictureSize_ = {w, h};
    }
}

void Control::FitToText() {
    const std::wstring text = Text();
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
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

std::wstring Control::Text() const { return WindowText(hwnd_); }

bool Control::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

HDC Control::PictureDc() {
    // Like a picture that redraws itself: what the caller draws shows once
    // the handler has returned (a modal dialog may run in between, and a
    // repaint then would come too early).
    pictureDrawn_ = true;
    return pictureDc_.get();
}

void Control::ShowDrawnPicture() {
    if (!pictureDrawn_) return;
    pictureDrawn_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Control::ClearPicture() {
    RECT all{0, 0, pictureSize_.cx, pictureSize_.cy};
    FillRect(pictureDc_.get(), &all, BackBrush());
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Control::PaintPicture(HDC dc) const {
    BitBlt(dc, 0, 0, pictureSize_.cx, pictureSize_.cy, pictureDc_.get(), 0, 0, SRCCOPY);
}

void Control::SetPicture(UniqueIcon icon) {
    imageIcon_ = std::move(icon);
    imageBitmap_.reset();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetPicture(UniqueBitmap bitmap) {
    imageBitmap_ = std::move(bitmap);
    imageIcon_.reset();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::DrawImage(const DRAWITEMSTRUCT& item) const {
    const RECT& r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    FillRect(item.hDC, &r, form_.FormBrush());
    if (imageIcon_) {
        DrawIconEx(item.hDC, r.left, r.top, imageIcon_.get(), w, h, 0, nullptr, DI_NORMAL);
    } else if (imageBitmap_) {
        BITMAP info{};
        GetObjectW(imageBitmap_.get(), sizeof info, &info);
        UniqueMemDc source(CreateCompatibleDC(item.hDC));
        HGDIOBJ old = SelectObject(source.get(), imageBitmap_.get());
        SetStretchBltMode(item.hDC, HALFTONE);
        SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        StretchBlt(item.hDC, r.left, r.top, w, h, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(source.get(), old);
    }
}

LRESULT CALLBACK Control::PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (self && self->pictureDc_) self->PaintPicture(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // the preview reacts to no input
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// ---------------------------------------------------------------- Form

Form::Form(const FormSpec& desc, std::span<const ControlSpec> controls) : desc_(desc), table_(controls) {}

Form::~Form() {
    if (hwnd_) DestroyWindow(hwnd_);
}

int Form::Pixels(int twips) const { return dpi::TwipsToPixels(twips, dpi_); }

void Form::RegisterClass() const {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(Instance(), desc_.className, &wc)) return;
    wc.lpfnWndProc = &Form::WindowProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(desc_.iconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(desc_.iconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    wc.lpszClassName = desc_.className;
    if (!RegisterClassExW(&wc)) ThrowLastError("RegisterClassEx");
}

void Form::Load(HWND owner) {
    if (hwnd_) return;
    RegisterClass();
    RegisterPictureClass();

    // An in-memory dialog template naming our own class: the window is a
    // dialog to the dialog manager and ours in every other respect.
    std::vector<WORD> tmpl(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(tmpl.data());
    header->style = desc_.style;
    header->dwExtendedStyle = desc_.exStyle;
    tmpl.push_back(0);  // no menu
    for (const wchar_t* p = desc_.className; *p; ++p) tmpl.push_back(static_cast<WORD>(*p));
    tmpl.push_back(0);
    for (const wchar_t* p = desc_.caption; *p; ++p) tmpl.push_back(static_cast<WORD>(*p));
    tmpl.push_back(0);

    owner_ = owner;
    creating = this;
    HWND hwnd = CreateDialogIndirectParamW(Instance(), reinterpret_cast<DLGTEMPLATE*>(tmpl.data()), owner, nullptr, 0);
    creating = nullptr;
    if (!hwnd) ThrowLastError("CreateDialogIndirectParam");
    hwnd_ = hwnd;
    try {
        dpi_ = dpi::ForWindow(hwnd_);
        dpi::TakeOverDpiScaling(hwnd_);
        formBrush_.reset(CreateSolidBrush(ResolveColour(desc_.backColour)));
        if (desc_.handCursorId)
            handCursor_ = static_cast<HCURSOR>(
                LoadImageW(Instance(), MAKEINTRESOURCEW(desc_.handCursorId), IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
        CreateControls();
        Layout();
        OnLoad();
    } catch (...) {
        Unload();
        throw;
    }
}

void Form::CreateControls() {
    controls_.clear();
    for (size_t i = 0; i < table_.size(); ++i)
        controls_.push_back(std::make_unique<Control>(*this, table_[i], kFirstControlId + static_cast<int>(i)));

    // The dialog manager tabs in Z order, which is the order of creation:
    // create the controls by tab index, those without one last, in table
    // order.
    std::vector<size_t> order(table_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int ta = table_[a].tabIndex, tb = table_[b].tabIndex;
        return (ta == kNoTab ? INT_MAX : ta) < (tb == kNoTab ? INT_MAX : tb);
    });
    for (size_t i : order) controls_[i]->Create(hwnd_, Instance(), dpi_);

    for (auto& c : controls_)
        if (c->Desc().flags & kDefaultButton) SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(c->Id()), 0);

    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, Instance(),
                               nullptr);
    for (auto& c : controls_) {
        if (!c->Desc().tooltip || !tooltip_) continue;
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

void Form::Layout() {
    RECT r{0, 0, Pixels(desc_.clientWidth), Pixels(desc_.clientHeight)};
    dpi::AdjustWindowRect(r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame did not scale as the metrics for this DPI say (Wine,
    // older Windows), correct by what the client area actually got.
    RECT client;
    GetClientRect(hwnd_, &client);
    const int dw = Pixels(desc_.clientWidth) - client.right, dh = Pixels(desc_.clientHeight) - client.bottom;
    if (dw != 0 || dh != 0)
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Fonts of the old DPI stay alive until every control has its new one.
    auto oldFonts = std::move(fonts_);
    fonts_.clear();
    for (auto& c : controls_) c->Layout(dpi_, Font(c->Desc().font));
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
    MSG msg;
    while (hwnd_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // Let the outer loop see the quit request too.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            Unload();
            break;
        }
        if (!IsDialogMessageW(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void Form::Unload() {
    if (!hwnd_) return;
    // Give the owner its input back before this window goes, so that Windows
    // activates the owner rather than some other program's window.
    if (modal_ && owner_) EnableWindow(owner_, TRUE);
    modal_ = false;
    DestroyWindow(hwnd_);
}

int Form::RunMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && GetPropW(root, kFormProperty) && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

Control* Form::FromHwnd(HWND hwnd) {
    for (auto& c : controls_)
        if (c->Hwnd() == hwnd) return c.get();
    return nullptr;
}

HBRUSH Form::FormBrush() { return formBrush_ ? formBrush_.get() : GetSysColorBrush(COLOR_BTNFACE); }

void Form::Click(int index) {
    OnClick(index);
    for (auto& c : controls_) c->ShowDrawnPicture();
}

void Form::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    for (const LineSpec& line : desc_.lines) {
        UniquePen pen(CreatePen(PS_INSIDEFRAME, std::max(1, MulDiv(line.width, static_cast<int>(dpi_), 96)),
                                ResolveColour(line.colour)));
        HGDIOBJ old = SelectObject(dc, pen.get());
        MoveToEx(dc, Pixels(line.x1), Pixels(line.y1), nullptr);
        LineTo(dc, Pixels(line.x2), Pixels(line.y2));
        SelectObject(dc, old);
    }
    OnPaint(dc);
    EndPaint(hwnd_, &ps);
}

bool Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == IDCANCEL || id == IDOK) {
            // Esc, or Enter with no default button: the table's cancel or
            // default button answers, if it can.
            const unsigned wanted = id == IDCANCEL ? kCancelButton : kDefaultButton;
            for (size_t i = 0; i < controls_.size(); ++i)
                if ((controls_[i]->Desc().flags & wanted) && controls_[i]->Enabled()) {
                    Click(static_cast<int>(i));
                    break;
                }
            return true;
        }
        const int index = id - kFirstControlId;
        if (index >= 0 && static_cast<size_t>(index) < controls_.size() && code == BN_CLICKED) {
            // BN_CLICKED and STN_CLICKED share the value 0.
            const ControlKind kind = controls_[static_cast<size_t>(index)]->Desc().kind;
            if (kind == ControlKind::Button || kind == ControlKind::CheckBox || kind == ControlKind::Label ||
                kind == ControlKind::Image)
                Click(index);
        }
        return true;
    }
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        Control* c = FromHwnd(reinterpret_cast<HWND>(lParam));
        if (!c || message == WM_CTLCOLORBTN) {
            result = reinterpret_cast<LRESULT>(FormBrush());
            return true;
        }
        SetTextColor(dc, ResolveColour(c->ForeColour()));
        if (c->BackColour() == kTransparent) {
            SetBkMode(dc, TRANSPARENT);
        } else {
            SetBkColor(dc, ResolveColour(c->BackColour()));
        }
        result = reinterpret_cast<LRESULT>(c->BackBrush());
        return true;
    }
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
        if (Control* c = FromHwnd(item->hwndItem)) c->DrawImage(*item);
        result = TRUE;
        return true;
    }
    case WM_SETCURSOR: {
        Control* c = FromHwnd(reinterpret_cast<HWND>(wParam));
        if (c && (c->Desc().flags & kHandCursor) && handCursor_) {
            SetCursor(handCursor_);
            result = TRUE;
            return true;
        }
        return false;
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Layout();
        return true;
    }
    case WM_DESTROY:
        OnDestroyed();
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form && creating) {
        form = creating;
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        SetPropW(hwnd, kFormProperty, reinterpret_cast<HANDLE>(1));
    }
    if (form) {
        // No exception may cross a window procedure back into Windows.
        try {
            LRESULT result;
            if (form->Dispatch(message, wParam, lParam, result)) return result;
        } catch (const std::exception& failure) {
            ReportUnhandledFailure(failure);
            return 0;
        }
    }
    const LRESULT result = DefDlgProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY && form) {
        RemovePropW(hwnd, kFormProperty);
        form->hwnd_ = nullptr;
        form->tooltip_ = nullptr;
        form->controls_.clear();
        form->fonts_.clear();
    }
    return result;
}

void ReportUnhandledFailure(const std::exception& failure) {
    std::wstring title = L"Tivrelon";
    try {
        title = services::App().title;
    } catch (const std::exception&) {
    }
    const std::string what = failure.what();
    platform().MessageBoxW(GetActiveWindow(), L"Erreur d'exécution :\n" + std::wstring(what.begin(), what.end()),
                           title, MB_OK | MB_ICONHAND);
}
