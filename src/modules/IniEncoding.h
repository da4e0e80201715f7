#pragma once
#include <optional>
#include <string>

// How a customisation file's bytes are read, and the form in which Windows'
// profile writer can edit them.
namespace modINI {

// The text of a profile file's bytes: UTF-16 (either byte order) or UTF-8
// after their byte-order mark, the ANSI code page without one. A file with
// NUL bytes and no mark is UTF-16LE, as some scripts write it, where it
// reads as UTF-16 text (its line breaks, '[' and '=' where UTF-16 puts
// them), never for a NUL alone: ANSI that merely ends with NULs (a string's
// terminator written with it) stays ANSI. Anything else raises
// Refusal(Unreadable): read as ANSI, it would be lines the writer cuts short
// or writes back as lines of nothing.
std::wstring ProfileText(const std::string& bytes);

// The bytes to give the file before the profile writer edits it, or nothing
// when it edits them as they are. Windows' writer takes a file for Unicode
// only when it starts with FF FE: it would read UTF-8 with a mark, UTF-16
// big-endian or UTF-16LE without its mark as ANSI, miss their sections and
// write ANSI into them, so those always get the same text as UTF-16LE with
// its mark. So does an ANSI file, or none (empty bytes), when `unicode`:
// a value to write has no ANSI form. Raises Refusal(Unreadable) for bytes
// no rewrite could keep exactly: UTF-8 that is not well formed, ANSI that
// does not come back from UTF-16 byte for byte.
std::optional<std::string> FormForTheWriter(const std::string& bytes, bool unicode);

// True when `bytes` start with FF FE: the writer edits them as UTF-16LE.
bool IsMarkedUtf16(const std::string& bytes);

// The text of the file at `path`, read as ProfileText reads it. Raises as
// services::ReadFileBytes does.
std::wstring ReadTextFile(const std::wstring& path);

}  // namespace modINI
