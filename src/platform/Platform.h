#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

// The seam between the program and Windows, the one the tests fake: every
// declared platform function the handlers call, the dialogs, message boxes,
// program start and end. The real implementation binds each function by
// library and name (or ordinal) on its first call; tests put a scripted
// stand-in in its place with PlatformOverride and record what was asked.
// The file services of `services` and the windows' own calls (the ui
// toolkit) do not pass through it, but for the high-contrast setting, which
// Wine never reports on, and the metrics the tooltips' font comes from, which
// older Windows gives by another road that tests play.
class Platform {
public:
    virtual ~Platform() = default;

    // user32
    virtual int MessageBoxW(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
    virtual BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height);
    // An icon of `file` extracted at width x height pixels, as ExtractIcon
    // counts them; the answer of PrivateExtractIconsW (how many it gave).
    virtual UINT PrivateExtractIconsW(const wchar_t* file, int index, int width, int height, HICON* icon);
    virtual BOOL DestroyIcon(HICON icon);
    // True while the user's high-contrast setting is on (SPI_GETHIGHCONTRAST).
    virtual bool HighContrast();
    // The non-client metrics at `dpi`; FALSE where this Windows lacks
    // SystemParametersInfoForDpi (before Windows 10 1607), and the caller
    // scales the system DPI's.
    virtual BOOL NonClientMetricsForDpi(NONCLIENTMETRICSW* metrics, UINT dpi);

