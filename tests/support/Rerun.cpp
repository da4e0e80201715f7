#include "support/Rerun.h"

#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "support/Gui.h"

DWORD RerunCurrentTestFrom(const std::wstring& folder) {
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring selfPath = self;
    const std::wstring copy = folder + selfPath.substr(selfPath.find_last_of(L'\\'));
    if (!CopyFileW(self, copy.c_str(), FALSE)) return GetLastError();

    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string(test->test_suite_name()) + "." + test->name();
    // Brief: only a failure shows, so that the copy's passing run is not
    // counted as a test of its own by whoever reads this program's output.
    std::wstring commandLine =
        L"\"" + copy + L"\" --gtest_brief=1 --gtest_filter=" + std::wstring(filter.begin(), filter.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError();
    const UniqueHandle thread(process.hThread), running(process.hProcess);
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        PumpMessages();
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}
