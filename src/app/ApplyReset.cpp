// Apply and reset: writing the folder's customisation, or taking it away.
#include <shlobj.h>

#include <vector>

#include "app/ControlStates.h"
#include "app/WayBack.h"
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

constexpr wchar_t kErrorPrompt[] = L"Erreur dans la création de l'icône !";
constexpr wchar_t kErrorTitle[] = L"Erreur";
using wayback::kShellSection;

// Windows' own values for folders on OneDrive, which this SDK lacks: "always
// keep on this device" and "free up space".
constexpr DWORD kPinned = 0x00080000, kUnpinned = 0x00100000;
// What SetFileAttributes takes back of what GetFileAttributes gives; the rest
// (directory, reparse point, compressed, ...) is the file system's to say.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | kPinned | kUnpinned;
// What makes Explorer read a folder's desktop.ini: either one.
constexpr DWORD kMarksForExplorer = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder's attributes with `added` and without `removed`, the others
// (hidden, not indexed, OneDrive's pinned or unpinned) as they were.
void ChangeFolderAttributes(const std::wstring& folder, DWORD added, DWORD removed) {
    const DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError("GetFileAttributes");
    services::SetAttributes(folder, ((attributes & kSettable) | added) & ~removed);
}

// Makes `edits` to the existing desktop.ini `before` was taken of and leaves
// its attributes as they were; the file as it was when anything fails.
// Windows refuses the profile writer a hidden, system or read-only file (it
// re-creates the file with CREATE_ALWAYS): the attributes are lifted for the
// writes.
void EditInPlace(const modINI::ProfileFile& ini, services::FileSnapshot& before,
                 const std::vector<modINI::Edit>& edits) {
    services::SetAttributes(ini.Text(), 0);
    modINI::WriteAll(ini, edits);
    services::SetAttributes(ini.Text(), before.Attributes() & kSettable);
    before.Keep();
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
    // removed) or been replaced by one without that icon, and a click that
    // reached a disabled Apply brings none at all: never write a key that
    // names no icon.
    if (IconFilePath.empty() || !IsFile(AttributesOf(IconFilePath)) ||
        !modIcon::HoldsIcon(IconFilePath, modIcon::SelectedIconIndex))
        throw Refusal(Refusal::NoIconFile);
    // Explorer is a 64-bit program: under WOW64 it must be given the name
    // under which it finds the very file this program previewed. Text that
    // cannot reach the file exactly is refused here, before anything changes.
    const modINI::FaithfulText iconFile(redirector::ForNativeReaders(IconFilePath));
    const modINI::FaithfulText infoTip(Ctl(txtInfoTip).Text());
    const modINI::FaithfulText index(DecimalText(modIcon::SelectedIconIndex));

    const std::wstring& iniPath = ini.Text();
    services::FileSnapshot before(iniPath);
    const std::wstring content = modINI::ProfileText(before.Bytes());
    std::vector<modINI::Edit> edits;
    edits.push_back({kShellSection, L"IconFile", iconFile});
    edits.push_back({kShellSection, L"IconIndex", index});
    // Explorer's Customize tab, and Windows itself in its own folders, write
    // IconResource, which current Windows reads before IconFile and
    // IconIndex: left alone, it would go on showing the old icon.
    if (modINI::ValueOf(content, kShellSection, L"IconResource"))
        edits.push_back({kShellSection, L"IconResource", modINI::FaithfulText(iconFile.Text() + L"," + index.Text())});
    if (!infoTip.Text().empty()) edits.push_back({kShellSection, L"InfoTip", infoTip});
    for (modINI::Edit& keep : wayback::Keep(content)) edits.push_back(std::move(keep));

    // Never created through whatever stands in its place: a link that leads
    // nowhere looks like no file at all.
    if (before.Existed()) {
        services::SetAttributes(iniPath, 0);
    } else {
        services::CreateNewFile(iniPath);
        before.Created();
    }
    modINI::WriteAll(ini, edits);
    // A new file is hidden; Windows' own files are system files too, and stay so.
    services::SetAttributes(iniPath, FILE_ATTRIBUTE_HIDDEN | (before.Existed() ? before.Attributes() & FILE_ATTRIBUTE_SYSTEM : 0));
    ChangeFolderAttributes(FolderPath, FILE_ATTRIBUTE_SYSTEM, 0);
    before.Keep();
}

void frmIconChanger::ResetCustomisation(const modINI::ProfileFile& ini) {
    const std::wstring& iniPath = ini.Text();
    services::FileSnapshot before(iniPath);
    const std::wstring content = modINI::ProfileText(before.Bytes());
    // Applied here before: the folder gets back what it had.
    if (const auto back = wayback::Back(content)) {
        EditInPlace(ini, before, *back);
        return;
    }
    const bool ours = modINI::HoldsOnly(content, kShellSection, wayback::kIconKeys);
    if (!content.empty() && !ours) {
        // Windows' own desktop.ini in its known folders holds the folder's
        // own icon and tip: with nothing of ours to take back, the folder
        // already shows its default icon.
        if (platform().IsKnownFolder(FolderPath)) return;
        // The file carries settings this program did not make (a localised
        // name, another tool's keys): take out just the icon keys and leave
        // the file, its attributes and the folder as they are.
        std::vector<modINI::Edit> edits;
        for (const wchar_t* key : wayback::kIconKeys) edits.push_back({kShellSection, key, std::nullopt});
        EditInPlace(ini, before, edits);
        return;
    }
    // Taken away step by step: a step that fails leaves what the steps
    // before it did, as ever.
    before.Keep();
    // Clearing the file's attributes first makes a hidden or system
    // desktop.ini visible to the look-up and lifts read-only before deletion.
    // The folder keeps what it had besides (hidden, not indexed, pinned).
    services::SetAttributes(iniPath, 0);
    ChangeFolderAttributes(FolderPath, 0, kMarksForExplorer);
    if (DesktopIniExists(iniPath)) services::RemoveFile(iniPath);
}

bool frmIconChanger::DesktopIniExists(const std::wstring& iniPath) {
    return services::HasPlainFile(iniPath);
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
