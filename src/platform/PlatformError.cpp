#include "platform/PlatformError.h"

#include "platform/Text.h"

PlatformError::PlatformError(std::string call, DWORD code)
    : std::runtime_error(call + " failed (error " + DecimalAscii(code) + ")"),
      call_(std::move(call)),
      code_(code) {}

void ThrowLastError(const char* call) {
    const DWORD code = GetLastError();
    // A call can fail without setting an error; keep the failure visible.
    throw PlatformError(call, code != 0 ? code : ERROR_GEN_FAILURE);
}
