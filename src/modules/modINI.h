#pragma once
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The folder-customisation file's writer: one key at a time, through the
// platform's private-profile writer. A file in the ANSI code page stays so
// while every value fits it, written through the writer's "A" form as it
// always was; text the code page cannot hold goes through the "W" form
// into a Unicode file (UTF-16LE after FF FE).
namespace modINI {

// A text checked once, where it enters, to reach the file exactly as it is:
// whole UTF-16 (no half surrogate pair), no line break, which would end the
// value early and start a line of its own, and no longer than the profile
// writer stores whole (32,766 characters). Raises Refusal otherwise.
class FaithfulText {
public:
    explicit FaithfulText(std::wstring text);

    const std::wstring& Text() const { return text_; }
    // The text in the ANSI code page; nothing where the code page cannot
    // hold it exactly.
    const std::optional<std::string>& Ansi() const { return ansi_; }

private:
    std::wstring text_;
    std::optional<std::string> ansi_;
};

// A file the profile writer can take, checked once: faithful text, shorter
// than MAX_PATH characters. Raises Refusal otherwise.
class ProfileFile : public FaithfulText {
public:
    explicit ProfileFile(std::wstring path);
    // The path for the writer's "A" form: nothing where the code page cannot
    // hold it, or holds it in MAX_PATH bytes or more, which that form refuses.
    const std::optional<std::string>& AnsiPath() const { return ansiPath_; }

private:
    std::optional<std::string> ansiPath_;
};

// Writes `value` under the upper-cased `keyName` in `section` of `file`,
// through the writer's "A" form where the path and value have one, else its
// "W" form, which writes a value with no ANSI form exactly only into a
// Unicode file. Raises PlatformError when the writer refuses.
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

// True when one of `edits` writes a value the ANSI code page cannot hold.
bool NeedsUnicode(const std::vector<Edit>& edits);

// Makes the edits in order, through the writer's "W" form into a Unicode
// file (`unicodeFile`: it starts FF FE) or where the path or a value has no
// ANSI form, else through its "A" form; a key listed more than once is
// taken out as often as the profile reader finds it. Then `written` runs
// (the caller gives the file its marks back there, before the slower
// read-back), and the file is read back: every key written must hold its
// value as the profile functions read it (blanks around it, a pair of
// quotes, do not count), every key or section taken out must be gone, and
// every other section and key of `before` (the file's text before the
// edits) must be there with each of its values. Raises Refusal(NotWritten)
// otherwise: a writer that stored a value short or garbled (Wine's, for a
// value of 32,767 characters or more), or that misread the file and wrote it
// back damaged, reported success all the same. Refusals and failures leave
// what was written so far, and no write of theirs for the writer to land
// later.
void WriteAll(const ProfileFile& file, const std::wstring& before, const std::vector<Edit>& edits, bool unicodeFile,
              const std::function<void()>& written = {});

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
