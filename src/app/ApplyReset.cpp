// Apply and reset: writing the folder's customisation, or taking it away.
#include <shlobj.h>

#include <vector>

#include "app/ControlStates.h"
#include "app/MadeIconFile.h"
#include "app/Refusals.h"
#include "app/WayBack.h"
#include "app/frmIconChanger.h"
#include "modules/IniEncoding.h"
#include "modules/modINI.h"
#include "modules/modIcon.h"
#include "platform/KnownFolder.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/QuietDrives.h"
#include "platform/Refusal.h"
#include "platform/Redirector.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr wchar_t kErrorPrompt[] = L"Erreur dans la création de l'icône !";
constexpr wchar_t kErrorTitle[] = L"Erreur";
// A reset that finds only Windows' own desktop.ini in one of its folders.
constexpr wchar_t kWindowsOwnFile[] =
    L"Ce dossier est un dossier de Windows, et son desktop.ini est celui de Windows : Tivrelon n'y trouve rien "
    L"à retirer et le laisse tel quel.";
using wayback::kShellSection;

// Windows' own values for folders on OneDrive, which this SDK lacks: "always
// keep on this device" and "free up space".
constexpr DWORD kPinned = 0x00080000, kUnpinned = 0x00100000;
// What SetFileAttributes takes back of what GetFileAttributes gives; the rest
// (directory, reparse point, compressed, ...) is the file system's to say.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | kPinned | kUnpinned;
using wayback::kFolderMarks;

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD FolderAttributes(const std::wstring& folder) {
    const DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError("GetFileAttributes");
    return attributes;
}

// The folder's attributes with `added` and without `removed`, the others
// (hidden, not indexed, OneDrive's pinned or unpinned) as they were.
void ChangeFolderAttributes(const std::wstring& folder, DWORD added, DWORD removed) {
    services::SetAttributes(folder, ((FolderAttributes(folder) & kSettable) | added) & ~removed);
}

// Makes `edits` to desktop.ini, whose text was `content` when `before` was
// taken of it; a file that was not there is created. Windows refuses the
// profile writer a hidden, system or read-only file (it re-creates the file
// with CREATE_ALWAYS): an existing file's attributes are lifted, and it gets
// `attributes` as soon as the writer is done, before the read-back: a
// program ended meanwhile leaves it hidden. A file that Windows' writer
// would misread, or that must hold a value the ANSI code page cannot, is
// first given its text in the one form it edits as Unicode. Whatever fails,
// `before` puts the file back unless the caller keeps it.
void EditFile(const modINI::ProfileFile& ini, services::FileSnapshot& before, const std::wstring& content,
              const std::vector<modINI::Edit>& edits, DWORD attributes) {
    const std::wstring& path = ini.Text();
    if (before.Existed()) {
        services::SetAttributes(path, 0);
    } else {
        // Never created through whatever stands in its place: a link that
        // leads nowhere looks like no file at all.
        services::CreateNewFile(path);
        before.Created();
    }
    const auto form = modINI::FormForTheWriter(before.Bytes(), modINI::NeedsUnicode(edits));
    if (form) services::ReplaceBytes(path, *form);
    modINI::WriteAll(ini, content, edits, modINI::IsMarkedUtf16(form.value_or(before.Bytes())),
                     [&] { services::SetAttributes(path, attributes); });
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
    // The card or disc may have gone since the folder was chosen.
    const QuietDrives quiet;
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
            // The icon file made of a picture goes with the customisation
            // that names it.
            madeicon::Change made(FolderPath, madeicon::TextOf(ini.Text()));
            ResetCustomisation(ini);
            made.KeepUnlessNamedIn(madeicon::TextOf(ini.Text()));
        }
        NotifyShell(FolderPath);
    } catch (const Refusal& refusal) {
        // Half a surrogate pair (a pasted tip): no file could hold it; say so.
        if (refusal.Why() != Refusal::UnpairedSurrogate || !refusals::Tell(refusal.Why()))
            services::MsgBox(kErrorPrompt, services::kExclamation, kErrorTitle);
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
    // A chosen picture's icon file was made when it was chosen.
    const std::string& madeIcon = modIcon::chosenIcon.MadeIcon();
    if (madeIcon.empty() && (IconFilePath.empty() || !IsFile(AttributesOf(IconFilePath)) ||
                             !modIcon::HoldsIcon(IconFilePath, modIcon::SelectedIconIndex)))
        throw Refusal(Refusal::NoIconFile);
    const std::wstring& iniPath = ini.Text();
    services::FileSnapshot before(iniPath);
    const std::wstring content = modINI::ProfileText(before.Bytes());
    madeicon::Change made(FolderPath, content, madeIcon);
    // Explorer is a 64-bit program: under WOW64 it must be given the name
    // under which it finds the very file this program previewed. Text that
    // cannot reach the file exactly is refused here, before anything changes.
    const modINI::FaithfulText iconFile(madeIcon.empty() ? redirector::ForNativeReaders(IconFilePath) : made.Name());
    const modINI::FaithfulText infoTip(Ctl(txtInfoTip).Text());
    const modINI::FaithfulText index(DecimalText(modIcon::SelectedIconIndex));

    std::vector<modINI::Edit> edits;
    edits.push_back({kShellSection, L"IconFile", iconFile});
    edits.push_back({kShellSection, L"IconIndex", index});
    // Explorer's Customize tab, and Windows itself in its own folders, write
    // IconResource, which current Windows reads before IconFile and
    // IconIndex: left alone, it would go on showing the old icon.
    if (modINI::ValueOf(content, kShellSection, L"IconResource"))
        edits.push_back({kShellSection, L"IconResource", modINI::FaithfulText(iconFile.Text() + L"," + index.Text())});
    if (!infoTip.Text().empty()) edits.push_back({kShellSection, L"InfoTip", infoTip});
    const DWORD folderAttributes = FolderAttributes(FolderPath);
    const auto inKnownFolder = [&] { return before.Existed() && IsKnownFolder(FolderPath); };
    for (modINI::Edit& keep : wayback::Keep(content, folderAttributes, inKnownFolder)) edits.push_back(std::move(keep));

    made.Make();
    // A new file is hidden; Windows' own files are system files too, and stay so.
    const DWORD system = before.Existed() ? before.Attributes() & FILE_ATTRIBUTE_SYSTEM : 0;
    EditFile(ini, before, content, edits, FILE_ATTRIBUTE_HIDDEN | system);
    ChangeFolderAttributes(FolderPath, FILE_ATTRIBUTE_SYSTEM, 0);
    made.Keep();
    before.Keep();
}

