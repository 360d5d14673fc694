// The apply sequence as the configuration program drives it: the requests that reach the
// keyboard, the progress window, the combination warning and a request nested inside it.
#include <gtest/gtest.h>

#include <future>

#include "app/task_messages.h"
#include "device/key_block.h"
#include "fixture/agent_process.h"
#include "fixture/device_broadcast.h"
#include "control/emu_keyboard.h"
#include "support/e2e_support.h"
#include "support/settings_access.h"

namespace z4::e2e {
using namespace emu;
namespace {

using CodeList = std::vector<std::uint32_t>;


// Device entries of the first layout keys of data/ButtonPos.xml: Esc, F1, F2, ...
constexpr std::uint8_t kLayoutCodes[] = {0x1B, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78};
std::size_t EntryOf(std::uint8_t keyCode) {
  DeviceKeyBlock b{};
  KeyPosMap map;
  BuildFactoryKeyBlock(b, map);
  return static_cast<std::size_t>(map.FindEntryForUsage(KeyCodeToUsage(keyCode)));
}

const CodeList kSlotClears = Repeat(IOCTL_KVKBD_WRITE_COMB, 8) + Repeat(IOCTL_KVKBD_WRITE_MACRO, 11);

class Apply : public ::testing::Test {
 protected:
  void SetUp() override {
    kbd.Reset();
    DeleteSettingsKey();
    HWND w = agent.Start();
    agent.Send(WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(config.hwnd()));
    (void)w;
    image.keySetting = Stored<kKeySettingSize>(L"KeySetting");
    kbd.ClearLog();
  }
  void TearDown() override {
    agent.Close();
    DeleteSettingsKey();
  }

  template <std::size_t N>
  static ByteImage<N> Stored(const wchar_t* name) {
    ByteImage<N> out{};
    const auto v = ReadSetting(name);
    if (v) std::copy_n(v->bytes.begin(), std::min(N, v->bytes.size()), out.begin());
    return out;
  }

  // Record i (whose key is kLayoutCodes[i]) gets an action.
  void Assign(std::size_t i, std::int32_t action, std::int32_t param) {
    KeySettingEntry(image.keySetting, i).SetAction(action, param);
  }

  // Nine keys with nine distinct combinations (Left Control + 1..9).
  void NineCombinations() {
    for (std::size_t i = 0; i < 9; ++i) {
      SetCombination(image.combSetting, i, {0xA2, static_cast<std::uint8_t>(0x31 + i)});
      Assign(i, 8, static_cast<std::int32_t>(i));
    }
  }

  // SendMessage from another thread, as a configuration program waiting for the apply.
  std::future<LRESULT> ApplyAsync(LPARAM lParam) {
    HWND w = agent.Window();
    return std::async(std::launch::async, [w, lParam] {
      DWORD_PTR result = 0;
      ::SendMessageTimeoutW(w, WM_APPLY_SETTINGS, 0, lParam, SMTO_NORMAL, 120000, &result);
      return static_cast<LRESULT>(result);
    });
  }

  // Waits for a shown top-level window with this title; null after timeoutMs.
  static HWND WaitForWindow(const wchar_t* title, int timeoutMs = 5000) {
    HWND found = nullptr;
    WaitFor([&] {
      found = ::FindWindowW(nullptr, title);
      return found && ::IsWindowVisible(found);
    }, timeoutMs);
    return found && ::IsWindowVisible(found) ? found : nullptr;
  }

  static void ClickOk(HWND dialog) {
    RECT r{};
    ::GetWindowRect(dialog, &r);
    // The OK button of the warning dialog's layout, 194..271 x 174..201 inside the skin.
    test::MoveMouse(r.left + 232, r.top + 187);
    test::Pump(100);
    test::MouseButton(true);
    test::Pump(50);
    test::MouseButton(false);
  }

