#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/Dialogs.h"
#include "support/Files.h"

namespace {

// Every file test relies on Wine keeping the hidden attribute of files on
// the test folder's file system (it stores it as an extended attribute). A
// file system without them would make attribute tests pass or fail for the
// wrong reason, so stop at once instead.
class HiddenAttributeCheck : public testing::Environment {
public:
    void SetUp() override {
        TempFolder folder;
        const std::wstring probe = folder / L"probe.txt";
        WriteBytes(probe, "x");
        SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_HIDDEN);
        if (UserAttributes(probe) != FILE_ATTRIBUTE_HIDDEN) {
            fprintf(stderr,
                    "\n*** The test folder's file system does not keep the hidden attribute under Wine\n"
                    "*** (no user extended attributes?). File tests cannot be trusted here.\n\n");
            FAIL() << "hidden attribute not kept on the test folder's file system";
        }
    }
};

class WatchesEndWithTheirTest : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override { ForgetWatches(); }
};

}  // namespace

int main(int argc, char** argv) {
    // A crash must end the test, not wait for someone to close a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new HiddenAttributeCheck);
    testing::UnitTest::GetInstance()->listeners().Append(new WatchesEndWithTheirTest);
    return RUN_ALL_TESTS();
}
