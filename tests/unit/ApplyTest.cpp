// Apply on real folders and files under Wine.
#include <vector>

#include "ApplyFixture.h"
#include "modules/modIcon.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "support/Gui.h"

namespace {

using ApplyTest = ApplyFixture;

TEST_F(ApplyTest, NewFileHoldsTheSectionAndUpperCaseKeysInOrder) {
    struct Case {
        int index;
        std::wstring infoTip;
        std::string afterIconFile;
    };
    const Case cases[] = {
        {3, L"", "ICONINDEX=3\r\n"},
        {-7, L"", "ICONINDEX=-7\r\n"},
        {0, L"Mes photos", "ICONINDEX=0\r\nINFOTIP=Mes photos\r\n"},
        // Accented text the ANSI code page holds goes through unchanged.
        {1, L"Été à Noël", "ICONINDEX=1\r\nINFOTIP=\xC9t\xE9 \xE0 No\xEBl\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        RemoveTree(Ini());
        ApplyIcon(L"set.dll", c.index, c.infoTip);
        EXPECT_EQ(IniText(), "[.ShellClassInfo]\r\nICONFILE=" + IconText(L"set.dll") + "\r\n" + c.afterIconFile);
        EXPECT_EQ(UserAttributes(Ini()), kHidden);
        EXPECT_EQ(UserAttributes(folder.Path()), kSystem);
        EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());
        EXPECT_EQ(ErrorCount(), 0u);
    }
}

// A name in any script is the folder of that exact name, by every road:
// the look-alike beside it (the folder an "A" call would reach) never
// changes. A value the code page cannot hold makes desktop.ini UTF-16LE,
// every value read back exactly; reset leaves the folder as it was.
TEST_F(ApplyTest, AnyNameInAnyScriptIsTakenExactlyByEveryRoad) {
    enum Road { Browser, CommandLine, Dropped };
    const struct {
        std::wstring name, twin, tip, iconFolder;
        Road road;
    } cases[] = {
        {L"Φωτογραφίες", L"", L"Διακοπές ☀", L"", Browser},
        {L"Документы 2026", L"", L"Мои документы", L"", CommandLine},
        {L"家族の写真", L"", L"写真 \U0001F600", L"Ikony Żółć", Dropped},
        {L"Ādir", L"Adir", L"", L"", Browser},
        {L"ＡＢＣ", L"ABC", L"", L"Ikony Żółć", CommandLine},
        {L"x\u2215y", L"x\\y", L"Été", L"", Dropped},
    };
    const std::string twinIni = "[.ShellClassInfo]\r\nICONFILE=C:\\twin.ico\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        const std::wstring chosen = folder / c.name, twin = folder / c.twin, ini = chosen + L"\\desktop.ini";
        MakeFolder(chosen);
        if (!c.twin.empty()) {
            MakeFolder(folder / c.twin.substr(0, c.twin.find(L'\\')));
            MakeFolder(twin);
            WriteBytes(twin + L"\\desktop.ini", twinIni);
        }
        if (!c.iconFolder.empty()) MakeFolder(icons / c.iconFolder);
        const std::wstring icon = Icon(c.iconFolder.empty() ? L"i.ico" : c.iconFolder + L"\\i.ico");
        if (c.road == Browser) Browse(chosen);
        if (c.road == CommandLine) w.form.TakeHandedArguments({chosen});
        if (c.road == Dropped) Drop(w.form.Hwnd(), {chosen});
        ASSERT_EQ(w.form.FolderPath, chosen);
        w.ChooseIcon(icon, 2);
        w.Ctl(F::txtInfoTip).SetText(c.tip);
        w.Apply();
        EXPECT_TRUE(w.fake.messageBoxes.empty());
        EXPECT_EQ(ReadBytes(ini).starts_with("\xFF\xFE"), !AnsiForm(c.tip) || !AnsiForm(icon));
        const auto value = [&](const wchar_t* key) {
            wchar_t text[MAX_PATH] = L"";
            GetPrivateProfileStringW(L".ShellClassInfo", key, L"", text, MAX_PATH, ini.c_str());
            return std::wstring(text);
        };
        EXPECT_EQ(value(L"IconFile"), icon);
        EXPECT_EQ(value(L"IconIndex"), L"2");
        EXPECT_EQ(value(L"InfoTip"), c.tip);
        EXPECT_EQ(UserAttributes(chosen), kSystem);
        Reset(chosen);
        EXPECT_FALSE(Exists(ini));
        EXPECT_EQ(UserAttributes(chosen), 0u);
        if (!c.twin.empty()) {
            EXPECT_EQ(ReadBytes(twin + L"\\desktop.ini"), twinIni);
            EXPECT_EQ(UserAttributes(twin), 0u);
        }
        EXPECT_TRUE(w.fake.messageBoxes.empty());
        if (w.Ctl(F::chkReset).Checked()) w.ClickReset();
    }
}

