#pragma once
#include <windows.h>

#include <string>

// The process's current folder, set back to what it was when this goes,
// whatever the test did.
class KeptCurrentFolder {
public:
    KeptCurrentFolder() : folder_(Now()) {}
    ~KeptCurrentFolder() { SetCurrentDirectoryW(folder_.c_str()); }
    KeptCurrentFolder(const KeptCurrentFolder&) = delete;
    KeptCurrentFolder& operator=(const KeptCurrentFolder&) = delete;

    const std::wstring& Folder() const { return folder_; }
    static std::wstring Now() {
        std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
        folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
        return folder;
    }

private:
    std::wstring folder_;
};
