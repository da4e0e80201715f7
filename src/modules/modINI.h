#pragma once
#include <initializer_list>
#include <string>

// The folder-customisation file's writer: one key at a time, through the
// platform's private-profile writer, in the ANSI code page.
namespace modINI {

// A text checked once, where it enters, to reach the file exactly as it is:
// the ANSI code page holds it, and it has no line break, which would end the
// value early and start a line of its own. Raises Refusal otherwise.
class FaithfulText {
public:
    explicit FaithfulText(std::wstring text);

    const std::wstring& Text() const { return text_; }
    const std::string& Ansi() const { return ansi_; }

private:
    std::wstring text_;
    std::string ansi_;
};

// A file the profile writer can take, checked once: faithful text, shorter
// than MAX_PATH bytes. Raises Refusal otherwise.
class ProfileFile : public FaithfulText {
public:
    explicit ProfileFile(std::wstring path);
};

// Writes `value` under the upper-cased `keyName` in `section` of `file`.
// Raises PlatformError when the writer refuses.
void WriteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName,
                   const FaithfulText& value);

// Removes `keyName` from `section`; the rest of the file stays as it was.
void DeleteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName);

// True when `content` (the whole file) holds nothing but keys of `keys` in
// `section`, both compared in any letter case; blank lines do not count.
bool HoldsOnly(const std::wstring& content, const std::wstring& section, std::initializer_list<const wchar_t*> keys);

// True when `section` of `content` holds `keyName`, both compared in any
// letter case.
bool HoldsKey(const std::wstring& content, const std::wstring& section, const std::wstring& keyName);

// The whole text of the file at `path`, ANSI or UTF-16 (with its byte-order mark).
// Raises PlatformError when it cannot be read whole (held open without read
// sharing), Refusal when it is over 1 MiB.
std::wstring ReadTextFile(const std::wstring& path);

}  // namespace modINI
