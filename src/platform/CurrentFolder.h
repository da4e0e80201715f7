#pragma once
#include <string>

// The process's current folder, put back as it was when this goes. The
// shell's dialogs move it to the folder the user browsed to (GetOpenFileName
// ignores OFN_NOCHANGEDIR, documented so), and a folder left current stays
// open while the program runs: a USB stick holding it could not be ejected.
class KeepCurrentFolder {
public:
    KeepCurrentFolder();
    ~KeepCurrentFolder();
    KeepCurrentFolder(const KeepCurrentFolder&) = delete;
    KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
    std::wstring folder_;
};
