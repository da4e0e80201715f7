// The icon choice through scripted Open-dialog and picker answers, with the
// real extraction and drawing of the test icons.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "modules/modIcon.h"
#include "modules/modOSInfo.h"
#include "platform/PlatformError.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/MainWindow.h"

namespace {

using F = frmIconChanger;
constexpr int kCancelPicker = -1;
const HICON kSomeIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5150));

struct PickerCall {
    HWND owner;
    bool unicode;
    std::wstring wide;
    std::string ansi;
    UINT pathSize;
    int initialIndex;
};

class IconChoiceTest : public testing::Test {
protected:
    IconChoiceTest() {
        w.ChooseFolder(folder.Path());
        w.fake.getOpenFileName = [this](OPENFILENAMEW* request) -> BOOL {
            openRequests.push_back(*request);
            openInitialFiles.emplace_back(request->lpstrFile);
            // The texts live only as long as the call.
            openTitle = request->lpstrTitle ? request->lpstrTitle : L"<none>";
            openFilter.clear();
            for (const wchar_t* p = request->lpstrFilter; p && *p; p += wcslen(p) + 1) openFilter += p + std::wstring(L"|");
            if (openAnswer.empty()) return FALSE;
            wcsncpy(request->lpstrFile, openAnswer.c_str(), request->nMaxFile);
            return TRUE;
        };
        w.fake.pickIcon = [this](HWND owner, void* path, UINT size, int* index) -> int {
            const bool unicode = modOSInfo::GetPlatformId() == VER_PLATFORM_WIN32_NT;
            pickerCalls.push_back({owner, unicode, unicode ? static_cast<const wchar_t*>(path) : L"",
                                   unicode ? "" : static_cast<const char*>(path), size, *index});
            if (pickerAnswer == kCancelPicker) return 0;
            *index = pickerAnswer;
            return 1;
        };
    }

    // The user picks `file` in the Open dialog (empty: cancels it) and icon
    // `index` in the picker (-1: cancels it).
    void Choose(const std::wstring& file, int index) {
        openAnswer = file;
        pickerAnswer = index;
        w.form.cmdShowIcon_Click();
    }
    COLORREF Preview(int x, int y) { return GetPixel(w.form.Picture(F::picIcon).Dc(), x, y); }
    // The left (opaque in every test icon) and right (transparent in the fourth) halves.
    COLORREF Left() { return Preview(4, 16); }
    COLORREF Right() { return Preview(27, 16); }
    COLORREF Background() { return ResolveColour(kButtonFace); }
    bool ApplyEnabled() { return w.Ctl(F::cmdDone).Enabled(); }

    TempFolder folder;
    MainWindowFixture w;
    std::wstring openAnswer;
    int pickerAnswer = 0;
    std::vector<OPENFILENAMEW> openRequests;
    std::vector<std::wstring> openInitialFiles;
    std::wstring openTitle, openFilter;
    std::vector<PickerCall> pickerCalls;
};

TEST_F(IconChoiceTest, FourthIconOfAFileIsStoredDrawnAndEnablesApply) {
    Choose(TestIconsDll(), 3);
    EXPECT_EQ(modIcon::SelectedIconIndex, 3);
    EXPECT_EQ(w.form.IconFilePath, TestIconsDll());
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(Left(), kTestIconColours[3]) << "drawn at the preview's top-left corner";
    EXPECT_EQ(Right(), Background()) << "its transparent half shows the empty box";
    EXPECT_TRUE(w.fake.messageBoxes.empty());
}

