// The version code table that picks the launch call.
#include "app/os_version.h"

#include <gtest/gtest.h>

namespace z4 {
namespace {

struct VersionCase {
  std::uint32_t platform, major, minor;
  int code;
};

constexpr std::uint32_t kNt = kPlatformWin32Nt, k9x = kPlatformWin32Windows;

TEST(OsVersion, CodesOfTheTable) {
  const VersionCase cases[] = {
      {kNt, 5, 0, 3},   {kNt, 5, 1, 4},    {kNt, 5, 2, 4},   {kNt, 6, 0, 5},
      {kNt, 6, 1, 6},   {kNt, 6, 3, 6},    {kNt, 10, 0, 0},  {kNt, 10, 1, 6},
      {kNt, 7, 0, 0},   {kNt, 4, 0, 0},    {kNt, 3, 51, 0},  {kNt, 0, 0, 0},
      {k9x, 4, 0, 1},   {k9x, 4, 10, 1},   {k9x, 4, 89, 1},  {k9x, 4, 90, 2},
      {k9x, 4, 200, 2}, {k9x, 5, 0, 0},    {k9x, 3, 95, 0},  {0, 6, 1, 0},
      {3, 10, 0, 0},    {0xFFFFFFFF, 6, 1, 0},
  };
  for (const VersionCase& c : cases)
    EXPECT_EQ(GetOSVersionCode(c.platform, c.major, c.minor), c.code)
        << "platform " << c.platform << " version " << c.major << "." << c.minor;
}

TEST(OsVersion, ShellLaunchFromVistaOnWhileTenZeroFallsBackToWinExec) {
  EXPECT_GE(GetOSVersionCode(kNt, 6, 1), kShellLaunchCode);
  EXPECT_LT(GetOSVersionCode(kNt, 5, 1), kShellLaunchCode);
  EXPECT_LT(GetOSVersionCode(kNt, 10, 0), kShellLaunchCode);
  EXPECT_GE(GetOSVersionCode(kNt, 10, 1), kShellLaunchCode);
}

}  // namespace
}  // namespace z4
