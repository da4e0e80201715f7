// Floor F1: the main window's layout and nothing more — the same thirteen
// controls, fonts and tooltips, written as plain calls, with no logic behind
// them. What the layout alone costs.
#include <windows.h>
#include <commctrl.h>

namespace {

struct Child {
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int x, y, w, h;  // pixels at 96 DPI
    bool bold;
    const wchar_t* tip;
};

const Child kChildren[] = {
    {L"BUTTON", L"Dossier", BS_GROUPBOX, 8, 8, 329, 177, true, nullptr},
    {L"STATIC", L"", SS_LEFT, 24, 56, 32, 32, false, nullptr},
    {L"BUTTON", L"Choix de l'&Icône...", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 96, 64, 129, 33, false,
     L"Choisir l'icône pour le dossier sélectionné"},
    {L"STATIC", L"Information Icône :", SS_RIGHT, 24, 104, 107, 16, false, nullptr},
    {L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_DISABLED, 24, 128, 305, 19, false, nullptr},
    {L"STATIC", L"", SS_LEFT, 16, 32, 313, 17, false, nullptr},
    {L"BUTTON", L"Restituer l'icône par défaut", BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED, 24, 152, 241, 25, false,
     L"Restitue l'icône à défaut pour le dossier choisi"},
    {L"BUTTON", L"", BS_GROUPBOX, 8, 192, 329, 105, false, nullptr},
    {L"BUTTON", L"Choix du &Dossier...", BS_PUSHBUTTON | WS_TABSTOP, 24, 216, 145, 33, false,
     L"Choix du dossier pour modification d'icône"},
    {L"BUTTON", L"&Appliquer...", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 176, 216, 145, 33, false,
     L"Apllique l'icône au dossier choisi"},
    {L"BUTTON", L"&Quitter", BS_PUSHBUTTON | WS_TABSTOP, 176, 256, 145, 33, false, L"Quitter Tivrelon"},
    {L"BUTTON", L"A &Propos", BS_PUSHBUTTON | WS_TABSTOP, 24, 256, 145, 33, false, L"Auteur"},
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"Floor1";
    RegisterClassW(&wc);
    RECT r{0, 0, 344, 303};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&r, style, FALSE);
    HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, L"Floor1", L"Floor F1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    HFONT regular = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    HFONT bold = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd,
                                nullptr, instance, nullptr);
    for (const Child& c : kChildren) {
        HWND child = CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.w, c.h, hwnd,
                                     nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(c.bold ? bold : regular), FALSE);
        if (c.tip) {
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = hwnd;
            tool.uId = reinterpret_cast<UINT_PTR>(child);
            tool.lpszText = const_cast<wchar_t*>(c.tip);
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
