#pragma once
// A main window and a folder of its own, for the Apply and reset tests.
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "support/Files.h"
#include "support/IconFiles.h"
#include "support/MainWindow.h"

inline constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
inline constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
inline constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;

class ApplyFixture : public testing::Test {
protected:
    using F = frmIconChanger;

    ApplyFixture() {
        // Extraction judged by what the file holds, at any index: the tests'
        // icon files have one image, and their indexes stand for any.
        w.fake.extractIcon = [](HINSTANCE, const wchar_t* file, UINT) {
            return ReadBytes(file).starts_with(std::string("\0\0\1\0", 4))
                       ? CopyIcon(LoadIconW(nullptr, IDI_APPLICATION))
                       : reinterpret_cast<HICON>(1);
        };
    }

    std::wstring Ini() const { return folder / L"desktop.ini"; }
    std::string IniText() const { return ReadBytes(Ini()); }
    std::wstring ShellKeys() const { return ProfileSection(Ini(), L".ShellClassInfo"); }
    // The user chooses `path` in the folder browser.
    void Browse(const std::wstring& path) { w.ChooseFolder(path); }
    // A file of icons named `name`, real: Apply checks that it is still there.
    std::wstring Icon(const std::wstring& name) const {
        const std::wstring path = icons / name;
        if (!Exists(path)) WriteBytes(path, IcoBytes(RGB(0, 0, 255)));
        return path;
    }
    // How ICONFILE names it.
    std::string IconText(const std::wstring& name) const { return ToAnsi(Icon(name)); }
    // Apply or reset on `to`, the test's own folder unless said.
    void ApplyIcon(const std::wstring& name, int index, const std::wstring& infoTip = L"", std::wstring to = {}) {
        ApplyFile(Icon(name), index, infoTip, to);
    }
    // The same with the file at `path`: a file of icons, or a picture.
    void ApplyFile(const std::wstring& path, int index, const std::wstring& infoTip = L"", std::wstring to = {}) {
        Browse(to.empty() ? folder.Path() : to);
        if (w.Ctl(F::chkReset).Checked()) w.ClickReset();  // apply mode
        w.ChooseIcon(path, index);
        w.Ctl(F::txtInfoTip).SetText(infoTip);
        w.Apply();
    }
    void Reset(std::wstring to = {}) {
        Browse(to.empty() ? folder.Path() : to);
        if (w.Ctl(F::chkReset).Checked()) w.ClickReset();  // back to apply mode first
        w.ClickReset();                                     // reset mode: Apply comes on
        w.Apply();
    }
    size_t ErrorCount() const {
        size_t n = 0;
        for (const auto& box : w.fake.messageBoxes)
            n += box.text == L"Erreur dans la création de l'icône !" && box.caption == L"Erreur" &&
                 box.style == (MB_OK | MB_ICONEXCLAMATION);
        return n;
    }

    TempFolder folder, icons;
    MainWindowFixture w;
};
