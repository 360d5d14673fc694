#include "settings/slots.h"

namespace z4 {

void ClearCombSlots(CombSlotTable& slots, CUSBDriver& driver) {
  slots.fill(CombSlotRecord{});
  for (std::uint8_t s = 1; s <= kCombSlotCount; ++s) driver.WriteCombSlot(s, Combination{});
}

void BlankMacroSlots(CUSBDriver& driver) {
  for (std::uint8_t s = 1; s <= kMacroSlotCount; ++s) driver.WriteMacroSlot(s, MacroPayload{});
}

void ReadBackCombSlots(const DeviceKeyBlock& block, CombSlotTable& slots, CUSBDriver& driver) {
  for (std::size_t i = 0; i < kKeyEntryCount; ++i) {
    const KeyEntry e = GetKeyEntry(block, i);
    if (e.kind != kKindCombination || e.usage != 0 || e.arg2 != kCombPayloadLength) continue;
    if (e.arg1 < 1 || e.arg1 > kCombSlotCount) continue;
    Combination read{};
    if (!driver.ReadCombSlot(e.arg1, read)) continue;
    slots[e.arg1 - 1] = {1, read, e.arg1};
  }
}

}  // namespace z4
