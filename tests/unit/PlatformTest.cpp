// The platform services and the binding of declared functions.
#include <gtest/gtest.h>

#include "app/UnhandledFailure.h"
#include "platform/CommonDialog.h"
#include "platform/Declared.h"
#include "platform/IconFile.h"
#include "platform/KnownFolder.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "support/FakePlatform.h"
#include "support/Files.h"
#include "support/IconFiles.h"

namespace {

TEST(AppInfo, ComesFromTheVersionResource) {
    const services::AppInfo app = services::App();
    EXPECT_EQ(app.title, L"Tivrelon");
    EXPECT_EQ(app.major, 1);
    EXPECT_EQ(app.minor, 1);
    EXPECT_EQ(app.revision, 0);
    EXPECT_EQ(app.folder, TestProgramFolder());
}

TEST(FindPlainFile, FindsPlainFilesOnly) {
    TempFolder folder;
    struct Case {
        const wchar_t* name;
        DWORD attributes;  // 0: a folder
        bool found;
    };
    const Case cases[] = {
        {L"plain.txt", FILE_ATTRIBUTE_NORMAL, true},
        {L"readonly.txt", FILE_ATTRIBUTE_READONLY, true},
        {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN, false},
        {L"system.txt", FILE_ATTRIBUTE_SYSTEM, false},
        {L"both.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false},
        {L"subfolder", 0, false},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder / c.name;
        if (c.attributes == 0) {
            MakeFolder(path);
        } else {
            WriteBytes(path, "x");
            SetFileAttributesW(path.c_str(), c.attributes);
        }
        EXPECT_EQ(services::FindPlainFile(path), c.found ? std::wstring(c.name) : std::wstring()) << c.name;
    }
    EXPECT_EQ(services::FindPlainFile(folder / L"missing.txt"), L"");
    EXPECT_THROW(services::FindPlainFile(folder / L"no\\such\\folder\\x.txt"), PlatformError);
}

TEST(SetAttributes, ReplacesTheWholeSet) {
    TempFolder folder;
    const std::wstring file = folder / L"f.txt";
    WriteBytes(file, "x");
    services::SetAttributes(file, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    services::SetAttributes(file, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(UserAttributes(file), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    services::SetAttributes(file, 0);
    EXPECT_EQ(UserAttributes(file), 0u);
    services::SetAttributes(folder.Path(), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(UserAttributes(folder.Path()), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    try {
        services::SetAttributes(folder / L"missing", 0);
        FAIL() << "a missing path is a failure";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.Call(), "SetFileAttributes");
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
}

// The deletion lands only once kept: reset takes it back when a later step
// fails, and the file comes back whole where Windows will not take it back.
TEST(PendingDeletion, DeletesOnlyWhenKeptAndRaisesWhenItCannot) {
    FakePlatform fake;
    std::vector<FILE_INFO_BY_HANDLE_CLASS> asked;  // POSIX semantics first, refused by this volume
    bool takesBack = true;
    fake.setFileInformation = [&](HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void* info, DWORD size) {
        asked.push_back(kind);
        return kind == FileDispositionInfo && (takesBack || static_cast<FILE_DISPOSITION_INFO*>(info)->DeleteFile) &&
               fake.Platform::SetFileInformationByHandle(file, kind, info, size);
    };
    TempFolder folder;
    const std::wstring file = folder / L"f.txt";
    WriteBytes(file, "x");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(services::PendingDeletion(file).Mark(), PlatformError);  // read-only refuses deletion
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    services::PendingDeletion(file).Mark();
    EXPECT_TRUE(Exists(file));
    {
        services::PendingDeletion deletion(file);
        deletion.Mark();
        deletion.Keep();
    }
    EXPECT_FALSE(Exists(file));
    EXPECT_THROW(services::PendingDeletion{file}, PlatformError);
    EXPECT_EQ(asked.front(), static_cast<FILE_INFO_BY_HANDLE_CLASS>(21));  // FileDispositionInfoEx, from Windows 10 on
    WriteBytes(file, "x");
    takesBack = false;
    {
        const services::FileSnapshot before(file);
        services::PendingDeletion(file).Mark();
    }
    EXPECT_EQ(ReadBytes(file), "x");
}

TEST(IsKnownFolder, ComparesWhatTheFileSystemSaysOnlyWhereItTellsFoldersApart) {
    TempFolder chosen, known;
    FakePlatform fake;
    fake.knownFolderPaths = [&] { return std::vector<std::wstring>{known.Path()}; };
    const std::wstring theirs = services::FinalPath(services::OpenToQuery(known.Path()).get());
    Platform::FileId ones{7, {}};
    ones.id.fill(0xFF);
    const struct { const char* what; Platform::FileId mine, their; bool read, same; } cases[] = {
        {"one 128-bit id", {7, {1}}, {7, {1}}, true, true},
        {"ReFS: one 64-bit half", {7, {1}}, {7, {1, 0, 0, 0, 0, 0, 0, 0, 9}}, true, false},
        {"one id on two volumes", {7, {1}}, {8, {1}}, true, false},
        {"ids of zeros (a network)", {7, {}}, {7, {}}, true, false},
        {"ids of all ones", ones, ones, true, false},
        {"identities that cannot be read", {}, {}, false, false},
    };
    for (const auto& c : cases) {
        fake.getFileId = [&](HANDLE folder, Platform::FileId& id) {
            id = services::FinalPath(folder) == theirs ? c.their : c.mine;
            return c.read;
        };
        EXPECT_EQ(IsKnownFolder(chosen.Path()), c.same) << c.what;
    }
}

// Files whose structures claim bytes they do not hold: the platform's
// extraction would read past their end. One row each, so that loosening any
// check lets its row through (files that hold what they claim are drawn in
// the preview tests).
TEST(IsDamagedIconFile, EachDamage) {
    TempFolder folder;
    const std::pair<const char*, std::string> cases[] = {
        {"an icon file cut short", TruncatedIcoBytes()},
        {"an image placed past the end", IcoPointingPastItsEnd()},
        {"an image header claiming more than its entry", IcoClaimingAHugeImage()},
        {"an image without its mask", IcoWithoutItsMask()},
        {"a library cut in half", LibraryCutShort()},
        {"a section's data running half past the end", LibraryEndingHalfwayThroughASection()},
        {"a header cut short: a short read is no whole one", LibraryCutInItsFirstHeader()},
    };
    for (const auto& [what, bytes] : cases) {
        WriteBytes(folder / L"fichier", bytes);
        EXPECT_TRUE(IsDamagedIconFile(folder / L"fichier")) << what;
    }
}

TEST(MsgBox, UsesTheApplicationTitleWhenGivenNone) {
    FakePlatform fake;
    services::MsgBox(L"Texte");
    services::MsgBox(L"Attention", services::kExclamation, L"Erreur");
    services::MsgBox(L"Info", services::kInformation, L"");
    ASSERT_EQ(fake.messageBoxes.size(), 3u);
    EXPECT_EQ(fake.messageBoxes[0].caption, L"Tivrelon");
    EXPECT_EQ(fake.messageBoxes[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(fake.messageBoxes[1].caption, L"Erreur");
    EXPECT_EQ(fake.messageBoxes[1].style, static_cast<UINT>(MB_OK | 48));
    EXPECT_EQ(fake.messageBoxes[2].caption, L"");  // an empty title is a title
    EXPECT_EQ(fake.messageBoxes[2].style, static_cast<UINT>(MB_OK | 64));
}

TEST(StartProgram, RaisesForAPathThatCannotStart) {
    TempFolder folder;
    try {
        Platform().StartProgram(folder / L"missing.exe", SW_SHOWNORMAL, L"");
        FAIL() << "a missing program started";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.Call(), "CreateProcess");
    }
}

TEST(Declared, BindsOnFirstCallAndRaisesWhenItCannot) {
    Declared<int(WINAPI*)()> missingFunction{declared::kernel32, "NoSuchFunctionAnywhere"};
    try {
        *missingFunction;
        FAIL() << "bound a function that does not exist";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.Call(), "GetProcAddress NoSuchFunctionAnywhere");
    }
    DeclaredLibrary missingLibrary{L"no_such_library_tivrelon.dll"};
    Declared<int(WINAPI*)()> inMissing{missingLibrary, "Anything"};
    EXPECT_THROW(*inMissing, PlatformError);
    Declared<int(WINAPI*)()> byOrdinal{declared::shell32, WORD{62}};
    EXPECT_NE(*byOrdinal, nullptr);
}

// IsWow64Process answers FALSE for an x86 program on ARM64 Windows, which
// redirects System32 as x64 does: IsWow64Process2's answer comes first.
TEST(Wow64, FoundThroughIsWow64Process2WhereWindowsHasIt) {
    EXPECT_TRUE(Platform::RunsUnderWow64(IMAGE_FILE_MACHINE_I386, FALSE)) << "x86 on ARM64";
    EXPECT_TRUE(Platform::RunsUnderWow64(IMAGE_FILE_MACHINE_I386, TRUE)) << "x86 on x64";
    EXPECT_FALSE(Platform::RunsUnderWow64(IMAGE_FILE_MACHINE_UNKNOWN, FALSE)) << "a native program";
    EXPECT_TRUE(Platform::RunsUnderWow64(std::nullopt, TRUE)) << "x86 on x64, before IsWow64Process2";
    EXPECT_FALSE(Platform::RunsUnderWow64(std::nullopt, FALSE)) << "native, before IsWow64Process2";
}

TEST(Text, ConvertsAtTheAnsiBoundary) {
    ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8)) << "these cases assume a Western code page";
    EXPECT_EQ(ToAnsi(L"Icône"), "Ic\xF4ne");
    EXPECT_EQ(FromAnsi("Ic\xF4ne"), L"Icône");
    EXPECT_EQ(ToUpper(L"IconIndex"), L"ICONINDEX");
    EXPECT_EQ(DecimalText(-2147483647 - 1), L"-2147483648");
    EXPECT_EQ(DecimalText(0), L"0");
    try {
        ToAnsi(L"\u6587");
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_EQ(e.Why(), Refusal::UnwritableName);
    }
}

TEST(OpenDialogFilter, TurnsBarsIntoTheDialogsList) {
    EXPECT_EQ(OpenDialogFilter(L"Tous (*.*)|*.*|Icônes|*.ico"), std::wstring(L"Tous (*.*)\0*.*\0Icônes\0*.ico\0\0", 29));
}

// Where the tests run decides which icon picker shows and which attribute
// rules hold, so the answer must match what the system itself shows: every
// Wine prefix has its own registry key, which Windows never has.
TEST(Wine, RecognisedExactlyWhereThePrefixIs) {
    HKEY key = nullptr;
    const bool wineKey = RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine", 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    EXPECT_EQ(RunningOnWine(), wineKey);
}

// A failure no error path took is told in French, the call's name and code
// kept as Windows gave them.
TEST(UnhandledFailure, IsToldInFrench) {
    FakePlatform fake;
    const PlatformError platformFailure("CreateFile", ERROR_ACCESS_DENIED);
    const std::bad_alloc noMemory;
    const std::runtime_error other("something broke");
    const std::pair<const std::exception*, std::wstring> cases[] = {
        {&platformFailure, L"Erreur d'exécution :\nl'appel CreateFile a échoué (code 5)."},
        {&noMemory, L"Erreur d'exécution :\nmémoire insuffisante."},
        {&other, L"Erreur d'exécution :\nune erreur inattendue s'est produite."},
    };
    for (const auto& [failure, text] : cases) {
        ReportUnhandledFailure(*failure);
        ASSERT_FALSE(fake.messageBoxes.empty());
        EXPECT_EQ(fake.messageBoxes.back().text, text);
        EXPECT_EQ(fake.messageBoxes.back().caption, L"Tivrelon");
        EXPECT_EQ(fake.messageBoxes.back().style, static_cast<UINT>(MB_OK | MB_ICONHAND));
    }
}

}  // namespace
