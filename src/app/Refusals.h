#pragma once
#include <string>
#include <utility>

#include "modules/modBrowse.h"
#include "platform/Refusal.h"
#include "platform/Services.h"
#include "platform/Text.h"

// What the program tells the user when it refuses a chosen folder or icon
// file before anything changes.
namespace refusals {

// Half a UTF-16 surrogate pair, in a name (NTFS allows it) or a pasted tip:
// neither an ANSI nor a Unicode desktop.ini can hold it exactly.
inline constexpr wchar_t kUnpairedSurrogate[] =
    L"Ce nom ou ce texte contient un caractère Unicode incomplet (une moitié de paire de substitution UTF-16) "
    L"qu'aucun fichier desktop.ini ne peut garder tel quel : Tivrelon n'a rien modifié.";
// A folder whose name ends in a dot or a space that Win32 path handling
// drops: it would reach the look-alike without it.
inline constexpr wchar_t kTrailingDotOrSpace[] =
    L"Windows ne peut pas modifier un dossier dont le nom finit par un point ou un espace.";
// The same of a folder above it: "a.\b" is "a\b" to Win32.
inline constexpr wchar_t kTrailingDotAbove[] =
    L"Windows ne peut pas modifier ce dossier : le nom d'un dossier de son chemin finit par un point.";
// "aux", "con.txt", "COM1": the file calls would reach the device.
inline constexpr wchar_t kReservedName[] =
    L"Ce chemin contient un nom réservé par Windows (CON, PRN, AUX, NUL, COM1 à COM9, LPT1 à LPT9) : "
    L"Tivrelon ne peut pas modifier ce dossier.";
// Under WOW64 the System32 this program reaches is SysWOW64.
inline constexpr wchar_t kRedirectedFolder[] =
    L"Sous Windows 64 bits, Tivrelon voit SysWOW64 à la place de System32 : ce dossier n'est pas celui que "
    L"montre l'Explorateur, et Tivrelon ne peut pas le modifier.";
// A picture Windows' decoders cannot read: cut short, damaged, or not a
// picture of the formats the Open dialog offers.
inline constexpr wchar_t kNotAPicture[] =
    L"Tivrelon ne peut pas lire cette image : elle est incomplète ou abîmée, ou ce n'est pas une image PNG, JPEG, "
    L"BMP, GIF ou TIFF.";
// A decompression bomb, or just too large a picture: decoding it would
// take hundreds of megabytes.
inline constexpr wchar_t kPictureTooLarge[] =
    L"Cette image est trop grande (plus de 64 millions de pixels) : réduisez-la pour en faire une icône.";

// A path longer than Win32's file calls reach with desktop.ini added:
// named with its length, which no one counts by eye.
inline std::wstring TooLong(const std::wstring& path) {
    return L"Ce chemin compte " + DecimalText(static_cast<long long>(path.size())) +
           L" caractères, et Windows n'en accepte pas plus de " + DecimalText(modBrowse::kLongestPath) +
           L" pour le dossier dont Tivrelon change l'icône : raccourcissez le nom d'un des dossiers du chemin, ou "
           L"déplacez le dossier plus près de la racine du disque.";
}

// Says why, for the refusals a choice tells aloud: the program's title, the
// exclamation icon, an OK button. False for the others, which are met as
// failures. `path` is the path refused, which a message may name.
inline bool Tell(Refusal::Reason why, const std::wstring& path = {}) {
    if (why == Refusal::PathTooLong && !path.empty())
        return services::MsgBox(TooLong(path), services::kExclamation), true;
    static constexpr std::pair<Refusal::Reason, const wchar_t*> kTold[] = {
        {Refusal::UnpairedSurrogate, kUnpairedSurrogate}, {Refusal::TrailingDotOrSpace, kTrailingDotOrSpace},
        {Refusal::TrailingDotAbove, kTrailingDotAbove},   {Refusal::ReservedName, kReservedName},
        {Refusal::RedirectedFolder, kRedirectedFolder},   {Refusal::NotAPicture, kNotAPicture},
        {Refusal::PictureTooLarge, kPictureTooLarge},
    };
    for (const auto& [reason, text] : kTold)
        if (why == reason) return services::MsgBox(text, services::kExclamation), true;
    return false;
}

}  // namespace refusals
