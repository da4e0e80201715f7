#pragma once
#include <windows.h>

// A process named `exeName` that process `parent` started and that still
// runs; 0 if none.
DWORD ChildProcess(DWORD parent, const wchar_t* exeName);

// Lets process `pid` end by itself within `graceMs`, then ends it by force,
// and returns once it is gone: a program a test starts ends with the test.
void EndProcess(DWORD pid, DWORD graceMs = 0);
