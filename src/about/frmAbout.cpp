#include "about/frmAbout.h"

#include "resource.h"

namespace {
const FormSpec kForm{
    .className = L"Tivrelon.frmAbout",
    .caption = L"",
    .clientWidth = 5730,
    .clientHeight = 3255,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
    .exStyle = WS_EX_DLGMODALFRAME,
    .backColour = 0x000000,
    .iconId = IDI_TIVRELON,
    .placement = Placement::CentreOwner,
};
}  // namespace

frmAbout::frmAbout() : Form(kForm, {}) {}
