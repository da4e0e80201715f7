#pragma once
#include <memory>
#include <string>

#include "app/frmIconChanger.h"
#include "support/FakePlatform.h"

// A main window loaded for a test, with a scripted platform in force.
// `show` puts it on screen; Apply and reset tests work on it hidden.
struct MainWindowFixture {
    explicit MainWindowFixture(bool show = false);

    // The user chooses `folder` in the folder browser (empty: cancels it):
    // the real handler runs, the browser scripted to answer that folder.
    void ChooseFolder(const std::wstring& folder);
    // The user chooses `file` in the Open dialog and icon `index` of it in
    // the picker: the real handler runs, both dialogs scripted. Unless the
    // test scripts the extraction, any file yields a stock icon, so that any
    // path can stand in.
    void ChooseIcon(const std::wstring& file, int index);
    void ClickReset();  // the user clicks the reset check box
    void Apply();       // the user presses Apply

    Control& Ctl(int index) { return form.Ctl(index); }

    FakePlatform fake;
    frmIconChanger form;
};
