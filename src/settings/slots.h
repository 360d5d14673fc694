// The driver's combination and macro slots as the task window manages them: the table of the
// eight combination slots and the operations that clear, blank and read them back.
#pragma once

#include <array>
#include <cstdint>

#include "device/key_block.h"
#include "device/usb_driver.h"

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

}  // namespace z4
