// The agent's tray icon as the shell and the user meet it: the icon in Wine's system tray, its
// owner-drawn menu, the exit command, and the launch refused while the keyboard is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/task_messages.h"
#include "fixture/agent_process.h"
#include "control/emu_keyboard.h"
#include "fixture/wine_path.h"
#include "support/e2e_support.h"
#include "harness/screen_harness.h"

#include <shellapi.h>

namespace z4::e2e {
using namespace emu;
namespace {

namespace fs = std::filesystem;

constexpr UINT kTrayIconId = 128;
constexpr UINT kTrayConfig = 0x6000;
constexpr wchar_t kStandInLog[] = L"z4config-standin.log";
constexpr std::uint32_t kIconColumn = 0xDBD8D1;
constexpr std::uint32_t kAgentIconRim = 0xFF8000;  // tools/art/make_icons.py

// A title longer than the tip holds (127 units).
const std::string kLongTitle = std::string(150, 'T') + std::string(150, 'U');
const std::wstring kMsg4 = L"No keyboard here.";

// True while the shell holds an icon for (window, 128): a modification that changes nothing
// succeeds only for a registered icon.
bool IconRegistered(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kTrayIconId;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// Wine shows the icons in this window when the X display has no tray of its own.
HWND WineTrayWindow() { return ::FindWindowW(L"__winex11_standalone_tray", nullptr); }

DWORD OwnerProcess(HWND w) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  return pid;
}

// A visible top-level window of process pid with this class (and title, when given), or NULL.
HWND FindProcessWindow(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr) {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, cls, title); w;
       w = ::FindWindowExW(nullptr, w, cls, title))
    if (OwnerProcess(w) == pid && ::IsWindowVisible(w)) return w;
  return nullptr;
}

struct Band {
  int top, bottom;  // screen rows [top, bottom)
};

// Rows of the popup whose pixel at column x has the icon column's colour, as runs.
std::vector<Band> IconColumnBands(const test::Image& shot, int x) {
  std::vector<Band> bands;
  for (int y = shot.top; y < shot.top + shot.height; ++y) {
    if (shot.At(x, y) != kIconColumn) continue;
    if (!bands.empty() && bands.back().bottom == y)
      ++bands.back().bottom;
    else
      bands.push_back({y, y + 1});
  }
  return bands;
}

// The first column from the left where the icon column's colour shows.
int IconColumnLeft(const test::Image& shot) {
  for (int x = shot.left; x < shot.left + shot.width; ++x)
    for (int y = shot.top; y < shot.top + shot.height; ++y)
      if (shot.At(x, y) == kIconColumn) return x;
  return -1;
}

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    kbd.Reset();
    const fs::path folder(agent.Folder());
    std::ofstream(folder / "language.xml", std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<language><config>"
        << "<str_title>" << kLongTitle << "</str_title>"
        << "<str_configuration>Setup</str_configuration><str_exit>Exit</str_exit>"
        << "<str_msg4>No keyboard here.</str_msg4><str_profile_title>Profile</str_profile_title>"
        << "</config></language>\n";
    fs::copy_file(fs::path(WindowsPath(Z4_STANDIN_EXE)), folder / "Z4_Config.exe");
    standInLog_ = folder / kStandInLog;
  }

  HWND StartAgent() {
    HWND w = agent.Start();
    EXPECT_TRUE(WaitFor([&] { return IconRegistered(w); }, 3000)) << "no tray icon";
    return w;
  }

  // The message box the agent shows for an absent keyboard: its text, then closed with OK.
  std::wstring TakeMessageBox() {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindProcessWindow(agent.ProcessId(), L"#32770", L"Z4_Setting")); },
            5000);
    if (!box) return L"(no message box)";
    wchar_t text[256] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 256);  // the box's static text
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    // Wine takes about two seconds to take the box down.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 6000)) << "message box stays";
    return text;
  }

  bool StandInStarted() const { return fs::exists(standInLog_); }

  EmuKeyboard kbd;
  AgentProcess agent{Z4_AGENT_EXE, Z4_AGENT_DATA_DIR};
  fs::path standInLog_;
};

