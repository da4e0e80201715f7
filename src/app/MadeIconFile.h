#pragma once
#include <optional>
#include <string>

#include "platform/Services.h"

// The icon file Apply makes of a chosen picture, in the folder itself:
// desktop.ini names it relative to the folder, so the icon moves and is
// copied with the folder. It is named for what it holds, "Tivrelon-" and
// eight hexadecimal digits: another picture gets another name, and
// Explorer, which keeps the icons it has drawn by file name, never shows the
// earlier picture under it.
//
// A file is the program's own when the folder's desktop.ini names it so (a
// name without a folder) and its bytes end with the program's mark; any other
// file, whatever its name, is the user's and is never overwritten or
// deleted. Apply replaces the program's own file, whatever it writes
// instead; reset takes it away with the customisation that names it.
namespace madeicon {

// Apply's and reset's step for those files, all or nothing with the rest.
class Change {
public:
    // `content`: the folder's desktop.ini text now; `icon`: the bytes of the
    // icon file to make, empty when Apply writes an icon of a file
    // elsewhere, and for reset. Opens the earlier file for its deletion
    // first: one held open by another program refuses that, before anything
    // changes.
    Change(std::wstring folder, const std::wstring& content, const std::string& icon = {});
    // Unless kept: the new file deleted, the earlier one left as it was.
    ~Change();
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

    // The new file's name, relative to the folder: a name no file there has.
    const std::wstring& Name() const { return name_; }
    // Writes the new file, hidden and system as desktop.ini.
    void Make();
    // Once the rest has landed: the new file stays, the earlier one goes.
    // Raises PlatformError when Windows refuses to delete it (read-only),
    // and the new file goes instead.
    void Keep();
    // Reset's: the earlier file goes unless `content`, the text of
    // desktop.ini after the reset, still names it (a reset that left the
    // customisation as it was).
    void KeepUnlessNamedIn(const std::wstring& content);

private:
    std::wstring InFolder(const std::wstring& name) const;

    std::wstring folder_, name_, earlier_;
    const std::string& icon_;
    std::optional<services::PendingDeletion> deletion_;
    bool created_ = false;
};

// The text of the desktop.ini at `path`; none where there is none to read.
std::wstring TextOf(const std::wstring& path);

}  // namespace madeicon
