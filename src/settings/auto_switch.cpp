#include "settings/auto_switch.h"

#include <algorithm>

namespace z4 {
namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace

std::optional<std::int32_t> FindSwitchTarget(std::u16string_view program,
                                             const AutoSwitchTable& table, std::int32_t selected) {
  if (program.empty()) return std::nullopt;
  for (const AutoSwitchEntry& entry : table) {
    if (!EqualIgnoringAsciiCase(entry.Program(), program)) continue;
    if (entry.nProfile == selected) return std::nullopt;
    return entry.nProfile;
  }
  return std::nullopt;
}

}  // namespace z4