TEST_F(IconChoiceTest, OpenDialogIsSetUpAsTheIconChoiceAsksAndModalToTheWindow) {
    Choose(TestIconsDll(), 0);
    ASSERT_EQ(openRequests.size(), 1u);
    const OPENFILENAMEW& r = openRequests[0];
    EXPECT_EQ(r.hwndOwner, w.form.Hwnd());
    EXPECT_EQ(openTitle, L"Choisir un fichier contenant des icônes");
    // Each string NUL-ended, in this order, the list ended by one more NUL.
    EXPECT_EQ(openFilter,
              L"Tous les fichiers (*.*)|*.*|Fichiers exécutables (*.exe)|*.exe|Fichiers DLL (*.dll)|*.dll|"
              L"Fichiers icône (*.ico)|*.ico|");
    EXPECT_EQ(r.nFilterIndex, 1u) << "opens on \"Tous les fichiers (*.*)\"";
    EXPECT_TRUE(r.Flags & OFN_FILEMUSTEXIST) << "only existing files";
    EXPECT_GE(r.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(openInitialFiles[0], L"") << "the first use starts empty";
}

TEST_F(IconChoiceTest, SecondOpenDialogStartsWithTheFileConfirmedLast) {
    const std::wstring other = folder / L"autre.ico";
    WriteBytes(other, "");
    Choose(TestIconsDll(), 1);
    Choose(L"", 0);  // cancelled: the last confirmed file stays
    Choose(other, 0);
    Choose(L"", 0);
    ASSERT_EQ(openInitialFiles.size(), 4u);
    EXPECT_EQ(openInitialFiles[1], TestIconsDll());
    EXPECT_EQ(openInitialFiles[2], TestIconsDll());
    EXPECT_EQ(openInitialFiles[3], other);
}

TEST_F(IconChoiceTest, CancelledOpenDialogChangesNothingAndSaysNothing) {
    Choose(TestIconsDll(), 1);
    Choose(L"", 3);
    EXPECT_EQ(pickerCalls.size(), 1u) << "no picker after a cancel";
    EXPECT_EQ(modIcon::SelectedIconIndex, 1);
    EXPECT_EQ(w.form.IconFilePath, TestIconsDll());
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(Left(), kTestIconColours[1]);
    EXPECT_TRUE(w.fake.messageBoxes.empty());
}

TEST_F(IconChoiceTest, FailingOpenDialogEndsSilently) {
    w.fake.commDlgError = FNERR_INVALIDFILENAME;
    Choose(L"", 0);
    EXPECT_TRUE(pickerCalls.empty());
    EXPECT_EQ(w.form.IconFilePath, L"");
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_TRUE(w.fake.messageBoxes.empty());
}

TEST_F(IconChoiceTest, PickerOpensOnTheFirstIconOwnedByTheWindowWithUtf16TextOnNt) {
    // A copy with accents: the name must reach the picker intact.
    const std::wstring accented = folder / L"Icônes d'été.dll";
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), accented.c_str(), FALSE));
    Choose(accented, 4);
    ASSERT_EQ(pickerCalls.size(), 1u);
    EXPECT_EQ(pickerCalls[0].owner, w.form.Hwnd());
    EXPECT_TRUE(pickerCalls[0].unicode) << "Wine reports the NT platform";
    EXPECT_EQ(pickerCalls[0].wide, accented);
    EXPECT_EQ(pickerCalls[0].pathSize, 0u);
    EXPECT_EQ(pickerCalls[0].initialIndex, 0);
    EXPECT_EQ(Left(), kTestIconColours[4]) << "extracted from the accented path too";
    EXPECT_EQ(w.form.IconFilePath, accented);
}

