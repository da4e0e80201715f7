#include "platform/CommonDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/CurrentFolder.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"

namespace {
// Room for any path Windows can give, long paths included.
constexpr size_t kFileBufferSize = 32768;
}  // namespace

std::wstring OpenDialogFilter(const std::wstring& filter) {
    std::wstring list = filter;
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    // Each string ends with a NUL and the list with one more.
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

void CommonDialog::ShowOpen(HWND owner) {
    const std::wstring filter = OpenDialogFilter(Filter);
    std::vector<wchar_t> file(kFileBufferSize, L'\0');
    FileName.copy(file.data(), std::min(FileName.size(), kFileBufferSize - 1));

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = static_cast<DWORD>(FilterIndex);
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

    const KeepCurrentFolder keep;
    if (!platform().GetOpenFileNameW(&request)) {
        const DWORD error = platform().CommDlgExtendedError();
        if (error != 0) throw PlatformError("GetOpenFileName", error);
        if (CancelError) throw PlatformError("ShowOpen", kCancelled);
        return;
    }
    FileName = file.data();
}
