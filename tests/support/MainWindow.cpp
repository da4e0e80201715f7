#include "support/MainWindow.h"

#include "modules/modIcon.h"
#include "support/Gui.h"

MainWindowFixture::MainWindowFixture(bool show) {
    modIcon::SelectedIconIndex = 0;
    if (show) {
        form.Show();
        PumpMessages();
    } else {
        form.Load();
    }
}

void MainWindowFixture::ChooseFolder(const std::wstring& folder) {
    form.FolderPath = folder;
    Ctl(frmIconChanger::lblDir).SetText(folder);
    Ctl(frmIconChanger::chkReset).SetEnabled(true);
    Ctl(frmIconChanger::txtInfoTip).SetEnabled(true);
    Ctl(frmIconChanger::txtInfoTip).SetBackColour(kWhite);
    Ctl(frmIconChanger::cmdShowIcon).SetEnabled(true);
}

void MainWindowFixture::ChooseIcon(const std::wstring& file, int index) {
    modIcon::SelectedIconIndex = index;
    form.IconFilePath = file;
    Ctl(frmIconChanger::cmdDone).SetEnabled(true);
}

void MainWindowFixture::ClickReset() {
    SendMessageW(Ctl(frmIconChanger::chkReset).Hwnd(), BM_CLICK, 0, 0);
    PumpMessages();
}

void MainWindowFixture::Apply() {
    SendMessageW(Ctl(frmIconChanger::cmdDone).Hwnd(), BM_CLICK, 0, 0);
    PumpMessages();
}
