#include "modules/modINI.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "modules/IniEncoding.h"
#include "modules/IniLines.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace modINI {
namespace {

using namespace lines;

// True when one of `edits` writes or takes out `key` of `section`, or the
// whole section (no key).
bool Touches(const std::vector<Edit>& edits, const std::wstring& section, const std::wstring* key) {
    return std::any_of(edits.begin(), edits.end(), [&](const Edit& edit) {
        return SameText(section, edit.section) && (!edit.key || (key && SameText(*key, edit.key)));
    });
}

// True when `after` holds every section and key of `before` that `edits` do
// not touch, each key with every value it had, in the same order: a key
// listed twice keeps both values. A section with no name does not count:
// the writer drops its line, and its keys go on in the section before.
bool KeepsTheRest(const std::wstring& before, const std::wstring& after, const std::vector<Edit>& edits) {
    const auto sections = SectionsOf(after);
    const bool kept = EveryLine(before, [&](const Line& line) {
        return line.kind != Line::Section || line.name.empty() || Touches(edits, line.name, nullptr) ||
               sections.contains(Folded(line.name));
    });
    if (!kept) return false;
    const AllKeys was = KeysOf(before), is = KeysOf(after);
    return std::all_of(was.begin(), was.end(), [&](const auto& entry) {
        const KeyValues& key = entry.second;
        if (Touches(edits, key.section, &key.key)) return true;
        const auto found = is.find(entry.first);
        return found != is.end() && found->second.values == key.values;
    });
}

// How often the profile reader finds `key` in `section` of `content`: the
// writer takes one out at a time, the one the reader finds.
size_t KeyCount(const std::wstring& content, const wchar_t* section, const wchar_t* key) {
    size_t count = 0;
    EachKey(content, [&](const std::wstring& in, const Line& line) {
        count += SameText(in, section) && SameText(line.name, key);
    });
    return count;
}

// One call of the writer: through its "A" form where `wide` is false (the
// path and value have ANSI forms then), else its "W" form. The section and
// key names are the program's own, plain ASCII.
void Write(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName, const FaithfulText* value,
           bool wide) {
    const std::wstring key = keyName ? ToUpper(keyName) : std::wstring();
    BOOL written;
    if (wide) {
        written = platform().WritePrivateProfileStringW(section, keyName ? key.c_str() : nullptr,
                                                        value ? value->Text().c_str() : nullptr, file.Text().c_str());
    } else {
        const std::string sectionA = ToAnsi(section), keyA = ToAnsi(key);
        written = platform().WritePrivateProfileStringA(sectionA.c_str(), keyName ? keyA.c_str() : nullptr,
                                                        value ? value->Ansi()->c_str() : nullptr,
                                                        file.AnsiPath()->c_str());
    }
    // A refused write (read-only medium, denied access) is a failure, never
    // a silent success.
    if (!written) ThrowLastError(wide ? "WritePrivateProfileStringW" : "WritePrivateProfileStringA");
}

// The writer's "W" form for `value` in `file`: where either has no ANSI form.
bool NeedsWide(const ProfileFile& file, const FaithfulText* value) { return !file.AnsiPath() || (value && !value->Ansi()); }

// A value as the profile reader hands it back: the writer drops its leading
// blanks, the reader its trailing ones and a pair of quotes around it.
std::wstring AsRead(const std::wstring& value) {
    std::wstring text = Trim(value);
    if (text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return text;
}

// The profile writer takes a value through a counted UTF-16 string of at
// most 32,767 characters with its terminator; Wine's stores a longer one as a
// few garbage bytes, says it succeeded, and can corrupt its own memory.
constexpr size_t kLongestValue = 32766;

std::wstring Storable(std::wstring text) {
    if (!IsWellFormed(text)) throw Refusal(Refusal::UnpairedSurrogate);
    if (text.find_first_of(L"\r\n") != std::wstring::npos) throw Refusal(Refusal::LineBreak);
    if (text.size() > kLongestValue) throw Refusal(Refusal::TooLong);
    return text;
}

}  // namespace

FaithfulText::FaithfulText(std::wstring text) : text_(Storable(std::move(text))), ansi_(AnsiForm(text_)) {}

ProfileFile::ProfileFile(std::wstring path) : FaithfulText(std::move(path)) {
    // Windows' profile writer refuses a path of MAX_PATH characters or more
    // (bytes, in its "A" form); Wine's writes each key into a garbage-named
    // file in the current folder.
    if (Text().size() >= MAX_PATH) throw Refusal(Refusal::PathTooLong);
    if (Ansi() && Ansi()->size() < MAX_PATH) ansiPath_ = Ansi();
}

void WriteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName,
                   const FaithfulText& value) {
    Write(file, section, keyName, &value, NeedsWide(file, &value));
}

void DeleteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName) {
    Write(file, section, keyName, nullptr, NeedsWide(file, nullptr));
}

bool NeedsUnicode(const std::vector<Edit>& edits) {
    return std::any_of(edits.begin(), edits.end(), [](const Edit& edit) { return edit.value && !edit.value->Ansi(); });
}

bool HoldsOnly(const std::wstring& content, const std::wstring& section, std::span<const wchar_t* const> keys) {
    bool inSection = false;
    return EveryLine(content, [&](const Line& line) {
        if (line.kind == Line::Section) inSection = SameText(line.name, section.c_str());
        if (line.kind == Line::Other || !inSection) return false;
        bool known = line.kind == Line::Section;
        for (const wchar_t* k : keys) known = known || SameText(line.name, k);
        return known;
    });
}

std::optional<std::wstring> ValueOf(const std::wstring& content, const std::wstring& section,
                                    const std::wstring& keyName) {
    std::optional<std::wstring> value;
    EachKey(content, [&](const std::wstring& in, const Line& line) {
        if (!value && SameText(in, section.c_str()) && SameText(line.name, keyName.c_str())) value = line.value;
    });
    return value;
}

size_t SectionCount(const std::wstring& content, const std::wstring& section) {
    size_t count = 0;
    EveryLine(content, [&](const Line& line) {
        count += line.kind == Line::Section && SameText(line.name, section.c_str());
        return true;
    });
    return count;
}

bool HoldsSection(const std::wstring& content, const std::wstring& section) {
    return SectionCount(content, section) > 0;
}

void WriteAll(const ProfileFile& file, const std::wstring& before, const std::vector<Edit>& edits, bool unicodeFile,
              const std::function<void()>& written) {
    // One form for the whole change: the "A" form only where the file is
    // ANSI and every text has its ANSI form, as the file was always written.
    const bool wide = unicodeFile || !file.AnsiPath() || NeedsUnicode(edits);
    try {
        for (const Edit& edit : edits) {
            const bool takesKeyOut = edit.key && !edit.value;
            const size_t times = takesKeyOut ? std::max<size_t>(1, KeyCount(before, edit.section, edit.key)) : 1;
            for (size_t i = 0; i < times; ++i)
                Write(file, edit.section, edit.key, edit.value ? &*edit.value : nullptr, wide);
        }
        if (written) written();
        const std::wstring content = ReadTextFile(file.Text());
        const auto stored = [&](const Edit& edit) {
            if (!edit.key) return !HoldsSection(content, edit.section);
            const std::optional<std::wstring> found = ValueOf(content, edit.section, edit.key);
            if (!edit.value) return !found;
            return found && AsRead(*found) == AsRead(edit.value->Text());
        };
        if (!std::all_of(edits.begin(), edits.end(), stored) || !KeepsTheRest(before, content, edits))
            throw Refusal(Refusal::NotWritten);
    } catch (...) {
        // Wine's writer keeps a write it could not save (another program held
        // the file) in its cache, and saves it when it next opens another
        // file: long after the caller put this one back. The documented flush
        // (no section, key or value) ends that entry now, while the caller
        // has yet to put the file back.
        if (wide) {
            platform().WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.Text().c_str());
        } else {
            platform().WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.AnsiPath()->c_str());
        }
        throw;
    }
}

}  // namespace modINI
