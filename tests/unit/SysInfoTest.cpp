// Finding and starting the system-information tool, on real values under
// Wine's HKLM that each test writes and removes again.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "about/SysInfo.h"
#include "platform/Handles.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "support/FakePlatform.h"
#include "support/Files.h"
#include "support/Processes.h"
#include "support/ToolLocations.h"

namespace {

constexpr const wchar_t* kScratchKey = ToolLocations::kScratchKey;
constexpr const wchar_t* kPathKey = ToolLocations::kPathKey;
constexpr wchar_t kNotFound[] = L"Information Systeme introuvable !";

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

class RegistryTest : public testing::Test {
protected:
    RegistryTest() {
        fake.regOpenKey = [this](HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key) {
            const LSTATUS status = fake.Platform::RegOpenKeyExA(root, subKey, options, access, key);
            opens.push_back({subKey, access, status == ERROR_SUCCESS ? *key : nullptr});
            return status;
        };
        fake.regCloseKey = [this](HKEY key) {
            closes.push_back(key);
            return fake.Platform::RegCloseKey(key);
        };
    }

    void SetValue(const wchar_t* keyName, const char* valueName, DWORD type, const std::string& bytes) {
        locations.SetValue(keyName, valueName, type, bytes);
    }
    void SetToolPath(const std::wstring& path) { locations.SetPath(path); }
    void SetToolFolder(const std::wstring& folder) { locations.SetFolder(folder); }

    // Every key the look-ups opened was closed once, and nothing else was.
    void ExpectEveryKeyClosed() {
        std::vector<HKEY> opened;
        for (const Open& o : opens)
            if (o.key) opened.push_back(o.key);
        std::vector<HKEY> closed = closes;
        std::sort(opened.begin(), opened.end());
        std::sort(closed.begin(), closed.end());
        EXPECT_EQ(closed, opened);
    }
    // The locations looked up, in order; one read in both registry views
    // (a 32-bit program on 64-bit Windows) counts once.
    std::vector<std::string> OpenedKeys() const {
        std::vector<std::string> names;
        for (const Open& o : opens)
            if (names.empty() || names.back() != o.subKey) names.push_back(o.subKey);
        return names;
    }
    void ExpectOneNotFoundMessage() {
        ASSERT_EQ(fake.messageBoxes.size(), 1u);
        EXPECT_EQ(fake.messageBoxes[0].text, kNotFound);
        EXPECT_EQ(fake.messageBoxes[0].caption, L"Tivrelon");
        EXPECT_EQ(fake.messageBoxes[0].style, static_cast<UINT>(MB_OK));
    }
    // The program is started for real, and ends with the test: while it
    // runs it holds the test's log open.
    void StartForReal() {
        fake.startProgram = [this](const std::wstring& path, int show, const std::wstring& directory) {
            fake.Platform::StartProgram(path, show, directory);
            const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
            if (const DWORD started = ChildProcess(GetCurrentProcessId(), name.c_str())) EndProcess(started, 10000);
        };
    }

