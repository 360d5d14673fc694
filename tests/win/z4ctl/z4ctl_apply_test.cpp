// z4ctl apply against the running agent: the sample settings imported, then applied, and the
// requests that reached the emulated keyboard, in order.
#include <gtest/gtest.h>

#include "device/key_block.h"
#include "fixture/agent_process.h"
#include "control/emu_keyboard.h"
#include "support/e2e_support.h"
#include "z4ctl_process.h"

namespace z4::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Z4ctlApply : public ::testing::Test {
 protected:
  void SetUp() override {
    kbd.Reset();
    agent.Start();
    const Z4ctlResult r = RunZ4ctl({"import", Z4_DEMO_FILE});
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    kbd.ClearLog();
  }
  SavedSettingsKey saved;
  emu::EmuKeyboard kbd;
  e2e::AgentProcess agent{Z4_AGENT_EXE, Z4_AGENT_DATA_DIR};
};

Bytes Request(std::uint8_t slot, Bytes payload, std::size_t size) {
  payload.insert(payload.begin(), slot);
  payload.resize(size);
  return payload;
}

// What demo.z4 makes of the factory block, entry by entry (index, entry).
const std::pair<std::size_t, KeyEntry> kDemoEntries[] = {
    {22, {0x53, 0, 1, 0xC0}},     // F1: macro slot 1
    {30, {0x23, 0, 1, 8}},        // F2: system desktop, the first combination
    {86, {0x23, 0, 2, 8}},        // F9 and F10 share the slot of "copy"
    {87, {0x23, 0, 2, 8}},
    {83, {0x23, 0, 3, 8}},        // F11: task-manager
    {85, {0x23, 0, 4, 8}},        // F12: edit paste
    {7, {0x04, 0, 0x00, 0xB6}},   // F5: previous
    {51, {0x04, 0, 0x00, 0xCD}},  // F6: play-pause
    {57, {0x04, 0, 0x00, 0xB5}},  // F7: next
    {62, {0x04, 0, 0x00, 0xE2}},  // F8: mute
    {72, {0x04, 0, 0x01, 0x92}},  // ScrLk: calculator
    {17, {0x00, 0xE0, 0, 0}},     // Caps: Left Control
    {61, {0x00, 0xE7, 0, 0}},     // Menu: Right GUI
    {0, {0x02, 0, 1, 1}},         // Pause: double click
};

// The agent's apply: 8 combination clears, 11 macro blanks, then the translation's requests
// (the macro of F1 and the four distinct combinations, each new one after clearing the free
// slots), then the key block.
void ExpectDemoApplied(const std::vector<emu::LoggedRequest>& log) {
  ASSERT_GE(log.size(), 20u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(log[i].code, IOCTL_KVKBD_WRITE_COMB) << i;
    EXPECT_EQ(log[i].input, Request(static_cast<std::uint8_t>(i + 1), {}, 9)) << i;
  }
  for (std::size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(log[8 + i].code, IOCTL_KVKBD_WRITE_MACRO) << i;
    EXPECT_EQ(log[8 + i].input, Request(static_cast<std::uint8_t>(i + 1), {}, 193)) << i;
  }
  std::vector<Bytes> macros, combinations;
  for (std::size_t i = 19; i + 1 < log.size(); ++i) {
    if (log[i].code == IOCTL_KVKBD_WRITE_MACRO) macros.push_back(log[i].input);
    else if (log[i].code == IOCTL_KVKBD_WRITE_COMB && log[i].input != Request(log[i].input[0], {}, 9))
      combinations.push_back(log[i].input);
    else
      EXPECT_EQ(log[i].code, IOCTL_KVKBD_WRITE_COMB) << i;
  }
  EXPECT_EQ(macros, (std::vector<Bytes>{Request(1, {0x00, 0x02, 0x00, 0x0A, 0x81, 0x0A, 0x01, 0x0A, 0x81, 0x0A,
                                                    0x02, 0x28, 0x81, 0x28}, 193)}));
  EXPECT_EQ(combinations, (std::vector<Bytes>{Request(1, {0, 0xE3, 0, 0x07}, 9), Request(2, {0, 0xE0, 0, 0x06}, 9),
                                              Request(3, {0, 0xE0, 0, 0xE1, 0, 0x29}, 9),
                                              Request(4, {0, 0xE0, 0, 0x19}, 9)}));
  ASSERT_EQ(log.back().code, IOCTL_KVKBD_WRITE_KEYS);
  DeviceKeyBlock expected{};
  KeyPosMap map;
  BuildFactoryKeyBlock(expected, map);
  for (const auto& [index, entry] : kDemoEntries) SetKeyEntry(expected, index, entry);
  EXPECT_EQ(log.back().input, Bytes(expected.begin(), expected.end()));
}

TEST_F(Z4ctlApply, SilentApplySendsTheImportedSettings) {
  const Z4ctlResult r = RunZ4ctl({"apply", "--silent"});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  ExpectDemoApplied(kbd.ReadLog());
}

TEST_F(Z4ctlApply, ApplyWithProgressWaitsForTheWholeSequence) {
  const DWORD start = GetTickCount();
  const Z4ctlResult r = RunZ4ctl({"apply"});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_GE(GetTickCount() - start, 5000u);
  ExpectDemoApplied(kbd.ReadLog());
}

}  // namespace
}  // namespace z4::test
