#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Handles.h"

// The two HKLM values that locate the system-information tool. Test
// programs of both architectures run side by side and share them, so one
// owner at a time holds them. It removes both when it takes them, and puts
// back what the machine had (in both registry views) when it lets them go,
// however the test ended: they are the machine's own registration.
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
    // Location 1 as a 64-bit Windows may hold it for a 32-bit program: in
    // the 64-bit registry view alone.
    void SetPathIn64BitView(const std::wstring& path);
    // Any value, its bytes exactly as given. Reports a test failure if the
    // registry refuses it.
    void SetValue(const wchar_t* keyName, const char* valueName, DWORD type, const std::string& bytes);
    void Clear();

private:
    // One value as the machine had it: absent, or its type and bytes.
    struct Saved {
        REGSAM view;
        const wchar_t* key;
        const wchar_t* name;
        bool keyExisted, valueExisted;
        DWORD type;
        std::string bytes;
    };
    UniqueHandle lock_;
    std::vector<Saved> saved_;
};

// `text` in the ANSI code page, followed by its terminating zero.
std::string ZeroTerminated(const std::wstring& text);
