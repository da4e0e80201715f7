// Reset's deletion of desktop.ini. The extended disposition came with
// Windows 10 1607: the program asks for it, and Windows before says no.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A000002  // Windows 10 1607

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Services.h"

namespace services {

PendingDeletion::PendingDeletion(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_) ThrowLastError("CreateFile");
}

PendingDeletion::~PendingDeletion() {
    if (!marked_ || kept_) return;
    BOOL takenBack = FALSE;
    if (posix_) {
        FILE_DISPOSITION_INFO_EX keep{FILE_DISPOSITION_FLAG_DO_NOT_DELETE};
        takenBack = platform().SetFileInformationByHandle(file_.get(), FileDispositionInfoEx, &keep, sizeof keep);
    } else {
        FILE_DISPOSITION_INFO keep{FALSE};
        takenBack = platform().SetFileInformationByHandle(file_.get(), FileDispositionInfo, &keep, sizeof keep);
    }
    // Still marked: the file goes now, before the caller's snapshot puts it back.
    if (!takenBack) file_.reset();
}

void PendingDeletion::Mark() {
    // The classic mark leaves the name in the folder until every other
    // handle (Explorer's, the indexer's, an antivirus's) closes, and the
    // next Apply would find it in the way; POSIX semantics take the name
    // away when this handle closes.
    FILE_DISPOSITION_INFO_EX posix{FILE_DISPOSITION_FLAG_DELETE | FILE_DISPOSITION_FLAG_POSIX_SEMANTICS};
    posix_ = platform().SetFileInformationByHandle(file_.get(), FileDispositionInfoEx, &posix, sizeof posix);
    // Windows before 10 1607, FAT and network volumes refuse them: the
    // classic mark, whose refusal says what stops the deletion.
    FILE_DISPOSITION_INFO classic{TRUE};
    if (!posix_ &&
        !platform().SetFileInformationByHandle(file_.get(), FileDispositionInfo, &classic, sizeof classic))
        ThrowLastError("SetFileInformationByHandle");
    marked_ = true;
}

}  // namespace services
