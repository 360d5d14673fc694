#include "app/task_core.h"

#include <gtest/gtest.h>

#include "task_fixture.h"

namespace z4 {
namespace {

using Calls = std::vector<std::string>;
using Codes = std::vector<std::uint32_t>;

const std::u16string kKeyboard = u"\\\\?\\USB#VID_04D9&PID_A059#6&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
const std::u16string kMouse = u"\\\\?\\USB#VID_046D&PID_C077#6&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

DeviceKeyBlock SignedBlock() {
  DeviceKeyBlock b{};
  RepairSignature(b);
  return b;
}

using test::kFolder;

struct TaskCoreTest : test::TaskFixture {
  void Arrive(const std::u16string& name) { core.OnDeviceArrival(name.data(), name.size()); }
  void Remove(const std::u16string& name) { core.OnDeviceRemoval(name.data(), name.size()); }
};

TEST_F(TaskCoreTest, CreationReadsBlockAndNamedSlotsAndWritesNothing) {
  fake.block = SignedBlock();
  SetKeyEntry(fake.block, 20, {kKindCombination, 0, 3, 8});
  SetKeyEntry(fake.block, 21, {kKindCombination, 0, 9, 8});  // slot out of range: not read
  SetKeyEntry(fake.block, 22, {kKindCombination, 0, 0, 8});
  fake.comb[3] = {0, 0xE0, 0, 0x06, 0, 0, 0, 0};
  ASSERT_TRUE(core.Create({kFolder, u"Profile", {}}));

  EXPECT_EQ(fake.Codes(), (Codes{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_READ_COMB}));
  EXPECT_EQ(fake.requests[1].input[0], 3);
  EXPECT_EQ(core.m_keyBlock, fake.block);
  EXPECT_EQ(core.m_combSlots[2], (CombSlotRecord{1, fake.comb[3], 3}));
  EXPECT_EQ(core.m_combSlots[0], CombSlotRecord{});
  EXPECT_EQ(core.m_keyPosMap.FindEntryForUsage(0xFF), 147);
  // No reopen timer at creation; the switching timer starts last.
  EXPECT_EQ(host.calls, (Calls{"register", "start 101 500"}));
}

TEST_F(TaskCoreTest, CreationFailsWhenAProfileFileCannotBeWritten) {
  storage.unwritable.insert(kFolder + u"Profile\\Profile 1.pro");
  EXPECT_FALSE(core.Create({kFolder, u"Profile", {}}));
  EXPECT_EQ(host.Calls("start"), Calls{});
}

TEST_F(TaskCoreTest, CreationWithoutDriverLeavesBlockZeroed) {
  fake.openSucceeds = false;
  core.m_keyBlock.fill(0x55);
  ASSERT_TRUE(Create());
  EXPECT_TRUE(fake.requests.empty());
  EXPECT_EQ(core.m_keyBlock, DeviceKeyBlock{});
  EXPECT_EQ(GetKeyEntry(core.m_defKeyBlock, 147), (KeyEntry{0x70, 0xFF, 0, 0}));
}

TEST_F(TaskCoreTest, ArrivalRepairsMissingSignatureOnceThenRereads) {
  fake.openSucceeds = false;
  ASSERT_TRUE(Create());
  fake.openSucceeds = true;
  DeviceKeyBlock unsigned_{};
  unsigned_[0] = 0x42;
  fake.blockReads = {unsigned_};
  fake.block = SignedBlock();
  Arrive(kKeyboard);

  EXPECT_EQ(fake.Codes(), (Codes{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_WRITE_KEYS, IOCTL_KVKBD_READ_KEYS}));
  DeviceKeyBlock repaired = unsigned_;
  repaired[588] = 0x70;
  repaired[589] = 0xFF;
  EXPECT_EQ(fake.requests[1].input, std::vector<std::uint8_t>(repaired.begin(), repaired.end()));
  EXPECT_EQ(core.m_keyBlock, fake.block);
}

TEST_F(TaskCoreTest, ArrivalWithSignatureWritesNothingAndOpenDriverIgnoresArrival) {
  fake.block = SignedBlock();
  Arrive(kKeyboard);
  EXPECT_EQ(fake.Codes(), (Codes{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_READ_KEYS}));
  fake.requests.clear();
  Arrive(kKeyboard);  // already open
  EXPECT_TRUE(fake.requests.empty());
  EXPECT_EQ(fake.opens, 1);
}

TEST_F(TaskCoreTest, OtherDevicesChangeNothing) {
  core.SetConfigWnd(77);
  Arrive(kMouse);
  Remove(kMouse);
  Arrive(u"");
  EXPECT_EQ(fake.opens, 0);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(TaskCoreTest, FailedOpenRetriesUntilPluggedThenStops) {
  fake.openSucceeds = false;
  Arrive(kKeyboard);
  EXPECT_EQ(host.calls, (Calls{"start 100 100"}));
  core.OnReopenTimer();
  core.OnReopenTimer();
  EXPECT_EQ(fake.opens, 3);
  EXPECT_EQ(host.calls.size(), 1u);

  fake.openSucceeds = true;
  fake.block = SignedBlock();
  core.OnReopenTimer();
  EXPECT_EQ(fake.Codes(), (Codes{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_READ_KEYS}));
  EXPECT_EQ(host.calls, (Calls{"start 100 100", "stop 100"}));
}

TEST_F(TaskCoreTest, ReopenTickAfterArrivalOpenedLeavesOneHandle) {
  fake.openSucceeds = false;
  Arrive(kKeyboard);
  fake.openSucceeds = true;
  fake.block = SignedBlock();
  Remove(kKeyboard);  // closed anyway
  Arrive(kKeyboard);  // a later arrival opens while the timer still runs
  const int opens = fake.opens;
  fake.requests.clear();
  core.OnReopenTimer();
  EXPECT_EQ(fake.opens, opens);  // the fake fails the test on a second open
  EXPECT_TRUE(fake.requests.empty());
  EXPECT_EQ(host.calls.back(), "stop 100");
}

TEST_F(TaskCoreTest, RemovalClosesAndTellsTheRegisteredWindow) {
  fake.block = SignedBlock();
  Remove(kKeyboard);  // closed and no window: nothing
  EXPECT_TRUE(host.calls.empty());

  Arrive(kKeyboard);
  core.SetConfigWnd(1);
  core.SetConfigWnd(0x1234);  // the second registration replaces the first
  Remove(kKeyboard);
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_EQ(host.calls, (Calls{"post 4660 16 0 0"}));
  Remove(kKeyboard);  // closed already: still tells the window
  EXPECT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(core.m_hConfigWnd, 0x1234u);
}

TEST_F(TaskCoreTest, ResetSendsFactoryBlockThenClearsThenBlanks) {
  fake.block = SignedBlock();
  ASSERT_TRUE(Create());
  core.m_combSlots[4] = {1, {1, 2, 3, 4, 5, 6, 7, 8}, 5};
  const DeviceKeyBlock before = core.m_keyBlock;
  fake.requests.clear();
  core.ResetDevice();

  Codes expected{IOCTL_KVKBD_WRITE_KEYS};
  expected.insert(expected.end(), 8, IOCTL_KVKBD_WRITE_COMB);
  expected.insert(expected.end(), 11, IOCTL_KVKBD_WRITE_MACRO);
  ASSERT_EQ(fake.Codes(), expected);
  EXPECT_EQ(fake.requests[0].input,
            std::vector<std::uint8_t>(core.m_defKeyBlock.begin(), core.m_defKeyBlock.end()));
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(fake.requests[1 + i].input, (std::vector<std::uint8_t>{std::uint8_t(i + 1), 0, 0, 0, 0, 0, 0, 0, 0}));
  }
  for (int i = 0; i < 11; ++i) {
    std::vector<std::uint8_t> blank(193, 0);
    blank[0] = std::uint8_t(i + 1);
    EXPECT_EQ(fake.requests[9 + i].input, blank);
  }
  EXPECT_EQ(core.m_combSlots, CombSlotTable{});
  EXPECT_EQ(core.m_keyBlock, before);
}

TEST_F(TaskCoreTest, RateSendsOnlyKnownCodes) {
  ASSERT_TRUE(Create());
  fake.requests.clear();
  for (std::uintptr_t w : {std::uintptr_t{0x0101}, std::uintptr_t{4}, std::uintptr_t{2},
                           std::uintptr_t{8}, std::uintptr_t{0}})
    core.SetRate(w);
  ASSERT_EQ(fake.requests.size(), 3u);
  EXPECT_EQ(fake.requests[0].input, (std::vector<std::uint8_t>{1}));
  EXPECT_EQ(fake.requests[1].input, (std::vector<std::uint8_t>{2}));
  EXPECT_EQ(fake.requests[2].input, (std::vector<std::uint8_t>{8}));
}

TEST_F(TaskCoreTest, DestroyTellsWindowClosesAndStopsTimers) {
  ASSERT_TRUE(Create());
  core.SetConfigWnd(9);
  core.OnDestroy();
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_EQ(host.calls, (Calls{"post 9 16 0 0", "stop 100", "stop 101"}));
}

}  // namespace
}  // namespace z4
