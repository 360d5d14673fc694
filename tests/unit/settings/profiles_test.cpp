// Profiles over in-memory storage: first run, repair of the index, bindings, odd files, loading.
#include "settings/profiles.h"

#include <gtest/gtest.h>

#include "support/fake_registry.h"
#include "support/fake_storage.h"

namespace z4 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FakeStorage;

const std::u16string kAgent = u"C:\\Agent\\";
const std::u16string kIni = u"C:\\Agent\\Profile.ini";

KeyLayoutCodes Codes() {
  KeyLayoutCodes codes{};
  codes[0] = 0x41;
  codes[1] = 0x1B;
  return codes;
}

std::u16string DefaultFile(int n) { return u"C:\\Agent\\Profile\\Profile " + std::u16string(1, char16_t(u'0' + n)) + u".pro"; }

Bytes ProfileBytes(std::size_t size, std::uint32_t flag, const std::u16string& program) {
  Bytes b(size, 0);
  for (std::size_t k = 0; k < program.size() && 520 + 2 * k + 1 < size; ++k)
    StoreU16(&b[520 + 2 * k], program[k]);
  if (size >= 1564) StoreU32(&b[1560], flag);
  return b;
}

AutoSwitchEntry Binding(const std::u16string& program, std::int32_t profile) {
  AutoSwitchEntry e;
  std::copy(program.begin(), program.end(), e.szProgram.begin());
  e.nProfile = profile;
  return e;
}

struct Profiles : ::testing::Test {
  FakeStorage storage;
  ProfileStore store{storage, kAgent, u"Profile", Codes()};
  AutoSwitchTable table{};

  void SetUp() override { storage.folders.insert(kAgent); }
  void SetIndex(int n, const std::u16string& path) { storage.ini[kIni + u"|Profiles"][u"Profile" + std::u16string(1, char16_t(u'0' + n))] = path; }
  std::u16string Index(int n) { return storage.GetIniString(kIni, u"Profiles", u"Profile" + std::u16string(1, char16_t(u'0' + n))); }
  // Every profile present at its default file, unbound.
  void AllPresent() {
    storage.folders.insert(u"C:\\Agent\\Profile");
    for (int n = 1; n <= 7; ++n) {
      SetIndex(n, DefaultFile(n));
      storage.files[DefaultFile(n)] = ProfileBytes(kProfileFileSize, 0, u"");
    }
  }
};

TEST_F(Profiles, FirstRunCreatesSevenDefaultProfilesAndTheirIndex) {
  table[0] = Binding(u"stale.exe", 4);
  store.RefreshProfiles(table);

  EXPECT_EQ(table, AutoSwitchTable{});
  EXPECT_EQ(storage.folders.count(u"C:\\Agent\\Profile"), 1u);
  ASSERT_EQ(storage.written.size(), 7u);
  KeySettingImage keys;
  BuildDefaultKeySetting(keys, Codes());
  for (int n = 1; n <= 7; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(storage.written[n - 1], DefaultFile(n));
    EXPECT_EQ(Index(n), DefaultFile(n));
    Bytes expect(kProfileFileSize, 0);
    const std::u16string name = u"Profile " + std::u16string(1, char16_t(u'0' + n));
    for (std::size_t k = 0; k < name.size(); ++k) StoreU16(&expect[2 * k], name[k]);
    std::copy(keys.begin(), keys.end(), expect.begin() + kProfileKeyOffset);
    EXPECT_EQ(storage.files[DefaultFile(n)], expect);
  }
  // A second run finds and reuses them.
  storage.written.clear();
  storage.iniWrites.clear();
  store.RefreshProfiles(table);
  EXPECT_TRUE(storage.written.empty());
  EXPECT_TRUE(storage.iniWrites.empty());
}

TEST_F(Profiles, EmptyTitleNamesProfilesWithASpaceAndTheNumber) {
  ProfileStore untitled(storage, kAgent, u"", Codes());
  untitled.RefreshProfiles(table);
  EXPECT_EQ(storage.written.front(), u"C:\\Agent\\Profile\\ 1.pro");
  EXPECT_EQ(LoadU16(&storage.files[u"C:\\Agent\\Profile\\ 1.pro"][0]), u' ');
  EXPECT_EQ(LoadU16(&storage.files[u"C:\\Agent\\Profile\\ 1.pro"][2]), u'1');
}

TEST_F(Profiles, BindingsFillTheTableFromTheFrontInProfileOrder) {
  AllPresent();
  storage.files.erase(DefaultFile(5));
  SetIndex(3, u"D:\\Apps\\editor.pro");
  storage.files[u"D:\\Apps\\editor.pro"] = ProfileBytes(kProfileFileSize, 1, u"D:\\Apps\\editor.EXE");
  storage.files[DefaultFile(7)] = ProfileBytes(kProfileFileSize, 0x100, u"");  // bound, no program
  store.RefreshProfiles(table);

  AutoSwitchTable expect{};
  expect[0] = Binding(u"editor.EXE", 2);
  expect[1] = Binding(u"", 6);
  EXPECT_EQ(table, expect);
  // The default made afterwards goes to the agent's own folder.
  EXPECT_EQ(storage.written, std::vector<std::u16string>{DefaultFile(5)});
}

