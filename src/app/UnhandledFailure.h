#pragma once
#include <exception>

// The program's handling of a failure that no error path took: a message
// box with the failure, over the active window; the program goes on.
void ReportUnhandledFailure(const std::exception& failure);
