#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Platform.h"

// What the file system says the file or folder open in `handle` is: its
// volume and its id there (128 bits where the volume gives them, ReFS's
// 64-bit index being no identity there). None where it cannot say, or gives
// an id that names every file alike: a network file system may answer 0,
// and all ones means "none".
std::optional<Platform::FileId> IdentityOf(HANDLE handle);

// True when `a` and `b` reach the same file or folder, however each is spelt
// (an 8.3 name, another letter case, a junction or a mapped drive on the
// way): compared by their identities. Where either has none, by the paths,
// in any letter case.
bool SameFile(const std::wstring& a, const std::wstring& b);

// True when `path` lies inside `folder` at any depth, compared as SameFile
// compares: each folder above `path` in turn against `folder`.
bool IsInside(const std::wstring& path, const std::wstring& folder);
