#pragma once
#include <span>
#include <optional>
#include <string>
#include <vector>

// The folder-customisation file's writer: one key at a time, through the
// platform's private-profile writer, in the ANSI code page.
namespace modINI {

// A text checked once, where it enters, to reach the file exactly as it is:
// the ANSI code page holds it, it has no line break, which would end the
// value early and start a line of its own, and the profile writer can store
// it whole (32,766 characters at most). Raises Refusal otherwise.
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

// Removes `keyName` from `section`, or the whole section when `keyName` is
// null; the rest of the file stays as it was.
void DeleteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName);

// One change to a file: a key written with its value, or taken out (no
// value); a whole section taken out when the key is null.
struct Edit {
    const wchar_t* section;
    const wchar_t* key;
    std::optional<FaithfulText> value;
};

// Makes the edits in order, then reads the file back: every key written must
// hold its value as the profile functions read it (blanks around it, a pair
// of quotes, do not count), every key or section taken out must be gone, and
// every other section and key of `before` (the file's text before the edits)
// must be there with its value. Raises Refusal(NotWritten) otherwise: a
// writer that stored a value short or garbled (Wine's, for a value of 32,767
// characters or more), or that misread the file and wrote it back damaged,
// reported success all the same. Refusals and failures leave what was
// written so far, and no write of theirs for the writer to land later.
void WriteAll(const ProfileFile& file, const std::wstring& before, const std::vector<Edit>& edits);

// True when `content` (the whole file) holds nothing but keys of `keys` in
// `section`, both compared in any letter case; blank lines do not count.
bool HoldsOnly(const std::wstring& content, const std::wstring& section, std::span<const wchar_t* const> keys);

// The value of `keyName` in `section` of `content`, blanks around it
// trimmed, as the profile reader finds it: in the first section of that
// name, the first key of that name. Nothing when there is no such key. Names
// compare in any letter case.
std::optional<std::wstring> ValueOf(const std::wstring& content, const std::wstring& section,
                                    const std::wstring& keyName);

// How many sections of `content` are named `section`, in any letter case.
size_t SectionCount(const std::wstring& content, const std::wstring& section);
bool HoldsSection(const std::wstring& content, const std::wstring& section);

}  // namespace modINI
