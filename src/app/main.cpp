#include <windows.h>
#include <commctrl.h>

#include "app/frmIconChanger.h"

namespace {

// Load DLLs from System32 only, so a planted DLL beside the program or in the
// current folder is never picked up. Windows 7 has the call only with
// KB2533623, so it is looked up rather than imported.
void RestrictDllSearch() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        frmIconChanger form;
        form.Show();
        return Form::RunMessageLoop();
    } catch (const std::exception& failure) {
        ReportUnhandledFailure(failure);
        return 1;
    }
}
