// The folder choice through scripted folder-browser answers.
#include <gtest/gtest.h>

#include "ApplyFixture.h"
#include "modules/modBrowse.h"
#include "modules/modIcon.h"
#include "support/Files.h"
#include "support/MainWindow.h"

namespace {

using F = frmIconChanger;

// What the scripted browser answers: a cancel, an item with no path, or the
// text the shell's path conversion writes into the buffer.
struct Answer {
    bool cancel = false;
    bool hasPath = true;
    std::wstring text{};  // written as is, NUL included where the test says
};

class BrowseTest : public testing::Test {
protected:
    void Script(const Answer& answer) {
        w.fake.browseForFolder = [answer](BROWSEINFOW*) { return answer.cancel ? nullptr : Item(); };
        w.fake.pathFromIdList = [this, answer](PCIDLIST_ABSOLUTE item, wchar_t* path, DWORD size) -> BOOL {
            ++conversions;
            EXPECT_EQ(item, Item());
            if (!answer.hasPath) return FALSE;
            answer.text.copy(path, size);
            return TRUE;
        };
    }
    void Browse(const Answer& answer) {
        Script(answer);
        w.form.cmdDir_Click();
    }
    static PIDLIST_ABSOLUTE Item() {
        static ITEMIDLIST_ABSOLUTE item{};
        return &item;
    }
    bool Enabled(int c) { return w.Ctl(c).Enabled(); }
    // The three controls a chosen folder brings to life, and the box's colour.
    void ExpectFolderControls(bool enabled) {
        EXPECT_EQ(Enabled(F::chkReset), enabled);
        EXPECT_EQ(Enabled(F::txtInfoTip), enabled);
        EXPECT_EQ(Enabled(F::cmdShowIcon), enabled);
        EXPECT_EQ(w.Ctl(F::txtInfoTip).BackColour(), enabled ? kWindow : kButtonFace);
    }

    MainWindowFixture w;
    int conversions = 0;
};

TEST_F(BrowseTest, TheResultIsWhatTheShellWroteUpToTheFirstNul) {
    struct Case {
        const char* name;
        Answer answer;
        std::wstring path;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"a folder", {.text = L"C:\\Dossiers\\Photos\0garbage"s}, L"C:\\Dossiers\\Photos"},
        {"a drive root keeps its backslash", {.text = L"D:\\\0"s}, L"D:\\"},
        {"a share", {.text = L"\\\\serveur\\partage\0"s}, L"\\\\serveur\\partage"},
        {"blanks inside names are kept", {.text = L"C:\\ Mes  dossiers\0"s}, L"C:\\ Mes  dossiers"},
        {"accents the code page holds", {.text = L"C:\\Été\0"s}, L"C:\\Été"},
        {"cancelled", {.cancel = true}, L""},
        {"an item with no file-system path", {.hasPath = false}, L""},
        {"an empty path", {.text = L"\0"s}, L""},
        {"no NUL in the buffer", {.text = std::wstring(MAX_PATH, L'x')}, L""},
        {"the longest path it changes", {.text = L"C:\\" + std::wstring(244, L'x') + L'\0'}, L"C:\\" + std::wstring(244, L'x')},
        {"names that only look like a device's", {.text = L"C:\\aux1\\com10\\Console.nul\\lpt\0"s},
         L"C:\\aux1\\com10\\Console.nul\\lpt"},
        // Win32 maps a device's name only as the last name of a path.
        {"a device's name above the folder", {.text = L"C:\\x\\con\\y\0"s}, L"C:\\x\\con\\y"},
        {"a device's name and extension above", {.text = L"C:\\x\\aux.old\\y\0"s}, L"C:\\x\\aux.old\\y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(c.answer);
        EXPECT_EQ(modBrowse::GetFolderPath(w.form.Hwnd()).path, c.path);
    }
}

TEST_F(BrowseTest, CancelledFirstBrowseLeavesEverythingAsAtStart) {
    Browse({.cancel = true});
    EXPECT_EQ(w.form.FolderPath, L"");
    EXPECT_EQ(w.Ctl(F::lblDir).Text(), L"");
    ExpectFolderControls(false);
    EXPECT_EQ(conversions, 0) << "nothing is asked after a cancel";
    EXPECT_TRUE(w.fake.freedMemory.empty());
}

TEST_F(BrowseTest, ChosenFolderIsShownAndBringsTheFolderControlsToLife) {
    Browse({.text = std::wstring(L"D:\\\0", 4)});
    EXPECT_EQ(w.form.FolderPath, L"D:\\");
    EXPECT_EQ(w.Ctl(F::lblDir).Text(), L"D:\\");
    ExpectFolderControls(true);
    EXPECT_FALSE(Enabled(F::cmdDone));
    EXPECT_FALSE(w.Ctl(F::chkReset).Checked());
    // The shell's item list goes back to the shell once the path is read.
    ASSERT_EQ(w.fake.freedMemory.size(), 1u);
    EXPECT_EQ(w.fake.freedMemory[0], Item());
}

TEST_F(BrowseTest, CancelledLaterBrowseEmptiesThePathButKeepsTheControls) {
    Browse({.text = std::wstring(L"C:\\Dossiers\0", 12)});
    w.ChooseIcon(L"C:\\Windows\\explorer.exe", 2);
    Browse({.cancel = true});
    EXPECT_EQ(w.form.FolderPath, L"");
    EXPECT_EQ(w.Ctl(F::lblDir).Text(), L"");
    ExpectFolderControls(true);
    EXPECT_TRUE(Enabled(F::cmdDone));
    // Apply then refuses: nothing may be formed from an empty folder path.
    w.form.cmdDone_Click();
    EXPECT_TRUE(w.fake.profileWrites.empty());
    EXPECT_EQ(w.fake.messageBoxes.size(), 1u);
}

TEST_F(BrowseTest, NewFolderKeepsTheIconChoiceAndApplyState) {
    Browse({.text = std::wstring(L"C:\\Un\0", 6)});
    w.ChooseIcon(L"C:\\Windows\\explorer.exe", 2);
    Browse({.text = std::wstring(L"C:\\Deux\0", 8)});
    EXPECT_EQ(w.form.FolderPath, L"C:\\Deux");
    EXPECT_EQ(w.form.IconFilePath, L"C:\\Windows\\explorer.exe");
    EXPECT_EQ(modIcon::SelectedIconIndex, 2);
    EXPECT_TRUE(Enabled(F::cmdDone));
}

// The shell's own item for a real folder (Wine's cannot make one whose name
// ends in a dot or a space: it drops them, as Win32 path handling does).
PIDLIST_ABSOLUTE ShellItemOf(const std::wstring& path) {
    using Create = PIDLIST_ABSOLUTE(WINAPI*)(PCWSTR);
    static const auto create =
        reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"shell32.dll"), "ILCreateFromPathW")));
    return create(path.c_str());
}

