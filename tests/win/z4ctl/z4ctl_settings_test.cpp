// z4ctl against the real registry: export and import of the five values, show, imports that
// fail and change nothing, the sample file, command line faults, and the agent not running.
#include <gtest/gtest.h>

#include "fixture/wine_path.h"
#include "resources/key_layout.h"
#include "settings/settings_image.h"
#include "xml/win32/win32_text_platform.h"
#include "z4ctl_process.h"

namespace z4::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
const wchar_t* const kValues[] = {L"KeySetting", L"MacroSetting", L"CombSetting", L"RateSetting",
                                  L"ProSettingSel"};

// Record indexes of keys in data/ButtonPos.xml.
constexpr std::size_t kEsc = 0, kF1 = 1, kF9 = 9, kF10 = 10, kCaps = 55;

Bytes Le32(std::int32_t v) {
  Bytes b(4);
  StoreI32(b.data(), v);
  return b;
}

// The key layout z4ctl reads beside itself.
KeyLayoutCodes LayoutCodes() {
  Win32TextPlatform platform;
  std::string dir = Z4CTL_EXE;
  LoadKeyLayout(platform, reinterpret_cast<const char16_t*>(
                              e2e::WindowsPath(dir.substr(0, dir.rfind('/')) + "/ButtonPos.xml").c_str()));
  KeyLayoutCodes codes{};
  for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = g_keyLayout[i].keyCode;
  return codes;
}

Bytes DefaultKeys() {
  Bytes b(kKeySettingSize);
  const KeyLayoutCodes codes = LayoutCodes();
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    b[i * 12] = codes[i];
    StoreI32(&b[i * 12 + 4], 1);
  }
  return b;
}

void SetRecord(Bytes& keys, std::size_t i, std::int32_t type, std::int32_t param) {
  StoreI32(&keys[i * 12 + 4], type);
  StoreI32(&keys[i * 12 + 8], param);
}

// Values as the configuration program could have stored them, and the same values with the
// bytes that settings text does not carry set to zero.
struct StoredValues {
  Bytes keys = DefaultKeys(), macros = Bytes(kMacroSettingSize), combs = Bytes(kCombSettingSize);
  Bytes rate = Le32(2), profile = Le32(3);

