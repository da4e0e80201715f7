#include "support/Processes.h"

#include <tlhelp32.h>

#include "platform/Handles.h"

DWORD ChildProcess(DWORD parent, const wchar_t* exeName) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent && lstrcmpiW(entry.szExeFile, exeName) == 0) return entry.th32ProcessID;
    return 0;
}

void EndProcess(DWORD pid, DWORD graceMs) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process) return;  // already gone
    if (WaitForSingleObject(process.get(), graceMs) == WAIT_TIMEOUT) TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), INFINITE);
}
