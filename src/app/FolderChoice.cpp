// The folder choice: the shell's folder browser, and the controls that come
// to life once a folder is chosen.
#include "app/ControlStates.h"
#include "app/Refusals.h"
#include "app/frmIconChanger.h"
#include "modules/modBrowse.h"

void frmIconChanger::cmdDir_Click() { TakeFolder(modBrowse::GetFolderPath(Hwnd())); }

void frmIconChanger::TakeFolder(const modBrowse::FolderChoice& choice) {
    // A cancelled or refused choice empties the path even after an earlier
    // one; the controls it enabled stay enabled and Apply refuses an empty
    // path.
    FolderPath = choice.path;
    Ctl(lblDir).SetText(FolderPath);
    if (choice.refusal) refusals::Tell(*choice.refusal, choice.refused);
    if (FolderPath.empty()) return;

    Enter(Ctl(chkReset).Checked() ? states::kFolderChosenResetMode : states::kFolderChosen);
}
