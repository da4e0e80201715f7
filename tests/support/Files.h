#pragma once
#include <windows.h>

#include <string>

// The folder that holds the running test program.
std::wstring TestProgramFolder();

// A folder of its own for one test, under `root` (by default beside the test
// program, so on the build's file system, where Wine keeps DOS attributes),
// removed with everything in it afterwards whatever attributes the test left.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& root = TestProgramFolder() + L"\\testdata");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A folder that only the tests working the real folder browser write in, for
// folders a user picks in the shell's folder browser. The browser finds a
// folder only while every folder on its way is as it was when the browser
// listed it (it compares time stamps), and the test programs running
// beside keep changing the folder beside the test program.
std::wstring BrowsableRoot();

// A file outside the test's own folders (C:\desktop.ini, say) and the folder
// that holds it, put back as they were when this goes, however the test
// ends: the file's bytes and attributes, or its absence, and the folder's
// attributes.
class KeptAsFound {
public:
    KeptAsFound(std::wstring file, std::wstring folder);
    ~KeptAsFound();
    KeptAsFound(const KeptAsFound&) = delete;
    KeptAsFound& operator=(const KeptAsFound&) = delete;

private:
    std::wstring file_, folder_;
    DWORD fileAttributes_, folderAttributes_;
    std::string bytes_;
};

// Attributes as a user would compare them: without the archive bit (Wine
// sets it on every plain file), the directory bit and "normal".
DWORD UserAttributes(const std::wstring& path);

// `section` of the profile file `ini` as Windows' profile reader gives it:
// its "key=value" lines, one per line.
std::wstring ProfileSection(const std::wstring& ini, const wchar_t* section);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeFolder(const std::wstring& path);
// The path as the file system holds it: "\\?\" turns Win32's trimming of a
// trailing dot or space and its MAX_PATH limit off.
inline std::wstring Verbatim(const std::wstring& path) { return L"\\\\?\\" + path; }
void RemoveTree(const std::wstring& path);

// What the program says of a folder whose path is too long for Win32.
inline std::wstring TooLongMessage(const std::wstring& path) {
    return L"Ce chemin compte " + std::to_wstring(path.size()) +
           L" caractères, et Windows n'en accepte pas plus de 247 pour le dossier dont Tivrelon change l'icône : "
           L"raccourcissez le nom d'un des dossiers du chemin, ou déplacez le dossier plus près de la racine du disque.";
}

// A symbolic link to the file `target`, made for a test and taken away with
// it, before the target goes.
class SymbolicLink {
public:
    SymbolicLink(const std::wstring& link, const std::wstring& target);
    ~SymbolicLink();
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;

    // False when this system lets the test make none (Windows without the
    // right to).
    bool Made() const { return made_; }

private:
    std::wstring link_;
    bool made_;
};
