#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "platform/Handles.h"

// Colours are 0x00BBGGRR; a value with the top bit set names system colour n.
inline constexpr COLORREF kSystemColour = 0x80000000;
inline constexpr COLORREF kButtonFace = kSystemColour | COLOR_BTNFACE;   // 0x8000000F
inline constexpr COLORREF kButtonText = kSystemColour | COLOR_BTNTEXT;   // 0x80000012
inline constexpr COLORREF kWindowText = kSystemColour | COLOR_WINDOWTEXT;
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kTransparent = 0xFFFFFFFF;  // labels that let the form show through

COLORREF ResolveColour(COLORREF colour);

enum class ControlKind { Frame, Picture, Button, Label, TextBox, CheckBox, Image };

struct FontSpec {
    const wchar_t* face = L"MS Sans Serif";
    int hundredthsOfPoint = 975;
    bool bold = false;
    bool operator==(const FontSpec&) const = default;
};

// Behaviour flags of a control.
enum ControlFlags : unsigned {
    kDefaultButton = 1u << 0,  // pressed by Enter
    kCancelButton = 1u << 1,   // pressed by Esc
    kHandCursor = 1u << 2,     // shows the form's pointing-hand cursor
    kClickable = 1u << 3,      // a label or image that reports clicks
    kAutoSize = 1u << 4,       // a label sized to its text whenever the text changes
    kPathText = 1u << 5,       // shows a path: no access keys, ellipsis in the middle when too long
};

inline constexpr int kOnForm = -1;   // container: the form's client area
inline constexpr int kNoTab = -1;    // takes no place in the tab order

// One row of a window's control table. Positions and sizes are in twips from
// the top-left corner of the container: the form, or a frame of the table.
struct ControlSpec {
    const wchar_t* name;
    ControlKind kind;
    int container = kOnForm;
    const wchar_t* caption = L"";
    const wchar_t* tooltip = nullptr;
    int left = 0, top = 0, width = 0, height = 0;
    int tabIndex = kNoTab;
    bool enabled = true;
    FontSpec font{};
    COLORREF foreColour = kButtonText;
    COLORREF backColour = kButtonFace;
    DWORD alignment = SS_LEFT;  // labels: SS_LEFT, SS_CENTER or SS_RIGHT
    unsigned flags = 0;
};

// A straight line the form paints itself, in twips of its client area.
struct LineSpec {
    int x1, y1, x2, y2;
    COLORREF colour;
    int width;  // pixels at 96 DPI
};

enum class Placement { CentreScreen, CentreOwner };

struct FormSpec {
    const wchar_t* className;
    const wchar_t* caption;
    int clientWidth, clientHeight;  // twips
    DWORD style;
    DWORD exStyle;
    COLORREF backColour;
    int iconId;            // resource id of the window icon
    int handCursorId = 0;  // resource id of the pointing-hand cursor, if any control uses it
    Placement placement = Placement::CentreScreen;
    std::span<const LineSpec> lines{};
};

class Form;

// A control made from its table row. Child windows are destroyed by their
// form; a Control only owns the GDI objects it made.
class Control {
public:
    Control(Form& form, const ControlSpec& desc, int id);
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

    // Picture box: the drawing surface of its kept picture. What is drawn
    // into it shows at the next repaint and survives every repaint after.
    HDC PictureDc();
    // Picture box: shows what was drawn into PictureDc since the last call.
    void ShowDrawnPicture();
    // Picture box: back to its background colour.
    void ClearPicture();

    // Image: the picture it shows, stretched to the control.
    void SetPicture(UniqueIcon icon);
    void SetPicture(UniqueBitmap bitmap);

    HBRUSH BackBrush();

private:
    friend class Form;
    void Create(HWND parent, HINSTANCE instance, UINT dpi);
    void Layout(UINT dpi, HFONT font);
    void PaintPicture(HDC dc) const;
    void DrawImage(const DRAWITEMSTRUCT& item) const;
    void FitToText();
    RECT TwipsRect() const;
    RECT PixelRect(UINT dpi) const;  // TwipsRect at `dpi`

    Form& form_;
    ControlSpec desc_;
    int id_;
    HWND hwnd_ = nullptr;
    COLORREF backColour_;
    UniqueBrush backBrush_;
    // Picture box: the kept picture.
    UniqueMemDc pictureDc_;
    UniqueBitmap pictureBitmap_;
    HGDIOBJ pictureOldBitmap_ = nullptr;
    bool pictureDrawn_ = false;
    SIZE pictureSize_{};
    RECT placed_{};  // where the window is now, in pixels
    // Image: what it shows.
    UniqueIcon imageIcon_;
    UniqueBitmap imageBitmap_;
    int widthTwips_, heightTwips_;  // after auto-sizing
    UINT dpi_ = 96;

    static LRESULT CALLBACK PictureProc(HWND, UINT, WPARAM, LPARAM);
};

// A window described by a FormSpec and a control table. It is a dialog of a
// class of its own, so Windows' dialog manager gives it Tab, access keys,
// default and cancel buttons and focus memory.
class Form {
public:
    Form(const FormSpec& desc, std::span<const ControlSpec> controls);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window and its controls, then runs OnLoad; not shown.
    void Load(HWND owner = nullptr);
    bool Loaded() const { return hwnd_ != nullptr; }
    // Loads if needed and shows, not modal.
    void Show();
    // Loads if needed, shows modally over `owner` and returns once unloaded.
    void ShowModal(HWND owner);
    // Destroys the window and its controls; the next show loads it anew.
    void Unload();

    HWND Hwnd() const { return hwnd_; }
    Control& Ctl(int index) { return *controls_.at(static_cast<size_t>(index)); }
    size_t ControlCount() const { return controls_.size(); }
    UINT Dpi() const { return dpi_; }
    int Pixels(int twips) const;
    HCURSOR HandCursor() const { return handCursor_; }

    // Pumps messages for all forms until WM_QUIT; returns its exit code.
    static int RunMessageLoop();

protected:
    virtual void OnLoad() {}
    // A control was clicked (buttons, check boxes, clickable labels/images).
    virtual void OnClick(int index) { (void)index; }
    // The close box or the system menu's Close. Unloads by default.
    virtual void OnClose() { Unload(); }
    virtual void OnDestroyed() {}
    // Paints what the form draws itself, after its lines.
    virtual void OnPaint(HDC dc) { (void)dc; }

private:
    friend class Control;
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RegisterClass() const;
    void CreateControls();
    void Layout();
    HFONT Font(const FontSpec& desc);
    Control* FromHwnd(HWND hwnd);
    void Place(HWND owner);
    void Paint();
    void Click(int index);
    HBRUSH FormBrush();

    FormSpec desc_;
    std::span<const ControlSpec> table_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool modal_ = false;
    UINT dpi_ = 96;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::pair<FontSpec, UniqueFont>> fonts_;
    UniqueBrush formBrush_;
    HWND tooltip_ = nullptr;
    HCURSOR handCursor_ = nullptr;
};

// Shows what no error path took: the platform's handling of unhandled failures.
void ReportUnhandledFailure(const std::exception& failure);
