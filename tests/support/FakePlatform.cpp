#include "support/FakePlatform.h"

#include <shlobj.h>

#include <algorithm>

#include "platform/Text.h"

namespace {
std::wstring Text(const wchar_t* s) { return s ? s : L""; }
// An "A" call's text as the writer's "W" form gets it; null stays null.
std::optional<std::wstring> Wide(const char* s) { return s ? std::optional(FromAnsi(s)) : std::nullopt; }
const wchar_t* Or(const std::optional<std::wstring>& s) { return s ? s->c_str() : nullptr; }
}  // namespace

FakePlatform::FakePlatform() : override_(*this) {}
FakePlatform::~FakePlatform() = default;

int FakePlatform::MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    messageBoxes.push_back({owner, text, caption, style});
    return messageBoxAnswer;
}

BOOL FakePlatform::DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height) {
    return drawIconEx ? drawIconEx(dc, x, y, icon, width, height) : Platform::DrawIconEx(dc, x, y, icon, width, height);
}

UINT FakePlatform::PrivateExtractIconsW(const wchar_t* file, int index, int width, int height, HICON* icon) {
    return extractIconAtSize ? extractIconAtSize(file, index, width, height, icon)
                             : Platform::PrivateExtractIconsW(file, index, width, height, icon);
}

BOOL FakePlatform::DestroyIcon(HICON icon) { return destroyIcon ? destroyIcon(icon) : Platform::DestroyIcon(icon); }

BOOL FakePlatform::NonClientMetricsForDpi(NONCLIENTMETRICSW* metrics, UINT dpi) {
    return nonClientMetricsForDpi ? nonClientMetricsForDpi(metrics, dpi) : Platform::NonClientMetricsForDpi(metrics, dpi);
}

BOOL FakePlatform::WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                              const char* file) {
    const auto s = Wide(section), k = Wide(key), v = Wide(value), f = Wide(file);
    return WriteProfile(Or(s), Or(k), Or(v), Or(f), false);
}

BOOL FakePlatform::WritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                              const wchar_t* file) {
    return WriteProfile(section, key, value, file, true);
}

BOOL FakePlatform::WriteProfile(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* file,
                                bool wide) {
    profileWrites.push_back({Text(section), Text(key), Text(file), value != nullptr, Text(value), wide});
    if (writeProfile) return writeProfile(section, key, value, file);
    if (windowsProfileRule) {
        const DWORD attributes = GetFileAttributesW(file);
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY))) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    return Platform::WritePrivateProfileStringW(section, key, value, file);
}

BOOL FakePlatform::GetVersionExA(OSVERSIONINFOA* info) {
    return getVersion ? getVersion(info) : Platform::GetVersionExA(info);
}

PIDLIST_ABSOLUTE FakePlatform::SHBrowseForFolderW(BROWSEINFOW* request) {
    return browseForFolder ? browseForFolder(request) : Platform::SHBrowseForFolderW(request);
}

BOOL FakePlatform::SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE item, wchar_t* path, DWORD pathSize) {
    return pathFromIdList ? pathFromIdList(item, path, pathSize) : Platform::SHGetPathFromIDListEx(item, path, pathSize);
}

void FakePlatform::AnswerBrowser(const std::wstring& folder) {
    static ITEMIDLIST_ABSOLUTE item{};
    browseForFolder = [folder](BROWSEINFOW*) { return folder.empty() ? nullptr : &item; };
    pathFromIdList = [folder](PCIDLIST_ABSOLUTE, wchar_t* path, DWORD pathSize) {
        path[folder.copy(path, pathSize - 1)] = L'\0';
        return TRUE;
    };
}

int FakePlatform::PickIconDlgW(HWND owner, wchar_t* path, UINT pathSize, int* index) {
    return pickIconW ? pickIconW(owner, path, pathSize, index) : Platform::PickIconDlgW(owner, path, pathSize, index);
}

bool FakePlatform::ShellPicksIcons() { return pickIconW || pickIconA || Platform::ShellPicksIcons(); }

int FakePlatform::PickIconDlgA(HWND owner, char* path, UINT pathSize, int* index) {
    return pickIconA ? pickIconA(owner, path, pathSize, index) : Platform::PickIconDlgA(owner, path, pathSize, index);
}

HICON FakePlatform::ExtractIconW(HINSTANCE instance, const wchar_t* file, UINT index) {
    return extractIcon ? extractIcon(instance, file, index) : Platform::ExtractIconW(instance, file, index);
}

bool FakePlatform::HighContrast() { return highContrast.value_or(Platform::HighContrast()); }

HINSTANCE FakePlatform::ShellExecuteW(HWND owner, const wchar_t* operation, const wchar_t* file,
                                      const wchar_t* parameters, const wchar_t* directory, INT showCommand) {
    shellExecutes.push_back({owner, operation != nullptr, file != nullptr, parameters != nullptr,
                             directory != nullptr, Text(operation), Text(file), Text(parameters), Text(directory),
                             showCommand});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // "started"; nothing is opened
}

void FakePlatform::SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void*) {
    shellEvents.push_back(eventId);
    if ((flags & SHCNF_TYPE) == SHCNF_PATHW && item1) changedFolders.emplace_back(static_cast<const wchar_t*>(item1));
}

void FakePlatform::CoTaskMemFree(void* memory) {
    freedMemory.push_back(memory);
    if (!browseForFolder) Platform::CoTaskMemFree(memory);
}

void FakePlatform::DragFinish(HDROP drop) noexcept {
    finishedDrops.push_back(drop);
    Platform::DragFinish(drop);
}

BOOL FakePlatform::GetOpenFileNameW(OPENFILENAMEW* request) {
    return getOpenFileName ? getOpenFileName(request) : Platform::GetOpenFileNameW(request);
}

DWORD FakePlatform::CommDlgExtendedError() { return getOpenFileName ? commDlgError : Platform::CommDlgExtendedError(); }

LSTATUS FakePlatform::RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key) {
    return regOpenKey ? regOpenKey(root, subKey, options, access, key)
                      : Platform::RegOpenKeyExA(root, subKey, options, access, key);
}

LSTATUS FakePlatform::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                       DWORD* size) {
    return regQueryValue ? regQueryValue(key, valueName, reserved, type, data, size)
                         : Platform::RegQueryValueExA(key, valueName, reserved, type, data, size);
}

LSTATUS FakePlatform::RegCloseKey(HKEY key) { return regCloseKey ? regCloseKey(key) : Platform::RegCloseKey(key); }

LSTATUS FakePlatform::RegSetValueExW(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
    return regSetValue ? regSetValue(key, name, type, data, size) : Platform::RegSetValueExW(key, name, type, data, size);
}

Platform::Wow64Folders FakePlatform::GetWow64Folders() {
    return wow64Folders ? wow64Folders() : Platform::GetWow64Folders();
}

void FakePlatform::StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory) {
    startedPrograms.push_back({path, showCommand, directory});
    if (startProgram) startProgram(path, showCommand, directory);
}

void FakePlatform::EndProgram(UINT exitCode) { endProgramCalls.push_back(exitCode); }

bool FakePlatform::FindFile(const std::wstring& path, WIN32_FIND_DATAW& found) {
    return findFile ? findFile(path, found) : Platform::FindFile(path, found);
}

std::vector<std::wstring> FakePlatform::KnownFolderPaths() {
    return knownFolderPaths ? knownFolderPaths() : Platform::KnownFolderPaths();
}
