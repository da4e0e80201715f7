#include "ui/ControlKinds.h"

#include <iterator>

#include "ui/ImageBox.h"
#include "ui/PictureBox.h"

namespace {

template <class Kind>
std::unique_ptr<Control> Make(const ControlSpec& desc, int id, POINT origin, HBRUSH formBrush) {
    return std::make_unique<Kind>(desc, id, origin, formBrush);
}

constexpr DWORD kTab = WS_TABSTOP;

// clang-format off
// In the order of ControlKind.
constexpr KindTraits kKinds[] = {
    /* Frame    */ {L"BUTTON",         BS_GROUPBOX,                    0,                false, &Make<Control>},
    /* Picture  */ {kPictureBoxClass,  0,                              0,                false, &Make<PictureBox>},
    /* Button   */ {L"BUTTON",         kTab | BS_PUSHBUTTON,           0,                true,  &Make<Control>},
    /* Label    */ {L"STATIC",         0,                              0,                true,  &Make<Control>},
    /* TextBox  */ {L"EDIT",           kTab | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, false, &Make<Control>},
    /* CheckBox */ {L"BUTTON",         kTab | BS_AUTOCHECKBOX,         0,                true,  &Make<Control>},
    /* Image    */ {L"STATIC",         SS_OWNERDRAW,                   0,                true,  &Make<ImageBox>},
};
// clang-format on
static_assert(std::size(kKinds) == static_cast<size_t>(ControlKind::Image) + 1);

}  // namespace

const KindTraits& TraitsOf(ControlKind kind) { return kKinds[static_cast<size_t>(kind)]; }
