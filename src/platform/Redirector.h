#pragma once
#include <string>

// A 32-bit program on 64-bit Windows sees SysWOW64 under the name System32
// and its own view of the registry (WOW64). These name a file of the system
// folder as the program must, to reach the file it means.
namespace redirector {

// True when this program runs under WOW64.
bool Active();

// A program file to start: under System32, through Sysnative when the file
// is in the real System32 and not in this program's view of it; any other
// path as it is.
std::wstring ProgramToStart(const std::wstring& path);

// The current folder to start `program` (as ProgramToStart names it) in:
// its own folder, or the Windows folder for one started through Sysnative,
// a name a 64-bit program does not have.
std::wstring FolderToStartIn(const std::wstring& program);

// A file this program sees, named for a 64-bit reader (Explorer): under
// System32, kept when the real System32 holds the file too, otherwise its
// SysWOW64 path, the one name under which a 64-bit program finds this same
// file; under Sysnative, its System32 path, since a 64-bit reader has no
// Sysnative; any other path as it is.
std::wstring ForNativeReaders(const std::wstring& path);

// True when `folder` is System32 or lies under it while this program runs
// under WOW64: what it reaches by that name is SysWOW64's folder, not the
// one Explorer shows there.
bool ShowsAnotherFolder(const std::wstring& folder);

}  // namespace redirector
