#pragma once
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
// kept under its own name; a key it does not list is taken out again.
namespace wayback {

inline constexpr wchar_t kShellSection[] = L".ShellClassInfo";

// The keys Apply writes or keeps in step, and so the ones reset takes out or
// puts back: the three this program writes, and Explorer's IconResource.
inline constexpr const wchar_t* kIconKeys[] = {L"IconFile", L"IconIndex", L"IconResource", L"InfoTip"};

// The edits that keep the icon keys of `content` (an existing desktop.ini),
// before Apply replaces them. None when the way back is there already (it
// holds what the folder had before the first Apply), and none for a file
// that holds nothing but the keys this program writes. Raises Refusal when a
// value cannot be written back exactly.
std::vector<modINI::Edit> Keep(const std::wstring& content);

// The edits that give the icon keys back the values kept in `content` and
// take the way back out; nothing when `content` keeps none.
std::optional<std::vector<modINI::Edit>> Back(const std::wstring& content);

}  // namespace wayback
