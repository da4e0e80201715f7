#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The lines of a profile file's text as the profile functions read them:
// what the writer's read-back and the way back look at.
namespace modINI::lines {

std::wstring Trim(const std::wstring& text);
bool SameText(const std::wstring& a, const wchar_t* b);

// A name as the profile functions match it, in any letter case: the same
// folded text for names that compare equal.
std::wstring Folded(const std::wstring& name);

// One line of an INI file: a section line, a key line, or anything else
// (a comment, a stray word). Blank lines are skipped.
struct Line {
    enum Kind { Section, Key, Other } kind;
    std::wstring name;   // the section's or the key's, trimmed
    std::wstring value;  // a key's, trimmed
};

Line ParseLine(const std::wstring& line);

// True when `accept` holds for every non-blank line of `content`.
template <class Accept>
bool EveryLine(const std::wstring& content, Accept accept) {
    size_t start = 0;
    while (start <= content.size()) {
        size_t end = content.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = content.size();
        const std::wstring line = Trim(content.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && !accept(ParseLine(line))) return false;
    }
    return true;
}

// Calls `take` with every key line of `content` as the profile reader sees
// it: in the first section of each name, with the name of that section.
template <class Take>
void EachKey(const std::wstring& content, Take take) {
    std::unordered_set<std::wstring> seen;
    bool first = false;
    std::wstring section;
    EveryLine(content, [&](const Line& line) {
        if (line.kind == Line::Section) {
            section = line.name;
            first = seen.insert(Folded(section)).second;
        } else if (first && line.kind == Line::Key) {
            take(section, line);
        }
        return true;
    });
}

// Every value of every key of `content`, in the file's order, by section and
// key name: all sections of one name together, and keys before any section
// or under a section line with no name ("[]", which the writer drops, its
// keys going on in the section before) in the section before them.
struct KeyValues {
    std::wstring section, key;  // as first written
    std::vector<std::wstring> values;
};
using AllKeys = std::unordered_map<std::wstring, KeyValues>;  // by folded section and key
AllKeys KeysOf(const std::wstring& content);

// The folded names of the sections of `content`.
std::unordered_set<std::wstring> SectionsOf(const std::wstring& content);

}  // namespace modINI::lines
