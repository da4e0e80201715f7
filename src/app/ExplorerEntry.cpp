#include "app/ExplorerEntry.h"

#include "platform/PlatformError.h"
#include "platform/Registry.h"
#include "platform/Services.h"

namespace explorerEntry {

namespace {

// The program a command starts: its first word, or what its quotes hold.
std::wstring ProgramOf(const std::wstring& command) {
    if (command.starts_with(L'"')) return command.substr(1, command.find(L'"', 1) - 1);
    return command.substr(0, command.find(L' '));
}

// Whatever stood at the key goes first, so that no value of an older or
// foreign entry (a different caption, "Extended") outlives the rewrite. The
// command, without which Explorer shows no verb, is written last.
void Add(const std::wstring& exe) {
    DeleteRegistryTree(HKEY_CURRENT_USER, kKey);
    try {
        RegistryKey verb = RegistryKey::Create(HKEY_CURRENT_USER, kKey);
        verb.SetText(L"", kCaption);
        verb.SetText(L"Icon", exe + L",0");
        verb.SetText(L"MultiSelectModel", L"Single");
        RegistryKey::Create(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\command").SetText(L"", CommandFor(exe));
    } catch (const PlatformError&) {
        // No half-written entry stays behind, as far as Windows lets it; the
        // refused write is the failure told.
        try {
            DeleteRegistryTree(HKEY_CURRENT_USER, kKey);
        } catch (const PlatformError&) {
        }
        throw;
    }
}

}  // namespace

std::wstring CommandFor(const std::wstring& exe) { return L"\"" + exe + L"\" \"%1\""; }

bool PointsAt(const std::wstring& exe) {
    try {
        const auto command = RegistryKey::Open(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\command");
        const auto text = command ? command->Text(L"") : std::nullopt;
        // Windows' file names ignore case.
        return text && CompareStringOrdinal(ProgramOf(*text).c_str(), -1, exe.c_str(), -1, TRUE) == CSTR_EQUAL;
    } catch (const PlatformError&) {
        return false;
    }
}

void Toggle(const std::wstring& exe) {
    const bool remove = PointsAt(exe);
    try {
        if (remove) {
            DeleteRegistryTree(HKEY_CURRENT_USER, kKey);
        } else {
            Add(exe);
        }
    } catch (const PlatformError&) {
        services::MsgBox(remove ? kRemoveFailed : kAddFailed, services::kExclamation);
    }
}

}  // namespace explorerEntry
