#include "platform/Declared.h"

#include <string>

#include "platform/Text.h"

namespace declared {
DeclaredLibrary kernel32{L"kernel32.dll"};
DeclaredLibrary user32{L"user32.dll"};
DeclaredLibrary shell32{L"shell32.dll"};
DeclaredLibrary comdlg32{L"comdlg32.dll"};
DeclaredLibrary advapi32{L"advapi32.dll"};
DeclaredLibrary ole32{L"ole32.dll"};
DeclaredLibrary oleaut32{L"oleaut32.dll"};
DeclaredLibrary oleacc{L"oleacc.dll"};
}  // namespace declared

namespace {
std::string Narrow(const wchar_t* name) {
    std::string s;
    for (; *name; ++name) s += static_cast<char>(*name);
    return s;
}
}  // namespace

HMODULE DeclaredLibrary::Module() {
    if (module_) return module_;
    module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module_ && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows without the safe-search update rejects the flag; name the
        // System32 path ourselves so the search order still cannot be hijacked.
        wchar_t path[MAX_PATH];
        const UINT n = GetSystemDirectoryW(path, MAX_PATH);
        if (n > 0 && n + 1 + lstrlenW(name_) < MAX_PATH) {
            lstrcatW(path, L"\\");
            lstrcatW(path, name_);
            module_ = LoadLibraryW(path);
        }
    }
    if (!module_) {
        std::string call = "LoadLibrary ";
        call += Narrow(name_);
        ThrowLastError(call.c_str());
    }
    return module_;
}

FARPROC BindDeclared(DeclaredLibrary& library, const char* nameOrOrdinal) {
    FARPROC fn = GetProcAddress(library.Module(), nameOrOrdinal);
    if (!fn) {
        const uintptr_t raw = reinterpret_cast<uintptr_t>(nameOrOrdinal);
        std::string call = "GetProcAddress ";
        if (raw <= 0xFFFF) {
            call += '#';
            call += DecimalAscii(static_cast<long long>(raw));
        } else {
            call += nameOrOrdinal;
        }
        ThrowLastError(call.c_str());
    }
    return fn;
}

FARPROC FindDeclared(DeclaredLibrary& library, const char* name) noexcept {
    try {
        return GetProcAddress(library.Module(), name);
    } catch (const PlatformError&) {
        return nullptr;
    }
}