// Spaces only are not empty: handed to the writer as typed (how the writer
// lays a value out is its own business).
TEST_F(ApplyTest, AnInfoTipOfSpacesIsWritten) {
    ApplyIcon(L"a.ico", 0, L"   ");
    ASSERT_EQ(w.fake.profileWrites.size(), 3u);
    EXPECT_EQ(w.fake.profileWrites[2].key, L"INFOTIP");
    EXPECT_EQ(w.fake.profileWrites[2].value, L"   ");
    EXPECT_NE(IniText().find("INFOTIP="), std::string::npos);
}

TEST_F(ApplyTest, ExistingSettingsSurviveAndAnEmptyInfoTipKeepsTheOldOne) {
    WriteBytes(Ini(),
               "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\nINFOTIP=Ancienne\r\n"
               "ICONFILE=old.ico\r\nICONINDEX=9\r\n[ViewState]\r\nMode=4\r\n");
    SetFileAttributesW(Ini().c_str(), kHidden | kSystem);
    ApplyIcon(L"new.ico", 2);
    EXPECT_EQ(ShellKeys(), L"LocalizedResourceName=@shell32.dll,-21770\nINFOTIP=Ancienne\nICONFILE=" +
                               Icon(L"new.ico") + L"\nICONINDEX=2\n");
    EXPECT_NE(IniText().find("[ViewState]\r\nMode=4"), std::string::npos) << IniText();
    EXPECT_EQ(UserAttributes(Ini()), kHidden | kSystem) << "a system file stays one";
    EXPECT_EQ(ErrorCount(), 0u);
}

