#pragma once
#include <windows.h>

#include <exception>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "platform/Handles.h"
#include "ui/Control.h"
#include "ui/FormSpec.h"
#include "ui/ImageBox.h"
#include "ui/PictureBox.h"

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
    // The controls of the picture-box and image rows.
    PictureBox& Picture(int index) { return dynamic_cast<PictureBox&>(Ctl(index)); }
    ImageBox& Image(int index) { return dynamic_cast<ImageBox&>(Ctl(index)); }
    UINT Dpi() const { return dpi_; }
    int Pixels(int twips) const;
    HCURSOR HandCursor() const { return handCursor_; }

    // A failure that no handler met goes to `report`, which the program
    // installs; without one it is dropped. Either way it never crosses a
    // window procedure back into Windows.
    using FailureReport = void (*)(const std::exception& failure);
    static void SetFailureReport(FailureReport report) { failureReport_ = report; }

protected:
    virtual void OnLoad() {}
    // A control was clicked (buttons, check boxes, clickable labels/images).
    virtual void OnClick(int index) { (void)index; }
    // The close box or the system menu's Close. Unloads by default.
    virtual void OnClose() { Unload(); }
    virtual void OnDestroyed() {}
    // The form and its controls were laid out again for a new DPI.
    virtual void OnDpiChanged() {}
    // Files dropped on a form whose style accepts them (WS_EX_ACCEPTFILES).
    // The form frees `drop` (DragFinish) whatever it does with it.
    virtual void OnDropFiles(HDROP drop) { (void)drop; }
    // The system's colours or its high-contrast setting changed: the form
    // and its controls have their new brushes, and repaint once this returns.
    virtual void OnColoursChanged() {}
    // A command of the window's system menu (WM_SYSCOMMAND, its low four
    // bits, Windows' own, cleared): true when the form carried it out,
    // false to leave it to Windows (move, minimise, close...).
    virtual bool OnSystemCommand(UINT command) { (void)command; return false; }
    // The system menu is about to open: the moment to set its check marks.
    virtual void OnSystemMenuOpening(HMENU menu) { (void)menu; }

private:
    static constexpr int kFirstControlId = 100;  // control ids: clear of IDOK and IDCANCEL

    // Form.cpp: making and placing the window.
    void CreateControls();
    void LetDropsThrough();
    // Where the control's container lies in the form's client area, in twips.
    POINT ContainerOrigin(const ControlSpec& desc) const;
    void AddTooltips();
    HFONT Font(const FontSpec& desc);
    SIZE WindowSize(UINT dpi) const;
    void FitClientArea();
    void LayoutControls();
    void Place(HWND owner);
    HBRUSH FormBrush() const;

    // FormColours.cpp: the colours of the system's scheme, followed as it changes.
    // The RGB value of a colour of the tables, as the scheme has it now.
    COLORREF Colour(COLORREF colour) const;
    void MakeFormBrush();
    void ChangeColours(UINT message, WPARAM wParam, LPARAM lParam);

    // FormMessages.cpp: what the window does with its messages.
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool Command(WPARAM wParam);
    LRESULT ControlColour(UINT message, HDC dc, HWND control);
    void ChangeDpi(UINT dpi, const RECT& suggested);
    Control* FromHwnd(HWND hwnd);
    void Paint();
    void Forget();

    FormSpec desc_;
    std::span<const ControlSpec> table_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool modal_ = false;
    UINT dpi_ = 96;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::pair<FontSpec, UniqueFont>> fonts_;
    UniqueBrush formBrush_;
    bool highContrast_ = false;  // on, and the table's colours swapped for the system's
    HWND tooltip_ = nullptr;
    UniqueFont tooltipFont_;
    HCURSOR handCursor_ = nullptr;

    static inline FailureReport failureReport_ = nullptr;
    // The form whose window is being made: a dialog template hands no create
    // parameter to its window's own class procedure, so it is passed here.
    static inline thread_local Form* creating_ = nullptr;
};
