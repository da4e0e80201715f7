#include "app/frmIconChanger.h"

#include <utility>

#include "about/frmAbout.h"
#include "app/ControlStates.h"
#include "app/ExplorerEntry.h"
#include "platform/Services.h"
#include "resource.h"

namespace {

constexpr FontSpec kBold{L"MS Sans Serif", 975, true};

// clang-format off
constexpr ControlSpec kControls[] = {
    {.name = L"fraIcon", .kind = ControlKind::Frame, .caption = L"Dossier",
     .left = 120, .top = 120, .width = 4935, .height = 2655, .tabIndex = 0, .font = kBold},
    {.name = L"picIcon", .kind = ControlKind::Picture, .container = frmIconChanger::fraIcon,
     .accessibleName = L"Aperçu de l'icône", .left = 240, .top = 720, .width = 480, .height = 480, .tabIndex = 1},
    {.name = L"cmdShowIcon", .kind = ControlKind::Button, .container = frmIconChanger::fraIcon,
     .caption = L"Choix de l'&Icône...", .tooltip = L"Choisir l'icône pour le dossier sélectionné",
     .left = 1320, .top = 840, .width = 1935, .height = 495, .tabIndex = 2, .enabled = false},
    {.name = L"lblInfoTip", .kind = ControlKind::Label, .container = frmIconChanger::fraIcon,
     .caption = L"Information Icône :", .left = 240, .top = 1440, .width = 1605, .height = 240, .tabIndex = 3,
     .alignment = SS_RIGHT, .flags = kAutoSize},
    {.name = L"txtInfoTip", .kind = ControlKind::TextBox,
     .left = 360, .top = 1920, .width = 4575, .height = 285, .tabIndex = 4, .enabled = false,
     .foreColour = kWindowText, .backColour = kButtonFace, .flags = kWindowWhenEnabled},
    {.name = L"lblDir", .kind = ControlKind::Label, .container = frmIconChanger::fraIcon,
     .left = 120, .top = 360, .width = 4695, .height = 255, .tabIndex = 5, .flags = kPathText},
    {.name = L"chkReset", .kind = ControlKind::CheckBox, .container = frmIconChanger::fraIcon,
     .caption = L"Restituer l'icône par défaut", .tooltip = L"Restitue l'icône à défaut pour le dossier choisi",
     .left = 240, .top = 2160, .width = 3615, .height = 375, .tabIndex = 6, .enabled = false},
    {.name = L"Frame1", .kind = ControlKind::Frame,
     .left = 120, .top = 2880, .width = 4935, .height = 1575, .tabIndex = 7},
    {.name = L"cmdDir", .kind = ControlKind::Button, .container = frmIconChanger::Frame1,
     .caption = L"Choix du &Dossier...", .tooltip = L"Choix du dossier pour modification d'icône",
     .left = 240, .top = 360, .width = 2175, .height = 495, .tabIndex = 8},
    {.name = L"cmdDone", .kind = ControlKind::Button, .container = frmIconChanger::Frame1,
     .caption = L"&Appliquer...", .tooltip = L"Apllique l'icône au dossier choisi",
     .left = 2520, .top = 360, .width = 2175, .height = 495, .tabIndex = 9, .enabled = false},
    {.name = L"Command1", .kind = ControlKind::Button, .container = frmIconChanger::Frame1,
     .caption = L"&Quitter", .tooltip = L"Quitter Tivrelon",
     .left = 2520, .top = 960, .width = 2175, .height = 495, .tabIndex = 10},
    {.name = L"Command2", .kind = ControlKind::Button, .container = frmIconChanger::Frame1,
     .caption = L"A &Propos", .tooltip = L"Auteur",
     .left = 240, .top = 960, .width = 2175, .height = 495, .tabIndex = 11},
};
// clang-format on
static_assert(std::size(kControls) == frmIconChanger::kControlCount);
// Each row sits where its enumerator says: row cmdDone is named "cmdDone".
#define ROW_NAMED(row) RowNamed(kControls, frmIconChanger::row, L"" #row)
static_assert(ROW_NAMED(fraIcon) && ROW_NAMED(picIcon) && ROW_NAMED(cmdShowIcon) && ROW_NAMED(lblInfoTip) &&
              ROW_NAMED(txtInfoTip) && ROW_NAMED(lblDir) && ROW_NAMED(chkReset) && ROW_NAMED(Frame1) &&
              ROW_NAMED(cmdDir) && ROW_NAMED(cmdDone) && ROW_NAMED(Command1) && ROW_NAMED(Command2));
#undef ROW_NAMED

// The control table starts the window in the state table's start row.
constexpr bool StartsAs(int control, states::Turn turn) { return kControls[control].enabled == (turn == states::On); }
static_assert(StartsAs(frmIconChanger::cmdShowIcon, states::kStart.cmdShowIcon) &&
              StartsAs(frmIconChanger::cmdDone, states::kStart.cmdDone) &&
              StartsAs(frmIconChanger::chkReset, states::kStart.chkReset) &&
              StartsAs(frmIconChanger::txtInfoTip, states::kStart.txtInfoTip));

const FormSpec kForm{
    .className = L"Tivrelon.frmIconChanger",
    .caption = L"Changer l'icône d'un dossier",
    .clientWidth = 5160,
    .clientHeight = 4545,
    // Fixed single border; minimise box, so the maximise box shows disabled.
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    // Folders and files can be dropped on it. DragAcceptFiles sets no more
    // than this style, and would bring shell32 into the start.
    .exStyle = WS_EX_APPWINDOW | WS_EX_ACCEPTFILES,
    .backColour = kButtonFace,
    .iconId = IDI_TIVRELON,
};

}  // namespace

