// The agent's task window as other programs and the system see it: its title, single instance,
// what creation, device changes, rate, reset and close do to the keyboard and to a registered
// configuration window.
#include <gtest/gtest.h>

#include "app/task_messages.h"
#include "device/key_block.h"
#include "fixture/agent_process.h"
#include "fixture/device_broadcast.h"
#include "control/emu_keyboard.h"
#include "support/e2e_support.h"

namespace z4::e2e {
using namespace emu;
namespace {

using CodeList = std::vector<std::uint32_t>;


KeyBlockBytes FactoryBlock() {
  DeviceKeyBlock b{};
  KeyPosMap map;
  BuildFactoryKeyBlock(b, map);
  return b;
}

class TaskWindow : public ::testing::Test {
 protected:
  void SetUp() override { kbd.Reset(); }

  HWND StartAgent() {
    HWND w = agent.Start();
    kbd.ClearLog();
    return w;
  }

  EmuKeyboard kbd;
  AgentProcess agent{Z4_AGENT_EXE, Z4_AGENT_DATA_DIR};
};

TEST_F(TaskWindow, FoundByTitleAndSingleInstance) {
  HWND w = agent.Start();
  wchar_t title[64] = {};
  ::GetWindowTextW(w, title, 64);
  EXPECT_STREQ(title, L"KorvuZ4_Setting");
  EXPECT_FALSE(::IsWindowVisible(w));

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + agent.ExePath() + L"\"";
  ASSERT_TRUE(::CreateProcessW(agent.ExePath().c_str(), cmd.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, agent.Folder().c_str(), &si, &pi));
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD second = 99;
  ::GetExitCodeProcess(pi.hProcess, &second);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  EXPECT_EQ(second, 0u);
  EXPECT_TRUE(agent.Running());
  EXPECT_EQ(FindTaskWindow(agent.ProcessId()), w);
  EXPECT_EQ(agent.Close(), 0u);
}

TEST_F(TaskWindow, CreationReadsBlockAndNamedCombinationSlotsOnly) {
  KeyBlockBytes block = FactoryBlock();
  SetKeyEntry(block, 10, {kKindCombination, 0, 3, 8});
  SetKeyEntry(block, 11, {kKindCombination, 0, 9, 8});  // no such slot
  SetKeyEntry(block, 12, {kKindCombination, 0, 6, 8});
  kbd.SetKeyBlock(block);
  kbd.ClearLog();
  agent.Start();
  Pump(300);

  const auto log = kbd.ReadLog();
  ASSERT_EQ(Codes(log), (CodeList{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_READ_COMB, IOCTL_KVKBD_READ_COMB}));
  EXPECT_EQ(log[1].input[0], 3);
  EXPECT_EQ(log[2].input[0], 6);
  EXPECT_EQ(kbd.GetKeyBlock(), block);  // nothing written
  EXPECT_EQ(kbd.OpenHandleCount(), 1u);
}

TEST_F(TaskWindow, ArrivalWhileClosedOpensRepairsSignatureOnceAndReadsBack) {
  KeyBlockBytes block = FactoryBlock();
  block[588] = 0;
  block[589] = 0;
  SetKeyEntry(block, 20, {kKindCombination, 0, 2, 8});
  kbd.SetKeyBlock(block);
  kbd.Unplug();
  HWND w = StartAgent();
  EXPECT_EQ(kbd.OpenHandleCount(), 0u);

  kbd.Plug();
  SendDeviceArrival(w);
  const auto log = kbd.ReadLog();
  ASSERT_EQ(Codes(log), (CodeList{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_WRITE_KEYS, IOCTL_KVKBD_READ_KEYS,
                               IOCTL_KVKBD_READ_COMB}));
  KeyBlockBytes repaired = block;
  repaired[588] = 0x70;
  repaired[589] = 0xFF;
  EXPECT_EQ(log[1].input, std::vector<std::uint8_t>(repaired.begin(), repaired.end()));
  EXPECT_EQ(kbd.GetKeyBlock(), repaired);

  kbd.ClearLog();
  SendDeviceArrival(w);  // already open: nothing
  EXPECT_TRUE(kbd.ReadLog().empty());
  EXPECT_EQ(kbd.OpenHandleCount(), 1u);
}

TEST_F(TaskWindow, FailedOpenOnArrivalRetriesUntilPluggedThenStops) {
  kbd.Unplug();
  HWND w = StartAgent();
  SendDeviceArrival(w);
  Pump(500);
  EXPECT_EQ(kbd.OpenHandleCount(), 0u);

  kbd.Plug();
  ASSERT_TRUE(WaitFor([&] { return kbd.OpenHandleCount() == 1; }, 2000));
  Pump(200);
  EXPECT_EQ(Codes(kbd.ReadLog()), (CodeList{IOCTL_KVKBD_READ_KEYS, IOCTL_KVKBD_READ_KEYS}));
  const std::uint32_t granted = kbd.Handles().granted;
  Pump(500);  // the retries have stopped
  EXPECT_EQ(kbd.Handles().granted, granted);
  EXPECT_EQ(kbd.OpenHandleCount(), 1u);
}

TEST_F(TaskWindow, OtherDevicesChangeNothing) {
  RecordingWindow config;
  HWND w = StartAgent();
  agent.Send(WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(config.hwnd()));
  SendDeviceRemoval(w, kOtherInterfacePath);
  SendDeviceArrival(w, kOtherInterfacePath);
  Pump(300);
  EXPECT_TRUE(kbd.ReadLog().empty());
  EXPECT_EQ(kbd.OpenHandleCount(), 1u);
  EXPECT_TRUE(config.Received(WM_CLOSE).empty());
}

TEST_F(TaskWindow, RemovalClosesHandleAndClosesRegisteredWindow) {
  RecordingWindow first, second;
  HWND w = StartAgent();
  agent.Send(WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(first.hwnd()));
  agent.Send(WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(second.hwnd()));  // replaces the first
  kbd.Unplug();
  SendDeviceRemoval(w);
  EXPECT_TRUE(WaitFor([&] { return !second.Received(WM_CLOSE).empty(); }));
  EXPECT_TRUE(first.Received(WM_CLOSE).empty());
  EXPECT_TRUE(WaitFor([&] { return kbd.OpenHandleCount() == 0; }));
}

TEST_F(TaskWindow, RateSendsOnlyTheLowByteOfKnownCodes) {
  StartAgent();
  EXPECT_EQ(agent.Send(WM_SET_RATE, 0x0101), 0);
  EXPECT_EQ(agent.Send(WM_SET_RATE, 4), 0);
  const auto log = kbd.ReadLog();
  ASSERT_EQ(Codes(log), (CodeList{IOCTL_KVKBD_SET_RATE}));
  EXPECT_EQ(log[0].input, (std::vector<std::uint8_t>{1}));
  EXPECT_EQ(kbd.GetRate(), 1);
}

TEST_F(TaskWindow, ResetSendsFactoryBlockThenClearsCombinationsThenBlanksMacros) {
  KeyBlockBytes zeros{};
  kbd.SetKeyBlock(zeros);
  kbd.SetCombSlot(4, {0, 0xE0, 0, 0x06, 0, 0, 0, 0});
  StartAgent();
  EXPECT_EQ(agent.Send(WM_RESET_DEVICE), 0);

  const auto log = kbd.ReadLog();
  EXPECT_EQ(Codes(log), CodeList{IOCTL_KVKBD_WRITE_KEYS} + Repeat(IOCTL_KVKBD_WRITE_COMB, 8) +
                            Repeat(IOCTL_KVKBD_WRITE_MACRO, 11));
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (i > 0) {
      EXPECT_EQ(log[i].input[0], i <= 8 ? i : i - 8) << i;
    }
    EXPECT_EQ(log[i].status, kStatusSuccess) << i;
  }
  EXPECT_EQ(kbd.GetKeyBlock(), FactoryBlock());
  EXPECT_EQ(kbd.GetCombSlot(4), CombSlotBytes{});
}

TEST_F(TaskWindow, CloseEndsAgentAfterClosingItsTransientWindows) {
  RecordingWindow warning(L"CCombWarnDlg"), progress(L"Z4_Progressbar"), config;
  StartAgent();
  agent.Send(WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(config.hwnd()));
  EXPECT_EQ(agent.Close(), 0u);
  EXPECT_TRUE(WaitFor([&] {
    return !warning.Received(WM_CLOSE).empty() && !progress.Received(WM_CLOSE).empty() &&
           !config.Received(WM_CLOSE).empty();
  }));
  EXPECT_EQ(kbd.OpenHandleCount(), 0u);
}

TEST_F(TaskWindow, PlugCyclesLeakNoHandles) {
  HWND w = StartAgent();
  auto cycle = [&] {
    kbd.Unplug();
    SendDeviceRemoval(w);
    kbd.Plug();
    SendDeviceArrival(w);
  };
  cycle();
  const DWORD afterFirst = agent.HandleCount();
  for (int i = 0; i < 99; ++i) cycle();
  EXPECT_EQ(agent.HandleCount(), afterFirst);
  EXPECT_EQ(kbd.OpenHandleCount(), 1u);
}

}  // namespace
}  // namespace z4::e2e
