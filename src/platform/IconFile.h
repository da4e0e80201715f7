#pragma once
#include <string>

// True when `path` is an icon or cursor file (by its header) whose directory
// does not fit the file: cut short, or an image placed past its end. The
// platform's icon extraction trusts that directory and reads past the end of
// such a file (Wine's crashes doing so), so nothing is extracted from one.
// Files of other kinds, and files that cannot be read, are left to the
// extraction to judge: false.
bool IsDamagedIconFile(const std::wstring& path);
