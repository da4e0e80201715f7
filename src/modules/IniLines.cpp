#include "modules/IniLines.h"

#include <algorithm>

namespace modINI::lines {

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool SameText(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

std::wstring Folded(const std::wstring& name) {
    // Plain ASCII, nearly every name, folded here: a call per name costs.
    if (std::all_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x80; })) {
        std::wstring folded = name;
        for (wchar_t& c : folded)
            if (c >= L'a' && c <= L'z') c -= L'a' - L'A';
        return folded;
    }
    std::wstring folded(name.size(), L'\0');
    // Without linguistic casing: the file system's simple upper case, which
    // is how ordinal comparison in any letter case folds.
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.c_str(), static_cast<int>(name.size()),
                                folded.data(), static_cast<int>(folded.size()), nullptr, nullptr, 0);
    return n == static_cast<int>(name.size()) ? folded : name;
}

Line ParseLine(const std::wstring& line) {
    if (line.front() == L'[') {
        const size_t close = line.find(L']');
        if (close == std::wstring::npos) return {Line::Other, {}, {}};
        return {Line::Section, Trim(line.substr(1, close - 1)), {}};
    }
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return {Line::Other, {}, {}};
    return {Line::Key, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

AllKeys KeysOf(const std::wstring& content) {
    AllKeys keys;
    std::wstring section, folded;
    EveryLine(content, [&](const Line& line) {
        if (line.kind == Line::Section && !line.name.empty()) {
            section = line.name;
            folded = Folded(section);
        }
        if (line.kind == Line::Key && !line.name.empty()) {
            KeyValues& key = keys[folded + L'\n' + Folded(line.name)];
            if (key.values.empty()) key.section = section, key.key = line.name;
            key.values.push_back(line.value);
        }
        return true;
    });
    return keys;
}

std::unordered_set<std::wstring> SectionsOf(const std::wstring& content) {
    std::unordered_set<std::wstring> sections;
    EveryLine(content, [&](const Line& line) {
        if (line.kind == Line::Section) sections.insert(Folded(line.name));
        return true;
    });
    return sections;
}

}  // namespace modINI::lines
