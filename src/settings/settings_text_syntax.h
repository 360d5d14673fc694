// The pieces of settings text that reading and writing share: the statement words, tokens with
// their quoting, numbers, and the record bytes that the text fills.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_image.h"

namespace z4::text {

// Statement words.
constexpr std::string_view kRate = "rate";
constexpr std::string_view kProfile = "profile";
constexpr std::string_view kMacro = "macro";
constexpr std::string_view kLoop = "loop";
constexpr std::string_view kStep = "step";
constexpr std::string_view kFlag = "flag";
constexpr std::string_view kEnd = "end";
constexpr std::string_view kCombination = "combination";
constexpr std::string_view kNone = "none";
constexpr std::string_view kKey = "key";
constexpr std::string_view kRecord = "record";

// Action words of key assignments (macro and combination reuse the statement words).
constexpr std::string_view kDefault = "default";
constexpr std::string_view kSystem = "system";
constexpr std::string_view kEdit = "edit";
constexpr std::string_view kMedia = "media";
constexpr std::string_view kMedia2 = "media2";
constexpr std::string_view kMouse = "mouse";
constexpr std::string_view kSingle = "single";
constexpr std::string_view kRaw = "raw";

constexpr char kCommentMark = '#';

// Splits a line into tokens at spaces and tabs. A token that starts with '"' runs to the next
// unescaped '"' (\" and \\ stand for " and \ inside); an unquoted token that starts with '#'
// begins a comment. False when a quoted token is not closed.
bool Tokenize(std::string_view line, std::vector<std::string>& tokens);

// A name as one token: quoted when it is empty, holds a space, a tab or '"', or starts with '#'.
std::string QuoteName(std::string_view name);

// Decimal with an optional sign, or 0x and hexadecimal digits; nothing outside the range.
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max);
// A 32-bit signed number, also written as its bit pattern 0x0..0xFFFFFFFF.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// KeySettingEntry i read from a const image.
struct KeyRecord {
  std::uint8_t keyCode = 0;
  std::int32_t actionType = 0;
  std::int32_t param = 0;
};
inline KeyRecord ReadKeyRecord(const KeySettingImage& image, std::size_t i) {
  const std::uint8_t* p = &image.at(i * kKeySettingEntrySize);
  return {p[KeySettingEntry::kKeyCode], LoadI32(p + KeySettingEntry::kActionType),
          LoadI32(p + KeySettingEntry::kParam)};
}

// Offset of macro record r within the MacroSetting image.
constexpr std::size_t MacroRecordOffset(std::size_t r) { return r * kMacroRecordSize; }
// Offset of event k (1-based) within a macro record.
constexpr std::size_t MacroEventOffset(std::size_t k) { return 8 + MacroEvent::kSize * k; }
// Offset of combination record r within the CombSetting image.
constexpr std::size_t CombRecordOffset(std::size_t r) { return r * kCombRecordSize; }

}  // namespace z4::text
