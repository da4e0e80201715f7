// The icon choice: a file of icons through the Open dialog, one icon of it
// through the picker, drawn into the preview; or a picture, made into an
// icon file.
#include "app/ControlStates.h"
#include "app/Refusals.h"
#include "app/frmIconChanger.h"
#include "modules/modIcon.h"
#include "modules/modPicture.h"
#include "platform/Refusal.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {
constexpr wchar_t kTitle[] = L"Choisir un fichier contenant des icônes";
constexpr wchar_t kFilter[] =
    L"Tous les fichiers (*.*)|*.*|Fichiers exécutables (*.exe)|*.exe|Fichiers DLL (*.dll)|*.dll|"
    L"Fichiers icône (*.ico)|*.ico|"
    L"Images (*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff)|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff";
constexpr int kAllFiles = 1;  // the filter's first entry
}  // namespace

void frmIconChanger::cmdShowIcon_Click() {
    // Every failure of the Open dialog, a cancel included, ends the choice
    // silently and changes nothing.
    std::wstring file;
    try {
        dlgChooseIcon.DialogTitle = kTitle;
        dlgChooseIcon.Filter = kFilter;
        dlgChooseIcon.FilterIndex = kAllFiles;
        dlgChooseIcon.CancelError = true;
        dlgChooseIcon.ShowOpen(Hwnd());
        file = dlgChooseIcon.FileName;
    } catch (const std::exception&) {
        return;
    }
    ChooseIconOf(file);
}

void frmIconChanger::ChooseIconOf(const std::wstring& file) {
    // Every failure ends the choice silently and changes nothing; a name no
    // desktop.ini can hold, and a picture that cannot become an icon, are
    // refused aloud, before the picker opens.
    try {
        // A picture's own name is never written: its icon file's is.
        if (modPicture::IsPictureName(file)) return ChoosePictureOf(file);
        if (!IsWellFormed(file)) throw Refusal(Refusal::UnpairedSurrogate);
        PictureBox& preview = Picture(picIcon);
        const auto drawn = modIcon::ShowIcon(Hwnd(), file, preview.Dc());
        if (!drawn) return;
        preview.ShowDrawn();
        previewShowsChoice_ = true;
        // Apply writes what the preview shows: the file and index change
        // together, and only when the icon was drawn.
        modIcon::chosenIcon.Take(*drawn);
        Enter(states::kIconDrawn);
    } catch (const Refusal& refusal) {
        refusals::Tell(refusal.Why());
    } catch (const std::exception&) {
    }
}

void frmIconChanger::OnDpiChanged() {
    // The box has its new pixel size and holds the old picture at the old
    // size: draw the chosen icon again, at the size the box has now.
    if (previewShowsChoice_) RedrawPreview();
}

void frmIconChanger::OnColoursChanged() {
    // The box holds its picture over the old button face.
    if (previewShowsChoice_) {
        RedrawPreview();
    } else {
        Picture(picIcon).Clear();
    }
}

void frmIconChanger::RedrawPreview() {
    PictureBox& preview = Picture(picIcon);
    preview.Clear();
    try {
        if (const std::string& made = modIcon::chosenIcon.MadeIcon(); !made.empty()) {
            modPicture::DrawIconFile(made, preview.Dc(), preview.Size());
        } else {
            modIcon::DrawIconOf(IconFilePath, modIcon::SelectedIconIndex, preview.Dc());
        }
    } catch (const std::exception&) {
        // The file is gone or changed since it was chosen: the box stays empty.
    }
    preview.ShowDrawn();
}

namespace {

// Decoding a large photo takes a moment: the wait cursor meanwhile, then the
// one before.
class WaitCursor {
public:
    WaitCursor() : before_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(before_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR before_;
};

std::string MadeWhileWaiting(const std::wstring& file) {
    const WaitCursor wait;
    return modPicture::MakeIconFile(file);
}

}  // namespace

void frmIconChanger::ChoosePictureOf(const std::wstring& file) {
    // Made as soon as it is chosen: the preview shows what the folder will
    // show, from the icon file Apply writes. Its margins are transparent:
    // drawn on the empty box, not over the icon shown before.
    std::string icon = MadeWhileWaiting(file);
    PictureBox& preview = Picture(picIcon);
    preview.Clear();
    modPicture::DrawIconFile(icon, preview.Dc(), preview.Size());
    preview.ShowDrawn();
    previewShowsChoice_ = true;
    modIcon::chosenIcon.Take({file, 0}, std::move(icon));
    Enter(states::kIconDrawn);
}
