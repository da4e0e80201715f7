// Reset on real folders and files under Wine, and what neither Apply nor
// reset may leave half done.
#include <functional>
#include <optional>
#include <set>

#include <shlobj.h>

#include "ApplyFixture.h"
#include "platform/Platform.h"

namespace {

using ResetTest = ApplyFixture;

TEST_F(ResetTest, ResetTakesACustomisedFolderBackToPlain) {
    ApplyIcon(L"a.ico", 3, L"Info");
    SetFileAttributesW(Ini().c_str(), kHidden | kSystem | kReadOnly);
    Reset();
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);
    EXPECT_EQ(ErrorCount(), 0u);
    EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());
    EXPECT_TRUE(w.Ctl(F::chkReset).Checked());
}

TEST_F(ResetTest, ResetWithoutDesktopIniSaysSoAndKeepsTheFolder) {
    SetFileAttributesW(folder.Path().c_str(), kSystem | kHidden);
    Reset();
    EXPECT_EQ(ErrorCount(), 1u);
    EXPECT_EQ(UserAttributes(folder.Path()), kSystem | kHidden);
    EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());
}

TEST_F(ResetTest, ResetRemovesOnlyTheIconKeysWhenTheFileHoldsMore) {
    const std::string foreign =
        "[.ShellClassInfo]\r\nIconResource=C:\\x.dll,1\r\nLocalizedResourceName=Mes documents\r\n"
        "iconfile=C:\\a.ico\r\nIconIndex=2\r\nInfoTip=Bulle\r\n[ViewState]\r\nFolderType=Pictures\r\n";
    WriteBytes(Ini(), foreign);
    SetFileAttributesW(Ini().c_str(), kHidden | kSystem);
    SetFileAttributesW(folder.Path().c_str(), kSystem);
    Reset();
    EXPECT_EQ(ErrorCount(), 0u);
    const std::string text = IniText();
    EXPECT_NE(text.find("LocalizedResourceName=Mes documents"), std::string::npos) << text;
    EXPECT_NE(text.find("[ViewState]\r\nFolderType=Pictures"), std::string::npos) << text;
    for (const char* gone : {"IconResource", "iconfile", "IconIndex", "InfoTip"})
        EXPECT_EQ(text.find(gone), std::string::npos) << gone << " in " << text;
    EXPECT_EQ(UserAttributes(Ini()), kHidden | kSystem);
    EXPECT_EQ(UserAttributes(folder.Path()), kSystem);
}

TEST_F(ResetTest, ResetOfAFileWithOnlyIconKeysInAnyCaseDeletesIt) {
    WriteBytes(Ini(), "\r\n[.shellclassinfo]\r\niconresource=C:\\x.dll,1\r\n\r\nInfoTip=t\r\n");
    SetFileAttributesW(Ini().c_str(), kHidden);
    SetFileAttributesW(folder.Path().c_str(), kSystem);
    Reset();
    EXPECT_EQ(ErrorCount(), 0u);
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);
}

TEST_F(ResetTest, ResetThatCannotDeleteLeavesBothAttributeSetsCleared) {
    ApplyIcon(L"a.ico", 0);
    // Held open without delete sharing: the deletion fails.
    HANDLE held = CreateFileW(Ini().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Reset();
    CloseHandle(held);
    EXPECT_EQ(ErrorCount(), 1u);
    EXPECT_TRUE(Exists(Ini()));
    EXPECT_EQ(UserAttributes(Ini()), 0u);
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);
}

