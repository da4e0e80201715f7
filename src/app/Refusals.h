#pragma once

// What the main window says when it refuses a choice before anything
// changes. Shown with the exclamation icon under the application's title.

// A folder or icon file whose name the ANSI code page cannot hold: the
// profile writer would store a look-alike, naming another file or nothing.
inline constexpr wchar_t kUnwritableName[] =
    L"Ce nom contient des caractères que Tivrelon ne peut pas écrire dans desktop.ini.";
