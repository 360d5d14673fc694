// The action types' tables and the translation pass.
#include "settings/translate.h"

#include <algorithm>
#include <iterator>

namespace z4 {
namespace {

// Key codes whose device entry is not the one the usage lookup would give.
struct DirectTarget {
  std::uint8_t keyCode;
  std::size_t entry;
};
constexpr DirectTarget kDirectTargets[] = {
    {0x41, 10},   // the a key (the lookup would give entry 5)
    {0xAD, 134},  // Mute
    {0xAE, 123},  // Volume Decrement
    {0xAF, 124},  // Volume Increment
    {0xB5, 127},  // AL Consumer Control Configuration
    {0xC3, 148},  // fixed entry 0D 02 00 00
    {0xC4, 150},  // fixed entry 0D 00 00 00
};

// System shortcuts, param 9..13.
constexpr std::int32_t kFirstSystemShortcut = 9;
constexpr Combination kSystemShortcuts[] = {
    {0x00, 0xE2, 0x00, 0x2B, 0, 0, 0, 0},  //  9 Left Alt + Tab
    {0x00, 0xE2, 0x00, 0x3D, 0, 0, 0, 0},  // 10 Left Alt + F4
    {0x00, 0xE3, 0x00, 0x0F, 0, 0, 0, 0},  // 11 Left GUI + l
    {0x00, 0xE3, 0x00, 0x15, 0, 0, 0, 0},  // 12 Left GUI + r
    {0x00, 0xE3, 0x00, 0x07, 0, 0, 0, 0},  // 13 Left GUI + d
};

// Editing shortcuts, param 0..8: Left Control + the key.
constexpr std::uint8_t kLeftControl = 0xE0;
constexpr std::uint8_t kEditKeys[] = {0x1B /* x */, 0x06 /* c */, 0x19 /* v */,
                                      0x04 /* a */, 0x09 /* f */, 0x11 /* n */,
                                      0x13 /* p */, 0x16 /* s */, 0x1D /* z */};

// Consumer keys, param 0..17: usages of the HID consumer page.
constexpr std::uint16_t kConsumerUsages[] = {
    0x0183,  //  0 AL Consumer Control Configuration
    0x00CD,  //  1 Play/Pause
    0x00B7,  //  2 Stop
    0x00B6,  //  3 Scan Previous Track
    0x00B5,  //  4 Scan Next Track
    0x00EA,  //  5 Volume Decrement
    0x00E9,  //  6 Volume Increment
    0x00E2,  //  7 Mute
    0x0224,  //  8 AC Back
    0x0225,  //  9 AC Forward
    0x0226,  // 10 AC Stop
    0x0227,  // 11 AC Refresh
    0x022A,  // 12 AC Bookmarks
    0x0221,  // 13 AC Search
    0x018A,  // 14 AL Email Reader
    0x0223,  // 15 AC Home
    0x0194,  // 16 AL Local Machine Browser
    0x0192,  // 17 AL Calculator
};

// Mouse functions 1..16 send (param, 0), except 10, which sends (1, 1).
constexpr std::int32_t kLastMouseFunction = 16;
constexpr std::int32_t kMouseDoubleFunction = 10;

template <class Table>
bool InTable(const Table& table, std::int64_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < std::size(table);
}

// Device entry for a key code, or -1 when it reaches none.
std::int32_t TargetEntry(std::uint8_t keyCode, const KeyPosMap& keyPosMap) {
  const auto* direct = std::find_if(std::begin(kDirectTargets), std::end(kDirectTargets),
                                    [keyCode](const DirectTarget& t) { return t.keyCode == keyCode; });
  if (direct != std::end(kDirectTargets)) return static_cast<std::int32_t>(direct->entry);
  const std::int32_t e = keyPosMap.FindEntryForUsage(KeyCodeToUsage(keyCode));
  return e >= 0 && static_cast<std::size_t>(e) < kKeyEntryCount ? e : -1;
}

bool IsCombinationEntry(const KeyEntry& e) {
  return e.kind == kKindCombination && e.usage == 0 && e.arg2 == kCombPayloadLength;
}

// A combination entry about to be overwritten gives up its slot record, unless another entry
// still names the same slot.
void ReleaseUnsharedSlot(const DeviceKeyBlock& keyBlock, std::size_t e, CombSlotTable& combSlots) {
  const KeyEntry entry = GetKeyEntry(keyBlock, e);
  if (!IsCombinationEntry(entry)) return;
  for (std::size_t j = 0; j < kKeyEntryCount; ++j) {
    if (j == e) continue;
    const KeyEntry other = GetKeyEntry(keyBlock, j);
    if (other.kind == kKindCombination && other.arg1 == entry.arg1) return;
  }
  ReleaseCombSlot(entry.arg1, combSlots);
}

class Pass {
 public:
  Pass(SettingsImage& image, DeviceKeyBlock& keyBlock, const DeviceKeyBlock& defKeyBlock,
       CombSlotTable& combSlots, CUSBDriver& driver, TranslateHost& host)
      : image_(image), keyBlock_(keyBlock), defKeyBlock_(defKeyBlock), combSlots_(combSlots),
        driver_(driver), host_(host) {}