// A new main window starts with no icon chosen.
frmIconChanger::frmIconChanger() : Form(kForm, kControls) { modIcon::chosenIcon.Forget(); }
// Here, where frmAbout is a complete type for the pointer that owns it.
frmIconChanger::~frmIconChanger() = default;

// The entry in Explorer's menu is added and taken away from the system
// menu, after a separator: the window's controls and layout stay as they are.
void frmIconChanger::OnLoad() {
    HMENU menu = GetSystemMenu(Hwnd(), FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kExplorerEntryItem, explorerEntry::kMenuItem);
}

bool frmIconChanger::OnSystemCommand(UINT command) {
    if (command != kExplorerEntryItem) return false;
    explorerEntry::Toggle(services::App().file);
    return true;
}

// Read each time the menu opens: another copy of the program, or the user
// by hand, may have changed the entry since.
void frmIconChanger::OnSystemMenuOpening(HMENU menu) {
    const bool here = explorerEntry::PointsAt(services::App().file);
    CheckMenuItem(menu, kExplorerEntryItem, MF_BYCOMMAND | (here ? MF_CHECKED : MF_UNCHECKED));
}

void frmIconChanger::OnClick(int index) {
    switch (index) {
    case cmdDir: cmdDir_Click(); break;
    case cmdShowIcon: cmdShowIcon_Click(); break;
    case cmdDone: cmdDone_Click(); break;
    case chkReset: chkReset_Click(); break;
    case Command1: Command1_Click(); break;
    case Command2: Command2_Click(); break;
    default: break;
    }
}

void frmIconChanger::Enter(const states::Row& row) {
    // What goes off goes first, and the icon choice comes on last: whoever
    // sees it enabled, a user or a test watching from outside, sees the rest
    // of the row in place.
    const std::pair<int, states::Turn> turns[] = {
        {chkReset, row.chkReset}, {txtInfoTip, row.txtInfoTip}, {cmdDone, row.cmdDone}, {cmdShowIcon, row.cmdShowIcon}};
    for (const states::Turn pass : {states::Off, states::On})
        for (const auto& [control, turn] : turns)
            if (turn == pass) Ctl(control).SetEnabled(turn == states::On);
}

void frmIconChanger::OnClose() { DestroyWindow(Hwnd()); }

// With the main window gone no window of the program remains: the program ends.
void frmIconChanger::OnDestroyed() { PostQuitMessage(0); }

void frmIconChanger::Command1_Click() { services::EndProgram(); }
