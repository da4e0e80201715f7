#pragma once
#include <optional>
#include <string>

// The exact form of `text` in the ANSI code page, or nothing where the code
// page cannot hold it: never '?' or a "best fit" look-alike (U+2215 as '/',
// U+FF02 as '"'), which would name something else.
std::optional<std::string> AnsiForm(const std::wstring& text);
// The same for the calls that have only an "A" form: raises
// Refusal(UnwritableName) where there is none.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
std::wstring FromUtf8(const std::string& text);

// True when `text` is whole UTF-16: every surrogate in its pair. NTFS takes a
// name with half a pair; no text file, ANSI or Unicode, holds one exactly.
bool IsWellFormed(const std::wstring& text);

// Upper-cases by the user's locale, as the INI writer's callers expect.
std::wstring ToUpper(const std::wstring& text);

// Decimal text of a number: digits, '-' first when negative. Written here,
// not through the C library's printf family, whose formatting (floating
// point included) would weigh tens of KiB in the exe.
std::wstring DecimalText(long long value);
std::string DecimalAscii(long long value);
// Two upper-case hexadecimal digits of a byte.
std::wstring HexByte(unsigned char value);