  // False ends the pass.
  bool Translate(std::size_t i, std::size_t e) {
    KeySettingEntry record(image_.keySetting, i);
    const std::int32_t param = record.param();
    switch (record.actionType()) {
      case kActionDefault:
        Set(e, GetKeyEntry(defKeyBlock_, e));
        return true;
      case kActionSystemShortcut: {
        // Widened first: a parameter near the lowest 32-bit value must not overflow.
        const std::int64_t index = std::int64_t{param} - kFirstSystemShortcut;
        return Place(i, e, InTable(kSystemShortcuts, index) ? kSystemShortcuts[index] : Combination{},
                     WarningOwner::None);
      }
      case kActionEditShortcut: {
        Combination c{};
        if (InTable(kEditKeys, param)) {
          c[1] = kLeftControl;
          c[3] = kEditKeys[param];
        }
        return Place(i, e, c, WarningOwner::TaskWindow);
      }
      case kActionCombination:
        if (param < 0 || static_cast<std::size_t>(param) >= kCombRecordCount) return true;
        return Place(i, e, CombinationFromRecord(image_.combSetting, static_cast<std::size_t>(param)),
                     WarningOwner::None);
      case kActionMouse: {
        KeyEntry entry = GetKeyEntry(keyBlock_, e);
        entry.kind = kKindMouse;
        entry.usage = 0;
        if (param >= 1 && param <= kLastMouseFunction) {
          const bool doubled = param == kMouseDoubleFunction;
          entry.arg1 = doubled ? 1 : static_cast<std::uint8_t>(param);
          entry.arg2 = doubled ? 1 : 0;
        }
        Set(e, entry);
        return true;
      }
      case kActionMacro:
        Macro(i, e, param);
        return true;
      case kActionConsumer:
      case kActionConsumer2: {
        const std::uint16_t usage = InTable(kConsumerUsages, param) ? kConsumerUsages[param] : 0;
        Set(e, {kKindConsumer, 0, static_cast<std::uint8_t>(usage >> 8),
                static_cast<std::uint8_t>(usage & 0xFF)});
        return true;
      }
      case kActionSingleKey:
        Set(e, {kKindPlain, KeyCodeToUsage(static_cast<std::uint8_t>(param & 0xFF)), 0, 0});
        return true;
      default:
        return true;
    }
  }

 private:
  void Set(std::size_t e, const KeyEntry& entry) { SetKeyEntry(keyBlock_, e, entry); }

  void Macro(std::size_t i, std::size_t e, std::int32_t param) {
    // Indexes past the count, or past the 100 records the image holds, are never read.
    const std::int32_t valid = std::min(MacroCount(image_.macroSetting),
                                        static_cast<std::int32_t>(kMacroRecordCount));
    if (param < 0 || param >= valid) {
      Reset(i);
      param = 0;
    }
    const std::size_t r = static_cast<std::size_t>(param);
    UploadMacro(image_.macroSetting, r, driver_);
    Set(e, {kKindMacro, 0, static_cast<std::uint8_t>((r + 1) & 0xFF), kMacroPayloadLength});
  }

  bool Place(std::size_t i, std::size_t e, const Combination& c, WarningOwner owner) {
    const CombSlotAlloc alloc = AllocCombSlot(c, combSlots_, driver_);
    if (alloc.slot > 0) {
      const std::uint8_t slot = static_cast<std::uint8_t>(alloc.slot);
      if (!alloc.found) driver_.WriteCombSlot(slot, c);
      Set(e, {kKindCombination, 0, slot, kCombPayloadLength});
      return true;
    }
    // The dialog's modal loop may run a nested apply; afterwards only the reset remains to do.
    host_.ShowCombWarning(owner);
    Reset(i);
    return false;
  }

  void Reset(std::size_t i) {
    KeySettingEntry record(image_.keySetting, i);
    record.SetAction(kActionDefault, 0);
    host_.PostKeyReset(record.keyCode());
  }

  SettingsImage& image_;
  DeviceKeyBlock& keyBlock_;
  const DeviceKeyBlock& defKeyBlock_;
  CombSlotTable& combSlots_;
  CUSBDriver& driver_;
  TranslateHost& host_;
};

}  // namespace

void TranslateKeySettings(SettingsImage& image, DeviceKeyBlock& keyBlock,
                          const DeviceKeyBlock& defKeyBlock, const KeyPosMap& keyPosMap,
                          CombSlotTable& combSlots, CUSBDriver& driver, TranslateHost& host) {
  Pass pass(image, keyBlock, defKeyBlock, combSlots, driver, host);
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    const std::int32_t e = TargetEntry(KeySettingEntry(image.keySetting, i).keyCode(), keyPosMap);
    if (e < 0) continue;
    const std::size_t entry = static_cast<std::size_t>(e);
    ReleaseUnsharedSlot(keyBlock, entry, combSlots);
    if (!pass.Translate(i, entry)) return;
  }
}

}  // namespace z4
