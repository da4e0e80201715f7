// The folder choice: the shell's folder browser, and the controls that come
// to life once a folder is chosen.
#include "app/frmIconChanger.h"
#include "modules/modBrowse.h"

void frmIconChanger::cmdDir_Click() {
    // A cancelled browse empties the path even after an earlier choice; the
    // controls it enabled stay enabled and Apply refuses an empty path.
    FolderPath = modBrowse::GetFolderPath(*this);
    Ctl(lblDir).SetText(FolderPath);
    if (FolderPath.empty()) return;
    Ctl(chkReset).SetEnabled(true);
    Ctl(txtInfoTip).SetEnabled(true);
    Ctl(txtInfoTip).SetBackColour(kWhite);
    Ctl(cmdShowIcon).SetEnabled(true);
}
