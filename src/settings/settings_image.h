// The settings image: the KeySetting, MacroSetting and CombSetting tables as byte images, the
// rate and selected profile, and accessors for the records inside the tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "support/bytes.h"

namespace z4 {

constexpr std::size_t kKeySettingCount = 92;
constexpr std::size_t kKeySettingEntrySize = 12;
constexpr std::size_t kKeySettingSize = 1104;
static_assert(kKeySettingCount * kKeySettingEntrySize == kKeySettingSize);

constexpr std::size_t kMacroRecordCount = 100;
constexpr std::size_t kMacroRecordSize = 1304;
constexpr std::size_t kMacroCountOffset = 130400;
constexpr std::size_t kMacroSettingSize = 130404;
static_assert(kMacroRecordCount * kMacroRecordSize == kMacroCountOffset);
static_assert(kMacroCountOffset + 4 == kMacroSettingSize);

constexpr std::size_t kCombRecordCount = 100;
constexpr std::size_t kCombRecordSize = 524;
constexpr std::size_t kCombSettingSize = 52404;
static_assert(kCombRecordCount * kCombRecordSize + 4 == kCombSettingSize);

using KeySettingImage = ByteImage<kKeySettingSize>;
using MacroSettingImage = ByteImage<kMacroSettingSize>;
using CombSettingImage = ByteImage<kCombSettingSize>;

// Key codes of the 92 key layout records, in table order (0 for a record the layout left empty).
using KeyLayoutCodes = std::array<std::uint8_t, kKeySettingCount>;

constexpr std::int32_t kDefaultRate = 8;
constexpr std::int32_t kDefaultProfileSel = 0;

// The in-memory copy of the five registry values.
struct SettingsImage {
  KeySettingImage keySetting{};
  MacroSettingImage macroSetting{};
  CombSettingImage combSetting{};
  std::int32_t nRate = kDefaultRate;
  std::int32_t nProfileSel = kDefaultProfileSel;
};

namespace detail {
inline std::size_t RecordOffset(std::size_t index, std::size_t count, std::size_t size) {
  if (index >= count) throw std::out_of_range("settings record index");
  return index * size;
}
}  // namespace detail

// KeySettingEntry i (0..91) of a KeySetting image: key code, action type, parameter.
class KeySettingEntry {
 public:
  static constexpr std::size_t kKeyCode = 0;
  static constexpr std::size_t kActionType = 4;
  static constexpr std::size_t kParam = 8;

  KeySettingEntry(KeySettingImage& image, std::size_t i)
      : p_(image.data() + detail::RecordOffset(i, kKeySettingCount, kKeySettingEntrySize)) {}

  std::uint8_t keyCode() const { return p_[kKeyCode]; }
  std::int32_t actionType() const { return LoadI32(p_ + kActionType); }
  std::int32_t param() const { return LoadI32(p_ + kParam); }

  void SetKeyCode(std::uint8_t code) { p_[kKeyCode] = code; }
  void SetAction(std::int32_t actionType, std::int32_t param) {
    StoreI32(p_ + kActionType, actionType);
    StoreI32(p_ + kParam, param);
  }

 private:
  std::uint8_t* p_;
};

// MacroEvent: key code, flag, delay.
struct MacroEvent {
  static constexpr std::size_t kSize = 8;
  static constexpr std::size_t kKeyCode = 0;
  static constexpr std::size_t kFlag = 1;
  static constexpr std::size_t kDelay = 4;

  std::uint8_t keyCode = 0;
  std::uint8_t flag = 0;
  std::uint32_t delay = 0;
};

// MacroRecord r (0..99) of a MacroSetting image.
class MacroRecord {
 public:
  static constexpr std::size_t kLoopCount = 8;
  static constexpr std::size_t kEventCount = 12;
  static constexpr std::size_t kMaxEvents = 161;  // events 1..161 fill the record
  static_assert(8 + MacroEvent::kSize * kMaxEvents + MacroEvent::kSize == kMacroRecordSize);

  MacroRecord(const MacroSettingImage& image, std::size_t r)
      : p_(image.data() + detail::RecordOffset(r, kMacroRecordCount, kMacroRecordSize)) {}

  std::uint32_t loopCount() const { return LoadU32(p_ + kLoopCount); }
  std::uint16_t eventCount() const { return LoadU16(p_ + kEventCount); }
  // Event k, 1-based (1..kMaxEvents), at offset 8 + 8k.
  MacroEvent event(std::size_t k) const {
    if (k < 1 || k > kMaxEvents) throw std::out_of_range("macro event index");
    const std::uint8_t* e = p_ + 8 + MacroEvent::kSize * k;
    return {e[MacroEvent::kKeyCode], e[MacroEvent::kFlag], LoadU32(e + MacroEvent::kDelay)};
  }

 private:
  const std::uint8_t* p_;
};

// The macro count at the end of a MacroSetting image; an index below it is valid.
inline std::int32_t MacroCount(const MacroSettingImage& image) {
  return LoadI32(image.data() + kMacroCountOffset);
}

// CombRecord r (0..99) of a CombSetting image: the key codes of up to four keys, 0 for none.
class CombRecord {
 public:
  static constexpr std::size_t kKeyCount = 4;

  CombRecord(const CombSettingImage& image, std::size_t r)
      : p_(image.data() + detail::RecordOffset(r, kCombRecordCount, kCombRecordSize)) {}

  std::uint8_t keyCode(std::size_t k) const {
    if (k >= kKeyCount) throw std::out_of_range("combination key index");
    return p_[k];
  }

 private:
  const std::uint8_t* p_;
};

}  // namespace z4