    struct Open {
        std::string subKey;
        REGSAM access;
        HKEY key;  // null when the open failed
    };
    ToolLocations locations;
    FakePlatform fake;
    std::vector<Open> opens;
    std::vector<HKEY> closes;
};

using GetKeyValueTest = RegistryTest;

TEST_F(GetKeyValueTest, ReadsStringsAndNumbersAsTheyAreStored) {
    const struct {
        const char* what;
        bool stored;
        DWORD type;
        std::string bytes;
        bool read;
        std::wstring text;
    } cases[] = {
        {"string with its zero", true, REG_SZ, ZeroTerminated(L"C:\\Outils\\msinfo32.exe"), true, L"C:\\Outils\\msinfo32.exe"},
        {"string without a zero", true, REG_SZ, "C:\\sans zero", true, L"C:\\sans zero"},
        {"accented string", true, REG_SZ, ZeroTerminated(L"C:\\Système\\été"), true, L"C:\\Système\\été"},
        {"1024 bytes with the zero", true, REG_SZ, std::string(1023, 'x') + '\0', true, std::wstring(1023, L'x')},
        {"1025 bytes", true, REG_SZ, std::string(1024, 'z') + '\0', false, L""},
        {"number, top byte 0", true, REG_DWORD, DwordBytes(0x00ABCDEF), true, L"&hABCDEF"},
        {"number, top byte not 0", true, REG_DWORD, DwordBytes(0x12345678), true, L"&h12345678"},
        {"number, high bytes", true, REG_DWORD, DwordBytes(0x80FF00C3), true, L"&h80FF00C3"},
        {"number 1", true, REG_DWORD, DwordBytes(1), true, L"&h000001"},
        {"other type, read but no text", true, REG_BINARY, "\x01\x02", true, L"avant"},
        {"value missing", false, REG_SZ, "", false, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kScratchKey);
        if (c.stored) SetValue(kScratchKey, "Valeur", c.type, c.bytes);
        else SetValue(kScratchKey, "Autre", REG_SZ, ZeroTerminated(L"x"));
        std::wstring text = L"avant";
        EXPECT_EQ(GetKeyValue(HKEY_LOCAL_MACHINE, kScratchKey, L"Valeur", text), c.read);
        EXPECT_EQ(text, c.text);
    }
    ExpectEveryKeyClosed();
    EXPECT_EQ(closes.size(), std::size(cases));
}

TEST_F(GetKeyValueTest, MissingKeyIsAFailureWithEmptyText) {
    std::wstring text = L"avant";
    EXPECT_FALSE(GetKeyValue(HKEY_LOCAL_MACHINE, kScratchKey, L"Valeur", text));
    EXPECT_EQ(text, L"");
    ExpectEveryKeyClosed();
}

TEST_F(GetKeyValueTest, EmptyValueIsAnErrorNotAReadBeforeTheBuffer) {
    for (DWORD type : {DWORD{REG_SZ}, DWORD{REG_DWORD}, DWORD{REG_BINARY}}) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kScratchKey);
        SetValue(kScratchKey, "Vide", type, "");
        std::wstring text;
        EXPECT_THROW(GetKeyValue(HKEY_LOCAL_MACHINE, kScratchKey, L"Vide", text), PlatformError) << type;
    }
    ExpectEveryKeyClosed();
    EXPECT_EQ(closes.size(), 3u);
}

using StartSysInfoTest = RegistryTest;

