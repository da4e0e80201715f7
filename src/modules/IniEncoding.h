#pragma once
#include <optional>
#include <string>

// How a customisation file's bytes are read, and the form in which Windows'
// profile writer can edit them.
namespace modINI {

// The text of a profile file's bytes: UTF-16 (either byte order) or UTF-8
// after their byte-order mark, the ANSI code page without one. A file with
// NUL bytes and no mark is UTF-16LE, as some scripts write it, where it
// decodes as such; otherwise it raises Refusal(Unreadable): read as ANSI, it
// would be lines of nothing that the writer then writes back as such.
std::wstring ProfileText(const std::string& bytes);

// The bytes to give the file before the profile writer edits it: the same
// text as UTF-16LE with its mark (FF FE), for a file in UTF-8 with a mark,
// in UTF-16 big-endian or in UTF-16LE without its mark. Windows' writer takes
// a file for Unicode only when it starts with FF FE: it would read the
// others as ANSI, miss their sections and write ANSI into them. Nothing for
// a file it reads as it is (ANSI, or marked UTF-16LE). Raises
// Refusal(Unreadable) for UTF-8 that is not well formed, whose bytes no
// rewrite could keep.
std::optional<std::string> UnicodeForTheWriter(const std::string& bytes);

// The text of the file at `path`, read as ProfileText reads it. Raises as
// services::ReadFileBytes does.
std::wstring ReadTextFile(const std::wstring& path);

}  // namespace modINI
