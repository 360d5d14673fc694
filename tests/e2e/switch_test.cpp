// Automatic profile switching as a user meets it: a program bound to a profile comes to the
// front, and the agent selects that profile, loads its tables and writes them to the keyboard.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/task_messages.h"
#include "fixture/agent_process.h"
#include "control/emu_keyboard.h"
#include "fixture/wine_path.h"
#include "settings/profiles.h"
#include "settings/settings_image.h"
#include "support/bytes.h"
#include "support/e2e_support.h"

namespace z4::e2e {
using namespace emu;
namespace {

namespace fs = std::filesystem;
using CodeList = std::vector<std::uint32_t>;
using Bytes = std::vector<std::uint8_t>;

constexpr wchar_t kStoreKey[] = L"Software\\Korvu\\Z4";

void CleanStore() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey); }

Bytes StoredValue(const wchar_t* name) {
  DWORD size = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, kStoreKey, name, RRF_RT_REG_BINARY, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
    return {};
  Bytes value(size);
  ::RegGetValueW(HKEY_CURRENT_USER, kStoreKey, name, RRF_RT_REG_BINARY, nullptr, value.data(),
                 &size);
  return value;
}

std::int32_t StoredSelection() {
  const Bytes v = StoredValue(L"ProSettingSel");
  return v.size() == 4 ? LoadI32(v.data()) : -1;
}

void StoreSelection(std::int32_t profile) {
  std::uint8_t v[4];
  StoreI32(v, profile);
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, L"ProSettingSel", REG_BINARY, v, sizeof v);
}

