// kvkbd-show: prints what the emulated keyboard holds, decoded: every key entry that differs
// from the factory layout, every combination slot and every macro slot in use, and with --log
// the requests it received.
#include <cstdio>
#include <cstring>
#include <string>

#include "control/emu_keyboard.h"
#include "device/key_block.h"

namespace {

using namespace z4;

std::string Hex(unsigned v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
  return buf;
}

std::string KeyboardUsage(std::uint8_t usage) {
  const char* name = KeyboardUsageName(usage);
  return name ? name : "usage " + Hex(usage, 2);
}

std::string Describe(const KeyEntry& e) {
  switch (e.kind) {
    case kKindPlain:
      return e.usage ? "key " + KeyboardUsage(e.usage) : "nothing";
    case kKindMouse:
      return "mouse function " + std::to_string(e.arg1) + (e.arg2 ? " (double)" : "");
    case kKindConsumer: {
      const std::uint16_t usage = static_cast<std::uint16_t>((e.arg1 << 8) | e.arg2);
      const char* name = ConsumerUsageName(usage);
      return std::string("media ") + (name ? name : Hex(usage, 4));
    }
    case kKindCombination:
      return "combination slot " + std::to_string(e.arg1);
    case kKindMacro:
      return "macro slot " + std::to_string(e.arg1);
    case kKindSignature:
      return "signature";
    default:
      return "kind " + Hex(e.kind, 2) + " " + Hex(e.usage, 2);
  }
}

const char* CodeName(std::uint32_t code) {
  switch (code) {
    case IOCTL_KVKBD_SET_RATE: return "SET_RATE";
    case IOCTL_KVKBD_WRITE_KEYS: return "WRITE_KEYS";
    case IOCTL_KVKBD_READ_KEYS: return "READ_KEYS";
    case IOCTL_KVKBD_WRITE_MACRO: return "WRITE_MACRO";
    case IOCTL_KVKBD_WRITE_COMB: return "WRITE_COMB";
    case IOCTL_KVKBD_READ_COMB: return "READ_COMB";
    default: return "?";
  }
}

void ShowKeys(const emu::KeyBlockBytes& block) {
  std::printf("key entries that differ from the factory layout:\n");
  int changed = 0;
  for (std::size_t i = 0; i < kKeyEntryCount; ++i) {
    const KeyEntry now = GetKeyEntry(block, i);
    if (now == FactoryKeyEntry(i)) continue;
    ++changed;
    std::printf("  entry %3zu  %-22s -> %s\n", i, FactoryKeyName(i), Describe(now).c_str());
  }
  if (!changed) std::printf("  none\n");
}

void ShowCombinations(const emu::EmuKeyboard& kbd) {
  std::printf("combination slots:\n");
  for (std::uint8_t s = 1; s <= KVKBD_MAX_COMB_SLOT; ++s) {
    const emu::CombSlotBytes c = kbd.GetCombSlot(s);
    std::string keys;
    for (std::size_t k = 0; k < 4; ++k)
      if (c[2 * k + 1]) keys += (keys.empty() ? "" : " + ") + KeyboardUsage(c[2 * k + 1]);
    std::printf("  slot %u  %s\n", s, keys.empty() ? "empty" : keys.c_str());
  }
}

void ShowMacros(const emu::EmuKeyboard& kbd) {
  std::printf("macro slots:\n");
  for (std::uint8_t s = 1; s <= KVKBD_MAX_MACRO_SLOT; ++s) {
    const emu::MacroSlotBytes m = kbd.GetMacroSlot(s);
    std::string steps;
    int count = 0;
    for (std::size_t k = 1; 2 * k + 1 < m.size() && m[2 * k + 1]; ++k, ++count) {
      const std::uint8_t timing = m[2 * k];
      steps += "\n      " + KeyboardUsage(m[2 * k + 1]) + (timing & 0x80 ? "  flagged" : "") +
               "  " + std::to_string((timing & 0x7F) * 50) + " ms";
    }
    if (!count) {
      std::printf("  slot %2u  empty\n", s);
      continue;
    }
    std::printf("  slot %2u  %d steps, %u loops:%s\n", s, count, (m[0] << 8) | m[1], steps.c_str());
  }
}

void ShowLog(const emu::EmuKeyboard& kbd) {
  const auto log = kbd.ReadLog();
  std::printf("requests received (%zu):\n", log.size());
  for (const auto& r : log) {
    std::printf("  %-11s in %3u out %3u", CodeName(r.code), r.inputLength, r.outputLength);
    if (r.code == IOCTL_KVKBD_WRITE_COMB || r.code == IOCTL_KVKBD_WRITE_MACRO ||
        r.code == IOCTL_KVKBD_READ_COMB)
      std::printf("  slot %u", r.input.empty() ? 0u : r.input[0]);
    std::printf("%s\n", r.status ? "  FAILED" : "");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool log = argc > 1 && std::strcmp(argv[1], "--log") == 0;
  if (argc > 1 && !log) {
    std::fprintf(stderr, "usage: kvkbd-show [--log]\n");
    return 2;
  }
  try {
    emu::EmuKeyboard kbd;
    if (log) ShowLog(kbd);
    ShowKeys(kbd.GetKeyBlock());
    ShowCombinations(kbd);
    ShowMacros(kbd);
    std::printf("rate code: %u\n", kbd.GetRate());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kvkbd-show: %s\n", e.what());
    return 1;
  }
  return 0;
}
