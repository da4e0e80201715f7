// Reset on real folders and files under Wine, and what neither Apply nor
// reset may leave half done.
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>

#include <shlobj.h>

#include "ApplyFixture.h"
#include "platform/Platform.h"
#include "platform/Services.h"
#include "support/Pictures.h"

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
        "iconfile=C:\\a.ico\r\nIconIndex=2\r\nInfoTip=Bulle\r\nIconIndex=7\r\n[ViewState]\r\nFolderType=Pictures\r\n";
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

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes;
    for (const wchar_t c : text)
        bytes += bigEndian ? std::string{char(c >> 8), char(c)} : std::string{char(c), char(c >> 8)};
    return bytes;
}

// `count` lines of 110 bytes, each its own key.
std::string ManyKeys(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += "cle" + std::to_string(10000 + i) + "=" + std::string(99, 'v') + "\r\n";
    return lines;
}

// Apply then reset gives the folder back what it had: the icon keys with
// their values, the file's attributes and the folder's marks for Explorer.
// Apply leaves alone what it does not need: a hidden folder stays hidden, a
// system file stays one, and the file's other sections. A file that Windows'
// profile writer would misread (UTF-8 with a mark, UTF-16 big-endian or
// without its mark) is first given its text as UTF-16 with its mark: Wine's
// writer once rewrote the one without a mark as lines of "=". So is one that
// must hold a tip the ANSI code page cannot, every foreign value exact.
TEST_F(ResetTest, ApplyThenResetGivesTheFolderBackWhatItHad) {
    const std::wstring others =
        L"[.ShellClassInfo]\r\nConfirmFileOp=0\r\nInfoTip=\u00C9t\u00E9\r\n[ViewState]\r\nMode=4\r\n";
    struct Case {
        const char* what;
        std::string content;  // none: no desktop.ini
        DWORD file, folder;   // attributes before
        DWORD fileApplied, folderApplied, folderReset;
        bool unicode;  // made UTF-16 with its mark by Apply
        // What the file holds, where Windows' reader misreads it before Apply.
        const wchar_t* keys = nullptr;
        const wchar_t* view = nullptr;
        std::wstring tip = L"Bulle";
        bool known = false;  // one of Windows' known folders
    };
    const Case cases[] = {
        {"a plain folder", "", 0, 0, kHidden, kSystem, 0, false},
        {"a hidden folder", "", 0, kHidden, kHidden, kHidden | kSystem, kHidden, false},
        {"a known folder without desktop.ini (Music...)", "", 0, 0, kHidden, kSystem, 0, false, nullptr, nullptr, L"Bulle", true},
        {"Explorer's Customize tab", "[.ShellClassInfo]\r\nIconResource=C:\\mine.ico,0\r\n", kHidden | kSystem,
         kSystem, kHidden | kSystem, kSystem, kSystem, false},
        {"a read-only folder", "[.ShellClassInfo]\r\nLocalizedResourceName=Mes photos\r\n", kHidden, kReadOnly,
         kHidden, kReadOnly | kSystem, kReadOnly, false},
        {"UTF-8 with its mark, the section on line 1",
         "\xEF\xBB\xBF[.ShellClassInfo]\r\nInfoTip=\xC3\x89t\xC3\xA9\r\n[ViewState]\r\nMode=4\r\n", kHidden, 0, kHidden,
         kSystem, 0, true},
        {"UTF-8 with its mark, a comment first",
         "\xEF\xBB\xBF; Notepad\r\n[.ShellClassInfo]\r\nConfirmFileOp=0\r\nInfoTip=\xC3\x89t\xC3\xA9\r\n[ViewState]\r\nMode=4\r\n",
         kHidden, 0, kHidden, kSystem,
         0, true},
        {"UTF-16 big-endian", "\xFE\xFF" + Utf16(others, true), kHidden, 0, kHidden, kSystem, 0, true},
        {"UTF-16 without its mark", Utf16(others, false), kHidden, kSystem, kHidden, kSystem, kSystem, true,
         L"ConfirmFileOp=0\nInfoTip=\u00C9t\u00E9\n", L"Mode=4\n"},
        // Copied, merged or edited by hand: names with blanks and in other
        // letter case, a listed key with no kept value, a second section.
        {"a way back not as written", "[.ShellClassInfo]\r\nICONFILE=C:\\applied.ico\r\nICONINDEX=1\r\n"
         "ConfirmFileOp=0\r\n[Tivrelon]\r\nSaved= InfoTip , iconindex\r\nINFOTIP=Ancienne bulle\r\n"
         "[tivrelon]\r\nSaved=IconFile\r\nIconFile=C:\\autre.ico\r\n", kHidden | kSystem, kSystem, kHidden | kSystem,
         kSystem, kSystem, false, L"ConfirmFileOp=0\nINFOTIP=Ancienne bulle\n"},
        {"a way back that lists its key in other letter case", "[.ShellClassInfo]\r\nICONFILE=C:\\applied.ico\r\n"
         "ConfirmFileOp=0\r\n[Tivrelon]\r\nSaved=iconfile\r\nICONFILE=C:\\mine.ico\r\n", kHidden | kSystem, kSystem,
         kHidden | kSystem, kSystem, kSystem, false, L"ICONFILE=C:\\mine.ico\nConfirmFileOp=0\n"},
        {"ANSI, accented foreign values, a Greek tip",
         "[.ShellClassInfo]\r\nLocalizedResourceName=\xC9t\xE9 \xE0 No\xEBl\r\nInfoTip=Ancienne\r\n[ViewState]\r\n"
         "Mode=\xE9\r\n", kHidden, 0, kHidden, kSystem, 0, true, nullptr, nullptr, L"Διακοπές \U0001F600"},
        // A string's terminator written with the file pairs up into text;
        // hand-edited files list a key twice, or name a section "[]"; a file
        // of 9,000 keys, near the 1 MiB a read takes, is read back as fast.
        {"ANSI ending with a NUL", std::string("[.ShellClassInfo]\r\nLocalizedResourceName=Mes photos\r\n[ViewState]\r\n"
                                               "Mode=44\r\n\0", 76), kHidden, 0, kHidden, kSystem, 0, false},
        {"a key listed twice, a section with no name", "[]\r\nx=1\r\n[.ShellClassInfo]\r\nConfirmFileOp=0\r\n"
         "ConfirmFileOp=1\r\n[ViewState]\r\nMode=4\r\nMode=5\r\n", kHidden, 0, kHidden, kSystem, 0, false},
        {"9,000 keys", "[.ShellClassInfo]\r\nConfirmFileOp=0\r\n[Grand]\r\n" + ManyKeys(9000), kHidden, 0, kHidden,
         kSystem, 0, false},
        {"UTF-16LE, foreign values in Cyrillic, a Japanese tip",
         "\xFF\xFE" + Utf16(L"[.ShellClassInfo]\r\nLocalizedResourceName=Документы\r\nInfoTip=Мои\r\n[ViewState]\r\n"
                            L"Mode=4\r\n", false),
         kHidden | kSystem, kSystem, kHidden | kSystem, kSystem, kSystem, true, nullptr, nullptr, L"家族の写真"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(Ini());
        if (!c.content.empty()) WriteBytes(Ini(), c.content);
        SetFileAttributesW(Ini().c_str(), c.file);
        SetFileAttributesW(folder.Path().c_str(), c.folder);
        // Wine keeps no read-only mark on a folder: that row runs on Windows.
        if (UserAttributes(folder.Path()) != c.folder) continue;
        w.fake.knownFolderPaths = [&] { return std::vector<std::wstring>(c.known, folder.Path()); };
        const std::wstring keys = c.keys ? c.keys : ShellKeys();
        const std::wstring view = c.view ? c.view : ProfileSection(Ini(), L"ViewState");
        ApplyIcon(L"new.ico", 2, c.tip);
        EXPECT_NE(ShellKeys().find(L"=" + Icon(L"new.ico") + L"\n"), std::wstring::npos) << ShellKeys();
        EXPECT_NE(ShellKeys().find(L"=" + c.tip + L"\n"), std::wstring::npos) << ShellKeys();
        EXPECT_EQ(ProfileSection(Ini(), L"ViewState"), view);
        EXPECT_EQ(IniText().starts_with("\xFF\xFE"), c.unicode);
        EXPECT_EQ(UserAttributes(Ini()), c.fileApplied);
        EXPECT_EQ(UserAttributes(folder.Path()), c.folderApplied);
        Reset();
        EXPECT_EQ(Exists(Ini()), !c.content.empty());
        EXPECT_EQ(ShellKeys(), keys);
        EXPECT_EQ(ProfileSection(Ini(), L"ViewState"), view);
        EXPECT_EQ(ProfileSection(Ini(), L"Tivrelon"), L"") << "the way back left behind";
        if (!c.content.empty()) {
            EXPECT_EQ(UserAttributes(Ini()), c.file);
        }
        EXPECT_EQ(UserAttributes(folder.Path()), c.folderReset);
        EXPECT_EQ(ErrorCount(), 0u);
    }
}

std::wstring KnownFolderPath(const KNOWNFOLDERID& id) {
    wchar_t* raw = nullptr;
    if (SHGetKnownFolderPath(id, 0, nullptr, &raw) != S_OK) return {};
    const std::wstring path = raw;
    CoTaskMemFree(raw);
    return path;
}

// Windows' own folders: a reset that finds nothing of ours leaves their
// desktop.ini as it is, and Apply then reset gives them their own icon and
// tip back. The test session gives Wine's prefix the Documents and Pictures
// a Windows profile has, Windows' own file in each (UTF-16, hidden and
// system); Documents is also reached by its 8.3 name and through a link
// (which Wine shows as a junction shows on Windows), which a comparison of
// paths took for some other folder. Music's file holds nothing but Windows'
// IconResource, once taken for a file of ours and deleted: played by the
// test's own folder, scripted as a known folder. A reset that changes
// nothing says why.
TEST_F(ResetTest, WindowsOwnFoldersGetTheirOwnIconBack) {
    const std::wstring kWindowsOwn = L"Ce dossier est un dossier de Windows, et son desktop.ini est celui de Windows : Tivrelon n'y trouve rien à retirer et le laisse tel quel.";
    TempFolder links;
    const std::wstring documents = KnownFolderPath(FOLDERID_Documents);
    const SymbolicLink link(links / L"Docs", documents);
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(documents.c_str(), shortName.data(), MAX_PATH));
    EXPECT_NE(shortName, documents) << "no 8.3 name to reach Documents by";
    const struct {
        std::wstring path, folder;  // reached by, and the folder itself
        const char* music;          // the desktop.ini planted, where it is not Windows' own
    } cases[] = {
        {folder.Path(), folder.Path(), "[.ShellClassInfo]\r\nIconResource=%SystemRoot%\\system32\\imageres.dll,-108\r\n"},
        {documents, documents, nullptr},
        {shortName, documents, nullptr},
        {links / L"Docs", documents, nullptr},
        {KnownFolderPath(FOLDERID_Pictures), KnownFolderPath(FOLDERID_Pictures), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToAnsi(c.path));
        if (!c.music && !(RunningOnWine() && link.Made()))
            GTEST_SKIP() << "a user's own Documents and Pictures are not the tests' to customise";
        const std::wstring ini = c.folder + L"\\desktop.ini";
        const KeptAsFound kept(ini, c.folder);
        w.fake.knownFolderPaths = nullptr;
        if (c.music) {
            WriteBytes(ini, c.music);
            SetFileAttributesW(c.folder.c_str(), kReadOnly);
            w.fake.knownFolderPaths = [&] { return std::vector<std::wstring>{L"C:\\Elsewhere", c.folder}; };
        } else if (!Exists(ini)) {
            if (services::FinalPath(services::OpenToQuery(c.folder).get()) != c.folder)
                GTEST_SKIP() << "Wine links this prefix's Documents and Pictures to the Linux home, not the tests'";
            WriteBytes(ini, cases[0].music);  // where the session did not plant it
        }
        SetFileAttributesW(ini.c_str(), kHidden | kSystem);
        const std::string bytes = ReadBytes(ini);
        const DWORD attributes = UserAttributes(ini), folderAttributes = UserAttributes(c.folder);
        const size_t boxes = w.fake.messageBoxes.size();
        Reset(c.path);
        ASSERT_EQ(w.fake.messageBoxes.size(), boxes + 1);
        EXPECT_EQ(w.fake.messageBoxes.back().text, kWindowsOwn);
        EXPECT_EQ(ReadBytes(ini), bytes);
        EXPECT_EQ(UserAttributes(ini), attributes);
        EXPECT_EQ(UserAttributes(c.folder), folderAttributes);
        const std::wstring keys = ProfileSection(ini, L".ShellClassInfo");
        ApplyIcon(L"a.ico", 1, L"Bulle", c.path);
        EXPECT_NE(ProfileSection(ini, L".ShellClassInfo"), keys);
        Reset(c.path);
        EXPECT_EQ(ProfileSection(ini, L".ShellClassInfo"), keys);
        EXPECT_EQ(UserAttributes(ini), attributes);
        EXPECT_EQ(UserAttributes(c.folder), folderAttributes);
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

// The name of the icon file a picture was made into: desktop.ini's IconFile.
std::wstring MadeIconName(const std::wstring& ini) {
    wchar_t name[MAX_PATH] = L"";
    GetPrivateProfileStringW(L".ShellClassInfo", L"IconFile", L"", name, MAX_PATH, ini.c_str());
    return name;
}

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
               std::abs(GetBValue(a) - GetBValue(b)) < 12;
}

// A picture becomes an icon file of the folder's own, hidden and system,
// named in desktop.ini relative to the folder: fitted, not stretched, with
// transparent margins on its short side and its own alpha, as Windows draws
// it and as the preview showed it. Reset takes it away with the rest.
TEST_F(ResetTest, APictureBecomesAnIconFileOfTheFolderThatResetTakesAway) {
    constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
    const struct {
        const wchar_t* name;
        PictureFormat format;
        int width, height;
        BYTE alpha;
        POINT margin;  // of the 32-pixel icon, in the picture when it is square
        COLORREF middle;  // drawn on blue
    } cases[] = {
        {L"mi-transparente.png", PictureFormat::Png, 60, 30, 128, {16, 3}, RGB(128, 0, 127)},
        {L"haute.jpg", PictureFormat::Jpeg, 30, 90, 255, {3, 16}, kRed},
        {L"carrée.bmp", PictureFormat::Bmp, 50, 50, 255, {1, 1}, kRed},
        {L"large.gif", PictureFormat::Gif, 40, 20, 255, {16, 3}, kRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToAnsi(c.name));
        const auto red = [&](int, int) { return DWORD{c.alpha} << 24 | 0xFF0000u; };
        WriteBytes(icons / c.name, PictureBytes(c.format, c.width, c.height, red));
        ApplyFile(icons / c.name, 0, L"Vacances");
        const std::wstring name = MadeIconName(Ini()), made = folder / name;
        EXPECT_TRUE(name.starts_with(L"Tivrelon-") && name.ends_with(L".ico")) << ToAnsi(name);
        EXPECT_EQ(ShellKeys(), L"ICONFILE=" + name + L"\nICONINDEX=0\nINFOTIP=Vacances\n");
        EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::wstring>{L".", L"..", L"desktop.ini", name}));
        EXPECT_EQ(UserAttributes(made), kHidden | kSystem);
        EXPECT_TRUE(Near(IconFilePixel(made, 32, 16, 16, kBlue), c.middle));
        EXPECT_EQ(IconFilePixel(made, 32, c.margin.x, c.margin.y, kBlue), c.width == c.height ? kRed : kBlue);
        const PictureBox& preview = w.form.Picture(F::picIcon);
        for (const POINT at : {POINT{16, 16}, c.margin})
            EXPECT_EQ(GetPixel(preview.Dc(), at.x, at.y),
                      IconFilePixel(made, preview.Size().cx, at.x, at.y, ResolveColour(kButtonFace)));
        Reset();
        EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::wstring>{L".", L".."}));
        EXPECT_EQ(UserAttributes(folder.Path()), 0u);
        EXPECT_EQ(ErrorCount(), 0u);
    }
}

