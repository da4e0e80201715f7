#include "modules/IniEncoding.h"

#include <windows.h>

#include <string_view>

#include "platform/Refusal.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace modINI {

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE", kUtf16BigMark = "\xFE\xFF", kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, std::string_view mark) { return bytes.compare(0, mark.size(), mark) == 0; }

std::wstring Utf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i + bigEndian]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + !bigEndian]);
        text[i] = static_cast<wchar_t>(low | high << 8);
    }
    return text;
}

// Text, not bytes that happen to pair up: no NUL character, every surrogate
// in its pair.
bool IsText(const std::wstring& text) { return text.find(L'\0') == std::wstring::npos && IsWellFormed(text); }

// Every byte a character: a sequence MultiByteToWideChar would turn into
// U+FFFD is refused rather than lost in a rewrite.
std::wstring WellFormedUtf8(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) throw Refusal(Refusal::Unreadable);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), size);
    return text;
}

// UTF-16LE without its mark, as some scripts write it: bytes that decode to
// text (no NUL character, every surrogate paired) whose lines and sections
// are UTF-16's. Counted on both readings: the line breaks, '[' and '=' that
// UTF-16 sees must outnumber those an ANSI reading sees elsewhere. An ANSI
// file with a stray NUL (a string's terminator written with it) pairs up
// into text too, but its structure is all in its single bytes.
bool IsMarklessUtf16(const std::string& bytes) {
    if (bytes.size() % 2 || !IsText(Utf16(bytes, false))) return false;
    const auto structural = [](char c) { return c == '\n' || c == '[' || c == '='; };
    size_t wide = 0, narrow = 0;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const bool asciiPair = bytes[i + 1] == '\0';
        wide += asciiPair && structural(bytes[i]);
        narrow += (!asciiPair && structural(bytes[i])) + structural(bytes[i + 1]);
    }
    return wide > narrow;
}

}  // namespace

std::wstring ProfileText(const std::string& bytes) {
    const std::string_view rest = std::string_view(bytes).substr(std::min<size_t>(bytes.size(), 2));
    if (StartsWith(bytes, kUtf16Mark)) return Utf16(rest, false);
    if (StartsWith(bytes, kUtf16BigMark)) return Utf16(rest, true);
    // Notepad wrote UTF-8 with a byte-order mark for years; Wine's profile
    // functions read it as UTF-8, and the program must see the section that
    // follows the mark.
    if (StartsWith(bytes, kUtf8Mark)) return FromUtf8(bytes.substr(kUtf8Mark.size()));
    if (bytes.find('\0') == std::string::npos) return FromAnsi(bytes);
    if (IsMarklessUtf16(bytes)) return Utf16(bytes, false);
    // ANSI that ends with NULs, which the profile writer drops; a NUL
    // further in would cut its line short for the writer.
    if (bytes.find('\0') > bytes.find_last_not_of('\0')) return FromAnsi(bytes);
    throw Refusal(Refusal::Unreadable);
}

namespace {

// ANSI bytes as text, only where the text gives them back byte for byte: a
// byte no character stands for (a lone lead byte of a double-byte code page)
// would be lost in the rewrite.
std::wstring ExactlyFromAnsi(const std::string& bytes) {
    const std::wstring text = FromAnsi(bytes);
    if (AnsiForm(text) != bytes) throw Refusal(Refusal::Unreadable);
    return text;
}

}  // namespace

bool IsMarkedUtf16(const std::string& bytes) { return StartsWith(bytes, kUtf16Mark); }

std::optional<std::string> FormForTheWriter(const std::string& bytes, bool unicode) {
    if (IsMarkedUtf16(bytes)) return std::nullopt;
    const bool marked = StartsWith(bytes, kUtf16BigMark) || StartsWith(bytes, kUtf8Mark);
    const bool ansi = !marked && (bytes.find('\0') == std::string::npos || !IsMarklessUtf16(bytes));
    if (ansi && !unicode) return std::nullopt;
    const std::wstring text = StartsWith(bytes, kUtf8Mark) ? WellFormedUtf8(std::string_view(bytes).substr(3))
                              : ansi                       ? ExactlyFromAnsi(bytes)
                                                           : ProfileText(bytes);
    std::string form(kUtf16Mark);
    for (const wchar_t c : text) {
        form += static_cast<char>(c & 0xFF);
        form += static_cast<char>(c >> 8);
    }
    return form;
}

std::wstring ReadTextFile(const std::wstring& path) { return ProfileText(services::ReadFileBytes(path)); }

}  // namespace modINI