// Explorer's Customize tab writes IconResource, which Windows reads before
// IconFile: when the section holds one, it takes the new icon too (also
// behind a UTF-8 byte-order mark, which Windows' reader reads through); when
// it does not, none is added.
TEST_F(ApplyTest, AnIconResourceInTheSectionTakesTheNewIcon) {
    struct Case {
        const char* before;
        std::wstring iconResource;  // as Windows' reader finds it afterwards
    };
    const std::wstring icon = Icon(L"new.ico");
    const Case cases[] = {
        {"[.ShellClassInfo]\r\niconResource=C:\\old.dll,9\r\n", icon + L",2"},
        {"\xEF\xBB\xBF[.ShellClassInfo]\r\nIconResource=C:\\old.dll,9\r\n", icon + L",2"},
        {"[.ShellClassInfo]\r\nICONFILE=C:\\old.dll\r\n", L""},
        {"[Other]\r\nIconResource=C:\\old.dll,9\r\n", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        WriteBytes(Ini(), c.before);
        ApplyIcon(L"new.ico", 2);
        wchar_t value[MAX_PATH] = L"";
        GetPrivateProfileStringW(L".ShellClassInfo", L"IconResource", L"", value, MAX_PATH, Ini().c_str());
        EXPECT_EQ(value, c.iconResource);
        EXPECT_EQ(ErrorCount(), 0u);
        RemoveTree(Ini());
    }
}

// Windows will not let the profile writer re-create a hidden file; applying
// again to a customised folder must still land the new icon.
TEST_F(ApplyTest, ApplyingAgainToACustomisedFolderLandsTheNewIcon) {
    ApplyIcon(L"first.dll", 1, L"Premier");
    ASSERT_EQ(UserAttributes(Ini()), kHidden);
    ApplyIcon(L"second.dll", 5);
    EXPECT_EQ(IniText(), "[.ShellClassInfo]\r\nICONFILE=" + IconText(L"second.dll") + "\r\nICONINDEX=5\r\nINFOTIP=Premier\r\n");
    EXPECT_EQ(UserAttributes(Ini()), kHidden);
    EXPECT_EQ(UserAttributes(folder.Path()), kSystem);
    EXPECT_EQ(ErrorCount(), 0u);
}

TEST_F(ApplyTest, ReadOnlyDesktopIniIsRewrittenAndEndsHiddenOnly) {
    WriteBytes(Ini(), "[.ShellClassInfo]\r\nICONFILE=old.ico\r\n");
    SetFileAttributesW(Ini().c_str(), kReadOnly);
    ApplyIcon(L"new.ico", 4);
    EXPECT_EQ(IniText(), "[.ShellClassInfo]\r\nICONFILE=" + IconText(L"new.ico") + "\r\nICONINDEX=4\r\n");
    EXPECT_EQ(UserAttributes(Ini()), kHidden);
    EXPECT_EQ(ErrorCount(), 0u);
}

// A refused write is a failure: the message shows and nothing after it runs.
TEST_F(ApplyTest, RefusedWriteShowsTheErrorAndSetsNoAttribute) {
    w.fake.writeProfile = [](const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*) {
        SetLastError(ERROR_WRITE_PROTECT);
        return FALSE;
    };
    SetFileAttributesW(folder.Path().c_str(), kHidden);
    ApplyIcon(L"a.ico", 0);
    EXPECT_EQ(ErrorCount(), 1u);
    // The refused write, then the flush that ends whatever the writer kept of it.
    ASSERT_EQ(w.fake.profileWrites.size(), 2u);
    EXPECT_EQ(w.fake.profileWrites[1].section + w.fake.profileWrites[1].key, L"");
    EXPECT_EQ(UserAttributes(folder.Path()), kHidden);
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());
    EXPECT_TRUE(w.fake.changedFolders.empty());
}

