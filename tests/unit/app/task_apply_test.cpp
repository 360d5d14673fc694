// The apply sequence and automatic switching of the task core, over fakes.
#include <gtest/gtest.h>

#include "app/task_core.h"
#include "settings/settings_image.h"
#include "task_fixture.h"

namespace z4 {
namespace {

using Calls = std::vector<std::string>;
using Codes = std::vector<std::uint32_t>;

using test::kFolder;

Codes Repeat(std::uint32_t code, std::size_t n) { return Codes(n, code); }
Codes operator+(Codes a, const Codes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const Codes kSlotClears = Repeat(IOCTL_KVKBD_WRITE_COMB, 8) + Repeat(IOCTL_KVKBD_WRITE_MACRO, 11);

struct TaskApply : test::TaskFixture {
  void SetUp() override {
    TaskFixture::SetUp();
    RepairSignature(fake.block);
    KeyLayoutCodes codes{};
    codes[0] = 0x41;  // a
    codes[1] = 0x42;  // b
    ASSERT_TRUE(Create(codes));
    fake.requests.clear();
  }

  // Stores KeySetting with record i set to (action, param) in the registry.
  void StoreKey(std::size_t i, std::int32_t action, std::int32_t param) {
    SettingsImage image = core.m_settings;
    KeySettingEntry(image.keySetting, i).SetAction(action, param);
    registry.SetBinary(u"KeySetting", {image.keySetting.begin(), image.keySetting.end()});
  }
};

TEST_F(TaskApply, SilentApplySendsClearsBlanksTranslationAndBlockOnly) {
  StoreKey(0, 2, 9);  // a system shortcut: one combination
  EXPECT_EQ(core.OnApplySettings(kSilentApply), 1);
  // the combination's slot allocation clears the free slots again before writing it
  EXPECT_EQ(fake.Codes(), (kSlotClears + Repeat(IOCTL_KVKBD_WRITE_COMB, 8) +
                           Codes{IOCTL_KVKBD_WRITE_COMB, IOCTL_KVKBD_WRITE_KEYS}));
  EXPECT_EQ(GetKeyEntry(core.m_keyBlock, 10), (KeyEntry{kKindCombination, 0, 1, 8}));  // the a key
  EXPECT_EQ(host.calls, Calls{});
}

TEST_F(TaskApply, ApplyWithProgressStepsThroughItsMilestones) {
  for (std::intptr_t lParam : {0, 2}) {
    host.calls.clear();
    EXPECT_EQ(core.OnApplySettings(lParam), 1);
    EXPECT_EQ(host.calls, (Calls{"progress open", "progress 10", "pause 1000", "progress 40",
                                 "pause 2000", "progress 60", "pause 1000", "progress 80",
                                 "progress 100", "pause 1000", "progress close"}));
    EXPECT_EQ(core.ProgressWindow(), nullptr);
  }
}

TEST_F(TaskApply, ClosedDriverStillRunsEverythingButTheRequests) {
  driver.Close();
  fake.requests.clear();
  StoreKey(0, 4, 0);  // a macro key with no macros: reset, posted
  EXPECT_EQ(core.OnApplySettings(0), 1);
  EXPECT_TRUE(fake.requests.empty());
  EXPECT_EQ(host.Calls("post").size(), 1u);
  EXPECT_EQ(host.Calls("progress").size(), 7u);
}

TEST_F(TaskApply, NestedApplyDuringWarningRunsSilentlyAndKeepsOuterWindow) {
  for (std::size_t i = 0; i < 9; ++i) StoreKey(i, 8, static_cast<std::int32_t>(i));
  // Nine distinct combinations: records 0..8 name combination records 0..8.
  SettingsImage image = core.m_settings;
  for (std::size_t r = 0; r < 9; ++r) image.combSetting[r * 524] = static_cast<std::uint8_t>(0x41 + r);
  registry.SetBinary(u"CombSetting", {image.combSetting.begin(), image.combSetting.end()});
  // Records 2..8 need key codes that reach an entry.
  for (std::size_t i = 0; i < 9; ++i) image.keySetting[i * 12] = static_cast<std::uint8_t>(0x41 + i);
  for (std::size_t i = 0; i < 9; ++i) KeySettingEntry(image.keySetting, i).SetAction(8, static_cast<std::int32_t>(i));
  registry.SetBinary(u"KeySetting", {image.keySetting.begin(), image.keySetting.end()});

  const ApplyProgress* outer = nullptr;
  int nested = 0;
  host.onWarning = [&] {
    outer = core.ProgressWindow();
    if (nested++ == 0) core.OnApplySettings(0);  // the configuration program asks again
    EXPECT_EQ(core.ProgressWindow(), outer);
  };
  EXPECT_EQ(core.OnApplySettings(0), 1);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(host.Calls("progress open").size(), 1u);
  EXPECT_EQ(host.Calls("progress close").size(), 1u);
  EXPECT_EQ(host.Calls("warning").size(), 2u);  // the nested apply met the ninth as well
  EXPECT_EQ(host.Calls("pause").size(), 4u);    // the outer apply's pauses only
}

TEST_F(TaskApply, ProfileFileErrorClosesProgressThenReports) {
  storage.files.erase(kFolder + u"Profile\\Profile 3.pro");
  storage.unwritable.insert(kFolder + u"Profile\\Profile 3.pro");
  EXPECT_EQ(core.OnApplySettings(0), 1);
  const Calls calls = host.calls;
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "progress close");
  EXPECT_EQ(calls.back(), "file error");
  EXPECT_EQ(host.Calls("progress 100"), Calls{});
  EXPECT_EQ(core.ProgressWindow(), nullptr);
}

// Profile 3 bound to race.exe, with a key table of its own.
struct TaskSwitch : TaskApply {
  void SetUp() override {
    TaskApply::SetUp();
    Bind(3, u"C:\\Games\\race.exe");
  }
  void Bind(std::size_t profile, const std::u16string& program) {
    auto& file = storage.files[kFolder + u"Profile\\Profile " +
                               std::u16string(1, char16_t(u'1' + profile)) + u".pro"];
    file.assign(kProfileFileSize, 0);
    for (std::size_t k = 0; k < program.size(); ++k) StoreU16(&file[kProfileProgramOffset + 2 * k], program[k]);
    StoreU32(&file[kProfileBindingOffset], 1);
    file[kProfileKeyOffset] = static_cast<std::uint8_t>(0x50 + profile);  // record 0's key code
    core.OnApplySettings(kSilentApply);  // its refresh reads the bindings
    host.calls.clear();
  }
  std::int32_t StoredSelection() {
    const auto& v = registry.values[u"ProSettingSel"].bytes;
    return v.size() == 4 ? LoadI32(v.data()) : -1;
  }
};

TEST_F(TaskSwitch, BoundProgramSelectsItsProfileOnce) {
  host.foreground = u"RACE.EXE";
  core.OnAutoSwitchTick();
  EXPECT_EQ(core.m_settings.nProfileSel, 3);
  EXPECT_EQ(StoredSelection(), 3);
  EXPECT_EQ(registry.values[u"KeySetting"].bytes[0], 0x53);
  EXPECT_EQ(host.calls, (Calls{"post 0 1552 0 3", "silent apply"}));

  host.calls.clear();
  core.OnAutoSwitchTick();  // already selected
  host.foreground = u"notepad.exe";
  core.OnAutoSwitchTick();  // unbound: keeps profile 3
  host.foreground = u"UNKNOW";
  core.OnAutoSwitchTick();
  EXPECT_EQ(host.calls, Calls{});
  EXPECT_EQ(core.m_settings.nProfileSel, 3);
}

TEST_F(TaskSwitch, LowerProfileWinsAndHandChoiceIsSwitchedBack) {
  Bind(1, u"D:\\race.exe");
  host.foreground = u"race.exe";
  core.OnAutoSwitchTick();
  EXPECT_EQ(core.m_settings.nProfileSel, 1);

  // The configuration program selects profile 5 and applies: the next tick switches back.
  registry.SetBinary(u"ProSettingSel", {5, 0, 0, 0});
  core.OnApplySettings(kSilentApply);
  EXPECT_EQ(core.m_settings.nProfileSel, 5);
  core.OnAutoSwitchTick();
  EXPECT_EQ(core.m_settings.nProfileSel, 1);
}

TEST_F(TaskSwitch, UnreadableProfileFileKeepsSelectionAndStops) {
  storage.files.erase(kFolder + u"Profile\\Profile 4.pro");
  host.foreground = u"race.exe";
  core.OnAutoSwitchTick();
  EXPECT_EQ(StoredSelection(), 3);
  EXPECT_EQ(host.calls, Calls{"file error"});
  host.calls.clear();
  core.OnAutoSwitchTick();  // selected already: no second attempt
  EXPECT_EQ(host.calls, Calls{});
}

}  // namespace
}  // namespace z4
