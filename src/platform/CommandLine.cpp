#include "platform/CommandLine.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <utility>

#include "platform/Declared.h"
#include "platform/PlatformError.h"

namespace {

struct LocalDeleter {
    void operator()(wchar_t** memory) const { LocalFree(memory); }
};

// Where the program's name ends: at its closing quote when it starts with
// one, else at the first blank (the rule CommandLineToArgvW keeps for it).
const wchar_t* AfterProgramName(const wchar_t* line) {
    if (*line == L'"') {
        const wchar_t* close = std::wcschr(line + 1, L'"');
        return close ? close + 1 : line + std::wcslen(line);
    }
    while (*line && *line != L' ' && *line != L'\t') ++line;
    return line;
}

}  // namespace

std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine) {
    const wchar_t* rest = AfterProgramName(commandLine);
    if (rest[std::wcsspn(rest, L" \t")] == L'\0') return {};

    static Declared<LPWSTR*(WINAPI*)(LPCWSTR, int*)> split{declared::shell32, "CommandLineToArgvW"};
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalDeleter> argv((*split)(commandLine, &count));
    if (!argv) ThrowLastError("CommandLineToArgvW");
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i) {
        std::wstring argument = argv.get()[i];
        // `""` names nothing: a shortcut or script whose %1 was empty.
        if (argument.empty()) continue;
        if (argument.size() > 1 && argument.find(L'"') == argument.size() - 1) argument.back() = L'\\';
        arguments.push_back(std::move(argument));
    }
    return arguments;
}
