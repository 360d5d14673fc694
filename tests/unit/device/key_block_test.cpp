#include "device/key_block.h"

#include <gtest/gtest.h>

#include <set>

namespace z4 {
namespace {

TEST(KeyCodeToUsage, TableRowsAndMissingCodes) {
  struct Case { std::uint8_t code, usage; } cases[] = {
      {0x00, 0x00}, {0x41, 0x04}, {0x5A, 0x1D}, {0x30, 0x27}, {0x31, 0x1E}, {0x39, 0x26},
      {0x60, 0x62}, {0x61, 0x59}, {0x69, 0x61}, {0x6F, 0x54}, {0x70, 0x3A}, {0x7B, 0x45},
      {0xA4, 0xE2}, {0xAD, 0xE2}, {0xB5, 0x83}, {0xC1, 0xFF}, {0xDA, 0x58}, {0xDE, 0x34},
      // codes without a row
      {0xC3, 0x00}, {0xFF, 0x00}, {0x6C, 0x00}, {0x7C, 0x00}, {0x01, 0x00}, {0xC4, 0x00},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyCodeToUsage(c.code), c.usage) << int(c.code);
}

TEST(FactoryKeyBlock, LayoutLandmarks) {
  DeviceKeyBlock b{};
  b.fill(0xAA);
  KeyPosMap map;
  BuildFactoryKeyBlock(b, map);
  struct Case { std::size_t index; KeyEntry e; } cases[] = {
      {0, {0x00, 0x48, 0, 0}},     {1, {0x07, 0x01, 0, 0}},    {10, {0x00, 0x04, 0, 0}},
      {59, {0x53, 0, 0x00, 0xC0}}, {116, {0x04, 0, 0, 0xCD}},  {127, {0x04, 0, 0x01, 0x83}},
      {146, {0x53, 0, 0x09, 0xC0}}, {147, {0x70, 0xFF, 0, 0}}, {151, {0x0D, 0x01, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(GetKeyEntry(b, c.index), c.e) << c.index;
  EXPECT_TRUE(HasSignature(b));

  // The ten factory macro keys name slots 0..9.
  std::set<std::uint8_t> macroSlots;
  for (std::size_t i = 0; i < kKeyEntryCount; ++i)
    if (GetKeyEntry(b, i).kind == kKindMacro) {
      macroSlots.insert(GetKeyEntry(b, i).arg1);
    }
  EXPECT_EQ(macroSlots, (std::set<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(FactoryKeyBlock, UsageIndexTakesLowestEntry) {
  DeviceKeyBlock b{};
  KeyPosMap map;
  BuildFactoryKeyBlock(b, map);
  struct Case { std::uint8_t usage; std::int32_t index; } cases[] = {
      {0x00, 2}, {0xFF, 147}, {0x04, 5}, {0xE2, 75}, {0x66, -1}, {0x48, 0}, {0x58, 114},
  };
  for (const auto& c : cases) EXPECT_EQ(map.FindEntryForUsage(c.usage), c.index) << int(c.usage);

  // A second build leaves block and index exactly as they were.
  const DeviceKeyBlock first = b;
  const std::size_t pairs = map.size();
  BuildFactoryKeyBlock(b, map);
  EXPECT_EQ(b, first);
  EXPECT_EQ(map.size(), pairs);
  EXPECT_EQ(map.FindEntryForUsage(0x04), 5);
}

TEST(FactoryKeyBlock, EveryKeyCodeReachesAnEntry) {
  DeviceKeyBlock b{};
  KeyPosMap map;
  BuildFactoryKeyBlock(b, map);
  for (int code = 0; code < 256; ++code) {
    const std::uint8_t usage = KeyCodeToUsage(static_cast<std::uint8_t>(code));
    if (usage != 0 && code != 0xB5) {
      EXPECT_NE(map.FindEntryForUsage(usage), -1) << code;
    }
  }
}

TEST(FactoryKeyBlock, NamesOfPositionsAndUsages) {
  EXPECT_STREQ(FactoryKeyName(0), "Pause");
  EXPECT_STREQ(FactoryKeyName(147), "signature");
  EXPECT_STREQ(KeyboardUsageName(0x04), "a");  // entry 10, not the fixed entry 5
  EXPECT_STREQ(KeyboardUsageName(0x3A), "F1");
  EXPECT_EQ(KeyboardUsageName(0x00), nullptr);
  EXPECT_EQ(KeyboardUsageName(0x66), nullptr);
  EXPECT_STREQ(ConsumerUsageName(0x00CD), "Play/Pause");
  EXPECT_STREQ(ConsumerUsageName(0x0183), "AL Consumer Control Configuration");
  EXPECT_EQ(ConsumerUsageName(0x0001), nullptr);
}

TEST(Signature, CheckAndRepair) {
  DeviceKeyBlock zeros{};
  EXPECT_FALSE(HasSignature(zeros));
  RepairSignature(zeros);
  EXPECT_TRUE(HasSignature(zeros));
  for (std::size_t i = 0; i < zeros.size(); ++i) {
    const std::uint8_t expected = i == 588 ? 0x70 : i == 589 ? 0xFF : 0;
    EXPECT_EQ(zeros[i], expected) << i;
  }

  DeviceKeyBlock tail{};
  tail[588] = 0x70;
  tail[589] = 0xFF;
  tail[590] = 0x12;
  tail[591] = 0x34;
  EXPECT_TRUE(HasSignature(tail));  // 590..591 are not examined

  DeviceKeyBlock half{};
  half[588] = 0x70;
  EXPECT_FALSE(HasSignature(half));
}

}  // namespace
}  // namespace z4
