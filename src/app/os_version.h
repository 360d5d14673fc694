// The operating-system version code that chooses how the configuration program is launched.
#pragma once

#include <cstdint>

namespace z4 {

// Platform ids as the system's version query reports them.
constexpr std::uint32_t kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t kPlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT

// Codes of 5 and above launch through the shell, lower ones through WinExec.
constexpr int kShellLaunchCode = 5;

// The code for a reported platform and version: 1, 2 for the Windows 9x line (4.x below and
// from minor 90), 3 to 6 for NT 5.0, 5.x, 6.0, 6.x and later minors; 0 for everything else,
// including a major version above 6 with minor 0 (so 10.0 gives 0 and 10.1 gives 6).
int GetOSVersionCode(std::uint32_t platform, std::uint32_t major, std::uint32_t minor);

}  // namespace z4