    // kernel32
    virtual BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file);
    // Writes UTF-16 only into a file that starts FF FE; into any other file,
    // the ANSI code page's form of each text.
    virtual BOOL WritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                            const wchar_t* file);
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info);

    // shell32
    // UTF-16 on purpose: the A forms hand back best-fit look-alikes
    // ("Dvořák" as "Dvorák"), which name some other folder.
    virtual PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* request);
    // Into a buffer of `pathSize` characters where Windows has
    // SHGetPathFromIDListEx (Vista): SHGetPathFromIDListW fails on a path of
    // MAX_PATH characters or more, as if the item had no path at all, and is
    // used only before Vista.
    virtual BOOL SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE item, wchar_t* path, DWORD pathSize);
    // The shell's icon picker, export ordinal 62, in its two forms: UTF-16
    // text on the NT platform, ANSI text before it. `pathSize` counts the
    // buffer's characters: the picker may write another file into it.
    virtual int PickIconDlgW(HWND owner, wchar_t* path, UINT pathSize, int* index);
    virtual int PickIconDlgA(HWND owner, char* path, UINT pathSize, int* index);
    // False where the shell's picker shows nothing (Wine's answers
    // "cancelled" at once): the program then shows its own.
    virtual bool ShellPicksIcons();
    virtual HICON ExtractIconW(HINSTANCE instance, const wchar_t* file, UINT index);
    virtual HINSTANCE ShellExecuteW(HWND owner, const wchar_t* operation, const wchar_t* file,
                                    const wchar_t* parameters, const wchar_t* directory, INT showCommand);
    virtual void SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2);
    // What was dropped on a window (WM_DROPFILES), and its release. DragFinish
    // never fails: where shell32 cannot be had, the drop, global memory,
    // goes back as such.
    virtual UINT DragQueryFileW(HDROP drop, UINT item, wchar_t* path, UINT pathSize);
    virtual void DragFinish(HDROP drop) noexcept;

    // ole32: gives memory the shell allocated (a browser's item list) back.
    virtual void CoTaskMemFree(void* memory);
    // The paths of Windows' known folders (Documents, Pictures, ...), whose
    // desktop.ini Windows itself writes; virtual folders have none. Raises
    // PlatformError when Windows cannot say.
    virtual std::vector<std::wstring> KnownFolderPaths();

    // kernel32: the first entry FindFirstFileW finds for `path`, its reparse
    // tag in dwReserved0; false when nothing is there. Raises PlatformError
    // for any other failure.
    virtual bool FindFile(const std::wstring& path, WIN32_FIND_DATAW& found);
    // kernel32's file calls whose answers differ between Windows, its file
    // systems and Wine. What identifies the file or folder open in `file`:
    // its volume's serial number and its id there, FILE_ID_INFO's 128 bits
    // (ReFS's 64-bit index is not unique), else, before Windows 8, the
    // 64-bit index; false when Windows says neither.
    struct FileId {
        ULONGLONG volume = 0;
        std::array<BYTE, 16> id{};
        bool operator==(const FileId&) const = default;
    };
    virtual bool GetFileId(HANDLE file, FileId& id);
    // Deletion's marks: POSIX semantics from Windows 10 1607 on, on NTFS.
    virtual BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void* info, DWORD size);
    // The full path Win32 makes of `path`: "\\.\CON" for a name it maps to
    // a device (fewer on Windows 11). Empty when it forms none.
    virtual std::wstring FullPathName(const std::wstring& path);
    virtual BOOL SetFileAttributesW(const wchar_t* path, DWORD attributes);

    // comdlg32
    virtual BOOL GetOpenFileNameW(OPENFILENAMEW* request);
    virtual DWORD CommDlgExtendedError();

    // advapi32
    virtual LSTATUS RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key);
    virtual LSTATUS RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                     DWORD* size);
    virtual LSTATUS RegCloseKey(HKEY key);
    // The UTF-16 forms, so a path the ANSI code page lacks survives. A key
    // is created or opened without options; a value of any type is read and
    // written as its bytes.
    virtual LSTATUS RegCreateKeyExW(HKEY root, const wchar_t* subKey, REGSAM access, HKEY* key);
    virtual LSTATUS RegOpenKeyExW(HKEY root, const wchar_t* subKey, REGSAM access, HKEY* key);
    virtual LSTATUS RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD* type, BYTE* data, DWORD* size);
    virtual LSTATUS RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD type, const BYTE* data, DWORD size);
    // The key and everything beneath it (Windows Vista and later).
    virtual LSTATUS RegDeleteTreeW(HKEY root, const wchar_t* subKey);

    // kernel32: the system folders of a 32-bit program on 64-bit Windows
    // (WOW64), where the file system redirector shows it SysWOW64 under the
    // name System32. All empty where nothing is redirected: a 64-bit program,
    // or 32-bit Windows.
    struct Wow64Folders {
        std::wstring system;  // System32 as the program names it
        std::wstring wow64;   // SysWOW64: the files the program sees there, by their own name
        std::wstring native;  // %windir%\Sysnative: the real System32, as the program reaches it
        bool Redirected() const { return !native.empty(); }
    };
    virtual Wow64Folders GetWow64Folders();
    // Whether this process runs under WOW64, from Windows' answers: the
    // process machine IsWow64Process2 gave (none where Windows lacks that
    // function), else IsWow64Process's. An x86 program on ARM64 Windows is
    // redirected as on x64, yet IsWow64Process answers FALSE there.
    static bool RunsUnderWow64(std::optional<USHORT> processMachine, BOOL isWow64Process);

    // Starts `path` as a new process, shown with `showCommand`, in the
    // current folder `directory` (this process's own when empty), not waited
    // for. Raises PlatformError when it cannot be started.
    virtual void StartProgram(const std::wstring& path, int showCommand, const std::wstring& directory);
    // Ends the process at once; no window's closing step runs.
    virtual void EndProgram(UINT exitCode);
};

// The platform in force: the real one unless a test replaced it.
Platform& platform();

// Puts `replacement` in force for its lifetime (tests only).
class PlatformOverride {
public:
    explicit PlatformOverride(Platform& replacement);
    ~PlatformOverride();
    PlatformOverride(const PlatformOverride&) = delete;
    PlatformOverride& operator=(const PlatformOverride&) = delete;

private:
    Platform* previous_;
};

// True when the program runs on Wine (ntdll exports wine_get_version).
bool RunningOnWine();

// Enters a single-threaded COM apartment on this thread, once; raises
// PlatformError when it cannot. The shell's dialogs need one, and so does
// handing an object to a screen reader.
void EnsureComApartment();
