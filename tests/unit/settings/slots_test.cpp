// Combination slot accounting and the macro and combination payloads, against a recording driver.
#include "settings/slots.h"

#include <gtest/gtest.h>

#include "support/fake_driver.h"

namespace z4 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Combination Comb(std::uint8_t usage) { return {0, 0xE0, 0, usage, 0, 0, 0, 0}; }

struct Slots : ::testing::Test {
  test::FakeDriver fake;
  CUSBDriver driver{fake};
  CombSlotTable table{};
  void SetUp() override { ASSERT_TRUE(driver.Open()); }

  void Hold(std::initializer_list<std::int32_t> slots) {
    for (std::int32_t s : slots) table[s - 1] = {1, Comb(static_cast<std::uint8_t>(s)), s};
  }
  // Slot numbers of the combination writes sent, each checked to be a clear.
  std::vector<int> Clears() const {
    std::vector<int> slots;
    for (const auto& r : fake.requests) {
      EXPECT_EQ(r.code, IOCTL_KVKBD_WRITE_COMB);
      EXPECT_EQ(Bytes(r.input.begin() + 1, r.input.end()), Bytes(8, 0));
      slots.push_back(r.input[0]);
    }
    return slots;
  }
};

TEST_F(Slots, AllocationClearsEveryFreeSlotAndTakesTheLowest) {
  struct Case {
    const char* what;
    std::initializer_list<std::int32_t> held;
    Combination wanted;
    std::int32_t slot;
    bool found;
    std::vector<int> clears;
  } cases[] = {
      {"empty table", {}, Comb(0x30), 1, false, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"slots 1 and 2 held, new", {1, 2}, Comb(0x30), 3, false, {3, 4, 5, 6, 7, 8}},
      {"slots 1 and 2 held, slot 2's", {1, 2}, Comb(2), 2, true, {3, 4, 5, 6, 7, 8}},
      {"all held, new", {1, 2, 3, 4, 5, 6, 7, 8}, Comb(0x30), -1, false, {}},
      {"all held, slot 8's", {1, 2, 3, 4, 5, 6, 7, 8}, Comb(8), 8, true, {}},
      {"gap at 5", {1, 2, 3, 4, 6}, Comb(0x30), 5, false, {5, 7, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    table = {};
    fake.requests.clear();
    Hold(c.held);
    const CombSlotTable before = table;
    const CombSlotAlloc got = AllocCombSlot(c.wanted, table, driver);
    EXPECT_EQ(got.slot, c.slot);
    EXPECT_EQ(got.found, c.found);
    EXPECT_EQ(Clears(), c.clears);
    CombSlotTable expect = before;
    if (c.slot > 0 && !c.found) expect[c.slot - 1] = {1, c.wanted, c.slot};
    EXPECT_EQ(table, expect);
  }
}

TEST_F(Slots, LaterEqualRecordWins) {
  table[1] = {1, Comb(9), 2};
  table[4] = {1, Comb(9), 5};
  EXPECT_EQ(AllocCombSlot(Comb(9), table, driver).slot, 5);
}

TEST_F(Slots, ReleasedSlotIsClearedAtTheNextAllocationAndReused) {
  Hold({1, 2, 3, 4});
  ReleaseCombSlot(3, table);
  ReleaseCombSlot(7, table);  // no record holds slot 7
  EXPECT_TRUE(fake.requests.empty());
  EXPECT_EQ(table[2], CombSlotRecord{});
  const CombSlotAlloc got = AllocCombSlot(Comb(0x40), table, driver);
  EXPECT_EQ(got.slot, 3);
  EXPECT_EQ(Clears(), (std::vector<int>{3, 5, 6, 7, 8}));
}

TEST(CombinationFromRecord, PairsFollowKeyPositions) {
  auto comb = std::make_unique<CombSettingImage>();
  const struct {
    std::size_t record;
    Bytes codes;
    Combination expect;
  } cases[] = {
      {0, {0xA2, 0x43, 0x00, 0x00}, {0, 0xE0, 0, 0x06, 0, 0, 0, 0}},
      {1, {0xA2, 0x00, 0x43, 0x00}, {0, 0xE0, 0, 0, 0, 0x06, 0, 0}},
      {99, {0x41, 0x42, 0x43, 0x44}, {0, 0x04, 0, 0x05, 0, 0x06, 0, 0x07}},
      {2, {0x07, 0x00, 0x00, 0x00}, {0, 0, 0, 0, 0, 0, 0, 0}},  // a code without a usage
  };
  for (const auto& c : cases)
    std::copy(c.codes.begin(), c.codes.end(), comb->begin() + 524 * c.record);
  (*comb)[4] = 0x41;  // beyond the four key codes: not read
  for (const auto& c : cases) EXPECT_EQ(CombinationFromRecord(*comb, c.record), c.expect);
}

struct Event {
  std::uint8_t keyCode, flag;
  std::uint32_t delay;
};

void PutMacro(MacroSettingImage& image, std::size_t r, std::uint32_t loop, std::uint16_t count,
              const std::vector<Event>& events) {
  std::uint8_t* rec = image.data() + 1304 * r;
  StoreU32(rec + 8, loop);
  StoreU16(rec + 12, count);
  for (std::size_t k = 1; k <= events.size(); ++k) {
    rec[8 + 8 * k] = events[k - 1].keyCode;
    rec[8 + 8 * k + 1] = events[k - 1].flag;
    StoreU32(rec + 8 + 8 * k + 4, events[k - 1].delay);
  }
}

TEST(MacroPayload, LoopCountAndSteps) {
  const struct {
    const char* what;
    std::uint32_t loop;
    std::vector<Event> events;
    Bytes head;  // the payload starts so; the rest is zero
  } cases[] = {
      {"no events, loop 0", 0, {}, {0x00, 0x01}},
      {"loop 300", 300, {}, {0x01, 0x2C}},
      {"loop uses the low 16 bits", 0x00010000, {}, {0x00, 0x01}},
      {"flag and delay 100", 1, {{0x41, 1, 100}}, {0x00, 0x01, 0x82, 0x04}},
      {"delay 6400 wraps to 0x80", 1, {{0x41, 0, 6400}, {0x42, 2, 0}, {0x07, 0, 49}},
       {0x00, 0x01, 0x80, 0x04, 0x80, 0x05, 0x00, 0x00}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto image = std::make_unique<MacroSettingImage>();
    PutMacro(*image, 3, c.loop, static_cast<std::uint16_t>(c.events.size()), c.events);
    Bytes expect = c.head;
    expect.resize(192, 0);
    const MacroPayload got = BuildMacroPayload(*image, 3);
    EXPECT_EQ(Bytes(got.begin(), got.end()), expect);
  }
}

TEST(MacroPayload, EventCountsBeyondThePayloadOrRecordSendTheFirst95Steps) {
  for (std::uint16_t count : {std::uint16_t{96}, std::uint16_t{161}, std::uint16_t{0xFFFF}}) {
    SCOPED_TRACE(count);
    auto image = std::make_unique<MacroSettingImage>();
    std::vector<Event> events(161, Event{0x41, 0, 50});
    PutMacro(*image, 99, 1, count, events);  // the last record: reading past it leaves the image
    StoreI32(image->data() + 130400, 100);
    const MacroPayload got = BuildMacroPayload(*image, 99);
    for (std::size_t k = 1; k <= 95; ++k) {
      EXPECT_EQ(got[2 * k], 0x01);
      EXPECT_EQ(got[2 * k + 1], 0x04);
    }
  }
}

TEST_F(Slots, UploadGoesToSlotRecordPlusOneAndSlot12IsRefused) {
  auto image = std::make_unique<MacroSettingImage>();
  PutMacro(*image, 10, 2, 1, {{0x41, 0, 0}});
  UploadMacro(*image, 10, driver);
  UploadMacro(*image, 11, driver);
  ASSERT_EQ(fake.requests.size(), 1u);
  EXPECT_EQ(fake.requests[0].code, IOCTL_KVKBD_WRITE_MACRO);
  EXPECT_EQ(Bytes(fake.requests[0].input.begin(), fake.requests[0].input.begin() + 5),
            (Bytes{11, 0x00, 0x02, 0x00, 0x04}));
}

TEST_F(Slots, ReadBackFillsRecordsNamedByCombinationEntries) {
  DeviceKeyBlock block{};
  SetKeyEntry(block, 5, {0x23, 0, 3, 8});
  SetKeyEntry(block, 6, {0x23, 0, 0, 8});
  SetKeyEntry(block, 7, {0x23, 0, 9, 8});
  fake.comb[3] = Comb(0x33);
  ReadBackCombSlots(block, table, driver);
  EXPECT_EQ(fake.requests.size(), 1u);
  CombSlotTable expect{};
  expect[2] = {1, Comb(0x33), 3};
  EXPECT_EQ(table, expect);
}

}  // namespace
}  // namespace z4