TEST_F(IconChoiceTest, PickerGetsAnsiTextWhenThePlatformIsNotNt) {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI bytes below are those of code page 1252";
    const std::wstring accented = folder / L"Icônes.dll";
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), accented.c_str(), FALSE));
    struct Case {
        const char* name;
        std::function<BOOL(OSVERSIONINFOA*)> version;
    };
    const Case cases[] = {
        {"Windows 9x", [](OSVERSIONINFOA* v) { v->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS; return TRUE; }},
        {"a failed query", [](OSVERSIONINFOA*) { return FALSE; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pickerCalls.clear();
        w.fake.getVersion = c.version;
        Choose(accented, 2);
        ASSERT_EQ(pickerCalls.size(), 1u);
        EXPECT_FALSE(pickerCalls[0].unicode);
        EXPECT_EQ(pickerCalls[0].ansi, std::string(folder.Path().begin(), folder.Path().end()) + "\\Ic\xF4nes.dll");
        EXPECT_EQ(modIcon::SelectedIconIndex, 2);
    }
}

TEST_F(IconChoiceTest, VersionRecordIsThe148ByteAnsiOne) {
    DWORD size = 0;
    w.fake.getVersion = [&](OSVERSIONINFOA* v) {
        size = v->dwOSVersionInfoSize;
        v->dwPlatformId = 7;
        return TRUE;
    };
    EXPECT_EQ(modOSInfo::GetPlatformId(), 7);
    EXPECT_EQ(size, 148u);
    w.fake.getVersion = nullptr;
    EXPECT_EQ(modOSInfo::GetPlatformId(), VER_PLATFORM_WIN32_NT);
}

TEST_F(IconChoiceTest, CancelledPickerKeepsApplyAsItWasButTakesTheFile) {
    const std::wstring other = folder / L"autre.dll";
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), other.c_str(), FALSE));
    struct Case {
        const char* name;
        bool chosenBefore;
    };
    for (const Case c : {Case{"Apply enabled by an earlier choice", true}, Case{"Apply disabled", false}}) {
        SCOPED_TRACE(c.name);
        w.form.Picture(F::picIcon).Clear();
        w.Ctl(F::cmdDone).SetEnabled(false);
        if (c.chosenBefore) Choose(TestIconsDll(), 0);
        Choose(other, kCancelPicker);
        EXPECT_EQ(modIcon::SelectedIconIndex, -1);
        EXPECT_EQ(w.form.IconFilePath, other);
        EXPECT_EQ(ApplyEnabled(), c.chosenBefore);
        EXPECT_EQ(Left(), c.chosenBefore ? kTestIconColours[0] : Background()) << "nothing new is drawn";
    }
    // Apply then writes that pair, as it stands.
    w.Apply();
    EXPECT_NE(ReadBytes(folder / L"desktop.ini").find("ICONINDEX=-1"), std::string::npos);
}