// Started in its own folder: one that inherited ours would hold it open.
TEST_F(StartSysInfoTest, FirstLocationIsStartedAsStoredInItsFolderWithoutLookingFurther) {
    TempFolder folder;
    WriteBytes(folder / L"MSINFO32.EXE", "MZ");
    SetToolFolder(folder.Path());
    const struct {
        const wchar_t *path, *directory;
    } cases[] = {
        {L"C:\\Program Files\\Outils\\MSINFO32.EXE", L"C:\\Program Files\\Outils"},
        {L"C:\\MSINFO32.EXE", L"C:\\"},
        {L"MSINFO32.EXE", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        fake.startedPrograms.clear();
        opens.clear();
        closes.clear();
        SetToolPath(c.path);
        StartSysInfo();
        ASSERT_EQ(fake.startedPrograms.size(), 1u);
        EXPECT_EQ(fake.startedPrograms[0].path, c.path);
        EXPECT_EQ(fake.startedPrograms[0].showCommand, SW_SHOWNORMAL);
        EXPECT_EQ(fake.startedPrograms[0].directory, c.directory);
        EXPECT_TRUE(fake.messageBoxes.empty());
        EXPECT_EQ(OpenedKeys(), std::vector<std::string>{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"});
        ExpectEveryKeyClosed();
    }
}

TEST_F(StartSysInfoTest, FirstLocationStartsARealProgram) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    SetToolPath(std::wstring(system) + L"\\hostname.exe");  // ends at once, opens no window
    StartForReal();
    StartSysInfo();
    EXPECT_EQ(fake.startedPrograms.size(), 1u);
    EXPECT_TRUE(fake.messageBoxes.empty());
}

TEST_F(StartSysInfoTest, MissingProgramAtTheFirstLocationGivesTheMessageWithoutTryingTheSecond) {
    TempFolder folder;
    WriteBytes(folder / L"MSINFO32.EXE", "MZ");
    SetToolPath(folder / L"absent.exe");
    SetToolFolder(folder.Path());
    StartForReal();
    StartSysInfo();
    ExpectOneNotFoundMessage();
    EXPECT_EQ(OpenedKeys().size(), 1u);
    ExpectEveryKeyClosed();
}

TEST_F(StartSysInfoTest, SecondLocationNeedsAPlainMsinfo32InItsFolder) {
    const struct {
        const char* what;
        bool file, hidden, trailingBackslash;
        bool starts;
    } cases[] = {
        {"file present", true, false, false, true},
        {"folder stored with a trailing backslash", true, false, true, true},
        {"file hidden", true, true, false, false},
        {"file missing", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.messageBoxes.clear();
        fake.startedPrograms.clear();
        opens.clear();
        closes.clear();
        TempFolder folder;
        if (c.file) WriteBytes(folder / L"MSINFO32.EXE", "MZ");
        if (c.hidden) SetFileAttributesW((folder / L"MSINFO32.EXE").c_str(), FILE_ATTRIBUTE_HIDDEN);
        const std::wstring stored = folder.Path() + (c.trailingBackslash ? L"\\" : L"");
        SetToolFolder(stored);

        StartSysInfo();
        EXPECT_EQ(OpenedKeys().size(), 2u);
        ExpectEveryKeyClosed();
        if (c.starts) {
            ASSERT_EQ(fake.startedPrograms.size(), 1u);
            // Plain concatenation: the folder as stored, then the file name.
            EXPECT_EQ(fake.startedPrograms[0].path, stored + L"\\MSINFO32.EXE");
            EXPECT_EQ(fake.startedPrograms[0].directory, stored);
            EXPECT_TRUE(fake.messageBoxes.empty());
        } else {
            EXPECT_TRUE(fake.startedPrograms.empty());
            ExpectOneNotFoundMessage();
        }
    }
}

TEST_F(StartSysInfoTest, NothingRegisteredGivesTheMessageOnce) {
    StartSysInfo();
    ExpectOneNotFoundMessage();
    EXPECT_TRUE(fake.startedPrograms.empty());
    EXPECT_EQ(OpenedKeys().size(), 2u);
    ExpectEveryKeyClosed();
}

// A 32-bit program on 64-bit Windows, played in either build. A location
// its own registry view lacks is read from the 64-bit view, before the next
// location; a tool its System32 lacks and the real System32 holds starts
// through Sysnative, in the Windows folder (a 64-bit program has no
// Sysnative). An own view whose value names a file that is gone does not
// stop the 64-bit view from being read. Location 1 names the tool in lower
// case, so what starts tells the locations apart.
TEST_F(StartSysInfoTest, UnderWow64TheToolIsFoundInThe64BitViewAndTheRealSystem32) {
    // The registry view (kNative: 64-bit) or System32 holding it; kStale:
    // the own view names a file that is gone, the 64-bit view the tool.
    enum Where { kNowhere, kOwn, kNative, kStale };
    TempFolder system, native;               // System32 as the program sees it, and Sysnative
    struct Case {
        const char* what;
        bool wow64;
        Where path, folder, tool;
        const TempFolder* startedIn;  // nullptr: the message
        const wchar_t* started;
    };
    const Case cases[] = {
        {"location 1 in the 64-bit view alone", true, kNative, kNowhere, kOwn, &system, L"msinfo32.exe"},
        {"location 1 first, whatever the views", true, kNative, kOwn, kOwn, &system, L"msinfo32.exe"},
        {"location 2 in the 64-bit view alone", true, kNowhere, kNative, kOwn, &system, L"MSINFO32.EXE"},
        {"location 1, the tool in the real System32 alone", true, kOwn, kNowhere, kNative, &native, L"msinfo32.exe"},
        {"location 2, the tool in the real System32 alone", true, kNowhere, kOwn, kNative, &native, L"MSINFO32.EXE"},
        {"location 1 gone in the own view", true, kStale, kNowhere, kOwn, &system, L"msinfo32.exe"},
        {"location 2 gone in the own view", true, kNowhere, kStale, kOwn, &system, L"MSINFO32.EXE"},
        {"no 64-bit view without WOW64", false, kNowhere, kNative, kOwn, nullptr, L""},
        {"no Sysnative without WOW64", false, kNowhere, kOwn, kNative, nullptr, L""},
    };
    const Case* c = cases;
    fake.wow64Folders = [&] {
        return c->wow64 ? Platform::Wow64Folders{system.Path(), L"C:\\Windows\\SysWOW64", native.Path()}
                        : Platform::Wow64Folders{};
    };
    // Both views are played by the one the test writes in; a stale value's
    // 64-bit twin lives under the tests' own key.
    const std::string scratch = ToAnsi(kScratchKey) + "\\";
    fake.regOpenKey = [&](HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key) {
        const Where holder = std::string(subKey) == "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO" ? c->path : c->folder;
        const bool native = access & KEY_WOW64_64KEY;
        const std::string name = holder == kStale && native ? scratch + subKey : subKey;
        if (holder != kStale && holder != (native ? kNative : kOwn)) return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
        return fake.Platform::RegOpenKeyExA(root, name.c_str(), options, access & ~KEY_WOW64_64KEY, key);
    };
    for (; c != std::end(cases); ++c) {
        SCOPED_TRACE(c->what);
        RemoveTree(system / L"MSINFO32.EXE");
        RemoveTree(native / L"MSINFO32.EXE");
        WriteBytes((c->tool == kOwn ? system : native) / L"MSINFO32.EXE", "MZ");
        locations.Clear();
        if (c->path != kNowhere) SetToolPath(system / (c->path == kStale ? L"parti\\msinfo32.exe" : L"msinfo32.exe"));
        if (c->folder != kNowhere) SetToolFolder(c->folder == kStale ? system / L"parti" : system.Path());
        const auto setTwin = [&](const wchar_t* keyName, const char* valueName, const std::wstring& value) {
            SetValue((std::wstring(kScratchKey) + L"\\" + keyName).c_str(), valueName, REG_SZ, ZeroTerminated(value));
        };
        if (c->path == kStale) setTwin(kPathKey, "PATH", system / L"msinfo32.exe");
        if (c->folder == kStale) setTwin(ToolLocations::kFolderKey, "MSINFO", system.Path());
        fake.messageBoxes.clear();
        fake.startedPrograms.clear();
        StartSysInfo();
        if (!c->startedIn) {
            ExpectOneNotFoundMessage();
            EXPECT_TRUE(fake.startedPrograms.empty());
            continue;
        }
        ASSERT_EQ(fake.startedPrograms.size(), 1u);
        EXPECT_EQ(fake.startedPrograms[0].path, *c->startedIn / c->started);
        const std::wstring windows = native.Path().substr(0, native.Path().rfind(L'\\'));  // Sysnative's parent
        EXPECT_EQ(fake.startedPrograms[0].directory, c->startedIn == &native ? windows : system.Path());
        EXPECT_TRUE(fake.messageBoxes.empty());
    }
}

TEST_F(StartSysInfoTest, ValuesThatAreNoPathGiveTheMessage) {
    const struct {
        const char* what;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"a number", REG_DWORD, DwordBytes(0x00C0FFEE)},
        {"an empty value", REG_SZ, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.messageBoxes.clear();
        opens.clear();
        closes.clear();
        TempFolder folder;
        WriteBytes(folder / L"MSINFO32.EXE", "MZ");
        SetToolFolder(folder.Path());
        SetValue(kPathKey, "PATH", c.type, c.bytes);
        StartForReal();
        StartSysInfo();
        ExpectOneNotFoundMessage();
        EXPECT_EQ(OpenedKeys().size(), 1u) << "the second location is not tried";
        ExpectEveryKeyClosed();
    }
}

TEST_F(StartSysInfoTest, KeysAreOpenedWithReadRightsOnly) {
    // Windows refuses write rights on HKLM to a standard user; Wine grants
    // everything, so play the standard user here.
    constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | WRITE_DAC | WRITE_OWNER |
                                    DELETE;
    fake.regOpenKey = [this](HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* key) {
        opens.push_back({subKey, access, nullptr});
        if (access & kWriteRights) return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
        const LSTATUS status = fake.Platform::RegOpenKeyExA(root, subKey, options, access, key);
        if (status == ERROR_SUCCESS) opens.back().key = *key;
        return status;
    };
    SetToolPath(L"C:\\Outils\\MSINFO32.EXE");
    StartSysInfo();
    ASSERT_FALSE(opens.empty());
    EXPECT_EQ(opens[0].access & KEY_QUERY_VALUE, static_cast<REGSAM>(KEY_QUERY_VALUE));
    EXPECT_TRUE(fake.messageBoxes.empty());
    ASSERT_EQ(fake.startedPrograms.size(), 1u);
    EXPECT_EQ(fake.startedPrograms[0].path, L"C:\\Outils\\MSINFO32.EXE");
    ExpectEveryKeyClosed();
}

TEST_F(StartSysInfoTest, PathWithASpaceNeverStartsTheProgramNamedByItsFirstWord) {
    // "…\hostname Info\MSINFO32.EXE" read as a command line would start
    // "…\hostname.exe" with "Info\MSINFO32.EXE" as its argument.
    TempFolder folder;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(), (folder / L"hostname.exe").c_str(),
                          FALSE));
    MakeFolder(folder / L"hostname Info");
    const std::wstring path = folder / L"hostname Info\\MSINFO32.EXE";

    // The trap is real: Windows does run it for the unquoted command line.
    std::wstring commandLine = path;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    SetToolPath(path);
    StartForReal();
    StartSysInfo();
    ExpectOneNotFoundMessage();
}

}  // namespace
