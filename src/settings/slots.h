// The driver's combination and macro slots as the task window manages them: the table of the
// eight combination slots, its allocation, and the payloads built from the settings records.
#pragma once

#include <array>
#include <cstdint>

#include "device/key_block.h"
#include "device/usb_driver.h"
#include "settings/settings_image.h"

namespace z4 {

constexpr std::size_t kCombSlotCount = KVKBD_MAX_COMB_SLOT;
constexpr std::uint8_t kMacroSlotCount = KVKBD_MAX_MACRO_SLOT;

// Record k stands for combination slot k + 1. A free record is all zero.
struct CombSlotRecord {
  std::int32_t inUse = 0;
  Combination combination{};
  std::int32_t slot = 0;

  friend bool operator==(const CombSlotRecord& a, const CombSlotRecord& b) {
    return a.inUse == b.inUse && a.combination == b.combination && a.slot == b.slot;
  }
};

using CombSlotTable = std::array<CombSlotRecord, kCombSlotCount>;

// Zeroes every record, then writes eight zero bytes to slots 1..8 in order.
void ClearCombSlots(CombSlotTable& slots, CUSBDriver& driver);

// Writes 192 zero bytes to macro slots 1..11 in order.
void BlankMacroSlots(CUSBDriver& driver);

// For every combination entry of block (kind 0x23, usage 0, arg2 8, slot 1..8) reads that slot
// from the driver into its record; a failed read leaves the record as it was.
void ReadBackCombSlots(const DeviceKeyBlock& block, CombSlotTable& slots, CUSBDriver& driver);

struct CombSlotAlloc {
  std::int32_t slot;  // 1..8, or -1 when every record is in use by other combinations
  bool found;         // an in-use record already held the same eight bytes
};

// Clears in the driver every slot whose record is free, then returns the last in-use record
// equal to combination, or else takes the first free record for it (the caller writes it).
CombSlotAlloc AllocCombSlot(const Combination& combination, CombSlotTable& slots,
                            CUSBDriver& driver);

// Zeroes the first record whose slot is s; sends nothing.
void ReleaseCombSlot(std::int32_t s, CombSlotTable& slots);

// The combination of CombRecord r (0..99): pair k carries the usage of key code k, 0 for none.
Combination CombinationFromRecord(const CombSettingImage& combSetting, std::size_t r);

constexpr std::size_t kMaxMacroSteps = (KVKBD_MACRO_SLOT_SIZE - 2) / 2;  // 95

// The payload of MacroRecord r (0..99): loop count (at least 1) high byte first, then one
// (timing, usage) step per event. Only the first 95 events fit; later ones are not read.
MacroPayload BuildMacroPayload(const MacroSettingImage& macroSetting, std::size_t r);

// Sends that payload to macro slot (r + 1) mod 256, which the driver channel refuses above 11.
void UploadMacro(const MacroSettingImage& macroSetting, std::size_t r, CUSBDriver& driver);

}  // namespace z4
