#pragma once
#include <windows.h>

// For its lifetime, a drive without its medium (a card reader, a DVD drive)
// answers this thread's file calls with a failure instead of Windows'
// "insert a disk" box, which would stop the window until someone answers.
class QuietDrives {
public:
    QuietDrives() { SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &previous_); }
    ~QuietDrives() { SetThreadErrorMode(previous_, nullptr); }
    QuietDrives(const QuietDrives&) = delete;
    QuietDrives& operator=(const QuietDrives&) = delete;

private:
    DWORD previous_ = 0;
};
