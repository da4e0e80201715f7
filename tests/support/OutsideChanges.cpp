#include "support/OutsideChanges.h"

#include "platform/Handles.h"

PlantedFile::PlantedFile(const std::wstring& path, const std::string& bytes) : path_(path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    planted_ = true;  // ours from here on, even half written
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

PlantedFile::~PlantedFile() {
    if (planted_) DeleteFileW(path_.c_str());
}

KeptCurrentFolder::KeptCurrentFolder() : folder_(Now()) {}

KeptCurrentFolder::~KeptCurrentFolder() { SetCurrentDirectoryW(folder_.c_str()); }

std::wstring KeptCurrentFolder::Now() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}