// A desktop.ini that leads elsewhere is never followed: Apply and reset both
// end in the error, and what it leads to (a file of another folder, with
// settings of its own) keeps its bytes and attributes.
TEST_F(ResetTest, ADesktopIniThatLeadsElsewhereIsLeftAlone) {
    TempFolder elsewhere;
    const std::wstring target = elsewhere / L"theirs.ini";
    std::optional<SymbolicLink> link;
    struct Case {
        const char* what;
        std::function<bool()> make;  // false: this system lets the test make none
        std::wstring kept;           // none: what it leads to must still not be there
    };
    const Case cases[] = {
        // Under Wine it looks like no file at all; a writer creating the file
        // would create it where the link leads.
        {"a symbolic link to nothing", [&] { return link.emplace(Ini(), target).Made() && DeleteFileW(target.c_str()); },
         L""},
        {"a folder", [&] {
             MakeFolder(Ini());
             return SetFileAttributesW(Ini().c_str(), kHidden) != 0;
         }, Ini()},
        {"a hard link", [&] { return CreateHardLinkW(Ini().c_str(), target.c_str(), nullptr) != 0; }, target},
        // Last: on Windows only a user with the right to makes one.
        {"a symbolic link", [&] { return link.emplace(Ini(), target).Made(); }, target},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(target);
        WriteBytes(target, "[.ShellClassInfo]\r\nLocalizedResourceName=Eux\r\nICONFILE=C:\\x.ico\r\n");
        if (!c.make()) GTEST_SKIP() << "no " << c.what << " can be made here";
        const std::string bytes = ReadBytes(c.kept);
        const DWORD attributes = UserAttributes(c.kept);
        const size_t errors = ErrorCount();
        ApplyIcon(L"a.ico", 0);
        Reset();
        EXPECT_EQ(ErrorCount(), errors + 2);
        if (c.kept.empty()) {
            EXPECT_FALSE(Exists(target)) << "created through the link";
        } else {
            EXPECT_EQ(ReadBytes(c.kept), bytes);
            EXPECT_EQ(UserAttributes(c.kept), attributes);
        }
        EXPECT_EQ(UserAttributes(folder.Path()), 0u);
        // A link that leads somewhere again: only then can its removal be seen.
        if (!Exists(target)) WriteBytes(target, "");
        link.reset();
        RemoveTree(Ini());
    }
}