TEST_F(Profiles, IndexEntriesThatNameNoUsableFileGetTheDefault) {
  const std::u16string longPath = u"C:\\" + std::u16string(253, u'x') + u".pro";   // 260 units
  const std::u16string longestPath = u"C:\\" + std::u16string(252, u'x') + u".pro";  // 259 units
  const struct {
    const char* what;
    std::u16string entry;
    bool entryFileExists;
    bool defaultExists;
    bool created;  // a default file was (re)written
  } cases[] = {
      {"deleted file", u"E:\\mine.pro", false, true, true},
      {"entry names a folder", u"C:\\Agent\\Profile", false, false, true},
      {"path of 260 units", longPath, true, false, true},
      {"path of 259 units", longestPath, true, false, false},
      {"missing key", u"", false, false, true},
      {"missing key, default present", u"", false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    storage = FakeStorage{};
    storage.folders.insert(kAgent);
    AllPresent();
    storage.ini[kIni + u"|Profiles"].erase(u"Profile6");
    if (!c.entry.empty()) SetIndex(6, c.entry);
    if (c.entryFileExists) storage.files[c.entry] = ProfileBytes(kProfileFileSize, 1, u"x.exe");
    if (!c.defaultExists)
      storage.files.erase(DefaultFile(6));
    else
      storage.files[DefaultFile(6)] = Bytes(kProfileFileSize, 0x55);

    store.RefreshProfiles(table);

    EXPECT_EQ(storage.written, c.created ? std::vector<std::u16string>{DefaultFile(6)}
                                         : std::vector<std::u16string>{});
    if (c.created) {
      EXPECT_EQ(Index(6), DefaultFile(6));
    }
    if (c.entryFileExists) {
      EXPECT_EQ(storage.files[c.entry], ProfileBytes(kProfileFileSize, 1, u"x.exe"));  // never touched
    }
    if (!c.created && c.defaultExists) {
      EXPECT_EQ(storage.files[DefaultFile(6)], Bytes(kProfileFileSize, 0x55));
    }
  }
}

TEST_F(Profiles, OddProfileFilesAreReadAsFarAsTheyGoAndKept) {
  const std::u16string noTerminator(300, u'a');
  const struct {
    const char* what;
    Bytes file;
    AutoSwitchEntry expect;
  } cases[] = {
      {"empty", {}, {}},
      {"ends before the flag", ProfileBytes(1562, 0, u"C:\\g.exe"), {}},
      {"ends after the flag", ProfileBytes(1564, 1, u"C:\\g.exe"), Binding(u"g.exe", 0)},
      {"longer than a profile", ProfileBytes(300000, 1, u"C:\\g.exe"), Binding(u"g.exe", 0)},
      {"drive without folder", ProfileBytes(kProfileFileSize, 1, u"C:g.exe"), Binding(u"g.exe", 0)},
      {"forward slashes", ProfileBytes(kProfileFileSize, 1, u"C:/x/g.exe"), Binding(u"g.exe", 0)},
      {"program without terminator", ProfileBytes(kProfileFileSize, 1, noTerminator),
       Binding(std::u16string(259, u'a'), 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    storage.written.clear();
    AllPresent();
    storage.files[DefaultFile(1)] = c.file;
    store.RefreshProfiles(table);
    EXPECT_EQ(table[0], c.expect);
    EXPECT_TRUE(storage.written.empty());
    EXPECT_EQ(storage.files[DefaultFile(1)], c.file);
  }
}

TEST_F(Profiles, MissingAgentFolderChangesNothing) {
  storage.folders.clear();
  table[0] = Binding(u"kept.exe", 1);
  const AutoSwitchTable before = table;
  store.RefreshProfiles(table);
  EXPECT_EQ(table, before);
  EXPECT_TRUE(storage.written.empty());
}

TEST_F(Profiles, FileThatCannotBeCreatedRaisesTheFileError) {
  storage.unwritable.insert(DefaultFile(3));
  EXPECT_THROW(store.RefreshProfiles(table), FileError);
  EXPECT_EQ(storage.written.size(), 2u);
}

TEST_F(Profiles, LoadCopiesTheThreeTablesAndSavesAllFiveValues) {
  AllPresent();
  Bytes file(kProfileFileSize, 0);
  file[kProfileCombOffset] = 0xC0;
  file[kProfileMacroOffset + kMacroSettingSize - 1] = 0x3A;
  file[kProfileKeyOffset + 5] = 0x4B;
  file[kProfileFileSize - 1] = 0x4E;
  storage.files[DefaultFile(4)] = file;
  test::FakeRegistry reg;
  auto image = std::make_unique<SettingsImage>();
  image->nRate = 2;
  image->nProfileSel = 3;

  EXPECT_TRUE(store.LoadProfile(3, *image, reg));

  EXPECT_EQ(image->combSetting[0], 0xC0);
  EXPECT_EQ(image->macroSetting.back(), 0x3A);
  EXPECT_EQ(image->keySetting[5], 0x4B);
  EXPECT_EQ(image->keySetting.back(), 0x4E);
  EXPECT_EQ(reg.Writes(), (std::vector<std::string>{"KeySetting", "MacroSetting", "CombSetting",
                                                    "RateSetting", "ProSettingSel"}));
  EXPECT_EQ(reg.values[u"RateSetting"].bytes, (Bytes{2, 0, 0, 0}));
  EXPECT_EQ(reg.values[u"ProSettingSel"].bytes, (Bytes{3, 0, 0, 0}));
}

TEST_F(Profiles, LoadRefusesAShortFileAndRaisesOnAMissingOne) {
  AllPresent();
  storage.files[DefaultFile(2)] = Bytes(kProfileFileSize - 1, 0x77);
  storage.files.erase(DefaultFile(3));
  test::FakeRegistry reg;
  auto image = std::make_unique<SettingsImage>();
  image->keySetting.fill(0x11);
  EXPECT_FALSE(store.LoadProfile(1, *image, reg));
  EXPECT_THROW(store.LoadProfile(2, *image, reg), FileError);
  EXPECT_EQ(image->keySetting[0], 0x11);
  EXPECT_TRUE(reg.log.empty());
}

}  // namespace
}  // namespace z4
