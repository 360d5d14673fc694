// The end-to-end fixture's agent process and device broadcasts, against the stand-in agent.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "fixture/agent_process.h"
#include "fixture/device_broadcast.h"
#include "control/emu_keyboard.h"
#include "standin_protocol.h"

namespace z4::e2e {
using namespace emu;
namespace {

namespace fs = std::filesystem;


// Wine completes the driver's close of a killed process's handles shortly after the kill.
std::uint32_t OpenHandlesAfterSettling(const EmuKeyboard& kbd) {
  for (int i = 0; i < 40 && kbd.OpenHandleCount() != 0; ++i) Sleep(50);
  return kbd.OpenHandleCount();
}

TEST(AgentProcessTest, StagesTheExecutableAndTheDataFilesThatExist) {
  fs::path folder;
  {
    AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
    folder = agent.Folder();
    EXPECT_TRUE(fs::exists(agent.ExePath()));
    EXPECT_EQ(fs::path(agent.ExePath()).parent_path(), folder);
    EXPECT_TRUE(fs::exists(folder / L"language.xml"));
    EXPECT_TRUE(fs::exists(folder / L"skins" / L"Restore_Normal.bmp"));
    EXPECT_FALSE(fs::exists(folder / L"ButtonPos.xml")) << "the stand-in data has none";
  }
  EXPECT_FALSE(fs::exists(folder)) << "removed with the object";
}

TEST(AgentProcessTest, StartFindsTheTaskWindowAndCloseReturnsTheExitCode) {
  AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
  const HWND hwnd = agent.Start();
  ASSERT_NE(hwnd, nullptr);
  wchar_t title[32] = {};
  GetWindowTextW(hwnd, title, 32);
  EXPECT_STREQ(title, L"KorvuZ4_Setting");
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(agent.Send(standin::kAdd, 2, 40), 42);
  EXPECT_TRUE(agent.Post(standin::kAdd, 1, 1));
  EXPECT_GT(agent.HandleCount(), 0u);
  EXPECT_TRUE(agent.Running());

  EXPECT_THROW(agent.Start(), std::runtime_error) << "already running";

  EXPECT_EQ(agent.Close(), 0u);
  EXPECT_FALSE(agent.Running());
  EXPECT_EQ(FindTaskWindow(agent.ProcessId()), nullptr);

  const HWND again = agent.Start();
  EXPECT_NE(again, nullptr) << "runs again in the same folder";
  EXPECT_EQ(agent.Send(standin::kAdd, 1, 2), 3);
  EXPECT_EQ(agent.Close(), 0u);
}

TEST(AgentProcessTest, StartFailsWhenTheProgramEndsWithoutItsWindow) {
  AgentProcess quick(Z4_QUICK_EXIT_EXE, Z4_AGENT_DATA_DIR);
  EXPECT_THROW(quick.Start(), std::runtime_error);
}

TEST(AgentProcessTest, DeviceBroadcastsReachAnotherProcessWhole) {
  AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
  const HWND hwnd = agent.Start();
  EXPECT_EQ(static_cast<std::uint32_t>(SendDeviceArrival(hwnd)),
            standin::BroadcastAnswer(kDeviceArrival, kKeyboardInterfacePath));
  EXPECT_EQ(static_cast<std::uint32_t>(SendDeviceRemoval(hwnd)),
            standin::BroadcastAnswer(kDeviceRemoveComplete, kKeyboardInterfacePath));
  EXPECT_EQ(static_cast<std::uint32_t>(SendDeviceArrival(hwnd, kOtherInterfacePath)),
            standin::BroadcastAnswer(kDeviceArrival, kOtherInterfacePath));
  EXPECT_EQ(agent.Close(), 0u);
}

TEST(AgentProcessTest, DestructionKillsTheProcessAndReleasesItsDriverHandle) {
  EmuKeyboard kbd;
  kbd.Reset();
  ASSERT_EQ(kbd.OpenHandleCount(), 0u);
  {
    AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
    agent.Start();
    const DWORD handlesBefore = agent.HandleCount();
    ASSERT_EQ(agent.Send(standin::kOpenDriver), 1);
    EXPECT_EQ(kbd.OpenHandleCount(), 1u);
    EXPECT_EQ(agent.HandleCount(), handlesBefore + 1);
  }
  EXPECT_EQ(OpenHandlesAfterSettling(kbd), 0u);
}

}  // namespace
}  // namespace z4::e2e
