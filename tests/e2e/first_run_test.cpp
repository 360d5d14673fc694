// The agent's first run in a fresh folder and user creates its settings and profiles with the
// real registry and initialisation-file functions; a second run reuses them untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "fixture/agent_process.h"
#include "control/emu_keyboard.h"
#include "settings/settings_image.h"
#include "support/settings_access.h"

namespace z4::e2e {
using namespace emu;
namespace {

namespace fs = std::filesystem;

struct Snapshot {
  std::map<std::wstring, RegistryValue> values;
  std::map<fs::path, fs::file_time_type> files;
};

const wchar_t* const kValueNames[] = {L"KeySetting", L"MacroSetting", L"CombSetting",
                                      L"RateSetting", L"ProSettingSel"};

Snapshot Take(const fs::path& folder) {
  Snapshot s;
  for (const wchar_t* name : kValueNames)
    if (auto v = ReadSetting(name)) s.values[name] = *v;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) s.files[entry.path()] = entry.last_write_time();
  return s;
}

TEST(FirstRun, CreatesFiveBinaryValuesSevenProfilesAndTheIndexThenReusesThem) {
  EmuKeyboard kbd;
  kbd.Reset();
  DeleteSettingsKey();
  AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
  agent.Start();
  ASSERT_EQ(agent.Close(), 0u);

  const std::pair<const wchar_t*, std::size_t> sizes[] = {
      {L"KeySetting", kKeySettingSize}, {L"MacroSetting", kMacroSettingSize},
      {L"CombSetting", kCombSettingSize}, {L"RateSetting", 4}, {L"ProSettingSel", 4}};
  for (const auto& [name, size] : sizes) {
    const auto v = ReadSetting(name);
    ASSERT_TRUE(v) << name;
    EXPECT_EQ(v->type, static_cast<DWORD>(REG_BINARY)) << name;
    EXPECT_EQ(v->bytes.size(), size) << name;
  }
  EXPECT_EQ(LoadI32(ReadSetting(L"RateSetting")->bytes.data()), 8);
  EXPECT_EQ(LoadI32(ReadSetting(L"ProSettingSel")->bytes.data()), 0);
  // Default assignments follow ButtonPos.xml: Esc, F1, ... each with action type 1.
  KeySettingImage keys{};
  const auto stored = ReadSetting(L"KeySetting")->bytes;
  std::copy(stored.begin(), stored.end(), keys.begin());
  EXPECT_EQ(KeySettingEntry(keys, 0).keyCode(), 0x1B);
  EXPECT_EQ(KeySettingEntry(keys, 1).keyCode(), 0x70);
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    EXPECT_EQ(KeySettingEntry(keys, i).actionType(), 1) << i;
  }

  const fs::path folder(agent.Folder());
  const fs::path index = folder / "Profile.ini";
  ASSERT_TRUE(fs::exists(index));
  for (int i = 1; i <= 7; ++i) {
    const std::wstring name = L"Profile " + std::to_wstring(i) + L".pro";
    const fs::path file = folder / "Profile" / name;
    ASSERT_TRUE(fs::exists(file)) << i;
    EXPECT_EQ(fs::file_size(file), 185476u);
    wchar_t listed[MAX_PATH] = {};
    const std::wstring key = L"Profile" + std::to_wstring(i);
    ::GetPrivateProfileStringW(L"Profiles", key.c_str(), L"", listed, MAX_PATH, index.c_str());
    EXPECT_EQ(fs::path(listed), file) << i;
  }

  // A second run reuses what the first made and changes nothing.
  const Snapshot before = Take(folder);
  agent.Start();
  ASSERT_EQ(agent.Close(), 0u);
  const Snapshot after = Take(folder);
  EXPECT_EQ(after.files, before.files);
  ASSERT_EQ(after.values.size(), 5u);
  for (const auto& [name, value] : before.values) {
    EXPECT_EQ(after.values.at(name).bytes, value.bytes);
    EXPECT_EQ(after.values.at(name).type, value.type);
  }
  DeleteSettingsKey();
}

}  // namespace
}  // namespace z4::e2e
