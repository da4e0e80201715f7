#pragma once
#include <memory>
#include <string>

#include "app/frmIconChanger.h"
#include "support/FakePlatform.h"

// A main window loaded for a test, with a scripted platform in force.
// `show` puts it on screen; Apply and reset tests work on it hidden.
struct MainWindowFixture {
    explicit MainWindowFixture(bool show = false);

    // What choosing `folder` in the folder browser leaves behind.
    void ChooseFolder(const std::wstring& folder);
    // What choosing a file and an icon leaves behind.
    void ChooseIcon(const std::wstring& file, int index);
    void ClickReset();  // the user clicks the reset check box
    void Apply();       // the user presses Apply

    Control& Ctl(int index) { return form.Ctl(index); }

    FakePlatform fake;
    frmIconChanger form;
};
