#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "modules/modINI.h"

// The way back: the icon and info-tip values Apply replaces in a folder's
// desktop.ini, kept so that reset can give the folder back what it had
// (Windows' own icon for Documents, the icon chosen in Explorer's Customize
// tab) rather than no icon at all.
//
// They are kept in desktop.ini itself, in a section of the program's own:
// they travel with the folder when it is copied, moved or restored, and go
// when the file goes; a second file or a registry entry could outlive the
// folder or be lost without it. The profile format cannot say "this key was
// not there", so the section's `Saved` key lists the keys that were, each
// kept under its own name; a key it does not list is taken out again. Its
// `Folder` key lists the folder's marks ("system", "read-only").
namespace wayback {

inline constexpr wchar_t kShellSection[] = L".ShellClassInfo";

// The keys Apply writes or keeps in step, and so the ones reset takes out or
// puts back: the three this program writes, and Explorer's IconResource.
inline constexpr const wchar_t* kIconKeys[] = {L"IconFile", L"IconIndex", L"IconResource", L"InfoTip"};
// The keys this program writes: a file that holds nothing else is its own
// (or just like it) in any folder, Windows' own too.
inline constexpr const wchar_t* kOurKeys[] = {L"IconFile", L"IconIndex", L"InfoTip"};

// The edits that keep the icon keys of `content` (an existing desktop.ini),
// before Apply replaces them, and whether the folder was marked system or
// read-only (of `folderAttributes`): Explorer reads desktop.ini only in a
// folder marked so, and a folder that was not must not come alive after a
// reset. None when the way back is there already (it holds what the folder
// had before the first Apply), and none for a file that holds nothing but
// the keys this program writes, unless `inKnownFolder`: a file Windows
// wrote in its own folder gets back whatever keys it had. Raises Refusal
// when a value cannot be written back exactly.
std::vector<modINI::Edit> Keep(const std::wstring& content, DWORD folderAttributes,
                               const std::function<bool()>& inKnownFolder);

// What reset gives back: the edits that give the icon keys the values kept
// in `content` and take the way back out, and the folder's marks (system,
// read-only) as they were before the first Apply; none where an earlier
// version kept no marks.
struct Return {
    std::vector<modINI::Edit> edits;
    std::optional<DWORD> folderMarks;
};
// Nothing when `content` keeps no way back. Read as leniently as a copied,
// merged or hand-edited section needs: names in any letter case and with
// blanks around them; a listed key with no kept value was not there; of two
// sections, the first, as the profile reader takes it.
std::optional<Return> Back(const std::wstring& content);

// The marks that make Explorer read a folder's desktop.ini: either one.
inline constexpr DWORD kFolderMarks = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

}  // namespace wayback
