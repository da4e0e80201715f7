// Apply and reset: writing the folder's customisation, or taking it away.
#include <shlobj.h>

#include "app/frmIconChanger.h"
#include "modules/modINI.h"
#include "modules/modIcon.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr wchar_t kSection[] = L".ShellClassInfo";
constexpr wchar_t kErrorPrompt[] = L"Erreur dans la création de l'icône !";
constexpr wchar_t kErrorTitle[] = L"Erreur";

// The keys this program writes, and the one other icon key the shell reads.
constexpr std::initializer_list<const wchar_t*> kIconKeys = {L"IconFile", L"IconIndex", L"IconResource", L"InfoTip"};

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Tells an open Explorer window to show the folder's new (or default) icon
// now rather than at its next refresh. A courtesy: the customisation is
// already on disk, so a shell that cannot be told changes nothing.
void NotifyShell(const std::wstring& folder) {
    try {
        platform().SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, folder.c_str(), nullptr);
    } catch (const PlatformError&) {
    }
}

}  // namespace

void frmIconChanger::cmdDone_Click() {
    try {
        // A cancelled second browse leaves no folder: form no path from it,
        // which would point at the root of the current drive.
        if (FolderPath.empty()) throw PlatformError("cmdDone_Click", ERROR_PATH_NOT_FOUND);
        const std::wstring iniPath = FolderPath + L"\\desktop.ini";
        if (!Ctl(chkReset).Checked()) {
            ApplyCustomisation(iniPath);
        } else {
            ResetCustomisation(iniPath);
        }
        NotifyShell(FolderPath);
    } catch (const std::exception&) {
        services::MsgBox(kErrorPrompt, services::kExclamation, kErrorTitle);
    }
    Ctl(cmdDone).SetEnabled(false);
}

void frmIconChanger::ApplyCustomisation(const std::wstring& iniPath) {
    // Refuse text that cannot reach the file exactly before anything changes.
    modINI::RequireFaithfulText(iniPath);
    modINI::RequireFaithfulText(IconFilePath);
    modINI::RequireFaithfulText(Ctl(txtInfoTip).Text());

    // A customised folder's desktop.ini is hidden, and Windows refuses to
    // let the profile writer re-create a hidden or system file (CREATE_ALWAYS
    // fails with access denied): clear its attributes first. Step 5 below
    // sets exactly hidden again.
    if (IsFile(AttributesOf(iniPath))) services::SetAttributes(iniPath, 0);

    modINI::WriteINIValue(iniPath, kSection, L"IconFile", IconFilePath);
    modINI::WriteINIValue(iniPath, kSection, L"IconIndex", DecimalText(modIcon::SelectedIconIndex));
    if (!Ctl(txtInfoTip).Text().empty()) modINI::WriteINIValue(iniPath, kSection, L"InfoTip", Ctl(txtInfoTip).Text());
    services::SetAttributes(FolderPath, FILE_ATTRIBUTE_SYSTEM);
    services::SetAttributes(iniPath, FILE_ATTRIBUTE_HIDDEN);
}

void frmIconChanger::ResetCustomisation(const std::wstring& iniPath) {
    const DWORD attributes = AttributesOf(iniPath);
    std::wstring content;
    if (IsFile(attributes)) {
        try {
            content = modINI::ReadTextFile(iniPath);
        } catch (const PlatformError&) {
            // Unreadable: the reset steps below meet it.
        }
    }
    if (!content.empty() && !modINI::HoldsOnly(content, kSection, kIconKeys)) {
        // The file carries settings this program did not make (a localised
        // name, another tool's keys): take out just the icon keys and leave
        // the file, its hidden attribute and the folder as they are. The
        // attributes are lifted for the writes, as for Apply, and put back.
        services::SetAttributes(iniPath, 0);
        struct Restore {
            const std::wstring& path;
            DWORD attributes;
            ~Restore() { SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL); }
        } restore{iniPath, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)};
        for (const wchar_t* key : kIconKeys) modINI::DeleteINIValue(iniPath, kSection, key);
        return;
    }
    // Clearing the file's attributes first makes a hidden or system
    // desktop.ini visible to the look-up and lifts read-only before deletion.
    services::SetAttributes(iniPath, 0);
    services::SetAttributes(FolderPath, 0);
    if (DesktopIniExists()) services::RemoveFile(iniPath);
}

bool frmIconChanger::DesktopIniExists() {
    try {
        return !services::FindPlainFile(FolderPath + L"\\desktop.ini").empty();
    } catch (const PlatformError&) {
        return false;
    }
}

void frmIconChanger::chkReset_Click() {
    if (Ctl(chkReset).Checked()) {
        // Entering reset mode.
        Ctl(cmdShowIcon).SetEnabled(false);
        Ctl(txtInfoTip).SetEnabled(false);
        Ctl(txtInfoTip).SetBackColour(kButtonFace);
        Ctl(txtInfoTip).SetText(L"");
        Ctl(cmdDone).SetEnabled(true);
        // The icon chosen before is not what Apply will do now.
        Picture(picIcon).Clear();
    } else {
        // Entering apply mode: the icon must be chosen again.
        Ctl(cmdDone).SetEnabled(false);
        Ctl(cmdShowIcon).SetEnabled(true);
        Ctl(txtInfoTip).SetEnabled(true);
        Ctl(txtInfoTip).SetBackColour(kWhite);
    }
}
