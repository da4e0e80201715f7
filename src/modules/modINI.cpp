#include "modules/modINI.h"

#include <windows.h>

#include <utility>

#include "platform/Handles.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Text.h"

namespace modINI {
namespace {

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool SameText(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// One line of an INI file: a section line, a key line, or anything else
// (a comment, a stray word). Blank lines are skipped.
struct Line {
    enum Kind { Section, Key, Other } kind;
    std::wstring name;  // the section's or the key's, trimmed
};

Line ParseLine(const std::wstring& line) {
    if (line.front() == L'[') {
        const size_t close = line.find(L']');
        if (close == std::wstring::npos) return {Line::Other, {}};
        return {Line::Section, Trim(line.substr(1, close - 1))};
    }
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return {Line::Other, {}};
    return {Line::Key, Trim(line.substr(0, equals))};
}

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

// The section and key names are the program's own: plain ASCII, converted
// as they are.
void Write(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName, const FaithfulText* value) {
    const std::string sectionA = ToAnsi(section);
    const std::string key = ToAnsi(ToUpper(keyName));
    // A refused write (read-only medium, denied access) is a failure, never
    // a silent success.
    if (!platform().WritePrivateProfileStringA(sectionA.c_str(), key.c_str(), value ? value->Ansi().c_str() : nullptr,
                                               file.Ansi().c_str()))
        ThrowLastError("WritePrivateProfileStringA");
}

std::wstring WithoutLineBreaks(std::wstring text) {
    if (text.find_first_of(L"\r\n") != std::wstring::npos) throw Refusal(Refusal::LineBreak);
    return text;
}

}  // namespace

FaithfulText::FaithfulText(std::wstring text) : text_(WithoutLineBreaks(std::move(text))), ansi_(ToAnsi(text_)) {}

ProfileFile::ProfileFile(std::wstring path) : FaithfulText(std::move(path)) {
    // Windows' profile writer refuses a path of MAX_PATH bytes or more; Wine's
    // writes each key into a garbage-named file in the current folder.
    if (Ansi().size() >= MAX_PATH) throw Refusal(Refusal::PathTooLong);
}

void WriteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName,
                   const FaithfulText& value) {
    Write(file, section, keyName, &value);
}

void DeleteINIValue(const ProfileFile& file, const wchar_t* section, const wchar_t* keyName) {
    Write(file, section, keyName, nullptr);
}

bool HoldsOnly(const std::wstring& content, const std::wstring& section, std::initializer_list<const wchar_t*> keys) {
    bool inSection = false;
    return EveryLine(content, [&](const Line& line) {
        if (line.kind == Line::Section) inSection = SameText(line.name, section.c_str());
        if (line.kind == Line::Other || !inSection) return false;
        bool known = line.kind == Line::Section;
        for (const wchar_t* k : keys) known = known || SameText(line.name, k);
        return known;
    });
}

bool HoldsKey(const std::wstring& content, const std::wstring& section, const std::wstring& keyName) {
    bool inSection = false;
    return !EveryLine(content, [&](const Line& line) {
        if (line.kind == Line::Section) inSection = SameText(line.name, section.c_str());
        return !(inSection && line.kind == Line::Key && SameText(line.name, keyName.c_str()));
    });
}

std::wstring ReadTextFile(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError("CreateFile");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) ThrowLastError("GetFileSizeEx");
    // A customisation file is a few hundred bytes; refuse anything absurd.
    if (size.QuadPart > (1 << 20)) throw Refusal(Refusal::FileTooLarge);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        ThrowLastError("ReadFile");
    // Less than the whole file is not the file.
    if (read != bytes.size()) throw PlatformError("ReadFile", ERROR_HANDLE_EOF);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        bytes.copy(reinterpret_cast<char*>(text.data()), text.size() * 2, 2);
        return text;
    }
    return FromAnsi(bytes);
}

}  // namespace modINI
