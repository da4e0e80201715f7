#pragma once
#include <windows.h>

#include <string>

// What the program reads of its own VS_VERSIONINFO resource.
struct VersionResource {
    std::wstring productName;
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Parses the version resource of `module` in place. Reading the resource
// directly spares loading version.dll for three numbers and a name. Raises
// PlatformError when the module has no well-formed version resource.
VersionResource ReadVersionResource(HMODULE module);
