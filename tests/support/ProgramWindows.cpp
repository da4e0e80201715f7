#include "support/ProgramWindows.h"

#include <commctrl.h>
#include <shlobj.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "support/Gui.h"
#include "support/WindowSearch.h"

namespace {

bool ProgramEnded() {
    const RunningProgram* program = RunningProgram::Current();
    return program && !program->Running();
}

// The process that owns `window` (this one, or the program's), for memory
// its messages point into.
UniqueHandle ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return UniqueHandle(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
}

// The text of the tree's selected item, read into its process's memory.
std::wstring SelectedTreeItem(HANDLE process, HWND tree) {
    constexpr size_t kChars = MAX_PATH;
    RemoteMemory memory(process, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = reinterpret_cast<wchar_t*>(memory.Address() + sizeof(TVITEMW));
    item.cchTextMax = kChars;
    if (!item.hItem) return {};
    memory.Write(&item, sizeof item);
    if (!SendMessageW(tree, TVM_GETITEMW, 0, memory.Address())) return {};
    wchar_t text[kChars] = L"";
    memory.Read(text, sizeof text, sizeof(TVITEMW));
    text[kChars - 1] = L'\0';
    return text;
}

}  // namespace

HWND WaitForWindow(const RunningProgram& program, std::function<bool(HWND)> accept) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindProcessWindow(program.Id(), accept)) != nullptr; });
    return found;
}

HWND WaitForTitle(const RunningProgram& program, const std::wstring& title) {
    return WaitForWindow(program, [&](HWND hwnd) { return WindowTextOf(hwnd) == title; });
}

HWND WaitForFolderBrowser(const RunningProgram& program, HWND owner) {
    return WaitForWindow(program, [&](HWND hwnd) {
        return GetWindow(hwnd, GW_OWNER) == owner && FindWindowExW(hwnd, nullptr, WC_TREEVIEWW, nullptr);
    });
}

bool WaitFor(const std::function<bool()>& condition) {
    const bool met = PumpUntil([&] { return condition() || ProgramEnded(); }, 30000);
    if (ProgramEnded()) {
        DWORD code = 0;
        GetExitCodeProcess(RunningProgram::Current()->Process(), &code);
        ADD_FAILURE() << "Tivrelon.exe ended (code 0x" << std::hex << code << ") while the test waited";
        return false;
    }
    return met;
}

MainControls MainControlsOf(HWND main) {
    auto captioned = [main](const wchar_t* caption) { return FindChildByText(main, caption); };
    return {captioned(L"Choix du &Dossier..."), captioned(L"Choix de l'&Icône..."), captioned(L"&Appliquer..."),
            captioned(L"Restituer l'icône par défaut"),   FindWindowExW(main, nullptr, L"Edit", nullptr),
            captioned(L"&Quitter"),                        captioned(L"A &Propos")};
}

void PostText(HWND edit, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

std::wstring EditTextOf(HWND edit) {
    wchar_t text[256] = L"";
    SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

bool SelectInFolderBrowser(HWND browser, const std::wstring& folder) {
    HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
    if (!tree) return false;
    // The browser finds the folder by walking its tree from the top and
    // comparing each folder on the way, time stamps included, with the item
    // it listed when it first opened the level above: once a folder on the
    // way has changed since, this tree never finds the path, however often
    // asked (see BrowsableRoot). Wine's browser also selects its own first
    // item while it fills the tree, after it shows, and the request's own
    // answer is lost in the dialog manager: so ask until the selected item
    // reads back as the folder.
    const UniqueHandle process = ProcessOf(browser);
    RemoteMemory text(process.get(), (folder.size() + 1) * sizeof(wchar_t));
    text.Write(folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    return WaitFor([&] {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, text.Address());
        return SelectedTreeItem(process.get(), tree) == name;
    });
}

HWND OpenInIconPicker(const RunningProgram& program, HWND button, const std::wstring& file) {
    Click(button);
    HWND open = WaitForTitle(program, L"Choisir un fichier contenant des icônes");
    if (!open) return nullptr;
    SendMessageW(GetDlgItem(open, cmb13), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    Click(GetDlgItem(open, IDOK));
    return WaitForTitle(program, L"Changer d'icône");
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

RemoteMemory::RemoteMemory(HANDLE process, size_t size) : process_(process) {
    address_ = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteMemory::~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteMemory::Write(const void* bytes, size_t size, size_t offset) {
    if (address_) WriteProcessMemory(process_, address_ + offset, bytes, size, nullptr);
}

void RemoteMemory::Read(void* bytes, size_t size, size_t offset) const {
    if (address_) ReadProcessMemory(process_, address_ + offset, bytes, size, nullptr);
}
