#include "support/Keyboard.h"

#include <vector>

#include "support/Gui.h"

namespace {

INPUT Key(WORD vk, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Let the keys reach the other process before the caller looks.
    PumpUntil([] { return false; }, 30);
}

WORD Scan(WORD vk) { return static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)); }

}  // namespace

void PressKey(WORD key, WORD modifier) {
    std::vector<INPUT> inputs;
    if (modifier) inputs.push_back(Key(modifier, Scan(modifier), 0));
    inputs.push_back(Key(key, Scan(key), 0));
    inputs.push_back(Key(key, Scan(key), KEYEVENTF_KEYUP));
    if (modifier) inputs.push_back(Key(modifier, Scan(modifier), KEYEVENTF_KEYUP));
    Send(inputs);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text)
        Send({Key(0, c, KEYEVENTF_UNICODE), Key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

bool BringToFront(HWND window) {
    return PumpUntil([window] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
    });
}
