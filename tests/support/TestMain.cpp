#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/Handles.h"
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

// The test running now, for the last words of a program that crashes or
// overruns its time.
std::string CurrentTest() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "." + test->name() : "(between tests)";
}

// A crash ends the program at once with its exception code, saying where:
// no debugger, no crash dialog waiting for a click (Wine starts one whatever
// the error mode says).
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* crash) {
    const DWORD code = crash->ExceptionRecord->ExceptionCode;
    fprintf(stderr, "\n*** crashed (exception 0x%08lX) in %s\n", static_cast<unsigned long>(code), CurrentTest().c_str());
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A program that hangs (a dialog nobody closes) is stopped after
// TIVRELON_TEST_MINUTES minutes, 10 unless set, saying in which test. The
// watch ends with the tests: no thread of the program's own is left
// waiting when it exits.
class TimeLimit {
public:
    TimeLimit() {
        wchar_t text[16] = L"";
        minutes_ = GetEnvironmentVariableW(L"TIVRELON_TEST_MINUTES", text, 16) ? _wtoi(text) : 10;
        if (minutes_ > 0) watch_.reset(CreateThread(nullptr, 0, &Watch, this, 0, nullptr));
    }
    ~TimeLimit() {
        if (!watch_) return;
        SetEvent(done_.get());
        WaitForSingleObject(watch_.get(), INFINITE);
    }
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

private:
    static DWORD WINAPI Watch(void* self) {
        const auto* limit = static_cast<TimeLimit*>(self);
        if (WaitForSingleObject(limit->done_.get(), static_cast<DWORD>(limit->minutes_) * 60000) == WAIT_TIMEOUT) {
            fprintf(stderr, "\n*** stopped: over its time limit in %s\n", CurrentTest().c_str());
            TerminateProcess(GetCurrentProcess(), ERROR_TIMEOUT);
        }
        return 0;
    }

    int minutes_ = 0;
    UniqueHandle done_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle watch_;
};

}  // namespace

int main(int argc, char** argv) {
    // A crash must end the test, not wait for someone to close a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&EndOnCrash);
    // Every line reaches the log as it is written: a program that crashes
    // must not take the results it printed with it.
    setvbuf(stdout, nullptr, _IONBF, 0);
    const TimeLimit limit;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new HiddenAttributeCheck);
    testing::UnitTest::GetInstance()->listeners().Append(new WatchesEndWithTheirTest);
    return RUN_ALL_TESTS();
}
