// The version table of the launch choice, as data.
#include "app/os_version.h"

namespace z4 {
namespace {

enum class Major { Four, Five, Six, AboveSix, BelowFive, Other };
enum class Minor { Zero, AboveZero, BelowNinety, NinetyOrAbove, Any };

struct VersionRule {
  std::uint32_t platform;
  Major major;
  Minor minor;
  int code;
};

// First matching row gives the code; no row: 0.
constexpr VersionRule kVersionTable[] = {
    {kPlatformWin32Nt, Major::Five, Minor::Zero, 3},
    {kPlatformWin32Nt, Major::Five, Minor::AboveZero, 4},
    {kPlatformWin32Nt, Major::Six, Minor::Zero, 5},
    {kPlatformWin32Nt, Major::Six, Minor::AboveZero, 6},
    {kPlatformWin32Nt, Major::AboveSix, Minor::Zero, 0},
    {kPlatformWin32Nt, Major::AboveSix, Minor::AboveZero, 6},
    {kPlatformWin32Nt, Major::BelowFive, Minor::Any, 0},
    {kPlatformWin32Windows, Major::Four, Minor::BelowNinety, 1},
    {kPlatformWin32Windows, Major::Four, Minor::NinetyOrAbove, 2},
    {kPlatformWin32Windows, Major::Other, Minor::Any, 0},
};

bool Matches(Major m, std::uint32_t major) {
  switch (m) {
    case Major::Four: return major == 4;
    case Major::Five: return major == 5;
    case Major::Six: return major == 6;
    case Major::AboveSix: return major > 6;
    case Major::BelowFive: return major < 5;
    case Major::Other: return true;
  }
  return false;
}

bool Matches(Minor m, std::uint32_t minor) {
  switch (m) {
    case Minor::Zero: return minor == 0;
    case Minor::AboveZero: return minor > 0;
    case Minor::BelowNinety: return minor < 90;
    case Minor::NinetyOrAbove: return minor >= 90;
    case Minor::Any: return true;
  }
  return false;
}

}  // namespace

int GetOSVersionCode(std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
  for (const VersionRule& rule : kVersionTable)
    if (rule.platform == platform && Matches(rule.major, major) && Matches(rule.minor, minor))
      return rule.code;
  return 0;
}

}  // namespace z4
