#pragma once
#include <string>

// The program's entry in Explorer's menu of a folder, for the current user
// only: "Changer l'icône avec Tivrelon..." starts the program with that
// folder, which then goes the command line's road. Nothing under
// HKEY_LOCAL_MACHINE, nothing to install, nothing left behind once removed.
namespace explorerEntry {

// Under HKEY_CURRENT_USER: a verb of the Directory class.
inline constexpr wchar_t kKey[] = L"Software\\Classes\\Directory\\shell\\Tivrelon";
inline constexpr wchar_t kCaption[] = L"Changer l'icône avec Tivrelon...";
// The main window's system menu item that adds and removes it.
inline constexpr wchar_t kMenuItem[] = L"Ajouter au menu de l'Explorateur";
inline constexpr wchar_t kAddFailed[] =
    L"Tivrelon n'a pas pu s'ajouter au menu de l'Explorateur : Windows a refusé l'écriture dans le registre. "
    L"Rien n'a été ajouté.";
inline constexpr wchar_t kRemoveFailed[] =
    L"Tivrelon n'a pas pu se retirer du menu de l'Explorateur : Windows a refusé la suppression dans le registre.";
// Asked before the entry is added for a program in the temporary folder.
inline constexpr wchar_t kTemporaryProgram[] =
    L"Tivrelon est lancé depuis un dossier temporaire (c'est le cas quand on l'ouvre directement dans un fichier "
    L"ZIP) : ce dossier disparaîtra, et l'entrée du menu de l'Explorateur ne mènerait plus à rien.\n"
    L"Copiez plutôt Tivrelon dans un dossier qui reste, puis ajoutez l'entrée depuis cette copie.\n\n"
    L"Ajouter quand même l'entrée ?";

// What Explorer runs for a folder: `exe` and the folder ("%1"), both quoted,
// so that spaces in either split nothing.
std::wstring CommandFor(const std::wstring& exe);

// True while the entry starts `exe`, by whatever spelling of its path;
// false when there is none, when it starts another program (a Tivrelon.exe
// moved or copied elsewhere), or when it cannot be read.
bool PointsAt(const std::wstring& exe);

// The system menu item chosen: takes the whole entry away when it starts
// `exe`, else writes it for `exe` in place of whatever stood there, once the
// user agreed when `exe` is in the temporary folder. A write that fails
// leaves no entry at all; either failure is told, and nothing else changes.
// Explorer is then told that the verbs of folders changed.
void Toggle(const std::wstring& exe);

}  // namespace explorerEntry
