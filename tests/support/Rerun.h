#pragma once
#include <windows.h>

#include <string>

// Runs the current test again in a copy of this test program placed in
// `folder` (the program's own folder then differs, as a user's might), and
// answers this thread's messages until it ends. The copy's exit code: 0
// when the test passed there; its failures show with this one's output.
DWORD RerunCurrentTestFrom(const std::wstring& folder);
