#pragma once

// Who made the program and where to reach them: the one place these live.
// They are literals so that the About window's control table can join them
// to its own texts at compile time; the version resource takes its copyright
// line from here too.
#define TIVRELON_AUTHOR_CREDIT L"© L'équipe Tivrelon, décembre 2026"
#define TIVRELON_AUTHOR_SITE L"https://tivrelon.example"
#define TIVRELON_AUTHOR_SITE_NAME L"Tivrelon"
#define TIVRELON_AUTHOR_MAIL L"contact@tivrelon.example"
