// Small UTF-16 text helpers shared by the reader and its loaders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace z4 {

// Widens an ASCII text.
inline std::u16string Ascii16(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

inline void AppendDecimal(std::u16string& out, std::int64_t value) {
  const std::string digits = std::to_string(value);
  out.append(digits.begin(), digits.end());
}

constexpr char16_t LowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

}  // namespace z4
