#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>

// The one exception every failing platform service raises: the name of the
// call that failed and the error code Windows gave for it. Handlers meet it
// as their behaviour says (a message, a silent end, a false answer, ...).
class PlatformError : public std::runtime_error {
public:
    PlatformError(std::string call, DWORD code);

    const std::string& Call() const { return call_; }
    DWORD Code() const { return code_; }

private:
    std::string call_;
    DWORD code_;
};

// Raises PlatformError for `call` with the thread's last error, read at once
// so that nothing in between can overwrite it.
[[noreturn]] void ThrowLastError(const char* call);
