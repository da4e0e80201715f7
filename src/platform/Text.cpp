#include "platform/Text.h"

#include <windows.h>

#include "platform/PlatformError.h"
#include "platform/Refusal.h"

std::optional<std::string> AnsiForm(const std::wstring& text) {
    if (text.empty()) return std::string();
    const UINT cp = GetACP();
    // With UTF-8 as the ANSI code page the best-fit flag and the used-default
    // flag are not allowed; only unpaired surrogates cannot be represented.
    const bool utf8 = cp == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int wideLength = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(cp, flags, text.data(), wideLength, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0) {
        // With UTF-8 an unpaired surrogate fails the call itself.
        if (GetLastError() == ERROR_NO_UNICODE_TRANSLATION) return std::nullopt;
        ThrowLastError("WideCharToMultiByte");
    }
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(cp, flags, text.data(), wideLength, ansi.data(), size, nullptr, usedDefaultOut);
    // Some code pages map a character to a look-alike without reporting the
    // default character; the round trip catches those too.
    if (usedDefault || FromAnsi(ansi) != text) return std::nullopt;
    return ansi;
}

std::string ToAnsi(const std::wstring& text) {
    std::optional<std::string> ansi = AnsiForm(text);
    if (!ansi) throw Refusal(Refusal::UnwritableName);
    return std::move(*ansi);
}

bool IsWellFormed(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IS_LOW_SURROGATE(text[i])) return false;
        if (IS_HIGH_SURROGATE(text[i]) && !(i + 1 < text.size() && IS_LOW_SURROGATE(text[++i]))) return false;
    }
    return true;
}

namespace {

std::wstring FromCodePage(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (size <= 0) ThrowLastError("MultiByteToWideChar");
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), size);
    return wide;
}

}  // namespace

std::wstring FromAnsi(const std::string& text) { return FromCodePage(CP_ACP, text); }

std::wstring FromUtf8(const std::string& text) { return FromCodePage(CP_UTF8, text); }

std::wstring ToUpper(const std::wstring& text) {
    std::wstring upper = text;
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

namespace {

template <class Char>
std::basic_string<Char> Decimal(long long value) {
    // Counted in the negative range, which holds the most negative number.
    long long rest = value < 0 ? value : -value;
    std::basic_string<Char> digits;
    do {
        digits.insert(digits.begin(), static_cast<Char>('0' - rest % 10));
        rest /= 10;
    } while (rest != 0);
    if (value < 0) digits.insert(digits.begin(), static_cast<Char>('-'));
    return digits;
}

}  // namespace

std::wstring DecimalText(long long value) { return Decimal<wchar_t>(value); }
std::string DecimalAscii(long long value) { return Decimal<char>(value); }

std::wstring HexByte(unsigned char value) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0xF]};
}
