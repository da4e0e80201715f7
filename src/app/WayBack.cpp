#include "app/WayBack.h"

namespace wayback {

namespace {

constexpr wchar_t kSection[] = L"Tivrelon";
constexpr wchar_t kSaved[] = L"Saved";
constexpr wchar_t kFolder[] = L"Folder";

constexpr struct {
    DWORD attribute;
    const wchar_t* name;
} kMarks[] = {{FILE_ATTRIBUTE_SYSTEM, L"system"}, {FILE_ATTRIBUTE_READONLY, L"read-only"}};

// True when the comma-separated `list` names `name`, in any letter case and
// with blanks around it.
bool Listed(const std::wstring& list, const wchar_t* name) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L',', start);
        if (end == std::wstring::npos) end = list.size();
        size_t first = list.find_first_not_of(L" \t", start), last = end;
        while (last > start && (list[last - 1] == L' ' || list[last - 1] == L'\t')) --last;
        if (first < last && CompareStringOrdinal(list.c_str() + first, static_cast<int>(last - first), name, -1,
                                                 TRUE) == CSTR_EQUAL)
            return true;
        start = end + 1;
    }
    return false;
}

std::wstring Joined(const std::wstring& list, const wchar_t* name) { return list + (list.empty() ? L"" : L",") + name; }

}  // namespace

std::vector<modINI::Edit> Keep(const std::wstring& content, DWORD folderAttributes,
                               const std::function<bool()>& inKnownFolder) {
    // Nothing but what this program writes (its own file, or a file just
    // like it): reset takes it away whole, as it would have before.
    if (modINI::HoldsSection(content, kSection) ||
        (modINI::HoldsOnly(content, kShellSection, kOurKeys) && !inKnownFolder()))
        return {};
    std::vector<modINI::Edit> edits;
    std::wstring saved, marks;
    for (const wchar_t* key : kIconKeys) {
        const std::optional<std::wstring> value = modINI::ValueOf(content, kShellSection, key);
        if (!value) continue;
        saved = Joined(saved, key);
        edits.push_back({kSection, key, modINI::FaithfulText(*value)});
    }
    for (const auto& mark : kMarks)
        if (folderAttributes & mark.attribute) marks = Joined(marks, mark.name);
    edits.insert(edits.begin(), {{kSection, kSaved, modINI::FaithfulText(saved)},
                                 {kSection, kFolder, modINI::FaithfulText(marks)}});
    return edits;
}

std::optional<Return> Back(const std::wstring& content) {
    const size_t sections = modINI::SectionCount(content, kSection);
    if (sections == 0) return std::nullopt;
    const std::wstring saved = modINI::ValueOf(content, kSection, kSaved).value_or(L"");
    Return back;
    for (const wchar_t* key : kIconKeys) {
        std::optional<modINI::FaithfulText> value;
        if (Listed(saved, key))
            if (const auto kept = modINI::ValueOf(content, kSection, key)) value.emplace(*kept);
        back.edits.push_back({kShellSection, key, std::move(value)});
    }
    // The writer takes out one section of a name at a time.
    back.edits.insert(back.edits.end(), sections, {kSection, nullptr, std::nullopt});
    if (const auto marks = modINI::ValueOf(content, kSection, kFolder)) {
        back.folderMarks = 0;
        for (const auto& mark : kMarks)
            if (Listed(*marks, mark.name)) *back.folderMarks |= mark.attribute;
    }
    return back;
}

}  // namespace wayback
