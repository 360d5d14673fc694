#include "device/usb_driver.h"

#include <gtest/gtest.h>

#include "device/usb_ids.h"
#include "support/fake_driver.h"

namespace z4 {
namespace {

using test::FakeDriver;

struct Channel : ::testing::Test {
  FakeDriver fake;
  CUSBDriver driver{fake};
  void SetUp() override { ASSERT_TRUE(driver.Open()); }
};

TEST_F(Channel, EnvelopesCarryExactCodesAndSizes) {
  DeviceKeyBlock block{};
  block[0] = 0x11;
  MacroPayload macro{};
  macro[0] = 0x22;
  Combination comb{};
  comb[7] = 0x33;
  EXPECT_TRUE(driver.WriteKeyBlock(block));
  EXPECT_TRUE(driver.ReadKeyBlock(block));
  EXPECT_TRUE(driver.WriteMacroSlot(5, macro));
  EXPECT_TRUE(driver.WriteCombSlot(8, comb));
  EXPECT_TRUE(driver.ReadCombSlot(3, comb));
  EXPECT_TRUE(driver.SetRate(2));

  ASSERT_EQ(fake.requests.size(), 6u);
  const auto& r = fake.requests;
  EXPECT_EQ(r[0].code, 0x0022241Cu);
  EXPECT_EQ(r[0].input.size(), 608u);
  EXPECT_EQ(r[0].input[0], 0x11);
  EXPECT_EQ(r[1].code, 0x00222420u);
  EXPECT_TRUE(r[1].input.empty());
  EXPECT_EQ(r[1].outSize, 608u);
  EXPECT_EQ(r[2].code, 0x00222424u);
  EXPECT_EQ(r[2].input.size(), 193u);
  EXPECT_EQ(r[2].input[0], 5);
  EXPECT_EQ(r[2].input[1], 0x22);
  EXPECT_EQ(r[2].outSize, 193u);
  EXPECT_EQ(r[3].code, 0x0022242Cu);
  EXPECT_EQ(r[3].input, (std::vector<std::uint8_t>{8, 0, 0, 0, 0, 0, 0, 0, 0x33}));
  EXPECT_EQ(r[3].outSize, 0u);
  EXPECT_EQ(r[4].code, 0x00222430u);
  EXPECT_EQ(r[4].input, (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(r[4].outSize, 9u);
  EXPECT_EQ(r[5].code, 0x00222414u);
  EXPECT_EQ(r[5].input, (std::vector<std::uint8_t>{2}));
}

TEST_F(Channel, RefusedArgumentsSendNothing) {
  struct Case { const char* what; bool result; } cases[] = {
      {"rate 4", driver.SetRate(4)},
      {"rate 0", driver.SetRate(0)},
      {"rate 16", driver.SetRate(16)},
      {"macro slot 12", driver.WriteMacroSlot(12, MacroPayload{})},
      {"comb write slot 9", driver.WriteCombSlot(9, Combination{})},
      {"comb read slot 9", [&] { Combination c{}; return driver.ReadCombSlot(9, c); }()},
  };
  for (const auto& c : cases) EXPECT_FALSE(c.result) << c.what;
  EXPECT_TRUE(fake.requests.empty());

  EXPECT_TRUE(driver.SetRate(0x0101));  // only the low byte counts
  EXPECT_TRUE(driver.WriteMacroSlot(0, MacroPayload{}));  // slot 0 is the callers' business
  ASSERT_EQ(fake.requests.size(), 2u);
  EXPECT_EQ(fake.requests[0].input, (std::vector<std::uint8_t>{1}));
  EXPECT_EQ(fake.requests[1].input[0], 0);
}

TEST_F(Channel, ReadCombSlotCopiesFirstEightBytesOrKeepsBufferOnFailure) {
  fake.comb[4] = {1, 2, 3, 4, 5, 6, 7, 8};
  Combination c{};
  ASSERT_TRUE(driver.ReadCombSlot(4, c));
  EXPECT_EQ(c, (Combination{1, 2, 3, 4, 5, 6, 7, 8}));

  fake.failAll = true;
  Combination kept{9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_FALSE(driver.ReadCombSlot(4, kept));
  EXPECT_EQ(kept, (Combination{9, 9, 9, 9, 9, 9, 9, 9}));
}

TEST(ChannelClosed, EveryRequestFailsWithoutASystemCall) {
  FakeDriver fake;
  CUSBDriver driver{fake};
  DeviceKeyBlock b{};
  Combination c{};
  EXPECT_FALSE(driver.ReadKeyBlock(b));
  EXPECT_FALSE(driver.WriteKeyBlock(b));
  EXPECT_FALSE(driver.WriteMacroSlot(1, MacroPayload{}));
  EXPECT_FALSE(driver.WriteCombSlot(1, c));
  EXPECT_FALSE(driver.ReadCombSlot(1, c));
  EXPECT_FALSE(driver.SetRate(1));
  EXPECT_TRUE(fake.requests.empty());
  EXPECT_TRUE(driver.Close());
  EXPECT_TRUE(driver.Close());  // closing twice does nothing
}

TEST(KeyboardId, MatchesAnywhereWithoutRegardToCase) {
  struct Case { std::u16string name; bool match; } cases[] = {
      {u"\\\\?\\USB#VID_04D9&PID_A059#5&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}", true},
      {u"\\\\?\\usb#vid_04d9&pid_a059&mi_01#x", true},
      {u"VID_04D9&PID_A059", true},
      {u"\\\\?\\USB#VID_04D9&PID_A058#x", false},
      {u"\\\\?\\USB#VID_046D&PID_A059#x", false},
      {u"VID_04D9&PID_A05", false},
      {u"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ContainsKeyboardId(c.name.data(), c.name.size()), c.match);
  EXPECT_FALSE(ContainsKeyboardId(nullptr, 40));
}

}  // namespace
}  // namespace z4
