#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/UnhandledFailure.h"
#include "app/frmIconChanger.h"
#include "platform/CommandLine.h"
#include "platform/Declared.h"
#include "ui/MessageLoop.h"

namespace {

// Windows 7 has it only with KB2533623.
Declared<BOOL(WINAPI*)(DWORD)> setDefaultDllDirectories{declared::kernel32, "SetDefaultDllDirectories"};

// Load DLLs from System32 only, so a planted DLL beside the program or in the
// current folder is never picked up.
void RestrictDllSearch() {
    if (auto set = setDefaultDllDirectories.IfPresent()) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

}  // namespace

// The C++ runtime's own handler for an exception nobody catches prints its
// type, demangled, on a console this program does not have: its demangler
// and the printf family behind it weigh over 80 KiB of the exe. Every
// handler of the program catches what it can meet (ReportUnhandledFailure
// tells the rest), so this one only ends the program, as the runtime's does
// after printing.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Form::SetFailureReport(&ReportUnhandledFailure);
    try {
        frmIconChanger form;
        form.Show();
        // A failure here is told and the window stays, as at start.
        try {
            form.TakeHandedArguments(CommandLineArguments(GetCommandLineW()));
        } catch (const std::exception& failure) {
            ReportUnhandledFailure(failure);
        }
        return RunMessageLoop();
    } catch (const std::exception& failure) {
        ReportUnhandledFailure(failure);
        return 1;
    }
}
