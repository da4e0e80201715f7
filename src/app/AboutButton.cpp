#include "about/frmAbout.h"
#include "app/frmIconChanger.h"

void frmIconChanger::Command2_Click() {
    // Created on first use and kept; every click loads it anew and shows it
    // modally. The window the click came from disables itself meanwhile and
    // keeps the About window above it and centred on it.
    if (!about_) about_ = std::make_unique<frmAbout>();
    about_->ShowModal(Hwnd());
}
