// The icon choice: a file of icons through the Open dialog, one icon of it
// through the picker, drawn into the preview.
#include "app/frmIconChanger.h"
#include "modules/modIcon.h"

namespace {
constexpr wchar_t kTitle[] = L"Choisir un fichier contenant des icônes";
constexpr wchar_t kFilter[] =
    L"Tous les fichiers (*.*)|*.*|Fichiers exécutables (*.exe)|*.exe|Fichiers DLL (*.dll)|*.dll|"
    L"Fichiers icône (*.ico)|*.ico";
constexpr int kAllFiles = 1;  // the filter's first entry
}  // namespace

void frmIconChanger::cmdShowIcon_Click() {
    // Every failure, a cancelled Open dialog included, ends the choice
    // silently; what was stored before it stays.
    try {
        dlgChooseIcon.DialogTitle = kTitle;
        dlgChooseIcon.Filter = kFilter;
        dlgChooseIcon.FilterIndex = kAllFiles;
        dlgChooseIcon.CancelError = true;
        dlgChooseIcon.ShowOpen(Hwnd());

        const std::wstring file = dlgChooseIcon.FileName;
        PictureBox& preview = Picture(picIcon);
        const int drawn = modIcon::ShowIcon(*this, file, preview.Dc());
        preview.ShowDrawn();
        // Taken whatever the picker said: a cancelled pick still names the file.
        IconFilePath = dlgChooseIcon.FileName;
        if (drawn == 1) Ctl(cmdDone).SetEnabled(true);
    } catch (const std::exception&) {
    }
}
