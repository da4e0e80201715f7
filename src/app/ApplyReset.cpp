// Apply and reset: writing the folder's customisation, or taking it away.
#include <shlobj.h>

#include <optional>

#include "app/ControlStates.h"
#include "app/frmIconChanger.h"
#include "modules/modINI.h"
#include "modules/modIcon.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Redirector.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr wchar_t kSection[] = L".ShellClassInfo";
constexpr wchar_t kErrorPrompt[] = L"Erreur dans la création de l'icône !";
constexpr wchar_t kErrorTitle[] = L"Erreur";

// The icon keys: the three this program writes, and Explorer's IconResource,
// which Apply keeps in step where it finds one.
constexpr std::initializer_list<const wchar_t*> kIconKeys = {L"IconFile", L"IconIndex", L"IconResource", L"InfoTip"};

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The text of an existing desktop.ini, or nothing when there is none. A file
// that cannot be read whole may hold anything: its failure ends the handler
// before anything changes.
std::wstring ExistingText(const std::wstring& iniPath, DWORD attributes) {
    return IsFile(attributes) ? modINI::ReadTextFile(iniPath) : std::wstring();
}

// Windows refuses to let the profile writer re-create a hidden or system
// file (CREATE_ALWAYS fails with access denied) and to touch a read-only
// one: the file's attributes are lifted for the writes, and put back when
// the writes fail or leave the file otherwise as it was.
class LiftedAttributes {
public:
    LiftedAttributes(const std::wstring& path, DWORD attributes)
        : path_(path), attributes_(attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) {
        services::SetAttributes(path_, 0);
    }
    ~LiftedAttributes() {
        if (putBack_) services::TrySetAttributes(path_, attributes_);
    }
    LiftedAttributes(const LiftedAttributes&) = delete;
    LiftedAttributes& operator=(const LiftedAttributes&) = delete;

    // The caller has set the file's attributes itself since.
    void Replaced() { putBack_ = false; }

private:
    std::wstring path_;
    DWORD attributes_;
    bool putBack_ = true;
};

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
        if (FolderPath.empty()) throw Refusal(Refusal::NoFolder);
        // Checked here, once: the writes take it as it is.
        const modINI::ProfileFile ini(FolderPath + L"\\desktop.ini");
        // A desktop.ini that is a link, a folder or a file with other names
        // would take the keys, the attributes or the deletion elsewhere.
        services::RequireOwnFileOrNone(ini.Text(), FolderPath);
        if (!Ctl(chkReset).Checked()) {
            ApplyCustomisation(ini);
        } else {
            ResetCustomisation(ini);
        }
        NotifyShell(FolderPath);
    } catch (const std::exception&) {
        services::MsgBox(kErrorPrompt, services::kExclamation, kErrorTitle);
    }
    Enter(states::kAfterApply);
}

void frmIconChanger::ApplyCustomisation(const modINI::ProfileFile& ini) {
    // The icon file may have gone since it was chosen (deleted, its drive
    // removed), and a click that reached a disabled Apply brings none at all:
    // never write a key that names no file.
    if (IconFilePath.empty() || !IsFile(AttributesOf(IconFilePath))) throw Refusal(Refusal::NoIconFile);
    // Explorer is a 64-bit program: under WOW64 it must be given the name
    // under which it finds the very file this program previewed. Text that
    // cannot reach the file exactly is refused here, before anything changes.
    const modINI::FaithfulText iconFile(redirector::ForNativeReaders(IconFilePath));
    const modINI::FaithfulText infoTip(Ctl(txtInfoTip).Text());
    const modINI::FaithfulText index(DecimalText(modIcon::SelectedIconIndex));

    const std::wstring& iniPath = ini.Text();
    const DWORD attributes = AttributesOf(iniPath);
    // Explorer's Customize tab writes IconResource, which current Windows
    // reads before IconFile and IconIndex: left alone, it would go on
    // showing the old icon.
    const bool explorerIcon = modINI::HoldsKey(ExistingText(iniPath, attributes), kSection, L"IconResource");
    std::optional<LiftedAttributes> lifted;
    if (IsFile(attributes)) lifted.emplace(iniPath, attributes);

    modINI::WriteINIValue(ini, kSection, L"IconFile", iconFile);
    modINI::WriteINIValue(ini, kSection, L"IconIndex", index);
    if (explorerIcon)
        modINI::WriteINIValue(ini, kSection, L"IconResource",
                              modINI::FaithfulText(iconFile.Text() + L"," + index.Text()));
    if (!infoTip.Text().empty()) modINI::WriteINIValue(ini, kSection, L"InfoTip", infoTip);
    services::SetAttributes(FolderPath, FILE_ATTRIBUTE_SYSTEM);
    services::SetAttributes(iniPath, FILE_ATTRIBUTE_HIDDEN);
    if (lifted) lifted->Replaced();
}

void frmIconChanger::ResetCustomisation(const modINI::ProfileFile& ini) {
    const std::wstring& iniPath = ini.Text();
    const DWORD attributes = AttributesOf(iniPath);
    const std::wstring content = ExistingText(iniPath, attributes);
    if (!content.empty() && !modINI::HoldsOnly(content, kSection, kIconKeys)) {
        // The file carries settings this program did not make (a localised
        // name, another tool's keys): take out just the icon keys and leave
        // the file, its attributes and the folder as they are.
        LiftedAttributes lifted(iniPath, attributes);
        for (const wchar_t* key : kIconKeys) modINI::DeleteINIValue(ini, kSection, key);
        return;
    }
    // Clearing the file's attributes first makes a hidden or system
    // desktop.ini visible to the look-up and lifts read-only before deletion.
    services::SetAttributes(iniPath, 0);
    services::SetAttributes(FolderPath, 0);
    if (DesktopIniExists(iniPath)) services::RemoveFile(iniPath);
}

bool frmIconChanger::DesktopIniExists(const std::wstring& iniPath) {
    try {
        return !services::FindPlainFile(iniPath).empty();
    } catch (const PlatformError&) {
        return false;
    }
}

void frmIconChanger::chkReset_Click() {
    if (Ctl(chkReset).Checked()) {
        Enter(states::kResetEntered);
        Ctl(txtInfoTip).SetText(L"");
        // The icon chosen before is not what Apply will do now.
        Picture(picIcon).Clear();
        previewShowsChoice_ = false;
    } else {
        // The icon must be chosen again.
        Enter(states::kResetLeft);
    }
}
