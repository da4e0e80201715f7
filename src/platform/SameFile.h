#pragma once
#include <string>

// True when `a` and `b` reach the same file or folder, however each is spelt
// (an 8.3 name, another letter case, a junction or a mapped drive on the
// way): compared by what the file system says each one is, its volume and
// its file id. Where either cannot be opened, or its volume gives no usable
// id (a network file system may answer 0), by the paths, in any letter case.
bool SameFile(const std::wstring& a, const std::wstring& b);

// True when `path` lies inside `folder` at any depth, compared as SameFile
// compares: each folder above `path` in turn against `folder`.
bool IsInside(const std::wstring& path, const std::wstring& folder);
