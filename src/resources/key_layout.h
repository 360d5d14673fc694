// The key layout table: the keyboard's 92 keys in the order of the default key assignments,
// read once from ButtonPos.xml.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace z4 {

class TextPlatform;

struct KeyRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct KeyLayoutEntry {
  std::u16string name;
  std::uint8_t keyCode = 0;
  std::u16string tip;
  KeyRect rect;
  std::int32_t status = 0;  // 1 when "kstatus" reads as 1, else 0
};

constexpr std::size_t kKeyLayoutCount = 92;
extern std::array<KeyLayoutEntry, kKeyLayoutCount> g_keyLayout;

// Fills g_keyLayout from the file at path: the n-th "key" child of the root fills record n;
// "key" elements past the 92nd are ignored. A file that cannot be read or does not parse leaves
// the table unchanged.
void LoadKeyLayout(TextPlatform& platform, const std::u16string& path);

// "left,top,right,bottom" (decimal); missing parts read as described in the layout notes.
KeyRect ParseRectText(std::u16string_view text);

// Leading white space, an optional sign, then digits of base 10 or 16 (an optional 0x with 16)
// up to the first other character; 0 without digits. Base 16 keeps the low 64 bits of a long
// number; base 10 saturates at the 32-bit limits.
std::int64_t ReadNumberText(std::u16string_view text, int base);

}  // namespace z4
