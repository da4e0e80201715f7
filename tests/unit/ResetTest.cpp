// Reset on real folders and files under Wine, and what neither Apply nor
// reset may leave half done.
#include <functional>
#include <optional>
#include <set>

#include "ApplyFixture.h"

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
        std::wstring kept;
    };
    const Case cases[] = {
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
        EXPECT_EQ(ReadBytes(c.kept), bytes);
        EXPECT_EQ(UserAttributes(c.kept), attributes);
        EXPECT_EQ(UserAttributes(folder.Path()), 0u);
        link.reset();
        RemoveTree(Ini());
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
