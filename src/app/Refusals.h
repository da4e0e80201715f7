#pragma once
#include "platform/Refusal.h"
#include "platform/Services.h"

// What the program tells the user when it refuses a chosen folder or icon
// file before anything changes.
namespace refusals {

// A path the ANSI code page cannot hold exactly: the profile writer, an "A"
// function, would reach a look-alike or nothing.
inline constexpr wchar_t kUnwritableName[] =
    L"Ce nom contient des caractères que Tivrelon ne peut pas écrire dans desktop.ini.";
// A folder whose path holds a name ending in a dot or a space that Win32
// path handling drops: it would reach the look-alike without it.
inline constexpr wchar_t kTrailingDotOrSpace[] =
    L"Windows ne peut pas modifier un dossier dont le nom finit par un point ou un espace.";

// Says why, for the refusals a choice tells aloud: the program's title, the
// exclamation icon, an OK button. Other refusals are met as failures.
inline void Tell(Refusal::Reason why) {
    if (why == Refusal::UnwritableName) services::MsgBox(kUnwritableName, services::kExclamation);
    if (why == Refusal::TrailingDotOrSpace) services::MsgBox(kTrailingDotOrSpace, services::kExclamation);
}

}  // namespace refusals
