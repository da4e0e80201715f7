#pragma once
#include <windows.h>

#include <string>

// Finds the system-information tool through the registry and starts it, or
// tells the user "Information Systeme introuvable !". Every failure on the
// way ends in that one message. A 32-bit program on 64-bit Windows also
// reads the 64-bit registry view and reaches System32 through Sysnative.
void StartSysInfo();

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` as text
// into `KeyVal` (which callers pass empty). True when the key was opened and
// the value read; false, with `KeyVal` emptied, when either failed. Strings
// come back as stored, without their terminating zero; a 32-bit number as
// "&h" and its bytes in hexadecimal, most significant first. A value of any
// other type is read but leaves `KeyVal` as it was. An empty value (size 0)
// and text the ANSI code page cannot carry raise PlatformError; the key is
// closed before the call returns, whatever happened. `view` picks a registry
// view (KEY_WOW64_64KEY); 0 reads the program's own.
bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal,
                 REGSAM view = 0);
