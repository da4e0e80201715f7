#include "modules/modOSInfo.h"

#include <windows.h>

#include "platform/Platform.h"

namespace modOSInfo {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the 8-bit version record is 148 bytes");

int GetPlatformId() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    // Its result is not looked at: a failed query leaves the id at 0.
    platform().GetVersionExA(&info);
    return static_cast<int>(info.dwPlatformId);
}

}  // namespace modOSInfo
