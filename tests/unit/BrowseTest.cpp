// The folder choice through scripted folder-browser answers.
#include <gtest/gtest.h>

#include <cstring>

#include "modules/modBrowse.h"
#include "modules/modIcon.h"
#include "support/MainWindow.h"

namespace {

using F = frmIconChanger;

// What the scripted browser answers: a cancel, an item with no path, or the
// bytes SHGetPathFromIDListA writes into the buffer.
struct Answer {
    bool cancel = false;
    bool hasPath = true;
    std::string bytes{};  // written as is, NUL included where the test says
};

class BrowseTest : public testing::Test {
protected:
    void Script(const Answer& answer) {
        w.fake.browseForFolder = [this, answer](BROWSEINFOA* request) -> PIDLIST_ABSOLUTE {
            ++browses;
            seen = *request;
            title = request->lpszTitle ? request->lpszTitle : "<null>";
            displayNameBlank = std::string(request->pszDisplayName, 260) == std::string(260, ' ');
            return answer.cancel ? nullptr : Item();
        };
        w.fake.pathFromIdList = [this, answer](PCIDLIST_ABSOLUTE item, char* path) -> BOOL {
            ++conversions;
            EXPECT_EQ(item, Item());
            pathBufferBlank = std::string(path, 260) == std::string(260, ' ');
            if (!answer.hasPath) return FALSE;
            std::memcpy(path, answer.bytes.data(), std::min<size_t>(answer.bytes.size(), 260));
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
        EXPECT_EQ(w.Ctl(F::txtInfoTip).BackColour(), enabled ? kWhite : kButtonFace);
    }

    MainWindowFixture w;
    BROWSEINFOA seen{};
    std::string title;
    bool displayNameBlank = false, pathBufferBlank = false;
    int browses = 0, conversions = 0;
};

TEST_F(BrowseTest, AsksTheShellForFileSystemFoldersOnlyOwnedByTheMainWindow) {
    Browse({.bytes = std::string("C:\\Dossiers", 11) + '\0'});
    EXPECT_EQ(seen.hwndOwner, w.form.Hwnd());
    EXPECT_EQ(seen.pidlRoot, nullptr);
    EXPECT_EQ(title, "Choix du dossier");
    EXPECT_EQ(seen.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS));
    EXPECT_EQ(seen.lpfn, nullptr);
    EXPECT_EQ(seen.lParam, 0);
    EXPECT_EQ(seen.iImage, 0);
    EXPECT_TRUE(displayNameBlank) << "a 260-character display-name buffer of blanks";
    EXPECT_TRUE(pathBufferBlank) << "a 260-character path buffer of blanks";
}

TEST_F(BrowseTest, TheResultIsWhatTheShellWroteUpToTheFirstNul) {
    const auto acp = GetACP();
    struct Case {
        const char* name;
        Answer answer;
        std::wstring path;
    };
    const Case cases[] = {
        {"a folder", {.bytes = std::string("C:\\Dossiers\\Photos\0garbage", 26)}, L"C:\\Dossiers\\Photos"},
        {"a drive root keeps its backslash", {.bytes = std::string("D:\\\0", 4)}, L"D:\\"},
        {"a share", {.bytes = std::string("\\\\serveur\\partage\0", 18)}, L"\\\\serveur\\partage"},
        {"blanks before the NUL are kept", {.bytes = std::string("C:\\Mes dossiers \0", 17)}, L"C:\\Mes dossiers "},
        {"cancelled", {.cancel = true}, L""},
        {"an item with no file-system path", {.hasPath = false}, L""},
        {"no NUL in the buffer", {.bytes = std::string(260, 'x')}, L""},
        // The shell's stand-in for a character the ANSI code page lacks.
        {"a name the code page cannot hold", {.bytes = std::string("C:\\Dossier ?\0", 13)}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(c.answer);
        EXPECT_EQ(modBrowse::GetFolderPath(w.form), c.path);
    }
    if (acp == 1252) {
        Script({.bytes = std::string("C:\\\xC9t\xE9\0", 7)});
        EXPECT_EQ(modBrowse::GetFolderPath(w.form), L"C:\\Été");
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
    Browse({.bytes = std::string("D:\\\0", 4)});
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
    Browse({.bytes = std::string("C:\\Dossiers\0", 12)});
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
    Browse({.bytes = std::string("C:\\Un\0", 6)});
    w.ChooseIcon(L"C:\\Windows\\explorer.exe", 2);
    Browse({.bytes = std::string("C:\\Deux\0", 8)});
    EXPECT_EQ(w.form.FolderPath, L"C:\\Deux");
    EXPECT_EQ(w.form.IconFilePath, L"C:\\Windows\\explorer.exe");
    EXPECT_EQ(modIcon::SelectedIconIndex, 2);
    EXPECT_TRUE(Enabled(F::cmdDone));
}

TEST_F(BrowseTest, NewFolderInResetModeBringsBackIconChoiceAndInfoTip) {
    Browse({.bytes = std::string("C:\\Un\0", 6)});
    w.ClickReset();
    ASSERT_FALSE(Enabled(F::cmdShowIcon));
    Browse({.bytes = std::string("C:\\Deux\0", 8)});
    EXPECT_TRUE(w.Ctl(F::chkReset).Checked()) << "still in reset mode";
    ExpectFolderControls(true);
    EXPECT_TRUE(Enabled(F::cmdDone));
}

}  // namespace
