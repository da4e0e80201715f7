#pragma once
#include <windows.h>

#include <functional>
#include <span>

#include "about/frmAbout.h"
#include "app/frmIconChanger.h"

// Where a user finds each control of the two windows: its rectangle in twips
// of the window's client area (a frame's contents lie inside the frame's
// corner, so its offset is added). On screen each edge is at
// MulDiv(twips, dpi, 1440), whatever the DPI.
struct Place {
    int control;
    const wchar_t* caption;  // how a test outside the program finds it
    int left, top, width, height;
    bool fitted = false;  // sized to its text: only its corner is fixed
};

inline constexpr SIZE kMainWindowClient{5160, 4545};
inline constexpr int kFra = 120, kFrame1 = 2880;  // the frames' corners (both at left 120)
inline constexpr Place kMainWindowPlaces[] = {
    {frmIconChanger::fraIcon, L"Dossier", 120, kFra, 4935, 2655},
    {frmIconChanger::picIcon, L"", 120 + 240, kFra + 720, 480, 480},
    {frmIconChanger::cmdShowIcon, L"Choix de l'&Icône...", 120 + 1320, kFra + 840, 1935, 495},
    {frmIconChanger::lblInfoTip, L"Information Icône :", 120 + 240, kFra + 1440, 1605, 240, true},
    {frmIconChanger::txtInfoTip, L"", 360, 1920, 4575, 285},
    {frmIconChanger::lblDir, L"", 120 + 120, kFra + 360, 4695, 255},
    {frmIconChanger::chkReset, L"Restituer l'icône par défaut", 120 + 240, kFra + 2160, 3615, 375},
    {frmIconChanger::Frame1, L"", 120, kFrame1, 4935, 1575},
    {frmIconChanger::cmdDir, L"Choix du &Dossier...", 120 + 240, kFrame1 + 360, 2175, 495},
    {frmIconChanger::cmdDone, L"&Appliquer...", 120 + 2520, kFrame1 + 360, 2175, 495},
    {frmIconChanger::Command1, L"&Quitter", 120 + 2520, kFrame1 + 960, 2175, 495},
    {frmIconChanger::Command2, L"A &Propos", 120 + 240, kFrame1 + 960, 2175, 495},
};

inline constexpr SIZE kAboutWindowClient{5730, 3255};
inline constexpr Place kAboutWindowPlaces[] = {
    {frmAbout::Command1, L"Détails...", 3960, 2280, 1455, 375},
    {frmAbout::cmdOK, L"OK", 3960, 1440, 1500, 465},
    {frmAbout::cmdSysInfo, L"&Système Info...", 3960, 2760, 1485, 345},
    {frmAbout::Image2, L"", 1080, 2400, 1500, 660},
    {frmAbout::Label3, L"", 840, 1680, 2115, 225, true},
    {frmAbout::Image1, L"", 120, 240, 720, 720},
    {frmAbout::Label2, L"Logiciel FREEWARE", 480, 2040, 2775, 255},
    {frmAbout::lblDescription, L"", 1080, 840, 3885, 330},
    {frmAbout::lblTitle, L"", 1080, 120, 3885, 360},
    {frmAbout::lblVersion, L"", 1080, 480, 3885, 225},
    {frmAbout::lblDisclaimer, L"", 480, 1320, 2625, 225, true},
};

inline int Px(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
inline RECT PixelsOf(const Place& p, UINT dpi) {
    return {Px(p.left, dpi), Px(p.top, dpi), Px(p.left + p.width, dpi), Px(p.top + p.height, dpi)};
}
// The height in pixels of a font of `points` at `dpi` (9.75 pt: 13 at 96 DPI).
inline LONG FontPixels(double points, UINT dpi) { return MulDiv(static_cast<int>(points * 100), static_cast<int>(dpi), 7200); }

// Expects each control `find` gives for a place at its rectangle (a fitted
// one at its corner, and inside the client area) for `dpi`.
void ExpectLaidOut(std::span<const Place> places, SIZE client, UINT dpi, const std::function<HWND(const Place&)>& find);
