// Names of keys in settings text: the key layout's names for the keyboard's keys, and a fixed
// table of key-code names for macro steps, combination keys and single-key assignments.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_image.h"

namespace z4 {

// One key of the key layout as the text format sees it: its name (UTF-8) and key code.
struct LayoutKey {
  std::string name;
  std::uint8_t keyCode = 0;
};
using LayoutKeys = std::array<LayoutKey, kKeySettingCount>;

// The name of a key code ("A", "F1", "LCtrl", "Num0", "Mute", ...); empty when it has none.
std::string_view KeyCodeName(std::uint8_t keyCode);

// A key code written as its name (ASCII letters match regardless of case) or as a hexadecimal
// number 0x00..0xFF; nothing when the text is neither.
std::optional<std::uint8_t> ParseKeyCode(std::string_view text);

// The key code as its name, or "0x" and two hexadecimal digits when it has none.
std::string KeyCodeText(std::uint8_t keyCode);

// Equality of names with ASCII letters compared regardless of case.
bool SameName(std::string_view a, std::string_view b);

// Finding KeySetting records by the names of the key layout.
class KeyNames {
 public:
  explicit KeyNames(const LayoutKeys& layout) : layout_(layout) {}

  const LayoutKeys& layout() const { return layout_; }

  // The record of a key written as a layout name that occurs once in the layout, or else as a
  // key code (ParseKeyCode) that a layout record carries (the first such record). Nothing when
  // it names no key; ambiguous is set when the text is a layout name of several keys.
  std::optional<std::size_t> FindRecord(std::string_view text, bool& ambiguous) const;

  // How record i is written so that FindRecord gives i back: its layout name, or its key-code
  // name; empty when neither does (a record the layout left empty, say).
  std::string RecordName(std::size_t i) const;

 private:
  std::size_t CountName(std::string_view name) const;

  LayoutKeys layout_;
};

}  // namespace z4
