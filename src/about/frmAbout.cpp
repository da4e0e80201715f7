#include "about/frmAbout.h"

#include <iterator>

#include "about/AuthorDetails.h"
#include "about/Picture.h"
#include "about/SysInfo.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "resource.h"

namespace {

constexpr const wchar_t* kFace = L"Comic Sans MS";
constexpr FontSpec kSmall{kFace, 825, false};
constexpr FontSpec kSmallBold{kFace, 825, true};
constexpr FontSpec kLargeBold{kFace, 975, true};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

constexpr wchar_t kDonation[] = L"Faire un don avec PayPal - Un solution gratuite, rapide et sécurisée.";

// clang-format off
constexpr ControlSpec kControls[] = {
    {.name = L"Command1", .kind = ControlKind::Button, .caption = L"Détails...",
     .left = 3960, .top = 2280, .width = 1455, .height = 375, .tabIndex = 8, .font = kSmall},
    {.name = L"cmdOK", .kind = ControlKind::Button, .caption = L"OK",
     .left = 3960, .top = 1440, .width = 1500, .height = 465, .tabIndex = 0, .font = kSmallBold,
     .flags = kDefaultButton | kCancelButton},
    {.name = L"cmdSysInfo", .kind = ControlKind::Button, .caption = L"&Système Info...",
     .tooltip = L"Informations système",
     .left = 3960, .top = 2760, .width = 1485, .height = 345, .tabIndex = 1, .font = kSmall},
    {.name = L"Image2", .kind = ControlKind::Image, .tooltip = kDonation, .accessibleName = kDonation,
     .left = 1080, .top = 2400, .width = 1500, .height = 660, .tabIndex = 11, .backColour = kTransparent,
     .flags = kHandCursor | kClickable},
    {.name = L"Label3", .kind = ControlKind::Label, .caption = L"URL : " TIVRELON_AUTHOR_SITE,
     .tooltip = L"Visitez le site officiel " TIVRELON_AUTHOR_SITE_NAME,
     .left = 840, .top = 1680, .width = 2115, .height = 225, .tabIndex = 10, .font = kSmall,
     .foreColour = kBlue, .backColour = kTransparent, .alignment = SS_CENTER,
     .flags = kAutoSize | kHandCursor | kClickable},
    {.name = L"Image1", .kind = ControlKind::Image, .accessibleName = L"Icône de Tivrelon",
     .left = 120, .top = 240, .width = 720, .height = 720, .backColour = kTransparent},
    {.name = L"Label2", .kind = ControlKind::Label, .caption = L"Logiciel FREEWARE",
     .left = 480, .top = 2040, .width = 2775, .height = 255, .font = kLargeBold,
     .foreColour = kRed, .backColour = kTransparent, .alignment = SS_CENTER},
    {.name = L"lblDescription", .kind = ControlKind::Label, .caption = TIVRELON_AUTHOR_CREDIT,
     .left = 1080, .top = 840, .width = 3885, .height = 330, .font = kSmall,
     .foreColour = kGreen, .backColour = kTransparent},
    {.name = L"lblTitle", .kind = ControlKind::Label,
     .left = 1080, .top = 120, .width = 3885, .height = 360, .font = kLargeBold,
     .foreColour = kGreen, .backColour = kTransparent},
    {.name = L"lblVersion", .kind = ControlKind::Label,
     .left = 1080, .top = 480, .width = 3885, .height = 225, .font = kSmall,
     .foreColour = kGreen, .backColour = kTransparent},
    {.name = L"lblDisclaimer", .kind = ControlKind::Label, .caption = L"E-Mail : " TIVRELON_AUTHOR_MAIL,
     .tooltip = L"Envoyer un courriel",
     .left = 480, .top = 1320, .width = 2625, .height = 225, .tabIndex = 9, .font = kSmall,
     .foreColour = kBlue, .backColour = kTransparent, .alignment = SS_CENTER,
     .flags = kAutoSize | kHandCursor | kClickable},
};

// Line1(1) then Line1(0): the white line drawn last, over the grey one's
// upper edge, gives the etched look.
constexpr LineSpec kLines[] = {
    {0, 1217, 5564, 1217, kGrey, 1},
    {0, 1200, 5549, 1200, kWhite, 2},
};

// Under high contrast: text on the window colour, links in the hot-track
// colour (blue on black is 2.4:1), lines in the text's colour.
constexpr ColourSwap kHighContrast[] = {
    {kBlack, kWindow}, {kGreen, kWindowText}, {kRed, kWindowText},
    {kBlue, kHotLight}, {kWhite, kWindowText}, {kGrey, kWindowText},
};
// clang-format on
static_assert(std::size(kControls) == frmAbout::kControlCount);
// Each row sits where its enumerator says: row cmdOK is named "cmdOK".
#define ROW_NAMED(row) RowNamed(kControls, frmAbout::row, L"" #row)
static_assert(ROW_NAMED(Command1) && ROW_NAMED(cmdOK) && ROW_NAMED(cmdSysInfo) && ROW_NAMED(Image2) &&
              ROW_NAMED(Label3) && ROW_NAMED(Image1) && ROW_NAMED(Label2) && ROW_NAMED(lblDescription) &&
              ROW_NAMED(lblTitle) && ROW_NAMED(lblVersion) && ROW_NAMED(lblDisclaimer));
#undef ROW_NAMED

const FormSpec kForm{
    .className = L"Tivrelon.frmAbout",
    .caption = L"",
    .clientWidth = 5730,
    .clientHeight = 3255,
    // Fixed dialog frame: no sizing border, no minimise or maximise box.
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    .exStyle = WS_EX_DLGMODALFRAME,
    .backColour = kBlack,
    .iconId = IDI_ABOUT,
    .handCursorId = IDC_POINTING_HAND,
    .placement = Placement::CentreOwner,
    .lines = kLines,
    .highContrast = kHighContrast,
};

// The ShellExecute "Open" of one of the author's addresses, in its UTF-16
// form: the program's folder may have any name. A link that cannot be
// opened shows nothing, whatever stops it (the result is not examined).
//
// The web links pass empty parameters and the program's folder as the
// working directory; the mail link passes neither.
void OpenAddress(HWND owner, const std::wstring& address, bool web) {
    try {
        const std::wstring folder = web ? services::App().folder : std::wstring();
        platform().ShellExecuteW(owner, L"Open", address.c_str(), web ? L"" : nullptr, web ? folder.c_str() : nullptr,
                                 SW_SHOWNORMAL);
    } catch (const std::exception&) {
    }
}

// "1.1.0": the version resource's, written once where the build is set up.
std::wstring VersionText(const services::AppInfo& app) {
    return DecimalText(app.major) + L"." + DecimalText(app.minor) + L"." + DecimalText(app.revision);
}

}  // namespace