  explicit StoredValues(bool withUncarried) {
    SetRecord(keys, kF1, 4, 0);
    SetRecord(keys, kF9, 8, 1);
    SetRecord(keys, kF10, 8, 1);
    SetRecord(keys, kCaps, 9, 0xA2);
    keys[91 * 12] = 0x41;  // a record whose key code is not the layout's
    SetRecord(keys, 91, 12, -7);
    StoreU32(&macros[8], 3);
    StoreU16(&macros[12], 2);
    macros[16] = 0x41, macros[17] = 1, StoreU32(&macros[20], 100);
    macros[24] = 0x42, StoreU32(&macros[28], 6400);
    StoreI32(&macros[kMacroCountOffset], 1);
    combs[0] = 0xA2, combs[1] = 0x43;
    combs[524] = 0xA2, combs[526] = 0x56;
    if (!withUncarried) return;
    keys[kEsc * 12 + 1] = 0x77;
    for (int i = 0; i < 8; ++i) macros[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>('N' + i);
    macros[18] = 0x55;
    combs[534] = 0x99;
    StoreI32(&combs[52400], 2);
  }
  void Store() const {
    const Bytes* all[] = {&keys, &macros, &combs, &rate, &profile};
    for (std::size_t v = 0; v < 5; ++v) SavedSettingsKey::Set(kValues[v], *all[v]);
  }
  std::map<std::wstring, SavedSettingsKey::Value> AsRegistry() const {
    return {{kValues[0], {REG_BINARY, keys}}, {kValues[1], {REG_BINARY, macros}},
            {kValues[2], {REG_BINARY, combs}}, {kValues[3], {REG_BINARY, rate}},
            {kValues[4], {REG_BINARY, profile}}};
  }
};

class Z4ctlSettings : public ::testing::Test {
 protected:
  SavedSettingsKey saved;
  const std::string file = TempFile("z4ctl-test.z4");
  void TearDown() override { DeleteFileA(file.c_str()); }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(Z4ctlSettings, ExportThenImportGivesBackTheCarriedBytesAndZeroesTheRest) {
  StoredValues(true).Store();
  Z4ctlResult r = RunZ4ctl({"export", file});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string text = ReadText(file);
  for (const char* line : {"\nrate 2\n", "\nprofile 3\n", "\nmacro macro1 loop 3\n  step A 100 flag\n  step B 6400\nend\n",
                           "\ncombination comb1 LCtrl C\ncombination comb2 LCtrl none V\n",
                           "\nkey Esc          default\n", "\nkey F1           macro macro1\n",
                           "\nkey F9           combination comb2\n", "\nkey Caps         single LCtrl\n",
                           "\nkey LShift       default\n", "\nrecord 91 A      raw 12 -7\n"})
    EXPECT_TRUE(Has(text, line)) << line << "\n" << text;

  SavedSettingsKey::Remove();
  r = RunZ4ctl({"import", file});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(SavedSettingsKey::All(), StoredValues(false).AsRegistry());

  r = RunZ4ctl({"export", file});
  ASSERT_EQ(r.exitCode, 0u);
  EXPECT_EQ(ReadText(file), text);
}

TEST_F(Z4ctlSettings, ShowDescribesKeysMacrosAndCombinations) {
  StoredValues(true).Store();
  const Z4ctlResult r = RunZ4ctl({"show"});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  for (const char* part : {"Rate code: 2\n", "Selected profile: 3\n", "  F1             Macro macro1\n",
                           "  F10            Combination comb2: LCtrl + (none) + V\n",
                           "  Caps           Single key: LCtrl\n", "  record 91 (A)  Action type 12",
                           "\nMacros used:\n  macro1 (macro slot 1): loop 3, 2 steps\n    1. A, 100 ms, flag 1\n    2. B, 6400 ms\n",
                           "\nCombinations used:\n  comb2: LCtrl + (none) + V\n"})
    EXPECT_TRUE(Has(r.out, part)) << part << "\n" << r.out;
}

TEST_F(Z4ctlSettings, MissingValuesAreNotedAndTakeTheAgentsDefaults) {
  SavedSettingsKey::Set(L"RateSetting", {8, 0, 0, 0}, REG_DWORD);
  const Z4ctlResult r = RunZ4ctl({"export", file});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_TRUE(Has(r.err, "KeySetting is missing")) << r.err;
  EXPECT_TRUE(Has(r.err, "RateSetting is missing, too long or not binary")) << r.err;
  EXPECT_TRUE(Has(ReadText(file), "\nrate 8\n"));
  EXPECT_TRUE(Has(ReadText(file), "\nkey F12          default\n"));
  EXPECT_EQ(SavedSettingsKey::Get(L"KeySetting").type, 0u);  // nothing written
}

TEST_F(Z4ctlSettings, ImportWithErrorsNamesEveryLineAndChangesNothing) {
  StoredValues(true).Store();
  const auto before = SavedSettingsKey::All();
  WriteText(file, "rate 1\nkey F1 macro missing\nkey Nope default\nmacro m\n  step A soon\nend\n"
                  "combination c A B C D E\n");
  Z4ctlResult r = RunZ4ctl({"import", file});
  EXPECT_EQ(r.exitCode, 1u);
  const std::string expected = file + ":2: macro \"missing\" is not defined\n" + file +
                               ":3: unknown key \"Nope\": not a key of the layout\n" + file +
                               ":5: bad delay \"soon\" (milliseconds, 0..4294967295)\n" + file +
                               ":7: too many keys in combination \"c\": a combination has at most 4\n"
                               "z4ctl: 4 error(s) in " + file + "; nothing was stored\n";
  EXPECT_EQ(r.err, expected);
  EXPECT_EQ(SavedSettingsKey::All(), before);

  r = RunZ4ctl({"import", file + ".none"});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_TRUE(Has(r.err, "cannot read " + file + ".none")) << r.err;
  r = RunZ4ctl({"import", file, "--layout", file + ".none"});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_TRUE(Has(r.err, "cannot read the key layout")) << r.err;
  EXPECT_EQ(SavedSettingsKey::All(), before);
}

TEST_F(Z4ctlSettings, SampleFileImportsWithSharedCombinationAndMacro) {
  const Z4ctlResult r = RunZ4ctl({"import", Z4_DEMO_FILE});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  const Bytes keys = SavedSettingsKey::Get(L"KeySetting").bytes;
  ASSERT_EQ(keys.size(), kKeySettingSize);
  EXPECT_EQ(LoadI32(&keys[kF9 * 12 + 4]), 8);
  EXPECT_EQ(LoadI32(&keys[kF10 * 12 + 4]), 8);
  EXPECT_EQ(LoadI32(&keys[kF9 * 12 + 8]), LoadI32(&keys[kF10 * 12 + 8]));
  EXPECT_EQ(LoadI32(&SavedSettingsKey::Get(L"MacroSetting").bytes[kMacroCountOffset]), 1);
  const std::string shown = RunZ4ctl({"show"}).out;
  for (const char* part : {"  F9             Combination comb1: LCtrl + C\n", "  F10            Combination comb1",
                           "Media key: Play/Pause", "Mouse: Double click", "Macro macro1"})
    EXPECT_TRUE(Has(shown, part)) << part << "\n" << shown;
}

TEST_F(Z4ctlSettings, NothingStoredIsAnError) {
  for (const char* command : {"show", "export"}) {
    const Z4ctlResult r = command == std::string("show") ? RunZ4ctl({command}) : RunZ4ctl({command, file});
    EXPECT_EQ(r.exitCode, 1u) << command;
    EXPECT_TRUE(Has(r.err, "no settings are stored under HKEY_CURRENT_USER\\Software\\Korvu\\Z4")) << r.err;
  }
}

struct CommandCase {
  std::vector<std::string> args;
  DWORD exitCode;
  const char* err;
};

TEST_F(Z4ctlSettings, CommandLineFaultsAndAnAgentThatIsNotRunning) {
  const CommandCase cases[] = {
      {{}, 1, ""},
      {{"frobnicate"}, 1, "unknown command \"frobnicate\""},
      {{"import"}, 1, "usage: z4ctl import FILE"},
      {{"show", "--loud"}, 1, "unknown option \"--loud\""},
      {{"show", "--layout"}, 1, "--layout needs a value"},
      {{"rate", "4"}, 1, "the rate code is 1, 2 or 8"},
      {{"watch", "--count", "0"}, 1, "--count takes a whole number"},
      {{"apply"}, 2, "the Z4 settings agent is not running"},
      {{"apply", "--silent"}, 2, "not running"},
      {{"rate", "8"}, 2, "not running"},
      {{"reset"}, 2, "not running"},
      {{"watch", "--timeout", "5"}, 2, "not running"},
  };
  for (const CommandCase& c : cases) {
    const Z4ctlResult r = RunZ4ctl(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << (c.args.empty() ? "" : c.args[0]) << "\n" << r.err;
    EXPECT_TRUE(Has(r.err, c.err)) << r.err;
  }
  EXPECT_TRUE(SavedSettingsKey::All().empty());  // rate stores nothing without an agent

  const Z4ctlResult help = RunZ4ctl({"watch", "--help"});
  EXPECT_EQ(help.exitCode, 0u);
  EXPECT_TRUE(Has(help.out, "Usage: z4ctl watch [--count N] [--timeout S]"));
  EXPECT_TRUE(Has(help.out, "Exit codes:"));
}

}  // namespace
}  // namespace z4::test
