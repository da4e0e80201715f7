// The icon choice through scripted Open-dialog and picker answers: what
// Apply then writes, and what is refused.
#include <gtest/gtest.h>

#include <functional>

#include "app/Refusals.h"
#include "modules/modIcon.h"
#include "modules/modOSInfo.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Text.h"
#include "support/IconFiles.h"
#include "support/KeptCurrentFolder.h"
#include "support/Pictures.h"
#include "unit/IconChoiceFixture.h"

namespace {

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
              L"Fichiers icône (*.ico)|*.ico|"
              L"Images (*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff)|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff|");
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
    EXPECT_GE(pickerCalls[0].pathSize, static_cast<UINT>(MAX_PATH + 1)) << "the buffer's real size";
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

// Apply writes what the preview shows: a second pick that draws nothing
// leaves the file, the index, the preview and Apply as they were.
TEST_F(IconChoiceTest, PickThatDrawsNothingLeavesTheFileIndexPreviewAndApply) {
    const std::wstring text = folder / L"notes.txt", truncated = folder / L"coupée.ico",
                       pastEnd = folder / L"trop loin.ico", huge = folder / L"immense.ico",
                       library = folder / L"coupée.dll";
    WriteBytes(text, "pas une icône");
    WriteBytes(truncated, TruncatedIcoBytes());
    WriteBytes(pastEnd, IcoPointingPastItsEnd());
    WriteBytes(huge, IcoClaimingAHugeImage());
    WriteBytes(library, LibraryCutShort());
    const struct {
        const char* name;
        std::wstring file;
        int index;
    } cases[] = {
        {"a cancelled picker", TestIconsDll(), kCancelPicker},
        {"a file without icons", text, 2},
        {"an index past the last icon", TestIconsDll(), kTestIconCount + 2},
        {"a truncated icon file", truncated, 0},
        {"an icon file whose directory points past its end", pastEnd, 0},
        {"an icon whose image header claims more than its entry holds", huge, 0},
        {"a library cut short", library, 0},
    };
    const std::wstring dll = TestIconsDll();
    for (const auto& c : cases) {
        for (const bool chosenBefore : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (chosenBefore ? ", after a first choice" : ", first"));
            w.form.Picture(F::picIcon).Clear();
            w.Ctl(F::cmdDone).SetEnabled(false);
            modIcon::chosenIcon.Forget();
            if (chosenBefore) Choose(dll, 1);
            Choose(c.file, c.index);
            EXPECT_EQ(w.form.IconFilePath, chosenBefore ? dll : L"");
            EXPECT_EQ(modIcon::SelectedIconIndex, chosenBefore ? 1 : 0);
            EXPECT_EQ(ApplyEnabled(), chosenBefore);
            EXPECT_EQ(Left(), chosenBefore ? kTestIconColours[1] : Background());
            EXPECT_TRUE(w.fake.messageBoxes.empty());
            if (!chosenBefore) continue;
            w.Apply();
            EXPECT_NE(ReadBytes(folder / L"desktop.ini").find("ICONFILE=" + std::string(dll.begin(), dll.end()) +
                                                              "\r\nICONINDEX=1\r\n"),
                      std::string::npos);
        }
    }
}

