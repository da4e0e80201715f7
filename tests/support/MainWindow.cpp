#include "support/MainWindow.h"

#include <type_traits>
#include <utility>

#include "modules/modIcon.h"
#include "support/Gui.h"

namespace {

// A script in force for one handler call; what the test had scripted before
// comes back afterwards.
template <typename Slot>
class Scripted {
public:
    Scripted(Slot& slot, std::type_identity_t<Slot> script) : slot_(slot), saved_(std::exchange(slot, std::move(script))) {}
    ~Scripted() { slot_ = std::move(saved_); }
    Scripted(const Scripted&) = delete;
    Scripted& operator=(const Scripted&) = delete;

private:
    Slot& slot_;
    Slot saved_;
};

}  // namespace

MainWindowFixture::MainWindowFixture(bool show) {
    if (show) {
        form.Show();
        PumpMessages();
    } else {
        form.Load();
    }
}

void MainWindowFixture::ChooseFolder(const std::wstring& folder) {
    Scripted browse(fake.browseForFolder, nullptr);
    Scripted path(fake.pathFromIdList, nullptr);
    fake.AnswerBrowser(folder);
    form.cmdDir_Click();
}

void MainWindowFixture::ChooseIcon(const std::wstring& file, int index) {
    Scripted open(fake.getOpenFileName, {[&](OPENFILENAMEW* request) {
                      file.copy(request->lpstrFile, request->nMaxFile - 1);
                      request->lpstrFile[std::min<size_t>(file.size(), request->nMaxFile - 1)] = L'\0';
                      return TRUE;
                  }});
    Scripted pick(fake.pickIconW, {[&](HWND, wchar_t*, UINT, int* picked) {
                      *picked = index;
                      return 1;
                  }});
    auto extract = fake.extractIcon;
    if (!extract) extract = [](HINSTANCE, const wchar_t*, UINT) { return CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)); };
    Scripted icon(fake.extractIcon, extract);
    form.cmdShowIcon_Click();
}

void MainWindowFixture::ClickReset() {
    Click(Ctl(frmIconChanger::chkReset).Hwnd());
}

void MainWindowFixture::Apply() {
    Click(Ctl(frmIconChanger::cmdDone).Hwnd());
}
