#pragma once
#include <memory>
#include <string>
#include <vector>

#include "modules/modBrowse.h"
#include "modules/modINI.h"
#include "modules/modIcon.h"
#include "platform/CommonDialog.h"
#include "ui/Form.h"

class frmAbout;
namespace states {
struct Row;
}

// The main window: choose a folder, an icon and an info tip, then apply or
// take the customisation away.
class frmIconChanger : public Form {
public:
    // The controls, in the order of the window's control table.
    enum Controls : int {
        fraIcon,
        picIcon,
        cmdShowIcon,
        lblInfoTip,
        txtInfoTip,
        lblDir,
        chkReset,
        Frame1,
        cmdDir,
        cmdDone,
        Command1,
        Command2,
        kControlCount
    };

    frmIconChanger();
    ~frmIconChanger() override;

    // Held for the life of the program, never saved.
    std::wstring FolderPath;
    // The chosen icon's file, read-only: modIcon::chosenIcon changes it
    // together with SelectedIconIndex.
    const std::wstring& IconFilePath = modIcon::chosenIcon.File();
    CommonDialog dlgChooseIcon;  // the Open dialog of the icon choice

    void cmdDir_Click();
    void cmdShowIcon_Click();
    void cmdDone_Click();
    void chkReset_Click();
    void Command1_Click();
    void Command2_Click();

    // What the program was started with: one folder is chosen as in the
    // folder browser; anything else is refused with a message and the
    // window stays as at start.
    void TakeHandedArguments(const std::vector<std::wstring>& arguments);

    // Created by the first "A Propos" click, kept until the program ends.
    frmAbout* About() const { return about_.get(); }

private:
    // The system menu's item that adds the program to Explorer's menu of
    // folders and takes it away (app/ExplorerEntry.h).
    static constexpr UINT kExplorerEntryItem = 0x0100;  // below SC_SIZE, low four bits clear

    void OnLoad() override;
    bool OnSystemCommand(UINT command) override;
    void OnSystemMenuOpening(HMENU menu) override;
    void OnClick(int index) override;
    void OnClose() override;
    void OnDestroyed() override;
    void OnDpiChanged() override;
    // A folder dropped on the window is chosen; a file of icons opens the
    // picker on it and a picture is taken, as after the Open dialog;
    // anything else is ignored.
    void OnDropFiles(HDROP drop) override;
    void OnColoursChanged() override;
    // The chosen icon drawn again into a cleared preview.
    void RedrawPreview();

    // Gives the controls the states of one row of the state table.
    void Enter(const states::Row& row);
    // The folder as the browser, the command line or a drop chose it.
    void TakeFolder(const modBrowse::FolderChoice& choice);
    // The icon picker on `file`, then the preview: the icon choice after the
    // Open dialog, and a file of icons dropped on the window.
    void ChooseIconOf(const std::wstring& file);
    // A picture (by its name) made into an icon file and shown in the
    // preview. Raises Refusal for a picture that cannot become one.
    void ChoosePictureOf(const std::wstring& file);

    bool DesktopIniExists(const std::wstring& iniPath);
    void ApplyCustomisation(const modINI::ProfileFile& ini);
    void ResetCustomisation(const modINI::ProfileFile& ini);

    std::unique_ptr<frmAbout> about_;
    // The preview shows the chosen icon (IconFilePath, SelectedIconIndex),
    // not an empty box: reset mode clears it.
    bool previewShowsChoice_ = false;
};
