#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Handles.h"

// The two HKLM values that locate the system-information tool, in the test
// prefix's registry. Test programs of both architectures run side by side
// and share them, so one owner at a time holds them; both are removed when
// it takes them and when it lets them go.
class ToolLocations {
public:
    static constexpr const wchar_t* kPathKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static constexpr const wchar_t* kFolderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    // A key of the tests' own for values of every kind.
    static constexpr const wchar_t* kScratchKey = L"SOFTWARE\\Tivrelon Tests";

    ToolLocations();
    ~ToolLocations();
    ToolLocations(const ToolLocations&) = delete;
    ToolLocations& operator=(const ToolLocations&) = delete;

    // Location 1, the tool's full path; location 2, its folder. Stored as
    // ANSI strings with their terminating zero.
    void SetPath(const std::wstring& path);
    void SetFolder(const std::wstring& folder);
    // Any value, its bytes exactly as given. Reports a test failure if the
    // registry refuses it.
    void SetValue(const wchar_t* keyName, const char* valueName, DWORD type, const std::string& bytes);
    void Clear();

private:
    UniqueHandle lock_;
};

// `text` in the ANSI code page, followed by its terminating zero.
std::string ZeroTerminated(const std::wstring& text);

// Location 1 as a 64-bit Windows may hold it for a 32-bit program: written
// with `reg add /reg:64` into the 64-bit registry view alone, while a
// ToolLocations holds the lock. The string the view held there is put back
// when it goes. Reports a test failure if reg.exe refuses it.
class ToolPathIn64BitView {
public:
    explicit ToolPathIn64BitView(const std::wstring& path);
    ~ToolPathIn64BitView();
    ToolPathIn64BitView(const ToolPathIn64BitView&) = delete;
    ToolPathIn64BitView& operator=(const ToolPathIn64BitView&) = delete;

private:
    bool keyExisted_ = false;
    std::optional<std::wstring> saved_;
};