// The shell's picker can browse to another file: the icon, IconFilePath and
// the file Apply writes are that file's.
TEST_F(IconChoiceTest, PickerThatNamesAnotherFileGivesThatFile) {
    const std::wstring ico = folder / L"rouge.ico", copy = folder / L"autre.dll";
    WriteBytes(ico, IcoBytes(RGB(255, 0, 0)));
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(SetEnvironmentVariableW(L"TIVRELON_TEST_FOLDER", folder.Path().c_str()));
    const struct {
        const char* name;
        std::wstring written, taken;
    } cases[] = {
        {"a full path", TestIconsDll(), TestIconsDll()},
        {"an environment form", L"%TIVRELON_TEST_FOLDER%\\autre.dll", copy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.form.Picture(F::picIcon).Clear();
        pickerWrites = c.written;
        Choose(ico, 3);
        EXPECT_EQ(Left(), kTestIconColours[3]);
        EXPECT_EQ(w.form.IconFilePath, c.taken);
        EXPECT_EQ(modIcon::SelectedIconIndex, 3);
        EXPECT_EQ(w.form.dlgChooseIcon.FileName, ico) << "the next Open dialog starts on the file confirmed there";
        w.Apply();
        EXPECT_NE(ReadBytes(folder / L"desktop.ini").find("ICONFILE=" + std::string(c.taken.begin(), c.taken.end())),
                  std::string::npos);
    }
}

// The shell's picker has a Browse button whose Open dialog moves the current
// folder: after the choice it is where it was, the pick confirmed or not.
TEST_F(IconChoiceTest, PickerThatBrowsesLeavesTheCurrentFolderAsItWas) {
    const KeptCurrentFolder kept;
    const std::wstring elsewhere = folder / L"ailleurs", copy = elsewhere + L"\\autre.dll";
    MakeFolder(elsewhere);
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), copy.c_str(), FALSE));
    const auto picker = w.fake.pickIconW;
    w.fake.pickIconW = [&, picker](HWND owner, wchar_t* path, UINT size, int* index) {
        SetCurrentDirectoryW(elsewhere.c_str());
        return picker(owner, path, size, index);
    };
    pickerWrites = copy;
    for (const int index : {2, kCancelPicker}) {
        SCOPED_TRACE(index);
        Choose(TestIconsDll(), index);
        EXPECT_EQ(KeptCurrentFolder::Now(), kept.Folder());
    }
    EXPECT_EQ(w.form.IconFilePath, copy);
    EXPECT_EQ(modIcon::SelectedIconIndex, 2);
}

// A file named in any script is taken by its exact name, from the Open
// dialog and from the shell's picker, and its icon drawn; only half a
// surrogate pair, which no desktop.ini holds, is refused before the picker
// opens, saying why, and changes nothing.
TEST_F(IconChoiceTest, AFileOfAnyNameIsTakenExactly) {
    const std::wstring foreign = folder / L"Ikony Żółć", file = foreign + L"\\Dvořák 家族.dll";
    MakeFolder(foreign);
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), file.c_str(), FALSE));
    const struct {
        const char* name;
        std::wstring opened, pickerWrites;
        size_t pickerCalls;
        bool taken;
    } cases[] = {
        {"from the Open dialog", file, L"", 1, true},
        {"from the shell's picker", TestIconsDll(), file, 1, true},
        {"half a surrogate pair, from the Open dialog", folder / L"demi \xD800.dll", L"", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.fake.messageBoxes.clear();
        pickerCalls.clear();
        Choose(TestIconsDll(), 1);
        pickerWrites = c.pickerWrites;
        Choose(c.opened, 4);
        pickerWrites.clear();
        EXPECT_EQ(pickerCalls.size(), 1 + c.pickerCalls);
        EXPECT_EQ(w.form.IconFilePath, c.taken ? file : TestIconsDll());
        EXPECT_EQ(modIcon::SelectedIconIndex, c.taken ? 4 : 1);
        EXPECT_EQ(Left(), kTestIconColours[c.taken ? 4 : 1]);
        ASSERT_EQ(w.fake.messageBoxes.size(), c.taken ? 0u : 1u);
        if (!c.taken) {
            EXPECT_EQ(w.fake.messageBoxes[0].text,
                      L"Ce nom ou ce texte contient un caractère Unicode incomplet (une moitié de paire de substitution "
                      L"UTF-16) qu'aucun fichier desktop.ini ne peut garder tel quel : Tivrelon n'a rien modifié.");
        }
    }
}

// `picture` claiming `side` x `side` pixels in its two numbers of `count`
// bytes at `at`, most significant byte first unless `littleEndian`.
std::string Claiming(std::string picture, size_t at, int count, uint32_t side, bool littleEndian = false) {
    for (int i = 0; i < 2 * count; ++i)
        picture[at + i] = static_cast<char>(side >> 8 * (littleEndian ? i % count : count - 1 - i % count));
    return picture;
}

