#pragma once
#include <string>

// True when `folder` is one of Windows' known folders, whose desktop.ini
// Windows itself writes. Compared by their paths first, as chosen and as the
// file system gives it after links, 8.3 names and mapped drives, then by what
// the file system says the folder is (its volume and its id there), with the
// known folders on its volume alone: another drive without its medium or an
// unreachable share is never asked. A folder whose identity cannot be read
// is compared by its path only. Raises PlatformError when Windows cannot
// list its known folders.
bool IsKnownFolder(const std::wstring& folder);
