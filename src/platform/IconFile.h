#pragma once
#include <string>

// True when `path` is a file of icons whose structure does not fit the file:
// an icon or cursor file whose directory or image headers claim bytes it
// does not hold, or a program or library cut short (its headers or a
// section's data past its end). The platform's icon extraction trusts those
// structures and reads past the end of such a file (Wine's crashes doing so),
// so nothing is extracted from one. Files of other kinds, and files that
// cannot be read, are left to the extraction to judge: false.
bool IsDamagedIconFile(const std::wstring& path);
