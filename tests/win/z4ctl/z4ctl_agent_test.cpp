// z4ctl against the running agent and the emulated keyboard: rate, reset, and watch printing
// the agent's messages and its WM_CLOSE when it ends.
#include <gtest/gtest.h>

#include "fixture/agent_process.h"
#include "control/emu_keyboard.h"
#include "support/e2e_support.h"
#include "z4ctl_process.h"

namespace z4::test {
namespace {

using emu::Codes;
using e2e::Repeat;
using e2e::operator+;
using CodeList = std::vector<std::uint32_t>;

class Z4ctlAgent : public ::testing::Test {
 protected:
  void SetUp() override {
    kbd.Reset();
    agent.Start();
    kbd.ClearLog();
  }
  SavedSettingsKey saved;  // the agent writes its defaults there at start-up
  emu::EmuKeyboard kbd;
  e2e::AgentProcess agent{Z4_AGENT_EXE, Z4_AGENT_DATA_DIR};
};

TEST_F(Z4ctlAgent, RateIsStoredAndSentToTheKeyboard) {
  const Z4ctlResult r = RunZ4ctl({"rate", "2"});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  const auto log = kbd.ReadLog();
  ASSERT_EQ(Codes(log), (CodeList{IOCTL_KVKBD_SET_RATE}));
  EXPECT_EQ(log[0].input, (std::vector<std::uint8_t>{2}));
  EXPECT_EQ(SavedSettingsKey::Get(L"RateSetting").bytes, (std::vector<std::uint8_t>{2, 0, 0, 0}));
}

TEST_F(Z4ctlAgent, ResetWritesTheFactoryBlockAndClearsTheSlots) {
  const Z4ctlResult r = RunZ4ctl({"reset"});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(Codes(kbd.ReadLog()), CodeList{IOCTL_KVKBD_WRITE_KEYS} + Repeat(IOCTL_KVKBD_WRITE_COMB, 8) +
                                      Repeat(IOCTL_KVKBD_WRITE_MACRO, 11));
}

TEST_F(Z4ctlAgent, WatchPrintsTheCloseThatEndsTheAgent) {
  Z4ctlProcess watch({"watch", "--timeout", "60"});
  ASSERT_TRUE(watch.WaitForErr("watching the agent", 20000));
  EXPECT_EQ(agent.Close(), 0u);
  const Z4ctlResult r = watch.Finish(20000);
  EXPECT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.out, "close\n");
}

TEST_F(Z4ctlAgent, WatchPrintsEachMessageOnALine) {
  Z4ctlProcess watch({"watch", "--count", "3", "--timeout", "60"});
  ASSERT_TRUE(watch.WaitForErr("watching the agent", 20000));
  // The messages the agent posts to the configuration window, posted here in its place.
  HWND w = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"z4ctl watch");
  ASSERT_NE(w, nullptr);
  ::PostMessageW(w, 0x610, 0, 2);
  ::PostMessageW(w, 0x614, reinterpret_cast<WPARAM>(agent.Window()), 0x41);
  ::PostMessageW(w, 0x614, reinterpret_cast<WPARAM>(agent.Window()), 0xE8);
  const Z4ctlResult r = watch.Finish(20000);
  EXPECT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.out, "profile-changed 2\nkey-reset 0x41 A\nkey-reset 0xE8\n");
}

TEST_F(Z4ctlAgent, WatchEndsAfterItsCount) {
  Z4ctlProcess counted({"watch", "--count", "1", "--timeout", "60"});
  ASSERT_TRUE(counted.WaitForErr("watching the agent", 20000));
  ::PostMessageW(::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"z4ctl watch"), 0x610, 0, 1);
  const Z4ctlResult r = counted.Finish(20000);
  EXPECT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.out, "profile-changed 1\n");
  EXPECT_TRUE(agent.Running());
}

TEST_F(Z4ctlAgent, WatchTimeoutIsReported) {
  const Z4ctlResult r = RunZ4ctl({"watch", "--timeout", "1"});
  EXPECT_EQ(r.exitCode, 3u);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("did not end within its timeout"), std::string::npos) << r.err;
}

TEST_F(Z4ctlAgent, WatchReportsAnAgentThatEndsWithoutItsClose) {
  Z4ctlProcess watch({"watch", "--timeout", "60"});
  ASSERT_TRUE(watch.WaitForErr("watching the agent", 20000));
  agent.Kill();
  const Z4ctlResult r = watch.Finish(20000);
  EXPECT_EQ(r.exitCode, 2u) << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace z4::test
