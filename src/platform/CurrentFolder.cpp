#include "platform/CurrentFolder.h"

#include <windows.h>

KeepCurrentFolder::KeepCurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    folder_.resize(size);
    const DWORD n = size ? GetCurrentDirectoryW(size, folder_.data()) : 0;
    folder_.resize(n < size ? n : 0);
}

KeepCurrentFolder::~KeepCurrentFolder() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
}
