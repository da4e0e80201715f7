#pragma once
#include <string>

// Text crosses into the platform's "A" functions only through these, so that
// a character the ANSI code page lacks is refused instead of silently
// becoming '?' or a "best fit" look-alike (U+2215 as '/', U+FF02 as '"').
//
// Raises Refusal(UnwritableName) when `text` cannot be represented exactly.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
std::wstring FromUtf8(const std::string& text);

// Upper-cases by the user's locale, as the INI writer's callers expect.
std::wstring ToUpper(const std::wstring& text);

// Decimal text of a signed 32-bit number: digits, '-' first when negative.
std::wstring DecimalText(int value);