// Text no file can hold exactly (half a surrogate pair, pasted) is refused
// before anything changes, saying why; so is an icon file that is gone since
// it was chosen (deleted, its drive removed) or no longer holds an icon, and
// an info tip longer than the profile writer stores (Wine's garbles one of
// 32,767 characters and says it succeeded). A value that did not land as
// written puts the file back as it was.
TEST_F(ApplyTest, TextNoFileHoldsOrAVanishedIconIsRefusedBeforeAnyChange) {
    enum Then { Nothing, IconGone, IconReplaced, WriterCutsTheTip };
    struct Case {
        const char* what;
        std::wstring subFolder, infoTip;
        Then then = Nothing;
        std::wstring message = L"Erreur dans la création de l'icône !";
    };
    const Case cases[] = {
        {"half a surrogate pair in the info tip", L"plain3", L"demi \xD83D paire", Nothing,
         L"Ce nom ou ce texte contient un caractère Unicode incomplet (une moitié de paire de substitution UTF-16) "
         L"qu'aucun fichier desktop.ini ne peut garder tel quel : Tivrelon n'a rien modifié."},
        {"icon file deleted after it was chosen", L"plain4", L"", IconGone},
        {"icon file replaced by one without icons", L"plain5", L"", IconReplaced},
        {"info tip of 40,000 characters", L"plain6", std::wstring(40000, L'x')},
        {"a writer that stores less than it was given", L"plain7", L"Bulle", WriterCutsTheTip},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring sub = folder / c.subFolder;
        MakeFolder(sub);
        const std::wstring ini = sub + L"\\desktop.ini";
        WriteBytes(ini, "[.ShellClassInfo]\r\nICONFILE=keep.ico\r\n");
        SetFileAttributesW(ini.c_str(), kHidden);
        const size_t boxes = w.fake.messageBoxes.size();
        w.ChooseFolder(sub);
        const std::wstring icon = Icon(std::to_wstring(row++) + L".ico");
        w.ChooseIcon(icon, 1);
        if (c.then == IconGone) RemoveTree(icon);
        if (c.then == IconReplaced) WriteBytes(icon, "MZ, but no icons");
        if (c.then == WriterCutsTheTip)
            w.fake.writeProfile = [&](const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* file) {
                return w.fake.Platform::WritePrivateProfileStringW(
                    section, key, key && std::wstring(key) == L"INFOTIP" ? L"Bu" : value, file);
            };
        w.Ctl(F::txtInfoTip).SetText(c.infoTip);
        w.Apply();
        ASSERT_EQ(w.fake.messageBoxes.size(), boxes + 1);
        EXPECT_EQ(w.fake.messageBoxes.back().text, c.message);
        EXPECT_EQ(ReadBytes(ini), "[.ShellClassInfo]\r\nICONFILE=keep.ico\r\n");
        EXPECT_EQ(UserAttributes(ini), kHidden);
        EXPECT_EQ(UserAttributes(sub), 0u);
        EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());
        w.fake.writeProfile = nullptr;
    }
}

TEST_F(ApplyTest, ALineBreakNeverReachesTheInfoTip) {
    // A multi-line paste would start a line of its own in the file.
    ApplyIcon(L"a.ico", 0, L"ligne\r\nICONFILE=C:\\evil.exe");
    EXPECT_EQ(ErrorCount(), 1u);
    EXPECT_FALSE(Exists(Ini()));
}

TEST_F(ApplyTest, EmptyFolderPathChangesNothingAndSaysSo) {
    Browse(folder.Path());
    w.ChooseIcon(Icon(L"a.ico"), 0);
    Browse(L"");  // a later browse is cancelled
    w.Apply();
    EXPECT_EQ(ErrorCount(), 1u);
    EXPECT_TRUE(w.fake.profileWrites.empty());
    EXPECT_FALSE(w.Ctl(F::cmdDone).Enabled());

    w.ClickReset();
    w.Apply();
    EXPECT_EQ(ErrorCount(), 2u);
}

