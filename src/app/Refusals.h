#pragma once
#include "platform/Services.h"

// Choices the program refuses before anything changes, and what it tells the
// user then.
namespace refusals {

// A path the ANSI code page cannot hold exactly: the profile writer, an "A"
// function, would reach a look-alike or nothing.
inline constexpr wchar_t kUnwritableName[] =
    L"Ce nom contient des caractères que Tivrelon ne peut pas écrire dans desktop.ini.";
// A folder whose path holds a name ending in a dot or a space that Win32
// path handling drops: it would reach the look-alike without it.
inline constexpr wchar_t kTrailingDotOrSpace[] =
    L"Windows ne peut pas modifier un dossier dont le nom finit par un point ou un espace.";

// Says why: the program's title, the exclamation icon, an OK button.
inline void Tell(const wchar_t* text) { services::MsgBox(text, services::kExclamation); }

}  // namespace refusals
