#pragma once
#include <string>
#include <vector>

// The arguments that follow the program's name on `commandLine`, split by
// Windows' own rules (CommandLineToArgvW), as Explorer and the command
// prompt quote them. A quoted path's closing backslash is kept: those rules
// read `"C:\"` as `C:"`, and no path holds a quote. An empty argument
// (`""`) is no argument. Shell32, which splits them, is loaded only when
// something follows the name. Raises PlatformError when the line cannot be
// split.
std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine);