// A copy of the foreground program under a chosen file name, running with its window in front.
class ForegroundProgram {
 public:
  ForegroundProgram(const fs::path& exe, const std::wstring& title) {
    fs::create_directories(exe.parent_path());
    fs::copy_file(fs::path(WindowsPath(Z4_FOREGROUND_EXE)), exe, fs::copy_options::overwrite_existing);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe.wstring() + L"\" " + title;
    if (!::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi_))
      return;
    WaitFor([&] { return (window_ = ::FindWindowW(L"z4.Foreground", title.c_str())); }, 5000);
    BringToFront();
  }
  ~ForegroundProgram() {
    if (window_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (pi_.hProcess && ::WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0)
      ::TerminateProcess(pi_.hProcess, 1);
    if (pi_.hProcess) ::CloseHandle(pi_.hProcess);
    if (pi_.hThread) ::CloseHandle(pi_.hThread);
  }
  ForegroundProgram(const ForegroundProgram&) = delete;
  ForegroundProgram& operator=(const ForegroundProgram&) = delete;

  // Asks the program to take the foreground and waits until it has it.
  bool BringToFront() {
    if (!window_) return false;
    ::PostMessageW(window_, WM_APP, 0, 0);
    return WaitFor([&] { return ::GetForegroundWindow() == window_; }, 3000);
  }
  bool InFront() const { return window_ && ::GetForegroundWindow() == window_; }

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

// The tables of a profile file, each with its own marks so that tables can be told apart.
struct ProfileTables {
  KeySettingImage keys{};
  MacroSettingImage macros{};
  CombSettingImage combs{};
};

class Switching : public ::testing::Test {
 protected:
  void SetUp() override {
    CleanStore();
    kbd.Reset();
    agent.Start();  // the first run creates the store and the seven default profiles
    agent.Send(WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(config.hwnd()));
    const Bytes keys = StoredValue(L"KeySetting");
    ASSERT_EQ(keys.size(), kKeySettingSize);
    std::copy(keys.begin(), keys.end(), defaultKeys.begin());
    ASSERT_EQ(StoredSelection(), 0);
  }
  void TearDown() override {
    agent.Kill();
    CleanStore();
  }

  fs::path Folder() const { return fs::path(agent.Folder()); }

  // Tables marked with mark: the default key table with key record 0 made a mouse button, and
  // one unused macro and combination record filled.
  ProfileTables MarkedTables(std::uint8_t mark) const {
    ProfileTables t;
    t.keys = defaultKeys;
    KeySettingEntry(t.keys, 0).SetAction(kActionMouseButton, mark % 5 + 1);
    std::fill_n(t.macros.begin() + 50 * kMacroRecordSize, 16, mark);
    std::fill_n(t.combs.begin() + 50 * kCombRecordSize, 16, mark);
    return t;
  }

  // Writes profile i's default file bound to program, with tables, and lets the agent read the
  // bindings (a silent apply ends with the refresh).
  void Bind(std::size_t profile, const std::u16string& program, const ProfileTables& t) {
    Bytes file(kProfileFileSize, 0);
    for (std::size_t k = 0; k < program.size(); ++k)
      StoreU16(&file[kProfileProgramOffset + 2 * k], program[k]);
    StoreU32(&file[kProfileBindingOffset], 1);
    std::copy(t.combs.begin(), t.combs.end(), file.begin() + kProfileCombOffset);
    std::copy(t.macros.begin(), t.macros.end(), file.begin() + kProfileMacroOffset);
    std::copy(t.keys.begin(), t.keys.end(), file.begin() + kProfileKeyOffset);
    const fs::path path =
        Folder() / "Profile" / ("Profile " + std::to_string(profile + 1) + ".pro");
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  void ReadBindings() { agent.Send(WM_APPLY_SETTINGS, 0, 1); }

  bool WaitForSelection(std::int32_t profile, DWORD ms = 1000) {
    return WaitFor([&] { return StoredSelection() == profile; }, ms);
  }

  std::vector<LPARAM> ProfileNotices() const {
    std::vector<LPARAM> out;
    for (const auto& m : config.Received(WM_PROFILE_CHANGED)) out.push_back(m.lParam);
    return out;
  }

  static constexpr std::int32_t kActionMouseButton = 3;

  EmuKeyboard kbd;
  AgentProcess agent{Z4_AGENT_EXE, Z4_AGENT_DATA_DIR};
  RecordingWindow config;
  KeySettingImage defaultKeys{};
};

TEST_F(Switching, BoundProgramSelectsItsProfileAndUnboundOnesChangeNothing) {
  const ProfileTables tables = MarkedTables(0x33);
  Bind(3, u"C:\\Games\\race.exe", tables);
  ReadBindings();
  const KeyBlockBytes before = kbd.GetKeyBlock();
  kbd.ClearLog();

  ForegroundProgram race(Folder() / "games" / "RACE.EXE", L"race");
  ASSERT_TRUE(race.InFront());
  ASSERT_TRUE(WaitForSelection(3)) << "profile 3 not selected within a second";
  Pump(300);  // the apply runs inside the tick
  EXPECT_EQ(StoredValue(L"KeySetting"), Bytes(tables.keys.begin(), tables.keys.end()));
  EXPECT_EQ(StoredValue(L"MacroSetting"), Bytes(tables.macros.begin(), tables.macros.end()));
  EXPECT_EQ(StoredValue(L"CombSetting"), Bytes(tables.combs.begin(), tables.combs.end()));
  EXPECT_EQ(ProfileNotices(), std::vector<LPARAM>{3});
  EXPECT_EQ(Codes(kbd.ReadLog()), Repeat(IOCTL_KVKBD_WRITE_COMB, 8) +
                                      Repeat(IOCTL_KVKBD_WRITE_MACRO, 11) +
                                      CodeList{IOCTL_KVKBD_WRITE_KEYS});
  EXPECT_NE(kbd.GetKeyBlock(), before) << "the profile's key table reached the keyboard";
  EXPECT_FALSE(::FindWindowW(nullptr, L"Z4_Progressbar")) << "a silent apply shows no window";

  kbd.ClearLog();
  {
    ForegroundProgram other(Folder() / "tools" / "EDITOR.EXE", L"editor");
    ASSERT_TRUE(other.InFront());
    Pump(1200);
    EXPECT_EQ(StoredSelection(), 3) << "an unbound program keeps the profile";
    ASSERT_TRUE(race.BringToFront());
    Pump(1200);
  }
  EXPECT_EQ(StoredSelection(), 3);
  EXPECT_TRUE(kbd.ReadLog().empty()) << "coming back does nothing";
  EXPECT_EQ(ProfileNotices(), std::vector<LPARAM>{3});
}

TEST_F(Switching, TwoProfilesBoundToOneProgramSelectTheLowerNumbered) {
  Bind(5, u"D:\\x\\Race.exe", MarkedTables(0x55));
  Bind(2, u"C:\\Games\\race.exe", MarkedTables(0x22));
  ReadBindings();
  ForegroundProgram race(Folder() / "games" / "RACE.EXE", L"race");
  ASSERT_TRUE(WaitForSelection(2));
  Pump(1200);
  EXPECT_EQ(StoredSelection(), 2);
  EXPECT_EQ(ProfileNotices(), std::vector<LPARAM>{2});
  const ProfileTables expected = MarkedTables(0x22);
  EXPECT_EQ(StoredValue(L"CombSetting"), Bytes(expected.combs.begin(), expected.combs.end()));
}

TEST_F(Switching, ChoiceMadeInTheConfigurationProgramIsSwitchedBackOnTheNextTick) {
  Bind(3, u"C:\\Games\\race.exe", MarkedTables(0x33));
  ReadBindings();
  ForegroundProgram race(Folder() / "games" / "RACE.EXE", L"race");
  ASSERT_TRUE(WaitForSelection(3));

  StoreSelection(5);
  agent.Send(WM_APPLY_SETTINGS, 0, 1);  // the configuration program applies its choice
  ASSERT_TRUE(WaitForSelection(3)) << "not switched back";
  Pump(300);
  EXPECT_EQ(ProfileNotices(), (std::vector<LPARAM>{3, 3}));
}

}  // namespace
}  // namespace z4::e2e
