#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

// A scripted platform for tests: records what the program asked of Windows
// and answers as the test says. Every call a test does not script goes to
// the real platform, except those that would block or end the test run
// (message boxes, program end, program start). It is in force for its
// lifetime.
class FakePlatform : public Platform {
public:
    struct MessageBoxCall {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT style;
    };
    struct ProfileWrite {
        std::wstring section, key, file;
        bool hasValue;
        std::wstring value;
        bool wide;  // the writer's "W" form, not its "A" form
    };
    struct ShellExecuteCall {
        HWND owner;
        bool hasOperation, hasFile, hasParameters, hasDirectory;
        std::wstring operation, file, parameters, directory;
        INT showCommand;
        bool operator==(const ShellExecuteCall&) const = default;
    };
    struct StartCall {
        std::wstring path;
        int showCommand;
        std::wstring directory;
    };

    FakePlatform();
    ~FakePlatform() override;

    // What was asked.
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<ProfileWrite> profileWrites;
    std::vector<std::wstring> changedFolders;  // SHChangeNotify
    std::vector<LONG> shellEvents;             // SHChangeNotify's events
    std::vector<UINT> endProgramCalls;
    std::vector<StartCall> startedPrograms;
    std::vector<ShellExecuteCall> shellExecutes;
    std::vector<const void*> freedMemory;  // CoTaskMemFree
    std::vector<HDROP> finishedDrops;      // DragFinish

    // How to answer.
    int messageBoxAnswer = IDOK;
    // Windows' profile writer re-creates the file with CREATE_ALWAYS, which
    // refuses a hidden, system or read-only file (access denied). Wine lets
    // it through, and as root so do Unix permissions: keep Windows' rule.
    bool windowsProfileRule = true;
    // Replace a call when set; leave empty to use the real one. The profile
    // writer's two forms come to one, in UTF-16.
    std::function<BOOL(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* file)>
        writeProfile;
    std::function<PIDLIST_ABSOLUTE(BROWSEINFOW*)> browseForFolder;
    std::function<BOOL(PCIDLIST_ABSOLUTE, wchar_t*, DWORD)> pathFromIdList;
    std::function<int(HWND, wchar_t*, UINT, int*)> pickIconW;
    std::function<int(HWND, char*, UINT, int*)> pickIconA;
    std::function<HICON(HINSTANCE, const wchar_t*, UINT)> extractIcon;
    std::function<UINT(const wchar_t*, int, int, int, HICON*)> extractIconAtSize;  // PrivateExtractIconsW
    std::function<BOOL(HDC, int, int, HICON, int, int)> drawIconEx;
    std::function<BOOL(HICON)> destroyIcon;
    std::optional<bool> highContrast;  // Wine's answer, off, unless set
    std::function<BOOL(NONCLIENTMETRICSW*, UINT dpi)> nonClientMetricsForDpi;
    std::function<BOOL(OSVERSIONINFOA*)> getVersion;
    std::function<BOOL(OPENFILENAMEW*)> getOpenFileName;
    DWORD commDlgError = 0;
    std::function<LSTATUS(HKEY, const char*, DWORD, REGSAM, HKEY*)> regOpenKey;
    std::function<LSTATUS(HKEY, const char*, DWORD*, DWORD*, BYTE*, DWORD*)> regQueryValue;
    std::function<LSTATUS(HKEY)> regCloseKey;
    std::function<LSTATUS(HKEY, const wchar_t*, DWORD, const BYTE*, DWORD)> regSetValue;
    // The WOW64 system folders: a 32-bit program on 64-bit Windows played
    // by either build, or a program that nothing redirects.
    std::function<Wow64Folders()> wow64Folders;
    // What a look-up of one path finds (a reparse tag, say): the real answer
    // unless scripted.
    std::function<bool(const std::wstring& path, WIN32_FIND_DATAW& found)> findFile;
    // The file calls Windows answers otherwise than Wine: the real ones unless scripted.
    std::function<bool(HANDLE, FileId&)> getFileId;
    std::function<BOOL(HANDLE, FILE_INFO_BY_HANDLE_CLASS, void*, DWORD)> setFileInformation;
    std::function<std::wstring(const std::wstring& path)> fullPathName;
    std::function<BOOL(const wchar_t* path, DWORD attributes)> setFileAttributes;
    // Windows' known folders: the real ones unless scripted.
    std::function<std::vector<std::wstring>()> knownFolderPaths;
    // Program start: by default recorded and not started.
    std::function<void(const std::wstring& path, int showCommand, const std::wstring& directory)> startProgram;

    // Scripts the folder browser: each browse answers with `folder` as the
    // shell's path conversion gives it, or as cancelled when it is empty.
    void AnswerBrowser(const std::wstring& folder);

    int MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override;
    BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height) override;
    UINT PrivateExtractIconsW(const wchar_t* file, int index, int width, int height, HICON* icon) override;
    BOOL DestroyIcon(HICON icon) override;
    bool HighContrast() override;
    BOOL NonClientMetricsForDpi(NONCLIENTMETRICSW* metrics, UINT dpi) override;
    BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file) override;
    BOOL WritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                    const wchar_t* file) override;
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* request) override;
    BOOL SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE item, wchar_t* path, DWORD pathSize) override;
    int PickIconDlgW(HWND owner, wchar_t* path, UINT pathSize, int* index) override;
    int PickIconDlgA(HWND owner, char* path, UINT pathSize, int* index) override;
    // A scripted picker stands for the shell's; without one, the program's
    // own shows where the shell's would show nothing.
    bool ShellPicksIcons() override;
    HICON ExtractIconW(HINSTANCE instance, const wchar_t* file, UINT index) override;
    HINSTANCE ShellExecuteW(HWND owner, const wchar_t* operation, const wchar_t* file, const wchar_t* parameters,
                            const wchar_t* directory, INT showCommand) override;
    void SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2) override;
    // Recorded; really freed only when the browser was the real one, since a
    // scripted browser's item list is the test's own.
    void CoTaskMemFree(void* memory) override;
    void DragFinish(HDROP drop) noexcept override;
    BOOL GetOpenFileNameW(OPENFILENAMEW* request) override;
    DWORD CommDlgExtendedError() override;
    LSTATUS RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key) override;
    LSTATUS RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                             DWORD* size) override;
    LSTATUS RegCloseKey(HKEY key) override;
    LSTATUS RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD type, const BYTE* data, DWORD size) override;
    Wow64Folders GetWow64Folders() override;
    bool FindFile(const std::wstring& path, WIN32_FIND_DATAW& found) override;
    std::vector<std::wstring> KnownFolderPaths() override;
    bool GetFileId(HANDLE file, FileId& id) override { return getFileId ? getFileId(file, id) : Platform::GetFileId(file, id); }
    BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void* info, DWORD size) override {
        return setFileInformation ? setFileInformation(file, kind, info, size)
                                  : Platform::SetFileInformationByHandle(file, kind, info, size);
    }
    std::wstring FullPathName(const std::wstring& p) override { return fullPathName ? fullPathName(p) : Platform::FullPathName(p); }
    BOOL SetFileAttributesW(const wchar_t* path, DWORD a) override {
        return setFileAttributes ? setFileAttributes(path, a) : Platform::SetFileAttributesW(path, a);
    }
    void StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory) override;
    void EndProgram(UINT exitCode) override;

private:
    BOOL WriteProfile(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* file,
                      bool wide);

    PlatformOverride override_;
};
