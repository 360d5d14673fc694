// Character and entity references: the entity table and the decoding of a text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace z4 {

// Code point of a named character reference as written (letter case is mostly ignored; see the
// table), 0 when the name is unknown.
std::uint32_t EntityCodePoint(std::u16string_view name);

// Copies text with every valid character or entity reference replaced by its character.
std::u16string DecodeEntities(std::u16string_view text);

}  // namespace z4
