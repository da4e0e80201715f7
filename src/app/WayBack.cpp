#include "app/WayBack.h"

#include <windows.h>

namespace wayback {

namespace {

constexpr wchar_t kSection[] = L"Tivrelon";
constexpr wchar_t kSaved[] = L"Saved";

bool Listed(const std::wstring& list, const wchar_t* key) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L',', start);
        if (end == std::wstring::npos) end = list.size();
        if (CompareStringOrdinal(list.c_str() + start, static_cast<int>(end - start), key, -1, TRUE) == CSTR_EQUAL)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::vector<modINI::Edit> Keep(const std::wstring& content) {
    // Nothing but what this program writes (its own file, or a file just
    // like it): reset takes it away whole, as it would have before.
    static constexpr const wchar_t* kOurKeys[] = {L"IconFile", L"IconIndex", L"InfoTip"};
    if (modINI::HoldsSection(content, kSection) || modINI::HoldsOnly(content, kShellSection, kOurKeys)) return {};
    std::vector<modINI::Edit> edits;
    std::wstring saved;
    for (const wchar_t* key : kIconKeys) {
        const std::optional<std::wstring> value = modINI::ValueOf(content, kShellSection, key);
        if (!value) continue;
        saved += (saved.empty() ? L"" : L",") + std::wstring(key);
        edits.push_back({kSection, key, modINI::FaithfulText(*value)});
    }
    edits.insert(edits.begin(), {kSection, kSaved, modINI::FaithfulText(saved)});
    return edits;
}

std::optional<std::vector<modINI::Edit>> Back(const std::wstring& content) {
    if (!modINI::HoldsSection(content, kSection)) return std::nullopt;
    const std::wstring saved = modINI::ValueOf(content, kSection, kSaved).value_or(L"");
    std::vector<modINI::Edit> edits;
    for (const wchar_t* key : kIconKeys) {
        std::optional<modINI::FaithfulText> value;
        if (Listed(saved, key)) value.emplace(modINI::ValueOf(content, kSection, key).value_or(L""));
        edits.push_back({kShellSection, key, std::move(value)});
    }
    edits.push_back({kSection, nullptr, std::nullopt});
    return edits;
}

}  // namespace wayback
