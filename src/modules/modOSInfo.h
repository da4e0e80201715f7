#pragma once

// What the operating system says about itself.
namespace modOSInfo {

// The platform id Windows reports: 2 (VER_PLATFORM_WIN32_NT) for the NT
// family, another value for older families, 0 when the query fails.
int GetPlatformId();

}  // namespace modOSInfo