  EmuKeyboard kbd;
  AgentProcess agent{Z4_AGENT_EXE, Z4_AGENT_DATA_DIR};
  RecordingWindow config;
  SettingsImage image;
};

TEST_F(Apply, SilentApplySendsClearsBlanksTranslationAndKeyBlockOnly) {
  SetMacro(image.macroSetting, 0, 2, {{0x41, true, 100}, {0x42, false, 6400}});
  SetMacroCount(image.macroSetting, 1);
  SetCombination(image.combSetting, 0, {0xA2, 0x43});
  Assign(0, 4, 0);   // Esc plays macro 0
  Assign(1, 8, 0);   // F1 presses Left Control + c
  Assign(2, 9, 0x41);  // F2 types a
  WriteTables(image);

  EXPECT_EQ(agent.Send(WM_APPLY_SETTINGS, 0, kSilentApply), 1);
  const auto log = kbd.ReadLog();
  EXPECT_EQ(Codes(log), kSlotClears + CodeList{IOCTL_KVKBD_WRITE_MACRO} +
                            Repeat(IOCTL_KVKBD_WRITE_COMB, 9) + CodeList{IOCTL_KVKBD_WRITE_KEYS});
  const auto block = kbd.GetKeyBlock();
  EXPECT_EQ(GetKeyEntry(block, EntryOf(0x1B)), (KeyEntry{0x53, 0, 1, 0xC0}));
  EXPECT_EQ(GetKeyEntry(block, EntryOf(0x70)), (KeyEntry{0x23, 0, 1, 8}));
  EXPECT_EQ(GetKeyEntry(block, EntryOf(0x71)), (KeyEntry{0x00, 0x04, 0, 0}));
  const auto macro = kbd.GetMacroSlot(1);
  EXPECT_EQ(std::vector<std::uint8_t>(macro.begin(), macro.begin() + 6),
            (std::vector<std::uint8_t>{0x00, 0x02, 0x82, 0x04, 0x80, 0x05}));
  EXPECT_EQ(kbd.GetCombSlot(1), (CombSlotBytes{0, 0xE0, 0, 0x06, 0, 0, 0, 0}));
}

TEST_F(Apply, ApplyWithProgressShowsTheWindowForFiveSecondsThenClosesIt) {
  const ULONGLONG start = ::GetTickCount64();
  auto result = ApplyAsync(0);
  HWND progress = WaitForWindow(L"Z4_Progressbar");
  ASSERT_NE(progress, nullptr);
  test::Pump(300);
  test::SaveScreenshot(test::CaptureWindow(progress), "apply_progress_10");
  // 100 is shown for the last second of the five.
  WaitFor([&] { return ::GetTickCount64() - start > 4400; }, 6000);
  if (::IsWindow(progress)) test::SaveScreenshot(test::CaptureWindow(progress), "apply_progress_100");
  EXPECT_EQ(result.get(), 1);
  EXPECT_GE(::GetTickCount64() - start, 5000u);
  EXPECT_FALSE(::IsWindow(progress));
  EXPECT_EQ(Codes(kbd.ReadLog()), kSlotClears + CodeList{IOCTL_KVKBD_WRITE_KEYS});
}

TEST_F(Apply, UnpluggedKeyboardGetsNothingAndTheApplyStillAnswers) {
  kbd.Unplug();
  SendDeviceRemoval(agent.Window());  // the agent closes its handle
  kbd.ClearLog();
  EXPECT_EQ(agent.Send(WM_APPLY_SETTINGS, 0, kSilentApply), 1);
  EXPECT_TRUE(kbd.ReadLog().empty());
  kbd.Plug();
}

TEST_F(Apply, NinthCombinationWarnsKeepsEarlierKeysAndResetsThatKey) {
  NineCombinations();
  WriteTables(image);
  auto result = ApplyAsync(0);
  HWND warning = WaitForWindow(L"CCombWarnDlg");
  ASSERT_NE(warning, nullptr);
  EXPECT_NE(WaitForWindow(L"Z4_Progressbar", 100), nullptr);
  EXPECT_EQ(Codes(kbd.ReadLog()).back(), IOCTL_KVKBD_WRITE_COMB);  // no key block yet
  test::Pump(300);  // the agent paints its buttons after the dialog itself
  RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  test::SaveScreenshot(test::CaptureScreen(screen), "apply_warning");

  ClickOk(warning);
  EXPECT_EQ(result.get(), 1);
  const auto block = kbd.GetKeyBlock();
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(GetKeyEntry(block, EntryOf(kLayoutCodes[i])),
              (KeyEntry{0x23, 0, static_cast<std::uint8_t>(i + 1), 8})) << i;
  }
  EXPECT_EQ(GetKeyEntry(block, EntryOf(kLayoutCodes[8])).kind, kKindPlain);
  ASSERT_TRUE(WaitFor([&] { return !config.Received(WM_KEY_RESET).empty(); }));
  const auto reset = config.Received(WM_KEY_RESET);
  ASSERT_EQ(reset.size(), 1u);
  EXPECT_EQ(reset[0].lParam, kLayoutCodes[8]);
  EXPECT_EQ(reinterpret_cast<HWND>(reset[0].wParam), agent.Window());
}

TEST_F(Apply, RequestNestedInTheWarningRunsAndLeavesTheOuterProgressWindow) {
  NineCombinations();
  WriteTables(image);
  auto outer = ApplyAsync(0);
  HWND warning = WaitForWindow(L"CCombWarnDlg");
  ASSERT_NE(warning, nullptr);
  HWND progress = ::FindWindowW(nullptr, L"Z4_Progressbar");
  ASSERT_NE(progress, nullptr);

  // Meanwhile the configuration program stores one combination and asks again.
  SettingsImage one = image;
  for (std::size_t i = 1; i < 9; ++i) KeySettingEntry(one.keySetting, i).SetAction(1, 0);
  WriteTables(one);
  kbd.ClearLog();
  auto nested = ApplyAsync(0);
  ASSERT_EQ(nested.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(nested.get(), 1);
  EXPECT_EQ(Codes(kbd.ReadLog()), kSlotClears + Repeat(IOCTL_KVKBD_WRITE_COMB, 9) +
                                      CodeList{IOCTL_KVKBD_WRITE_KEYS});
  EXPECT_EQ(::FindWindowW(nullptr, L"Z4_Progressbar"), progress);  // the outer one, still there

  ClickOk(warning);
  EXPECT_EQ(outer.get(), 1);
  EXPECT_FALSE(::IsWindow(progress));
}

}  // namespace
}  // namespace z4::e2e
