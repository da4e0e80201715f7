// The built Tivrelon.exe, started as a user starts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ExplorerEntry.h"
#include "platform/Handles.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/Gui.h"
#include "support/ProgramWindows.h"
#include "support/RunningProgram.h"

namespace {

TEST(Exe, QuitButtonEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr) << "main window not found by its caption";
    const MainControls c = MainControlsOf(program.Window());
    ASSERT_TRUE(c.Found());
    EXPECT_FALSE(IsWindowEnabled(c.apply));
    EXPECT_TRUE(IsWindowEnabled(c.folder));
    Click(c.quit);
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Exe, CloseBoxEndsTheProgramWithExitCodeZero) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

// Started as Explorer starts it for a folder dropped on it or sent to it:
// one folder is chosen as in the folder browser, with the same refusals;
// anything else is said over the window, which stays as at start.
TEST(Exe, StartsWithTheFolderItIsHanded) {
    TempFolder root;
    const std::wstring folder = root / L"Mes photos", file = root / L"notes.txt", gone = root / L"absent";
    const std::wstring foreign = root / L"Dvořák 家族";
    const std::wstring above = root / std::wstring(200, L'd'), deep = above + L"\\" + std::wstring(100, L'e');
    for (const std::wstring& made : {folder, foreign, Verbatim(root / L"fin."), Verbatim(above), Verbatim(deep)})
        MakeFolder(made);
    WriteBytes(file, "texte");
    const auto quoted = [](const std::wstring& path) { return L"\"" + path + L"\""; };
    std::wstring viaEntry = explorerEntry::CommandFor(TivrelonExePath());
    viaEntry.replace(viaEntry.find(L"%1"), 2, folder).erase(0, TivrelonExePath().size() + 3);
    const struct {
        std::wstring arguments, chosen, message;
    } cases[] = {
        {L"", L"", L""},
        {L"\"\" " + quoted(folder), folder, L""},  // an empty argument is none
        {viaEntry, folder, L""},  // quoted(folder): the entry's command as Explorer runs it, "<exe>" off
        // Windows' rules read the closing backslash and quote as a quote.
        {quoted(folder + L"\\"), folder, L""},
        {L"\"C:\\\"", L"C:\\", L""},
        // "." and ".." resolved as Windows resolves them.
        {quoted(root / L"absent\\..\\.\\Mes photos\\."), folder, L""},
        // ".." stops at the drive root and at the share.
        {quoted(root.Path().substr(0, 3) + L"..\\" + root.Path().substr(3) + L"\\Mes photos"), folder, L""},
        {L"\"\\\\serveur\\partage\\..\\absent\"", L"",
         L"Tivrelon ne trouve pas le dossier « \\\\serveur\\partage\\absent »."},
        {quoted(foreign), foreign, L""},  // any script, by its exact name
        {quoted(root / L"fin."), L"", L"Windows ne peut pas modifier un dossier dont le nom finit par un point ou un espace."},
        {quoted(file), L"",
         L"« " + file + L" » est un fichier, pas un dossier. Tivrelon change l'icône d'un dossier : donnez-lui un dossier."},
        {quoted(gone), L"", L"Tivrelon ne trouve pas le dossier « " + gone + L" »."},
        {quoted(deep), L"", TooLongMessage(deep)},
        {quoted(folder) + L" " + quoted(root.Path()), L"",
         L"Tivrelon ne change l'icône que d'un dossier à la fois : donnez-lui un seul dossier."},
        {L"/?", L"",
         L"Tivrelon ne connaît pas l'option « /? ». Donnez-lui seulement le chemin d'un dossier, par exemple :\n"
         L"Tivrelon.exe \"C:\\Users\\Public\\Documents\""},
        {L"photos", L"",
         L"Tivrelon ne sait pas trouver « photos » : donnez-lui le chemin complet d'un dossier, par exemple "
         L"C:\\Users\\Public\\Documents."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        RunningProgram program(TivrelonExePath(), L"", c.arguments);
        HWND main = program.Window();
        ASSERT_NE(main, nullptr);
        const MainControls m = MainControlsOf(main);
        if (!c.message.empty()) {
            HWND box = WaitForTitle(program, L"Tivrelon");
            ASSERT_NE(box, nullptr) << "no message";
            EXPECT_EQ(GetWindow(box, GW_OWNER), main);
            EXPECT_NE(FindChildByText(box, c.message), nullptr);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
        }
        if (!c.chosen.empty()) {
            EXPECT_TRUE(WaitFor([&] { return FindChildByText(main, c.chosen) && IsWindowEnabled(m.icon); }));
        }
        for (HWND control : {m.icon, m.reset, m.infoTip})
            EXPECT_EQ(IsWindowEnabled(control) != FALSE, !c.chosen.empty());
        EXPECT_FALSE(IsWindowEnabled(m.apply));
        Click(m.quit);
        EXPECT_EQ(program.ExitCode(), 0u);
    }
    RemoveTree(Verbatim(root.Path()));
}

// What only a dialog needs is loaded when a dialog is first opened, not at
// start: start-up stays as fast as the main window allows.
TEST(Exe, StartsWithoutLoadingWhatOnlyDialogsNeed) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    const std::vector<std::wstring> loaded = program.LoadedModules();
    ASSERT_FALSE(loaded.empty());
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), L"user32.dll"), loaded.end());
    auto isLoaded = [&](const wchar_t* name) { return std::find(loaded.begin(), loaded.end(), name) != loaded.end(); };
    for (const wchar_t* notYet : {L"shell32.dll", L"comdlg32.dll", L"oleaut32.dll", L"shlwapi.dll", L"windowscodecs.dll"})
        EXPECT_FALSE(isLoaded(notYet)) << testing::PrintToString(std::wstring(notYet));
    // Wine's X11 display driver brings ole32 into every process with a
    // window; on Windows nothing of ours may load it before a dialog.
    if (!isLoaded(L"winex11.drv")) {
        EXPECT_FALSE(isLoaded(L"ole32.dll"));
    }
}

