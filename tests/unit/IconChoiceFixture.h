#pragma once
// The main window with a folder chosen, its Open dialog and picker scripted,
// the extraction and drawing real: shared by the icon choice and preview
// tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "modules/modOSInfo.h"
#include "support/Dialogs.h"
#include "support/Files.h"
#include "support/MainWindow.h"

namespace {

using F = frmIconChanger;
constexpr int kCancelPicker = -1;
const HICON kSomeIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5150));

struct PickerCall {
    HWND owner;
    bool unicode;
    std::wstring wide;
    std::string ansi;
    UINT pathSize;
    int initialIndex;
};

class IconChoiceTest : public testing::Test {
protected:
    IconChoiceTest() {
        w.ChooseFolder(folder.Path());
        w.fake.getOpenFileName = [this](OPENFILENAMEW* request) -> BOOL {
            openRequests.push_back(*request);
            openInitialFiles.emplace_back(request->lpstrFile);
            // The texts live only as long as the call.
            openTitle = request->lpstrTitle ? request->lpstrTitle : L"<none>";
            openFilter.clear();
            for (const wchar_t* p = request->lpstrFilter; p && *p; p += wcslen(p) + 1) openFilter += p + std::wstring(L"|");
            if (openAnswer.empty()) return FALSE;
            wcsncpy(request->lpstrFile, openAnswer.c_str(), request->nMaxFile);
            return TRUE;
        };
        w.fake.pickIconW = [this](HWND owner, wchar_t* path, UINT size, int* index) {
            pickerCalls.push_back({owner, true, path, "", size, *index});
            if (!pickerWrites.empty()) lstrcpynW(path, pickerWrites.c_str(), static_cast<int>(size));
            return Answer(index);
        };
        w.fake.pickIconA = [this](HWND owner, char* path, UINT size, int* index) {
            pickerCalls.push_back({owner, false, L"", path, size, *index});
            return Answer(index);
        };
    }

    int Answer(int* index) const {
        if (pickerAnswer == kCancelPicker) return 0;
        *index = pickerAnswer;
        return 1;
    }

    // The user picks `file` in the Open dialog (empty: cancels it) and icon
    // `index` in the picker (-1: cancels it).
    void Choose(const std::wstring& file, int index) {
        openAnswer = file;
        pickerAnswer = index;
        w.form.cmdShowIcon_Click();
    }
    COLORREF Preview(int x, int y) { return GetPixel(w.form.Picture(F::picIcon).Dc(), x, y); }
    // The left (opaque in every test icon) and right (transparent in the fourth) halves.
    COLORREF Left() { return Preview(4, 16); }
    COLORREF Right() { return Preview(27, 16); }
    COLORREF Background() { return ResolveColour(kButtonFace); }
    bool ApplyEnabled() { return w.Ctl(F::cmdDone).Enabled(); }

    TempFolder folder;
    MainWindowFixture w;
    std::wstring openAnswer;
    int pickerAnswer = 0;
    std::vector<OPENFILENAMEW> openRequests;
    std::vector<std::wstring> openInitialFiles;
    std::wstring openTitle, openFilter;
    std::vector<PickerCall> pickerCalls;
    std::wstring pickerWrites;  // what the picker leaves in its path buffer, when set
};

}  // namespace