TEST_F(IconChoiceTest, FileWithoutThatIconDrawsNothingButIsTaken) {
    const std::wstring text = folder / L"notes.txt";
    WriteBytes(text, "pas une icône");
    struct Case {
        const char* name;
        std::wstring file;
        int index;
    };
    const Case cases[] = {
        {"a file without icons", text, 2},
        {"an index past the last icon", TestIconsDll(), kTestIconCount + 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Choose(c.file, c.index);
        EXPECT_EQ(modIcon::SelectedIconIndex, c.index);
        EXPECT_EQ(w.form.IconFilePath, c.file);
        EXPECT_FALSE(ApplyEnabled());
        EXPECT_EQ(Left(), Background());
        EXPECT_TRUE(w.fake.messageBoxes.empty());
    }
}

TEST_F(IconChoiceTest, SecondChoiceDrawsOverTheFirstWithoutClearing) {
    Choose(TestIconsDll(), 0);
    ASSERT_EQ(Right(), kTestIconColours[0]);
    Choose(TestIconsDll(), 3);
    EXPECT_EQ(Left(), kTestIconColours[3]);
    EXPECT_EQ(Right(), kTestIconColours[0]) << "the first icon shows through the transparent half";
}

TEST_F(IconChoiceTest, ExtractsWithTheProgramInstanceDrawsAtTheCornerAndReleases) {
    struct {
        HINSTANCE instance = nullptr;
        std::string file;
        UINT index = 0;
        HDC dc = nullptr;
        POINT at{-1, -1};
        std::vector<HICON> drawn, destroyed;
    } seen;
    w.fake.extractIcon = [&](HINSTANCE instance, const char* file, UINT index) {
        seen.instance = instance;
        seen.file = file;
        seen.index = index;
        return kSomeIcon;
    };
    w.fake.drawIcon = [&](HDC dc, int x, int y, HICON icon) {
        seen.dc = dc;
        seen.at = {x, y};
        seen.drawn.push_back(icon);
        return TRUE;
    };
    BOOL destroyResult = TRUE;
    w.fake.destroyIcon = [&](HICON icon) {
        seen.destroyed.push_back(icon);
        return destroyResult;
    };
    Choose(TestIconsDll(), 3);
    EXPECT_EQ(seen.instance, GetModuleHandleW(nullptr));
    const std::wstring dll = TestIconsDll();
    EXPECT_EQ(seen.file, std::string(dll.begin(), dll.end()));
    EXPECT_EQ(seen.index, 3u);
    EXPECT_EQ(seen.dc, w.form.Picture(F::picIcon).Dc());
    EXPECT_EQ(seen.at.x, 0);
    EXPECT_EQ(seen.at.y, 0);
    EXPECT_EQ(seen.drawn, std::vector<HICON>{kSomeIcon});
    EXPECT_EQ(seen.destroyed, std::vector<HICON>{kSomeIcon});
    EXPECT_TRUE(ApplyEnabled());

    // Apply comes on only when the icon was drawn and released.
    w.Ctl(F::cmdDone).SetEnabled(false);
    destroyResult = FALSE;
    Choose(TestIconsDll(), 3);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(seen.destroyed.size(), 2u);
}

TEST_F(IconChoiceTest, NotAFileOfIconsIsNeitherDrawnNorReleased) {
    std::vector<HICON> touched;
    w.fake.extractIcon = [](HINSTANCE, const char*, UINT) { return reinterpret_cast<HICON>(static_cast<INT_PTR>(1)); };
    w.fake.drawIcon = [&](HDC, int, int, HICON icon) { touched.push_back(icon); return TRUE; };
    w.fake.destroyIcon = [&](HICON icon) { touched.push_back(icon); return TRUE; };
    Choose(TestIconsDll(), 0);
    EXPECT_TRUE(touched.empty());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(w.form.IconFilePath, TestIconsDll());
}

TEST_F(IconChoiceTest, FailureEndsTheChoiceSilentlyKeepingWhatWasStoredBefore) {
    Choose(TestIconsDll(), 1);
    const std::wstring other = folder / L"autre.dll";
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), other.c_str(), FALSE));
    struct Case {
        const char* name;
        std::function<void()> breakIt;
        int indexAfter;  // SelectedIconIndex is stored before extraction begins
    };
    const Case cases[] = {
        {"the picker fails",
         [&] { w.fake.pickIcon = [](HWND, void*, UINT, int*) -> int { throw PlatformError("PickIconDlg", 127); }; }, 1},
        {"the version query fails",
         [&] { w.fake.getVersion = [](OSVERSIONINFOA*) -> BOOL { throw PlatformError("GetVersionExA", 127); }; }, 1},
        {"the extraction fails",
         [&] { w.fake.extractIcon = [](HINSTANCE, const char*, UINT) -> HICON { throw PlatformError("ExtractIconA", 127); }; },
         3},
        {"the drawing fails",
         [&] { w.fake.drawIcon = [](HDC, int, int, HICON) -> BOOL { throw PlatformError("DrawIcon", 127); }; }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.breakIt();
        Choose(other, 3);
        EXPECT_EQ(modIcon::SelectedIconIndex, c.indexAfter);
        EXPECT_EQ(w.form.IconFilePath, TestIconsDll()) << "the file is taken only after ShowIcon returned";
        EXPECT_TRUE(w.fake.messageBoxes.empty());
        modIcon::SelectedIconIndex = 1;
        w.fake.getVersion = nullptr;
        w.fake.extractIcon = nullptr;
        w.fake.drawIcon = nullptr;
        w.fake.pickIcon = [this](HWND, void*, UINT, int* index) {
            *index = pickerAnswer;
            return 1;
        };
    }
}

}  // namespace