// Asks the running program to load `dll` by name, as a system DLL asks for
// a helper of its own: true when it loaded one.
bool ProgramLoads(const RunningProgram& program, const std::wstring& dll) {
    RemoteMemory name(program.Process(), (dll.size() + 1) * sizeof(wchar_t));
    name.Write(dll.c_str(), (dll.size() + 1) * sizeof(wchar_t));
    // LoadLibraryW takes one pointer, as a thread's start does; kernel32 lies
    // at the same address in every process of a session.
    auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    const UniqueHandle thread(CreateRemoteThread(program.Process(), nullptr, 0, load,
                                                 reinterpret_cast<void*>(name.Address()), 0, nullptr));
    if (!thread) return false;
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD module = 0;  // the low half of the module's handle
    GetExitCodeThread(thread.get(), &module);
    return module != 0;
}

// A DLL planted beside the program or in the folder it starts in is never
// loaded: the program looks for DLLs in System32 alone.
TEST(Exe, NeverLoadsADllPlantedBesideItOrInItsCurrentFolder) {
    TempFolder beside, current;
    const std::wstring exe = beside / L"Tivrelon.exe";
    ASSERT_TRUE(CopyFileW(TivrelonExePath().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), (beside / L"planted1.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), (current / L"planted2.dll").c_str(), FALSE));
    RunningProgram program(exe, current.Path());
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_FALSE(ProgramLoads(program, L"planted1.dll")) << "loaded from the program's folder";
    EXPECT_FALSE(ProgramLoads(program, L"planted2.dll")) << "loaded from the current folder";
    // The check itself works: named by its full path, the DLL loads.
    EXPECT_TRUE(ProgramLoads(program, beside / L"planted1.dll"));
}

}  // namespace
