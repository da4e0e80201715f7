#include "about/frmAbout.h"
#include "app/frmIconChanger.h"

frmIconChanger::~frmIconChanger() = default;

void frmIconChanger::Command2_Click() {
    // Created on first use and kept; every click shows it modally.
    if (!about_) about_ = std::make_unique<frmAbout>();
    about_->ShowModal(Hwnd());
}