// Of the reparse points only links lead elsewhere: a cloud file's
// placeholder or a deduplicated desktop.ini is the folder's own, and Apply
// and reset work on it as on any other.
TEST_F(ResetTest, OnlyLinksAmongReparsePointsAreRefused) {
    const struct {
        DWORD tag;
        bool refused;
    } cases[] = {
        {IO_REPARSE_TAG_SYMLINK, true}, {IO_REPARSE_TAG_MOUNT_POINT, true},
        {0x9000601A /* IO_REPARSE_TAG_CLOUD_6 */, false}, {IO_REPARSE_TAG_DEDUP, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        WriteBytes(Ini(), "[.ShellClassInfo]\r\nICONFILE=C:\\old.ico\r\n");
        w.fake.findFile = [&](const std::wstring& path, WIN32_FIND_DATAW& found) {
            const bool there = w.fake.Platform::FindFile(path, found);
            found.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
            found.dwReserved0 = c.tag;
            return there;
        };
        const size_t errors = ErrorCount();
        ApplyIcon(L"a.ico", 0);
        EXPECT_EQ(ErrorCount(), errors + c.refused);
        EXPECT_EQ(IniText().find("old.ico") == std::string::npos, !c.refused) << IniText();
        w.fake.findFile = nullptr;
        RemoveTree(Ini());
    }
}

// Apply then reset gives the folder back what it had: the icon keys with
// their values and both attribute sets. Apply leaves alone what it does not
// need: a hidden folder stays hidden, a system file stays one.
TEST_F(ResetTest, ApplyThenResetGivesTheFolderBackWhatItHad) {
    struct Case {
        const char* what;
        std::string content;  // none: no desktop.ini
        DWORD file, folder;   // attributes before
        DWORD fileApplied, folderApplied, folderReset;
    };
    const Case cases[] = {
        {"a plain folder", "", 0, 0, kHidden, kSystem, 0},
        {"a hidden folder", "", 0, kHidden, kHidden, kHidden | kSystem, kHidden},
        {"Explorer's Customize tab", "[.ShellClassInfo]\r\nIconResource=C:\\mine.ico,0\r\n", kHidden | kSystem,
         kSystem, kHidden | kSystem, kSystem, kSystem},
        {"a file Notepad wrote in UTF-8", "\xEF\xBB\xBF[.ShellClassInfo]\r\nInfoTip=\xC3\x89t\xC3\xA9\r\n[ViewState]\r\nMode=4\r\n",
         kHidden, 0, kHidden, kSystem, kSystem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(Ini());
        if (!c.content.empty()) WriteBytes(Ini(), c.content);
        SetFileAttributesW(Ini().c_str(), c.file);
        SetFileAttributesW(folder.Path().c_str(), c.folder);
        const std::wstring keys = ShellKeys();
        ApplyIcon(L"new.ico", 2, L"Bulle");
        EXPECT_NE(ShellKeys().find(L"=" + Icon(L"new.ico") + L"\n"), std::wstring::npos) << ShellKeys();
        EXPECT_EQ(UserAttributes(Ini()), c.fileApplied);
        EXPECT_EQ(UserAttributes(folder.Path()), c.folderApplied);
        Reset();
        EXPECT_EQ(Exists(Ini()), !c.content.empty());
        EXPECT_EQ(ShellKeys(), keys);
        if (!c.content.empty()) {
            EXPECT_EQ(UserAttributes(Ini()), c.file);
        }
        EXPECT_EQ(UserAttributes(folder.Path()), c.folderReset);
        EXPECT_EQ(ErrorCount(), 0u);
    }
}

// The test session gives Wine's prefix the Documents and Pictures a Windows
// profile has, Windows' own desktop.ini in each (UTF-16, hidden and system):
// known folders by Windows' own answer, a reset never applied leaves their
// values, and Apply then reset gives them their own icon and tip back.
TEST_F(ResetTest, WindowsOwnFoldersGetTheirOwnIconBack) {
    if (!RunningOnWine()) GTEST_SKIP() << "a user's own Documents and Pictures are not the tests' to customise";
    for (const KNOWNFOLDERID& id : {FOLDERID_Documents, FOLDERID_Pictures}) {
        wchar_t* raw = nullptr;
        ASSERT_EQ(SHGetKnownFolderPath(id, 0, nullptr, &raw), S_OK);
        const std::wstring path = raw, ini = path + L"\\desktop.ini";
        CoTaskMemFree(raw);
        SCOPED_TRACE(ToAnsi(path));
        ASSERT_TRUE(Exists(ini)) << "the test session plants the file Windows ships";
        const KeptAsFound kept(ini, path);
        const std::wstring keys = ProfileSection(ini, L".ShellClassInfo");
        const DWORD attributes = UserAttributes(ini);
        Reset(path);
        EXPECT_EQ(ProfileSection(ini, L".ShellClassInfo"), keys);
        ApplyIcon(L"a.ico", 1, L"Bulle", path);
        EXPECT_NE(ProfileSection(ini, L".ShellClassInfo"), keys);
        Reset(path);
        EXPECT_EQ(ProfileSection(ini, L".ShellClassInfo"), keys);
        EXPECT_EQ(UserAttributes(ini), attributes);
        EXPECT_EQ(ErrorCount(), 0u);
    }
}

// Reset mode holds for a new folder: the icon and the info tip stay off, and
// Apply comes on at once and takes the new folder's customisation away.
TEST_F(ResetTest, ANewFolderChosenInResetModeIsResetByApply) {
    const std::string ours = "[.ShellClassInfo]\r\nICONFILE=C:\\a.ico\r\nICONINDEX=0\r\n";
    TempFolder first;
    for (const std::wstring& f : {first.Path(), folder.Path()}) {
        WriteBytes(f + L"\\desktop.ini", ours);
        SetFileAttributesW((f + L"\\desktop.ini").c_str(), kHidden);
        SetFileAttributesW(f.c_str(), kSystem);
    }
    Browse(first.Path());
    w.ClickReset();
    w.Apply();
    ASSERT_FALSE(Exists(first / L"desktop.ini"));

    Browse(folder.Path());
    EXPECT_TRUE(w.Ctl(F::chkReset).Checked());
    EXPECT_FALSE(w.Ctl(F::cmdShowIcon).Enabled());
    EXPECT_FALSE(w.Ctl(F::txtInfoTip).Enabled());
    EXPECT_EQ(w.Ctl(F::txtInfoTip).BackColour(), kButtonFace);
    EXPECT_TRUE(w.Ctl(F::cmdDone).Enabled());
    w.Apply();
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_EQ(UserAttributes(folder.Path()), 0u);
    EXPECT_TRUE(w.fake.profileWrites.empty()) << "Apply wrote instead of resetting";
    EXPECT_EQ(ErrorCount(), 0u);
}

std::set<std::wstring> NamesIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A folder under `path` so deep that its desktop.ini path is MAX_PATH
// characters long.
std::wstring DeepFolder(std::wstring path) {
    const size_t length = MAX_PATH - std::wstring(L"\\desktop.ini").size();
    MakeFolder(path);
    while (path.size() < length) {
        const size_t left = length - path.size();
        path += L"\\" + std::wstring(left > 101 ? 50 : left - 1, L'd');
        MakeFolder(Verbatim(path));
    }
    return path;
}

// When Apply or reset cannot finish, the error shows and the folder is left
// as it was: the file's bytes, both attribute sets, and nothing written
// anywhere else (Wine's profile writer, given a path of MAX_PATH or more,
// writes garbage-named files into the current folder).
TEST_F(ResetTest, WhatCannotBeFinishedIsLeftAsItWas) {
    constexpr DWORD kNoHolder = ~0u;
    const std::string ours = "[.ShellClassInfo]\r\nICONFILE=C:\\a.ico\r\nICONINDEX=0\r\n";
    const std::string huge = "[.ShellClassInfo]\r\nLocalizedResourceName=Photos\r\n;" + std::string(2 << 20, 'x') + "\r\n";
    struct Case {
        const char* what;
        bool reset;
        std::string content;  // none: no desktop.ini
        DWORD holderShare;    // another program holds the file open, sharing this
        bool deep;
    };
    const Case cases[] = {
        {"reset of a file over the 1 MiB a read takes", true, huge, kNoHolder, false},
        {"reset of a file held without read sharing", true, ours, 0, false},
        {"apply to a file held without write sharing", false, ours, FILE_SHARE_READ, false},
        {"apply under a desktop.ini path of MAX_PATH", false, "", kNoHolder, true},
        {"reset under a desktop.ini path of MAX_PATH", true, ours, kNoHolder, true},
    };
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring target = folder / (L"row" + std::to_wstring(row++));
        if (c.deep) {
            target = DeepFolder(target);
        } else {
            MakeFolder(target);
        }
        const std::wstring ini = Verbatim(target + L"\\desktop.ini");
        if (!c.content.empty()) {
            WriteBytes(ini, c.content);
            SetFileAttributesW(ini.c_str(), kHidden | kSystem);
        }
        SetFileAttributesW(Verbatim(target).c_str(), kHidden);
        const std::set<std::wstring> before = NamesIn(current);
        const size_t errors = ErrorCount(), writes = w.fake.profileWrites.size();

        HANDLE held = c.holderShare == kNoHolder
                          ? INVALID_HANDLE_VALUE
                          : CreateFileW(ini.c_str(), GENERIC_READ, c.holderShare, nullptr, OPEN_EXISTING, 0, nullptr);
        Browse(target);
        if (w.Ctl(F::chkReset).Checked() != c.reset) w.ClickReset();
        if (!c.reset) w.ChooseIcon(Icon(L"a.ico"), 1);
        w.Apply();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

        EXPECT_EQ(ErrorCount(), errors + 1);
        EXPECT_EQ(Exists(ini), !c.content.empty());
        EXPECT_TRUE(ReadBytes(ini) == c.content) << "the file's bytes changed";
        if (!c.content.empty()) {
            EXPECT_EQ(UserAttributes(ini), kHidden | kSystem);
        }
        EXPECT_EQ(UserAttributes(Verbatim(target)), kHidden);
        EXPECT_EQ(NamesIn(current), before);
        // Whatever a writer does with such a path, it is never handed one.
        if (c.deep) {
            EXPECT_EQ(w.fake.profileWrites.size(), writes);
        }
    }
    RemoveTree(Verbatim(folder.Path()));
}

}  // namespace