frmAbout::frmAbout() : Form(kForm, kControls) {}

void frmAbout::OnLoad() {
    ShowIcon();
    Image(Image2).SetPicture(LoadGifResource(IDR_DONATE_GIF));
    Form_Load();
}

void frmAbout::OnDpiChanged() { ShowIcon(); }

void frmAbout::ShowIcon() {
    // Loaded at the box's size at the window's DPI, so Windows picks the
    // icon's nearest image rather than the box stretching a 32 x 32 one.
    const int size = Pixels(kControls[Image1].width);
    UniqueIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ABOUT), IMAGE_ICON, size, size, 0)));
    if (!icon) ThrowLastError("LoadImage");
    Image(Image1).SetPicture(std::move(icon));
}

void frmAbout::OnClick(int index) {
    switch (index) {
    case Command1: Command1_Click(); break;
    case cmdOK: cmdOK_Click(); break;
    case cmdSysInfo: cmdSysInfo_Click(); break;
    case Image2: Image2_Click(); break;
    case Label3: Label3_Click(); break;
    case lblDisclaimer: lblDisclaimer_Click(); break;
    default: break;
    }
}

void frmAbout::Form_Load() {
    const services::AppInfo app = services::App();
    SetWindowTextW(Hwnd(), (L"A propos " + app.title).c_str());
    Ctl(lblVersion).SetText(L"Version " + VersionText(app));
    Ctl(lblTitle).SetText(app.title);
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::Command1_Click() {
    // Lines end in a lone carriage return; the message box breaks on it.
    const std::wstring details = L"Tivrelon version " + VersionText(services::App()) +
                                 L"\r"
                                 L"\r"
                                 L"Changer l'icône d'un dossier\r"
                                 L"\r"
                                 L"Auteur : " TIVRELON_AUTHOR_CREDIT L"\r"
                                 L"E-Mail : " TIVRELON_AUTHOR_MAIL L"\r"
                                 L"Url : " TIVRELON_AUTHOR_SITE L"\r"
                                 L"\r"
                                 L"Logiciel FREEWARE";
    services::MsgBox(details, services::kInformation, L"A propos");
}

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::Image2_Click() { OpenAddress(Hwnd(), TIVRELON_AUTHOR_SITE L"/Don/Don.htm", true); }

void frmAbout::Label3_Click() { OpenAddress(Hwnd(), TIVRELON_AUTHOR_SITE, true); }

void frmAbout::lblDisclaimer_Click() { OpenAddress(Hwnd(), L"mailto:" TIVRELON_AUTHOR_MAIL, false); }