// A second Apply replaces the icon file the first made, whatever it writes
// instead; a file of the user's is never overwritten or deleted, even under
// the program's name; and an Apply or reset that cannot finish leaves the
// earlier file as it was.
TEST_F(ResetTest, ASecondApplyReplacesTheIconFileItMadeButNeverAUsersFile) {
    const std::wstring red = icons / L"rouge.png", green = icons / L"vert.png";
    WriteBytes(red, PictureBytes(PictureFormat::Png, 8, 8, [](int, int) { return 0xFFFF0000u; }));
    WriteBytes(green, PictureBytes(PictureFormat::Png, 8, 8, [](int, int) { return 0xFF00FF00u; }));
    const auto apply = [&](const std::wstring& picture) {
        ApplyFile(picture, 0);
        return MadeIconName(Ini());
    };
    const std::wstring mine = apply(red);
    Reset();
    WriteBytes(folder / mine, "mon icône");
    const std::wstring second = apply(red), third = apply(green);
    EXPECT_TRUE(second != mine && third != second);
    const std::set<std::wstring> names{L".", L"..", L"desktop.ini", mine, third};
    EXPECT_EQ(NamesIn(folder.Path()), names);
    const std::string ini = IniText(), made = ReadBytes(folder / third);

    enum Failure { RefusedWrite, IconFileHeld, IniHeldOnReset };
    for (const Failure failure : {RefusedWrite, IconFileHeld, IniHeldOnReset}) {
        SCOPED_TRACE(failure);
        if (failure == RefusedWrite)
            w.fake.writeProfile = [](const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*) { return FALSE; };
        const std::wstring held = failure == IconFileHeld ? folder / third : Ini();
        HANDLE holder = failure == RefusedWrite ? INVALID_HANDLE_VALUE
                                                : CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                              OPEN_EXISTING, 0, nullptr);
        const size_t errors = ErrorCount();
        failure == IniHeldOnReset ? Reset() : void(apply(red));
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        w.fake.writeProfile = nullptr;
        EXPECT_EQ(ErrorCount(), errors + 1);
        EXPECT_EQ(NamesIn(folder.Path()), names);
        EXPECT_EQ(IniText(), ini);
        EXPECT_EQ(ReadBytes(folder / third), made);
        EXPECT_EQ(UserAttributes(folder / third), kHidden | kSystem);
    }

    ApplyIcon(L"a.ico", 0);
    EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::wstring>{L".", L"..", L"desktop.ini", mine}));
    // The user's own icon file, named relative to the folder.
    WriteBytes(Ini(), "[.ShellClassInfo]\r\nIconFile=" + ToAnsi(mine) + "\r\nIconIndex=0\r\n");
    Reset();
    EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::wstring>{L".", L"..", mine}));
    EXPECT_EQ(ReadBytes(folder / mine), "mon icône");
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
// writes garbage-named files into the current folder), nor later: Wine's
// writer kept a write it could not save in its cache and saved it at the
// next Apply elsewhere. A reset that cannot delete the file changes nothing.
TEST_F(ResetTest, WhatCannotBeFinishedIsLeftAsItWas) {
    constexpr DWORD kNoHolder = ~0u;
    const std::string ours = "[.ShellClassInfo]\r\nICONFILE=C:\\a.ico\r\nICONINDEX=0\r\n";
    const std::string theirs = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\n[ViewState]\r\nFolderType=Pictures\r\n";
    const std::string huge = "[.ShellClassInfo]\r\nLocalizedResourceName=Photos\r\n;" + std::string(2 << 20, 'x') + "\r\n";
    struct Case {
        const char* what;
        bool reset;
        std::string content;  // none: no desktop.ini
        DWORD holderShare;    // another program holds the file open, sharing this
        bool deep;
        // The writer damages a setting it was not asked to touch: these bytes become `into`.
        const char* damaged = nullptr;
        const char* into = "";
        enum { none, folderAttributes, deletionMark } refused = none;  // what Windows refuses
    };
    const Case cases[] = {
        {"reset of a file over the 1 MiB a read takes", true, huge, kNoHolder, false},
        {"reset of a file held without read sharing", true, ours, 0, false},
        {"reset of a file held without delete sharing", true, ours, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {"apply to a file held without write sharing", false, ours, FILE_SHARE_READ, false},
        {"apply to a file held without delete sharing", false, theirs, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {"apply under a desktop.ini path of MAX_PATH", false, "", kNoHolder, true},
        {"reset under a desktop.ini path of MAX_PATH", true, ours, kNoHolder, true},
        {"apply to NUL bytes that are no UTF-16", false, std::string("[\0s\0]\0\0\0", 8), kNoHolder, false},
        {"apply to UTF-8 after its mark that is no UTF-8", false, "\xEF\xBB\xBF[.ShellClassInfo]\r\nInfoTip=\xC3(\r\n",
         kNoHolder, false},
        {"apply with a writer that loses a setting", false, theirs, kNoHolder, false, "[ViewState]\r\nFolderType=Pictures"},
        {"apply with a writer that changes a setting's value", false, theirs, kNoHolder, false, "=Pictures", "=Music"},
        {"apply to ANSI with a NUL inside a line", false, std::string(";\0x\r\n", 5) + theirs, kNoHolder, false},
        {"reset where the folder's attributes cannot change", true, ours, kNoHolder, false, {}, "", Case::folderAttributes},
        {"reset where the file cannot be marked for deletion", true, ours, kNoHolder, false, {}, "", Case::deletionMark},
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
        // A folder to reset is customised: a system folder.
        const DWORD folderAttributes = kHidden | (c.reset ? kSystem : 0);
        SetFileAttributesW(Verbatim(target).c_str(), folderAttributes);
        const std::set<std::wstring> before = NamesIn(current);
        const size_t errors = ErrorCount(), writes = w.fake.profileWrites.size();
        if (c.damaged)
            w.fake.writeProfile = [&](const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* file) {
                const BOOL written = w.fake.Platform::WritePrivateProfileStringW(section, key, value, file);
                std::string text = ReadBytes(ini);
                if (const size_t at = text.find(c.damaged); at != std::string::npos)
                    text.replace(at, strlen(c.damaged), c.into);
                WriteBytes(ini, text);
                return written;
            };

        w.fake.setFileAttributes = [&, target, refused = c.refused](const wchar_t* path, DWORD attributes) {
            return (refused != Case::folderAttributes || path != target) && w.fake.Platform::SetFileAttributesW(path, attributes);
        };
        w.fake.setFileInformation = [&, refused = c.refused](auto... call) {
            return refused != Case::deletionMark && w.fake.Platform::SetFileInformationByHandle(call...);
        };
        // One that lets others write holds the file to move or delete it.
        const DWORD access = GENERIC_READ | (c.holderShare & FILE_SHARE_WRITE ? DELETE : 0);
        HANDLE held = c.holderShare == kNoHolder
                          ? INVALID_HANDLE_VALUE
                          : CreateFileW(ini.c_str(), access, c.holderShare, nullptr, OPEN_EXISTING, 0, nullptr);
        Browse(target);
        if (w.Ctl(F::chkReset).Checked() != c.reset) w.ClickReset();
        if (!c.reset) w.ChooseIcon(Icon(L"a.ico"), 1);
        w.Apply();
        w.fake.writeProfile = nullptr;
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(ErrorCount(), errors + 1);
        // Whatever a writer does with such a path, it is never handed one.
        if (c.deep) {
            EXPECT_EQ(w.fake.profileWrites.size(), writes);
        }
        ApplyIcon(L"b.ico", 0);  // elsewhere, once the holder let go

        EXPECT_EQ(ErrorCount(), errors + 1);
        EXPECT_EQ(Exists(ini), !c.content.empty());
        EXPECT_TRUE(ReadBytes(ini) == c.content) << "the file's bytes changed";
        if (!c.content.empty()) {
            EXPECT_EQ(UserAttributes(ini), kHidden | kSystem);
        }
        EXPECT_EQ(UserAttributes(Verbatim(target)), folderAttributes);
        EXPECT_EQ(NamesIn(current), before);
    }
    RemoveTree(Verbatim(folder.Path()));
}

}  // namespace
