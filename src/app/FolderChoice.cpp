// The folder choice: the shell's folder browser, and the controls that come
// to life once a folder is chosen.
#include <span>

#include "app/Refusals.h"
#include "app/frmIconChanger.h"
#include "modules/modBrowse.h"

namespace {

using F = frmIconChanger;

// What a chosen folder brings to life, by mode. Reset ignores the icon and
// the info tip: in reset mode they stay off, and Apply, which resets, is on.
constexpr int kFolderControlsApplyMode[] = {F::chkReset, F::txtInfoTip, F::cmdShowIcon};
constexpr int kFolderControlsResetMode[] = {F::chkReset, F::cmdDone};

}  // namespace

void frmIconChanger::cmdDir_Click() {
    // A cancelled or refused browse empties the path even after an earlier
    // choice; the controls it enabled stay enabled and Apply refuses an
    // empty path.
    const modBrowse::FolderChoice choice = modBrowse::GetFolderPath(*this);
    FolderPath = choice.path;
    Ctl(lblDir).SetText(FolderPath);
    if (choice.refusal == modBrowse::Refusal::UnwritableName) refusals::Tell(refusals::kUnwritableName);
    if (choice.refusal == modBrowse::Refusal::TrailingDotOrSpace) refusals::Tell(refusals::kTrailingDotOrSpace);
    if (FolderPath.empty()) return;

    const std::span<const int> controls =
        Ctl(chkReset).Checked() ? std::span<const int>(kFolderControlsResetMode) : kFolderControlsApplyMode;
    for (int c : controls) {
        if (c == txtInfoTip) {
            SetInfoTipEnabled(true);
        } else {
            Ctl(c).SetEnabled(true);
        }
    }
}
