#pragma once
#include "ui/Form.h"

// The About window: the program's icon, title and version, the author's
// credit and links, a details message and the system-information button.
// Shown modally; "OK", Enter, Esc or the close box unload it, so every
// opening loads it anew.
class frmAbout : public Form {
public:
    // The controls, in the order of the window's control table.
    enum Controls : int {
        Command1,
        cmdOK,
        cmdSysInfo,
        Image2,
        Label3,
        Image1,
        Label2,
        lblDescription,
        lblTitle,
        lblVersion,
        lblDisclaimer,
        kControlCount
    };

    frmAbout();

    void Form_Load();
    void cmdOK_Click();
    void Command1_Click();
    void cmdSysInfo_Click();
    void Image2_Click();
    void Label3_Click();
    void lblDisclaimer_Click();

private:
    void OnLoad() override;
    void OnClick(int index) override;
    void OnDpiChanged() override;
    // The program's icon in Image1, at the box's size.
    void ShowIcon();
};
