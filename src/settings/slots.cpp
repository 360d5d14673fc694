// Combination slot accounting and the macro and combination payloads.
#include "settings/slots.h"

#include <algorithm>

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

CombSlotAlloc AllocCombSlot(const Combination& combination, CombSlotTable& slots,
                            CUSBDriver& driver) {
  CombSlotAlloc result{-1, false};
  for (std::size_t k = 0; k < kCombSlotCount; ++k) {
    CombSlotRecord& record = slots[k];
    const std::uint8_t slot = static_cast<std::uint8_t>(k + 1);
    if (record.inUse) {
      // A later match replaces an earlier one.
      if (record.combination == combination) result = {slot, true};
    } else {
      // Frees since the last call reach the driver here.
      driver.WriteCombSlot(slot, Combination{});
      record = CombSlotRecord{};
    }
  }
  if (result.found) return result;
  auto free = std::find_if(slots.begin(), slots.end(), [](const CombSlotRecord& r) { return !r.inUse; });
  if (free == slots.end()) return result;
  const std::int32_t slot = static_cast<std::int32_t>(free - slots.begin()) + 1;
  *free = {1, combination, slot};
  return {slot, false};
}

void ReleaseCombSlot(std::int32_t s, CombSlotTable& slots) {
  auto it = std::find_if(slots.begin(), slots.end(), [s](const CombSlotRecord& r) { return r.slot == s; });
  if (it != slots.end()) *it = CombSlotRecord{};
}

Combination CombinationFromRecord(const CombSettingImage& combSetting, std::size_t r) {
  const CombRecord record(combSetting, r);
  Combination c{};
  for (std::size_t k = 0; k < CombRecord::kKeyCount; ++k)
    if (const std::uint8_t code = record.keyCode(k)) c[2 * k + 1] = KeyCodeToUsage(code);
  return c;
}

MacroPayload BuildMacroPayload(const MacroSettingImage& macroSetting, std::size_t r) {
  constexpr std::uint32_t kDelayUnit = 50;
  constexpr std::uint8_t kFlagBit = 0x80;
  const MacroRecord record(macroSetting, r);
  MacroPayload payload{};
  std::uint16_t loop = static_cast<std::uint16_t>(record.loopCount() & 0xFFFF);
  if (loop == 0) loop = 1;
  payload[0] = static_cast<std::uint8_t>(loop >> 8);
  payload[1] = static_cast<std::uint8_t>(loop & 0xFF);
  const std::size_t steps = std::min<std::size_t>(record.eventCount(), kMaxMacroSteps);
  static_assert(kMaxMacroSteps <= MacroRecord::kMaxEvents);
  for (std::size_t k = 1; k <= steps; ++k) {
    const MacroEvent e = record.event(k);
    std::uint8_t timing = static_cast<std::uint8_t>((e.delay / kDelayUnit) & 0xFF);
    if (e.flag) timing |= kFlagBit;
    payload[2 * k] = timing;
    payload[2 * k + 1] = KeyCodeToUsage(e.keyCode);
  }
  return payload;
}

void UploadMacro(const MacroSettingImage& macroSetting, std::size_t r, CUSBDriver& driver) {
  driver.WriteMacroSlot(static_cast<std::uint8_t>((r + 1) & 0xFF), BuildMacroPayload(macroSetting, r));
}

}  // namespace z4