void frmIconChanger::ResetCustomisation(const modINI::ProfileFile& ini) {
    const std::wstring& iniPath = ini.Text();
    services::FileSnapshot before(iniPath);
    const std::wstring content = modINI::ProfileText(before.Bytes());
    // Applied here before: the folder gets back what it had, its marks too.
    if (const auto back = wayback::Back(content)) {
        EditFile(ini, before, content, back->edits, before.Attributes() & kSettable);
        if (const auto marks = back->folderMarks) ChangeFolderAttributes(FolderPath, *marks, kFolderMarks & ~*marks);
        before.Keep();
        return;
    }
    // Without the way back, a file of nothing but the keys Apply writes is
    // this program's, in Windows' known folders too (where Apply found no
    // file). Any other file there is Windows' own, with the folder's own
    // icon and tip: it stays, and the user is told why.
    if (before.Existed() && !modINI::HoldsOnly(content, kShellSection, wayback::kOurKeys) &&
        IsKnownFolder(FolderPath)) {
        services::MsgBox(kWindowsOwnFile, services::kInformation);
        return;
    }
    if (!content.empty() && !modINI::HoldsOnly(content, kShellSection, wayback::kIconKeys)) {
        // The file carries settings this program did not make (a localised
        // name, another tool's keys): take out just the icon keys and leave
        // the file, its attributes and the folder as they are.
        std::vector<modINI::Edit> edits;
        for (const wchar_t* key : wayback::kIconKeys) edits.push_back({kShellSection, key, std::nullopt});
        EditFile(ini, before, content, edits, before.Attributes() & kSettable);
        before.Keep();
        return;
    }
    // All or nothing: the file is opened for its deletion before anything
    // changes (another program holding it without delete sharing refuses
    // that), and marked for it last, when nothing else can fail; a step
    // that fails before leaves `before` to put the file's attributes back.
    // Clearing them makes a hidden or system desktop.ini visible to the
    // look-up and lifts read-only, which would stop the deletion. The folder
    // keeps what it had besides (hidden, not indexed, pinned), and gets its
    // marks back if the mark is refused.
    services::PendingDeletion deletion(iniPath);
    services::SetAttributes(iniPath, 0);
    const DWORD folderAttributes = FolderAttributes(FolderPath);
    ChangeFolderAttributes(FolderPath, 0, kFolderMarks);
    try {
        if (DesktopIniExists(iniPath)) deletion.Mark();
    } catch (const std::exception&) {
        services::TrySetAttributes(FolderPath, folderAttributes & kSettable);
        throw;
    }
    deletion.Keep();
    before.Keep();
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
