// The device key block: 152 four-byte key entries that tell the keyboard's filter driver what
// every physical key sends, its factory layout, the key code table and the usage index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "device/kvkbd_ioctl.h"
#include "support/bytes.h"

namespace z4 {

constexpr std::size_t kKeyEntryCount = 152;
constexpr std::size_t kKeyEntrySize = 4;
using DeviceKeyBlock = ByteImage<KVKBD_KEY_BLOCK_SIZE>;
static_assert(kKeyEntryCount * kKeyEntrySize == KVKBD_KEY_BLOCK_SIZE);

// Entry kinds (byte 0 of an entry).
enum KeyKind : std::uint8_t {
  kKindPlain = 0x00,
  kKindMouse = 0x02,
  kKindConsumer = 0x04,
  kKindFixed7 = 0x07,
  kKindFixedD = 0x0D,
  kKindCombination = 0x23,  // '#'
  kKindMacro = 0x53,        // 'S'
  kKindSignature = 0x70,    // 'p'
};

constexpr std::uint8_t kCombPayloadLength = 8;
constexpr std::uint8_t kMacroPayloadLength = 0xC0;

// One key entry, as four bytes at offset 4 * index of a block.
struct KeyEntry {
  std::uint8_t kind = 0;
  std::uint8_t usage = 0;
  std::uint8_t arg1 = 0;
  std::uint8_t arg2 = 0;

  friend bool operator==(const KeyEntry& a, const KeyEntry& b) {
    return a.kind == b.kind && a.usage == b.usage && a.arg1 == b.arg1 && a.arg2 == b.arg2;
  }
};

// index must be below kKeyEntryCount; callers that hold an index from outside check first.
KeyEntry GetKeyEntry(const DeviceKeyBlock& block, std::size_t index);
void SetKeyEntry(DeviceKeyBlock& block, std::size_t index, const KeyEntry& entry);

// Entry 147, bytes 588..591.
constexpr std::size_t kSignatureEntry = 147;
constexpr std::size_t kSignatureOffset = kSignatureEntry * kKeyEntrySize;
static_assert(kSignatureOffset == 588);

// A block counts as initialised when bytes 588 and 589 are 70 FF; 590 and 591 are not examined.
bool HasSignature(const DeviceKeyBlock& block);
// Sets bytes 588..591 to 70 FF 00 00 and leaves the rest as it was.
void RepairSignature(DeviceKeyBlock& block);

// The factory entry at index (below kKeyEntryCount), and what it does there ("F1",
// "Play/Pause", "macro slot 3", "signature", ...).
KeyEntry FactoryKeyEntry(std::size_t index);
const char* FactoryKeyName(std::size_t index);

// Names of what a plain or consumer entry sends, taken from the factory layout; null for a
// usage no factory key sends.
const char* KeyboardUsageName(std::uint8_t usage);
const char* ConsumerUsageName(std::uint16_t usage);

// Keyboard usage of a one-byte key code; 0 when the code has no row.
std::uint8_t KeyCodeToUsage(std::uint8_t keyCode);

// Usage index: the lowest entry index of the factory block that carries each usage byte.
class KeyPosMap {
 public:
  // Entry index for usage, or -1 when no factory entry carries it.
  std::int32_t FindEntryForUsage(std::uint8_t usage) const;
  // Keeps an existing pair: the first insert of a usage wins.
  void Insert(std::uint8_t usage, std::int32_t index) { map_.emplace(usage, index); }
  std::size_t size() const { return map_.size(); }
  void clear() { map_.clear(); }

 private:
  std::map<std::uint8_t, std::int32_t> map_;
};

// Zeroes defBlock, then stores the factory layout entry by entry and inserts each entry's usage
// into posMap (which is not emptied first, so repeated calls change nothing).
void BuildFactoryKeyBlock(DeviceKeyBlock& defBlock, KeyPosMap& posMap);

}  // namespace z4