// A folder the program cannot change exactly is refused like a cancelled
// browse, with a message saying why. Above all, the look-alike beside it
// (the folder Win32's path handling would reach instead) is never touched.
TEST_F(BrowseTest, ARefusedFolderIsLikeACancelAndItsLookAlikeIsUntouched) {
    const std::wstring kSurrogate = L"Ce nom ou ce texte contient un caractère Unicode incomplet (une moitié de paire de "
                                    L"substitution UTF-16) qu'aucun fichier desktop.ini ne peut garder tel quel : "
                                    L"Tivrelon n'a rien modifié.";
    const std::wstring kTrailing = L"Windows ne peut pas modifier un dossier dont le nom finit par un point ou un espace.";
    const std::wstring kTrailingAbove =
        L"Windows ne peut pas modifier ce dossier : le nom d'un dossier de son chemin finit par un point.";
    const std::wstring kReserved = L"Ce chemin contient un nom réservé par Windows (CON, PRN, AUX, NUL, COM1 à COM9, "
                                   L"LPT1 à LPT9) : Tivrelon ne peut pas modifier ce dossier.";
    const std::wstring kRedirected = L"Sous Windows 64 bits, Tivrelon voit SysWOW64 à la place de System32 : ce "
                                     L"dossier n'est pas celui que montre l'Explorateur, et Tivrelon ne peut pas le "
                                     L"modifier.";
    const std::string kIni = "[.ShellClassInfo]\r\nICONFILE=C:\\sibling.ico\r\nICONINDEX=4\r\n";
    TempFolder root;
    const std::wstring over(modBrowse::kLongestPath - root.Path().size(), L'e'), farOver = over + L"\\" + over;
    const std::wstring kOver = TooLongMessage(root / over), kFarOver = TooLongMessage(root / farOver);
    struct Case {
        std::wstring chosen, lookAlike;  // no look-alike folder: empty
        const std::wstring& message;
        bool shellItem;  // the chosen folder comes as the shell's own item
    };
    const Case cases[] = {
        // NTFS takes half a surrogate pair in a name; no desktop.ini holds it.
        {L"demi \xD800", L"", kSurrogate, false},
        // Made as a Linux folder or a share shows them: "\\?\" keeps the name.
        {L"trail.", L"trail", kTrailing, false},
        {L"space ", L"space", kTrailing, false},
        // Any name of the path: "a.\\b" is "a\\b" to Win32.
        {L"a.\\b", L"a\\b", kTrailingAbove, false},
        // The folder's own name a device's, whatever follows its first dot.
        {L"Con  .txt", L"", kReserved, false},
        {L"x\\con", L"", kReserved, false},
        {L"x\\COM1.txt", L"", kReserved, false},
        {L"x\\con.tar.gz", L"", kReserved, false},
        // Under WOW64 the System32 this program reaches is SysWOW64.
        {L"System32", L"SysWOW64", kRedirected, false},
        {L"SYSTEM32\\drivers", L"SysWOW64\\drivers", kRedirected, false},
        {over, L"", kOver, false},  // one character over the longest
        {farOver, L"", kFarOver, false},
    };
    w.fake.wow64Folders = [folders = Platform::Wow64Folders{root / L"system32", root / L"SysWOW64",
                                                            root / L"Sysnative"}] { return folders; };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.chosen));
        const std::wstring chosen = root / c.chosen, lookAlike = root / c.lookAlike;
        // Each folder on the way, the chosen ones as the file system holds them.
        const auto make = [&](const std::wstring& name, bool verbatim) {
            for (size_t end = name.find(L'\\');; end = name.find(L'\\', end + 1)) {
                const std::wstring path = root / name.substr(0, end);
                MakeFolder(verbatim ? Verbatim(path) : path);
                if (end == std::wstring::npos) break;
            }
        };
        try {
            make(c.chosen, true);
        } catch (const std::runtime_error&) {
            // Wine cannot give half a surrogate pair a Unix name: the browser's answer stands alone.
        }
        if (!c.lookAlike.empty()) {
            make(c.lookAlike, false);
            WriteBytes(lookAlike + L"\\desktop.ini", kIni);
            SetFileAttributesW((lookAlike + L"\\desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
            SetFileAttributesW(lookAlike.c_str(), FILE_ATTRIBUTE_SYSTEM);
        }

        // An earlier folder and an icon: everything is on, in apply mode.
        if (w.Ctl(F::chkReset).Checked()) w.ClickReset();
        Browse({.text = root.Path() + L'\0'});
        w.ChooseIcon(L"C:\\a.ico", 1);
        const auto states = [&] {
            std::vector<bool> enabled;
            for (int i = 0; i < F::kControlCount; ++i) enabled.push_back(Enabled(i));
            return std::pair(enabled, w.Ctl(F::txtInfoTip).BackColour());
        };
        const auto before = states();
        const size_t boxes = w.fake.messageBoxes.size();

        PIDLIST_ABSOLUTE item = c.shellItem ? ShellItemOf(chosen) : nullptr;
        ASSERT_TRUE(item || !c.shellItem);
        if (item) {
            w.fake.browseForFolder = [item](BROWSEINFOW*) { return item; };
            w.fake.pathFromIdList = nullptr;  // the shell's own conversion
            w.form.cmdDir_Click();
            Platform().CoTaskMemFree(item);
        } else {
            Browse({.text = chosen + L'\0'});
        }
        ASSERT_EQ(w.fake.messageBoxes.size(), boxes + 1);
        EXPECT_EQ(w.fake.messageBoxes.back().text, c.message);
        EXPECT_EQ(w.fake.messageBoxes.back().caption, L"Tivrelon");
        EXPECT_EQ(w.fake.messageBoxes.back().style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(w.form.FolderPath, L"");
        EXPECT_EQ(w.Ctl(F::lblDir).Text(), L"");
        EXPECT_EQ(states(), before);

        w.Apply();       // apply mode
        w.ClickReset();  // then reset mode
        w.Apply();
        if (!c.lookAlike.empty()) {
            EXPECT_EQ(ReadBytes(lookAlike + L"\\desktop.ini"), kIni);
            EXPECT_EQ(UserAttributes(lookAlike + L"\\desktop.ini"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
            EXPECT_EQ(UserAttributes(lookAlike), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
        }
        if (Exists(Verbatim(chosen))) {
            EXPECT_EQ(UserAttributes(Verbatim(chosen)), 0u);
        }
        EXPECT_FALSE(Exists(Verbatim(chosen + L"\\desktop.ini")));
    }
    RemoveTree(Verbatim(root.Path()));
}

// Windows itself says which names are devices: Windows 10 also "COM\u00B2" (Wine not), Windows 11 only NUL.
TEST_F(BrowseTest, DeviceNamesAreTheOnesWindowsMaps) {
    const struct { std::wstring folder, full; } cases[] = {  // full: the full path Windows makes of the folder's
        {L"C:\\x\\com\u00B2", L"\\\\.\\com\u00B2"}, {L"C:\\x\\nul", L"\\\\.\\nul"},
        {L"C:\\x\\con.txt", L"C:\\x\\con.txt"}, {L"C:\\x\\COM1", L"C:\\x\\COM1"}};
    for (const auto& c : cases) {
        w.fake.fullPathName = [&](const std::wstring& path) { return path == c.folder ? c.full : path; };
        Browse({.text = c.folder + L'\0'});
        EXPECT_EQ(w.form.FolderPath, c.full == c.folder ? c.folder : L"") << testing::PrintToString(c.folder);
    }
}

}  // namespace