TEST_F(Tray, IconShownMenuDrawnAndExitEndsAgentAndRemovesIcon) {
  HWND w = StartAgent();
  HWND tray = WineTrayWindow();
  ASSERT_TRUE(tray) << "Wine System Tray window";
  EXPECT_TRUE(::IsWindowVisible(tray));
  test::Image trayShot;
  EXPECT_TRUE(WaitFor([&] {
    trayShot = test::CaptureWindow(tray);
    const RECT all{trayShot.left, trayShot.top, trayShot.left + trayShot.width,
                   trayShot.top + trayShot.height};
    return test::CountColor(trayShot, all, kAgentIconRim, 40) > 10;
  }, 3000)) << "the agent's icon in the tray";
  test::SaveScreenshot(trayShot, "tray_icon");

  test::MoveMouse(400, 300);
  ASSERT_TRUE(agent.Post(WM_TRAYICON_NOTIFY, kTrayIconId, WM_RBUTTONDOWN));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = FindProcessWindow(agent.ProcessId(), L"#32768")); }));
  Pump(300);
  RECT rc{};
  ::GetWindowRect(popup, &rc);
  EXPECT_LE(std::abs(rc.left - 400), 2) << "opened at the cursor";
  EXPECT_LE(std::abs(rc.top - 300), 2) << "opened at the cursor";
  const test::Image shot = test::CaptureWindow(popup);
  test::SaveScreenshot(shot, "tray_menu_agent");

  const int column = IconColumnLeft(shot);
  ASSERT_GE(column, 0) << "no owner-drawn entry";
  const std::vector<Band> bands = IconColumnBands(shot, column + 1);
  ASSERT_EQ(bands.size(), 2u) << "two owner-drawn entries";
  for (const Band& b : bands) {
    EXPECT_EQ(b.bottom - b.top, 22);
    EXPECT_GT(test::CountColor(shot, {column + 33, b.top, shot.left + shot.width, b.bottom},
                               0x000000, 60),
              10)
        << "text";
  }
  EXPECT_GT(bands[1].top, bands[0].bottom) << "a separator between them";

  const Band& exit = bands[1];
  test::MoveMouse(column + 40, (exit.top + exit.bottom) / 2);
  test::MoveMouse(column + 41, (exit.top + exit.bottom) / 2);
  Pump(100);
  test::MouseButton(true);
  test::MouseButton(false);
  ASSERT_EQ(::WaitForSingleObject(agent.Process(), 5000), WAIT_OBJECT_0) << "agent still runs";
  DWORD code = 99;
  ::GetExitCodeProcess(agent.Process(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(IconRegistered(w)) << "icon left behind";
}

TEST_F(Tray, OnlyDoubleClickAndRightPressAct) {
  StartAgent();
  for (UINT mouse : {WM_RBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDBLCLK,
                     WM_MBUTTONDOWN})
    ASSERT_TRUE(agent.Post(WM_TRAYICON_NOTIFY, kTrayIconId, mouse));
  Pump(700);
  EXPECT_FALSE(FindProcessWindow(agent.ProcessId(), L"#32768")) << "a menu opened";
  EXPECT_FALSE(FindProcessWindow(agent.ProcessId(), L"#32770")) << "a message box opened";
  EXPECT_EQ(agent.Send(WM_NULL), 0);
  EXPECT_FALSE(StandInStarted());
}

// The double click and the menu's first command both test for the keyboard first; Wine has no
// such HID device, so both show the message and start nothing.
TEST_F(Tray, LaunchWithKeyboardAbsentShowsMessageAndStartsNothing) {
  StartAgent();
  ASSERT_TRUE(agent.Post(WM_TRAYICON_NOTIFY, kTrayIconId, WM_LBUTTONDBLCLK));
  EXPECT_EQ(TakeMessageBox(), kMsg4);
  ASSERT_TRUE(agent.Post(WM_COMMAND, kTrayConfig, 0));
  EXPECT_EQ(TakeMessageBox(), kMsg4);
  Pump(500);
  EXPECT_FALSE(StandInStarted());
  EXPECT_TRUE(agent.Running());
}

// A real double click on the icon in Wine's tray reaches the agent as its callback message.
TEST_F(Tray, DoubleClickOnTheTrayIconReachesTheAgent) {
  StartAgent();
  HWND tray = WineTrayWindow();
  ASSERT_TRUE(tray);
  // The window has a caption; the icons sit in its client area, the agent's alone in the first
  // cell, as high as the area.
  RECT rc{};
  ::GetClientRect(tray, &rc);
  POINT cell{rc.bottom / 2, rc.bottom / 2};
  ::ClientToScreen(tray, &cell);
  const int x = cell.x, y = cell.y;
  test::MoveMouse(x, y);
  test::MoveMouse(x + 1, y);
  for (int i = 0; i < 2; ++i) {
    test::MouseButton(true);
    test::MouseButton(false);
  }
  EXPECT_EQ(TakeMessageBox(), kMsg4);
  EXPECT_FALSE(StandInStarted());
}

}  // namespace
}  // namespace z4::e2e
