#pragma once
#include <string>

// True when `folder` is one of Windows' known folders, whose desktop.ini
// Windows itself writes. Compared by what the file system says the folder
// is (its volume and file index), not by how it is spelt: an 8.3 name, a
// junction or a mapped drive reaches the same folder by another path. A
// folder that cannot be opened is compared by its path, in any letter case.
// Raises PlatformError when Windows cannot list its known folders.
bool IsKnownFolder(const std::wstring& folder);
