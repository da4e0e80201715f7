#include "app/ExplorerEntry.h"

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Registry.h"
#include "platform/SameFile.h"
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

// True when `exe` runs from the user's temporary folder, where a program
// opened straight from a ZIP is copied, and from where it goes again.
bool RunsFromTemporaryFolder(const std::wstring& exe) {
    wchar_t buffer[MAX_PATH + 1];  // the most GetTempPathW gives
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return false;
    std::wstring temp(buffer, n);
    if (temp.size() > 3 && temp.back() == L'\\') temp.pop_back();
    return IsInside(exe, temp);
}

// Explorer keeps the verbs of a class until it is told they changed. A
// courtesy: the entry is in the registry either way.
void NotifyShell() {
    try {
        platform().SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    } catch (const PlatformError&) {
    }
}

}  // namespace

std::wstring CommandFor(const std::wstring& exe) { return L"\"" + exe + L"\" \"%1\""; }

bool PointsAt(const std::wstring& exe) {
    try {
        const auto command = RegistryKey::Open(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\command");
        const auto text = command ? command->Text(L"") : std::nullopt;
        // The same program by another spelling (an 8.3 name, another letter
        // case) is this one.
        return text && SameFile(ProgramOf(*text), exe);
    } catch (const PlatformError&) {
        return false;
    }
}

void Toggle(const std::wstring& exe) {
    const bool remove = PointsAt(exe);
    if (!remove && RunsFromTemporaryFolder(exe) &&
        services::MsgBox(kTemporaryProgram, services::kExclamation | services::kYesNo) != IDYES)
        return;
    try {
        if (remove) {
            DeleteRegistryTree(HKEY_CURRENT_USER, kKey);
        } else {
            Add(exe);
        }
    } catch (const PlatformError&) {
        services::MsgBox(remove ? kRemoveFailed : kAddFailed, services::kExclamation);
    }
    NotifyShell();
}

}  // namespace explorerEntry
