#include "about/SysInfo.h"

#include <array>
#include <cstdio>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Redirector.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

// Where Windows records the tool: first its full path, then its folder.
constexpr wchar_t kToolPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kToolPathValue[] = L"PATH";
constexpr wchar_t kToolFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kToolFolderValue[] = L"MSINFO";
constexpr wchar_t kToolFileName[] = L"\\MSINFO32.EXE";

// Read rights only: a standard user may read these keys under HKLM but not
// write them, so asking for more would make the look-up fail for them.
constexpr REGSAM kKeyAccess = KEY_QUERY_VALUE;

constexpr DWORD kBufferSize = 1024;

}  // namespace

bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal,
                 REGSAM view) {
    const std::string keyName = ToAnsi(KeyName);
    const std::string valueName = ToAnsi(SubKeyRef);

    // Owned only once opened: a failed open may leave anything in `opened`.
    HKEY opened = nullptr;
    if (platform().RegOpenKeyExA(KeyRoot, keyName.c_str(), 0, kKeyAccess | view, &opened) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    const UniqueRegistryKey key(opened);

    std::array<BYTE, kBufferSize> buffer{};
    DWORD size = kBufferSize;
    DWORD type = REG_NONE;
    if (platform().RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, buffer.data(), &size) !=
        ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    // The terminating-zero rule looks at the last byte of the data; an empty
    // value has none, and a size beyond the buffer would read past it.
    if (size == 0 || size > kBufferSize) throw PlatformError("RegQueryValueExA", ERROR_INVALID_DATA);

    // A string stored with its terminating zero loses exactly that zero; one
    // stored without it keeps every byte. Counting in bytes, before the code
    // page conversion, keeps this right for double-byte code pages too.
    const DWORD length = buffer[size - 1] == 0 ? size - 1 : size;

    if (type == REG_SZ) {
        KeyVal = FromAnsi(std::string(reinterpret_cast<const char*>(buffer.data()), length));
    } else if (type == REG_DWORD) {
        // The stored bytes, last first: the most significant byte leads. The
        // text is kept as "&h" and its digits, never read back as a number,
        // so that every byte shows exactly as stored.
        std::wstring digits;
        for (DWORD i = length; i > 0; --i) digits += HexByte(buffer[i - 1]);
        KeyVal = L"&h" + digits;
    }
    return true;
}

namespace {

// The tool one location names (its value, then `fileName`), as this program
// must start it. The value comes from this program's own registry view and,
// for a 32-bit program on 64-bit Windows, from the 64-bit view when the own
// view lacks it or names a file that is gone (left by a 32-bit tool since
// removed): a 64-bit Windows may record the tool there alone.
bool GetTool(const wchar_t* keyName, const wchar_t* valueName, const wchar_t* fileName, std::wstring& tool,
             bool wow64) {
    std::wstring value;
    const bool own = GetKeyValue(HKEY_LOCAL_MACHINE, keyName, valueName, value);
    if (own) tool = redirector::ProgramToStart(value + fileName);
    if (!wow64 || (own && services::HasPlainFile(tool))) return own;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, keyName, valueName, value, KEY_WOW64_64KEY)) return own;
    tool = redirector::ProgramToStart(value + fileName);
    return true;
}

// True when the tool was found and started.
bool FindAndStartTool() {
    const bool wow64 = redirector::Active();
    std::wstring path;
    // Location 1 is started as found, location 2 only when its folder holds
    // the tool. Its folder as stored: one with a trailing backslash gives two.
    if (!GetTool(kToolPathKey, kToolPathValue, L"", path, wow64) &&
        (!GetTool(kToolFolderKey, kToolFolderValue, kToolFileName, path, wow64) ||
         services::FindPlainFile(path).empty()))
        return false;
    // Started in its own folder rather than ours: a child that inherits our
    // current folder holds it open (a USB stick then cannot be ejected).
    services::StartProgram(path, SW_SHOWNORMAL, redirector::FolderToStartIn(path));
    return true;
}

}  // namespace

void StartSysInfo() {
    bool started = false;
    try {
        started = FindAndStartTool();
    } catch (const std::exception&) {
        // A path that will not start, an empty value, a name the code page
        // cannot carry: the user hears the same as when nothing was found.
    }
    if (!started) services::MsgBox(L"Information Systeme introuvable !");
}
