// The translation of KeySetting records into the key block, with a recording driver and host.
#include "settings/translate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "support/fake_driver.h"

namespace z4 {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr KeyEntry kReported{0xEE, 0xEE, 0xAA, 0xBB};  // what the driver gave, in every entry

struct RecordingHost : TranslateHost {
  std::vector<WarningOwner> warnings;
  std::vector<int> resets;
  std::function<void()> duringWarning;
  void ShowCombWarning(WarningOwner owner) override {
    warnings.push_back(owner);
    if (duringWarning) duringWarning();
  }
  void PostKeyReset(std::uint8_t keyCode) override { resets.push_back(keyCode); }
};

struct Translate : ::testing::Test {
  test::FakeDriver fake;
  CUSBDriver driver{fake};
  std::unique_ptr<SettingsImage> image = std::make_unique<SettingsImage>();
  DeviceKeyBlock keyBlock{};
  DeviceKeyBlock defKeyBlock{};
  KeyPosMap keyPosMap;
  CombSlotTable combSlots{};
  RecordingHost host;

  void SetUp() override {
    ASSERT_TRUE(driver.Open());
    BuildFactoryKeyBlock(defKeyBlock, keyPosMap);
    Fresh();
  }
  // The state every case starts from.
  void Fresh() {
    fake.requests.clear();
    combSlots = {};
    host = RecordingHost{};
    for (std::size_t i = 0; i < kKeyEntryCount; ++i) SetKeyEntry(keyBlock, i, kReported);
    // Every record inert: key code 0 (entry 2), an action type that changes nothing.
    for (std::size_t i = 0; i < kKeySettingCount; ++i) Record(i, 0, 0, 0);
  }
  void Record(std::size_t i, std::uint8_t keyCode, std::int32_t type, std::int32_t param) {
    KeySettingEntry r(image->keySetting, i);
    r.SetKeyCode(keyCode);
    r.SetAction(type, param);
  }
  void Run() {
    TranslateKeySettings(*image, keyBlock, defKeyBlock, keyPosMap, combSlots, driver, host);
  }
  KeyEntry Entry(std::size_t e) const { return GetKeyEntry(keyBlock, e); }
  // Entries other than those listed still hold what the driver reported.
  void ExpectOthersUntouched(std::initializer_list<std::size_t> changed) const {
    for (std::size_t e = 0; e < kKeyEntryCount; ++e) {
      if (std::find(changed.begin(), changed.end(), e) != changed.end()) continue;
      EXPECT_EQ(Entry(e), kReported) << "entry " << e;
    }
  }
  // The combination writes that were not clears, as (slot, combination).
  std::vector<Bytes> CombWrites() const {
    std::vector<Bytes> w;
    for (const auto& r : fake.requests)
      if (r.code == IOCTL_KVKBD_WRITE_COMB && Bytes(r.input.begin() + 1, r.input.end()) != Bytes(8, 0))
        w.push_back(r.input);
    return w;
  }
  std::vector<int> MacroSlotsWritten() const {
    std::vector<int> s;
    for (const auto& r : fake.requests)
      if (r.code == IOCTL_KVKBD_WRITE_MACRO) s.push_back(r.input[0]);
    return s;
  }
};

TEST_F(Translate, SingleEntryActions) {
  const struct {
    const char* what;
    std::uint8_t keyCode;
    std::int32_t type, param;
    std::size_t entry;
    KeyEntry expect;
  } cases[] = {
      {"default a (direct target)", 0x41, 1, 0, 10, {0x00, 0x04, 0x00, 0x00}},
      {"default b (usage lookup)", 0x42, 1, 0, 37, {0x00, 0x05, 0x00, 0x00}},
      {"default for key code 0", 0x00, 1, 0, 2, {0, 0, 0, 0}},
      {"default signature", 0xC1, 1, 0, 147, {0x70, 0xFF, 0x00, 0x00}},
      {"default Mute", 0xAD, 1, 0, 134, {0x04, 0x00, 0x00, 0xE2}},
      {"default Volume Decrement", 0xAE, 1, 0, 123, {0x04, 0x00, 0x00, 0xEA}},
      {"default Volume Increment", 0xAF, 1, 0, 124, {0x04, 0x00, 0x00, 0xE9}},
      {"default Consumer Control", 0xB5, 1, 0, 127, {0x04, 0x00, 0x01, 0x83}},
      {"default C3", 0xC3, 1, 0, 148, {0x0D, 0x02, 0x00, 0x00}},
      {"default C4", 0xC4, 1, 0, 150, {0x0D, 0x00, 0x00, 0x00}},
      {"mouse 10", 0x42, 3, 10, 37, {0x02, 0x00, 0x01, 0x01}},
      {"mouse 4", 0x42, 3, 4, 37, {0x02, 0x00, 0x04, 0x00}},
      {"mouse 16", 0x42, 3, 16, 37, {0x02, 0x00, 0x10, 0x00}},
      {"mouse 17 keeps bytes 2 and 3", 0x42, 3, 17, 37, {0x02, 0x00, 0xAA, 0xBB}},
      {"mouse 0 keeps bytes 2 and 3", 0x42, 3, 0, 37, {0x02, 0x00, 0xAA, 0xBB}},
      {"consumer 0", 0x42, 5, 0, 37, {0x04, 0x00, 0x01, 0x83}},
      {"consumer 17", 0x42, 5, 17, 37, {0x04, 0x00, 0x01, 0x92}},
      {"consumer 18", 0x42, 5, 18, 37, {0x04, 0x00, 0x00, 0x00}},
      {"consumer -1", 0x42, 5, -1, 37, {0x04, 0x00, 0x00, 0x00}},
      {"second consumer type 1", 0x42, 7, 1, 37, {0x04, 0x00, 0x00, 0xCD}},
      {"second consumer type 18", 0x42, 7, 18, 37, {0x04, 0x00, 0x00, 0x00}},
      {"single key on a", 0x41, 9, 0x42, 10, {0x00, 0x05, 0x00, 0x00}},
      {"single key uses the low byte", 0x42, 9, 0x7743, 37, {0x00, 0x06, 0x00, 0x00}},
      {"type 0 changes nothing", 0x42, 0, 0, 37, kReported},
      {"type 10 changes nothing", 0x42, 10, 0, 37, kReported},
      {"combination index 100 is skipped", 0x42, 8, 100, 37, kReported},
      {"combination index -1 is skipped", 0x42, 8, -1, 37, kReported},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    Record(40, c.keyCode, c.type, c.param);
    Run();
    EXPECT_EQ(Entry(c.entry), c.expect);
    ExpectOthersUntouched({c.entry});
    EXPECT_TRUE(fake.requests.empty());
    EXPECT_TRUE(host.resets.empty());
  }
}

TEST_F(Translate, ShortcutsAndCombinationRecordsTakeASlot) {
  StoreU32(image->combSetting.data() + 524 * 99, 0x000043A2);  // A2 43 00 00
  const struct {
    const char* what;
    std::int32_t type, param;
    Bytes combination;
  } cases[] = {
      {"Alt+Tab", 2, 9, {0, 0xE2, 0, 0x2B, 0, 0, 0, 0}},
      {"Alt+F4", 2, 10, {0, 0xE2, 0, 0x3D, 0, 0, 0, 0}},
      {"GUI+l", 2, 11, {0, 0xE3, 0, 0x0F, 0, 0, 0, 0}},
      {"GUI+r", 2, 12, {0, 0xE3, 0, 0x15, 0, 0, 0, 0}},
      {"GUI+d", 2, 13, {0, 0xE3, 0, 0x07, 0, 0, 0, 0}},
      {"system 8 is empty", 2, 8, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"system at the lowest parameter is empty", 2, INT32_MIN, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"Ctrl+x", 6, 0, {0, 0xE0, 0, 0x1B, 0, 0, 0, 0}},
      {"Ctrl+c", 6, 1, {0, 0xE0, 0, 0x06, 0, 0, 0, 0}},
      {"Ctrl+z", 6, 8, {0, 0xE0, 0, 0x1D, 0, 0, 0, 0}},
      {"editing 9 is empty", 6, 9, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"editing at the lowest parameter is empty", 6, INT32_MIN, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"combination record 99", 8, 99, {0, 0xE0, 0, 0x06, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    Record(40, 0x42, c.type, c.param);
    Run();
    EXPECT_EQ(Entry(37), (KeyEntry{0x23, 0x00, 0x01, 0x08}));
    ExpectOthersUntouched({37});
    // Eight clears, then the combination to slot 1 (an all-zero one is a ninth clear).
    ASSERT_EQ(fake.requests.size(), 9u);
    Bytes expect{1};
    expect.insert(expect.end(), c.combination.begin(), c.combination.end());
    EXPECT_EQ(fake.requests.back().input, expect);
    EXPECT_EQ(combSlots[0].inUse, 1);
  }
}

TEST_F(Translate, EqualCombinationsShareOneSlot) {
  Record(10, 0x42, 6, 1);
  Record(11, 0x43, 6, 1);
  Run();
  EXPECT_EQ(Entry(37), (KeyEntry{0x23, 0x00, 0x01, 0x08}));
  EXPECT_EQ(Entry(28), (KeyEntry{0x23, 0x00, 0x01, 0x08}));
  EXPECT_EQ(CombWrites(), (std::vector<Bytes>{{1, 0, 0xE0, 0, 0x06, 0, 0, 0, 0}}));
  EXPECT_EQ(fake.requests.size(), 8u + 1u + 7u);  // the second allocation clears slots 2..8
}

TEST_F(Translate, NinthCombinationWarnsResetsAndEndsThePass) {
  const struct {
    const char* what;
    std::int32_t type, param;
    WarningOwner owner;
  } ninth[] = {
      {"system shortcut", 2, 9, WarningOwner::None},
      {"editing shortcut", 6, 8, WarningOwner::TaskWindow},
      {"combination record", 8, 0, WarningOwner::None},
  };
  StoreU32(image->combSetting.data(), 0x44);  // record 0: the d key
  for (const auto& c : ninth) {
    SCOPED_TRACE(c.what);
    Fresh();
    const std::uint8_t codes[] = {0x42, 0x43, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C};
    for (std::int32_t k = 0; k < 8; ++k) Record(k, codes[k], 6, k);
    Record(8, codes[8], c.type, c.param);
    Record(9, codes[9], 1, 0);  // after the failing record: not looked at
    Run();
    EXPECT_EQ(host.warnings, std::vector<WarningOwner>{c.owner});
    EXPECT_EQ(host.resets, std::vector<int>{0x4B});
    const KeySettingEntry reset(image->keySetting, 8);
    EXPECT_EQ(reset.actionType(), 1);
    EXPECT_EQ(reset.param(), 0);
    EXPECT_EQ(reset.keyCode(), 0x4B);
    EXPECT_EQ(Entry(14), kReported);  // the k key of record 8 keeps its entry
    EXPECT_EQ(Entry(58), kReported);  // the l key of record 9 too
    EXPECT_EQ(Entry(37), (KeyEntry{0x23, 0x00, 0x01, 0x08}));
    EXPECT_EQ(Entry(42), (KeyEntry{0x23, 0x00, 0x08, 0x08}));
  }
}

TEST_F(Translate, OnlyTheResetRemainsAfterANestedPassInsideTheWarning) {
  for (std::int32_t k = 0; k < 9; ++k) Record(k, static_cast<std::uint8_t>(0x42 + k), 6, k);
  Record(9, 0x4C, 9, 0x41);
  DeviceKeyBlock nestedResult{};
  host.duringWarning = [&] {
    host.duringWarning = nullptr;
    RecordingHost inner;
    ClearCombSlots(combSlots, driver);
    TranslateKeySettings(*image, keyBlock, defKeyBlock, keyPosMap, combSlots, driver, inner);
    nestedResult = keyBlock;
  };
  Run();
  EXPECT_EQ(keyBlock, nestedResult);
  EXPECT_EQ(host.resets, std::vector<int>{0x4A});
}

TEST_F(Translate, OverwrittenCombinationReleasesItsSlotUnlessShared) {
  const struct {
    const char* what;
    std::int32_t type;
    bool otherEntryNamesSlot;
    bool keyReachesNoEntry;
    bool released;
  } cases[] = {
      {"moved to a single key", 9, false, false, true},
      {"moved to a single key, slot still named", 9, true, false, false},
      {"action type 0", 0, false, false, true},
      {"key that reaches no entry", 9, false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    KeyPosMap emptyMap;
    SetKeyEntry(keyBlock, 37, {0x23, 0x00, 0x03, 0x08});
    if (c.otherEntryNamesSlot) SetKeyEntry(keyBlock, 90, {0x23, 0x11, 0x03, 0x00});
    combSlots = {};
    combSlots[2] = {1, {0, 0xE0, 0, 0x06, 0, 0, 0, 0}, 3};
    Record(40, 0x42, c.type, 0x43);
    TranslateKeySettings(*image, keyBlock, defKeyBlock, c.keyReachesNoEntry ? emptyMap : keyPosMap,
                         combSlots, driver, host);
    EXPECT_EQ(combSlots[2].inUse, c.released ? 0 : 1);
    EXPECT_TRUE(fake.requests.empty());  // the driver's slot is cleared by the next allocation
  }
}

TEST_F(Translate, LaterRecordForTheSameKeyDecidesAndReleasesTheEarlierSlot) {
  Record(3, 0x42, 6, 1);
  Record(4, 0x42, 9, 0x43);
  Run();
  EXPECT_EQ(Entry(37), (KeyEntry{0x00, 0x06, 0x00, 0x00}));
  EXPECT_EQ(combSlots, CombSlotTable{});
}

TEST_F(Translate, MacroKeys) {
  const struct {
    const char* what;
    std::int32_t param, count;
    bool reset;
    std::uint8_t slot;
    std::vector<int> sent;  // macro slots that received a payload
  } cases[] = {
      {"index 2 of 5", 2, 5, false, 3, {3}},
      {"no macros", 2, 0, true, 1, {1}},
      {"index equal to the count", 5, 5, true, 1, {1}},
      {"negative count", 0, -3, true, 1, {1}},
      {"negative index", -1, 5, true, 1, {1}},
      {"index 11: slot 12 is refused", 11, 12, false, 12, {}},
      {"index 99 of 200", 99, 200, false, 100, {}},
      {"index 100 of 200 is outside the records", 100, 200, true, 1, {1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    StoreI32(image->macroSetting.data() + 130400, c.count);
    Record(40, 0x42, 4, c.param);
    Run();
    EXPECT_EQ(Entry(37), (KeyEntry{0x53, 0x00, c.slot, 0xC0}));
    EXPECT_EQ(MacroSlotsWritten(), c.sent);
    EXPECT_EQ(host.resets, c.reset ? std::vector<int>{0x42} : std::vector<int>{});
    EXPECT_EQ(KeySettingEntry(image->keySetting, 40).actionType(), c.reset ? 1 : 4);
    EXPECT_TRUE(host.warnings.empty());
  }
}

TEST_F(Translate, DefaultsRestoreTheFactoryEntriesOfTheLayoutsKeys) {
  // Letters, digits, F1..F12, the media keys and the extra codes: 26 + 10 + 12 + 7 records.
  std::vector<std::uint8_t> codes;
  for (std::uint8_t c = 0x41; c <= 0x5A; ++c) codes.push_back(c);
  for (std::uint8_t c = 0x30; c <= 0x39; ++c) codes.push_back(c);
  for (std::uint8_t c = 0x70; c <= 0x7B; ++c) codes.push_back(c);
  for (int c : {0xAD, 0xAE, 0xAF, 0xB5, 0xC1, 0xC3, 0xC4}) codes.push_back(static_cast<std::uint8_t>(c));
  for (std::size_t i = 0; i < codes.size(); ++i) Record(i, codes[i], 1, 0);
  Run();
  std::size_t restored = 0;
  for (std::size_t e = 0; e < kKeyEntryCount; ++e) {
    if (Entry(e) == kReported) continue;
    EXPECT_EQ(Entry(e), FactoryKeyEntry(e)) << "entry " << e;
    ++restored;
  }
  EXPECT_EQ(restored, codes.size());
  EXPECT_EQ(Entry(10), FactoryKeyEntry(10));
  EXPECT_EQ(Entry(5), kReported);  // the a key goes to entry 10, not to the lookup's entry 5
  EXPECT_TRUE(fake.requests.empty());
}

}  // namespace
}  // namespace z4