// Under WOW64 this program sees SysWOW64 under the name System32, and
// Explorer, a 64-bit program, the real System32: ICONFILE names the file the
// preview showed as Explorer finds it, the real System32's copy where there
// is one, and System32 for a file chosen through Sysnative, a folder Explorer
// lacks. Files planted in Wine's prefix and chosen in another letter case,
// as the Open dialog may give it; elsewhere (a 64-bit program, a real
// machine's system folders) the scripted platform plays WOW64 in folders of
// the test's own, System32 showing SysWOW64's files as the redirector does.
TEST_F(ApplyTest, UnderWow64AnIconFileOfSystem32IsNamedAsExplorerFindsIt) {
    Platform::Wow64Folders folders = platform().GetWow64Folders();
    const TempFolder played;
    const bool scripted = !folders.Redirected() || !RunningOnWine();
    if (scripted) {
        folders = {played / L"System32", played / L"SysWOW64", played / L"Sysnative"};
        for (const std::wstring& f : {folders.system, folders.wow64, folders.native}) MakeFolder(f);
        w.fake.wow64Folders = [folders] { return folders; };
    }
    std::wstring system = folders.system;
    CharUpperW(system.data());
    const std::wstring spellings[] = {system, folders.system, folders.wow64, folders.native};
    enum Spelling { kSystemInCapitals, kSystem, kWow64, kNative };
    const struct {
        const char* what;
        bool nativeCopy;
        Spelling chosen, written;
    } cases[] = {
        {"in SysWOW64 alone", false, kSystemInCapitals, kWow64},
        {"in both folders", true, kSystemInCapitals, kSystemInCapitals},
        {"in both folders, chosen through Sysnative", true, kNative, kSystem},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TempFolder planted(folders.wow64);
        const std::wstring sub = planted.Path().substr(folders.wow64.size()), name = sub + L"\\rouge.ico";
        WriteBytes(folders.wow64 + name, IcoBytes(RGB(255, 0, 0)));
        struct Twins {
            std::vector<std::wstring> folders;
            ~Twins() { for (const std::wstring& f : folders) RemoveTree(f); }
        } twins;
        for (const std::wstring& root : {scripted ? folders.system : L"", c.nativeCopy ? folders.native : L""}) {
            if (root.empty()) continue;
            twins.folders.push_back(root + sub);
            MakeFolder(root + sub);
            WriteBytes(root + name, IcoBytes(RGB(255, 0, 0)));
        }
        RemoveTree(Ini());
        Browse(folder.Path());
        w.ChooseIcon(spellings[c.chosen] + name, 0);
        w.Apply();
        EXPECT_NE(IniText().find("ICONFILE=" + ToAnsi(spellings[c.written] + name) + "\r\n"), std::string::npos)
            << IniText();
        EXPECT_EQ(w.form.IconFilePath, spellings[c.chosen] + name) << "the preview keeps the program's own name";
    }
}

TEST_F(ApplyTest, SuccessTellsTheShellAboutTheFolder) {
    ApplyIcon(L"a.ico", 0);
    ASSERT_EQ(w.fake.changedFolders.size(), 1u);
    EXPECT_EQ(w.fake.changedFolders[0], folder.Path());
    Reset();
    EXPECT_EQ(w.fake.changedFolders.size(), 2u);
    Reset();  // nothing left to reset: a failure tells the shell nothing
    EXPECT_EQ(w.fake.changedFolders.size(), 2u);
}

// A drive root keeps its backslash: the file path holds two in a row. A
// Wine prefix's C:\ is the tests' to customise for a while; what it held is
// put back.
TEST(ApplyToDriveRoot, GivesTwoBackslashesAndStillWorks) {
    if (!RunningOnWine()) GTEST_SKIP() << "a real machine's C:\\ is not the tests' to customise";
    const std::wstring root = L"C:\\", ini = L"C:\\desktop.ini";
    KeptAsFound kept(ini, root);
    MainWindowFixture w;
    TempFolder icons;
    WriteBytes(icons / L"a.ico", IcoBytes(RGB(0, 0, 255)));
    RemoveTree(ini);
    w.ChooseFolder(root);
    w.ChooseIcon(icons / L"a.ico", 0);
    w.Apply();
    ASSERT_FALSE(w.fake.profileWrites.empty());
    EXPECT_EQ(w.fake.profileWrites[0].file, L"C:\\\\desktop.ini");
    EXPECT_EQ(ReadBytes(ini), "[.ShellClassInfo]\r\nICONFILE=" + ToAnsi(icons / L"a.ico") + "\r\nICONINDEX=0\r\n");
    EXPECT_EQ(UserAttributes(ini), kHidden);
    EXPECT_EQ(UserAttributes(root), kSystem);
    EXPECT_TRUE(w.fake.messageBoxes.empty());

    w.ClickReset();
    w.Apply();
    EXPECT_FALSE(Exists(ini));
    EXPECT_EQ(UserAttributes(root), 0u);
    EXPECT_TRUE(w.fake.messageBoxes.empty());
}

}  // namespace
