// The registry calls of the seam: advapi32's own, bound on first use, so a
// plain start does not load it.
#include "platform/Declared.h"
#include "platform/Platform.h"

LSTATUS Platform::RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY)> fn{declared::advapi32, "RegOpenKeyExA"};
    return (*fn)(root, subKey, options, access, key);
}

LSTATUS Platform::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                   DWORD* size) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)> fn{declared::advapi32,
                                                                                         "RegQueryValueExA"};
    return (*fn)(key, valueName, reserved, type, data, size);
}

LSTATUS Platform::RegCloseKey(HKEY key) {
    static Declared<LSTATUS(WINAPI*)(HKEY)> fn{declared::advapi32, "RegCloseKey"};
    return (*fn)(key);
}

LSTATUS Platform::RegCreateKeyExW(HKEY root, const wchar_t* subKey, REGSAM access, HKEY* key) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                                     LPDWORD)>
        fn{declared::advapi32, "RegCreateKeyExW"};
    return (*fn)(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key, nullptr);
}

LSTATUS Platform::RegOpenKeyExW(HKEY root, const wchar_t* subKey, REGSAM access, HKEY* key) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY)> fn{declared::advapi32, "RegOpenKeyExW"};
    return (*fn)(root, subKey, 0, access, key);
}

LSTATUS Platform::RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD* type, BYTE* data, DWORD* size) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)> fn{declared::advapi32,
                                                                                          "RegQueryValueExW"};
    return (*fn)(key, valueName, nullptr, type, data, size);
}

LSTATUS Platform::RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD type, const BYTE* data, DWORD size) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)> fn{declared::advapi32,
                                                                                         "RegSetValueExW"};
    return (*fn)(key, valueName, 0, type, data, size);
}

LSTATUS Platform::RegDeleteTreeW(HKEY root, const wchar_t* subKey) {
    static Declared<LSTATUS(WINAPI*)(HKEY, LPCWSTR)> fn{declared::advapi32, "RegDeleteTreeW"};
    return (*fn)(root, subKey);
}