// A picture that cannot become an icon is refused aloud at the choice, and
// nothing changes: cut short, text under a picture's name, a format no
// decoder reads, or one whose decoding would take gigabytes (Wine's
// decoders decode on opening, as large as the header claims: a PNG took
// minutes, a JPEG overflowed its buffer and crashed).
TEST_F(IconChoiceTest, APictureThatCannotBecomeAnIconIsRefusedAloud) {
    const wchar_t *unreadable = refusals::kNotAPicture, *tooLarge = refusals::kPictureTooLarge;
    const auto noise = [](int x, int y) { return 0xFF000000u | (x * 7919u ^ y * 104729u) * 2654435761u >> 8; };
    const std::string png = PictureBytes(PictureFormat::Png, 64, 64, noise);
    const std::string jpeg = PictureBytes(PictureFormat::Jpeg, 64, 64, noise);
    const size_t frame = jpeg.find("\xFF\xC0");
    const struct {
        const wchar_t* name;
        std::string bytes;
        const wchar_t* told;
    } cases[] = {
        {L"coupée.png", png.substr(0, png.size() / 2), unreadable},
        {L"texte.png", "Ceci n'est pas une image.", unreadable},
        {L"calque.tif", std::string("8BPS\0\1\0\0\0\0\0\0\0\3", 14) + png, unreadable},
        {L"immense.png", Claiming(png, 16, 4, 30000), tooLarge},
        {L"immense.jpg", Claiming(jpeg, frame + 5, 2, 60000), tooLarge},
        {L"immense.gif", Claiming(PictureBytes(PictureFormat::Gif, 8, 8, noise), 6, 2, 0x8000, true), tooLarge},
        {L"immense.bmp", Claiming(PictureBytes(PictureFormat::Bmp, 8, 8, noise), 18, 4, 9000, true), tooLarge},
    };
    Choose(TestIconsDll(), 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(ToAnsi(c.name));
        w.fake.messageBoxes.clear();
        WriteBytes(folder / c.name, c.bytes);
        Choose(folder / c.name, 0);
        ASSERT_EQ(w.fake.messageBoxes.size(), 1u);
        EXPECT_EQ(w.fake.messageBoxes[0].text, c.told);
        EXPECT_EQ(w.fake.messageBoxes[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(w.form.IconFilePath, TestIconsDll());
        EXPECT_EQ(modIcon::SelectedIconIndex, 1);
        EXPECT_EQ(Left(), kTestIconColours[1]);
        EXPECT_TRUE(ApplyEnabled());
        EXPECT_FALSE(Exists(folder / L"desktop.ini"));
    }
}

TEST_F(IconChoiceTest, FailureEndsTheChoiceSilentlyAndChangesNothing) {
    Choose(TestIconsDll(), 1);
    const std::wstring other = folder / L"autre.dll";
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), other.c_str(), FALSE));
    const auto picker = w.fake.pickIconW;
    const struct {
        const char* name;
        std::function<void()> breakIt;
    } cases[] = {
        {"the picker fails",
         [&] { w.fake.pickIconW = [](HWND, wchar_t*, UINT, int*) -> int { throw PlatformError("PickIconDlg", 127); }; }},
        {"the version query fails",
         [&] { w.fake.getVersion = [](OSVERSIONINFOA*) -> BOOL { throw PlatformError("GetVersionExA", 127); }; }},
        {"the extraction fails",
         [&] { w.fake.extractIcon = [](HINSTANCE, const wchar_t*, UINT) -> HICON { throw PlatformError("ExtractIconW", 127); }; }},
        {"the drawing fails",
         [&] { w.fake.drawIconEx = [](HDC, int, int, HICON, int, int) -> BOOL { throw PlatformError("DrawIconEx", 127); }; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.breakIt();
        Choose(other, 3);
        EXPECT_EQ(modIcon::SelectedIconIndex, 1);
        EXPECT_EQ(w.form.IconFilePath, TestIconsDll());
        EXPECT_TRUE(w.fake.messageBoxes.empty());
        w.fake.getVersion = nullptr;
        w.fake.extractIcon = nullptr;
        w.fake.drawIconEx = nullptr;
        w.fake.pickIconW = picker;
    }
}

}  // namespace
