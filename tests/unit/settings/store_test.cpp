// The settings store against an in-memory registry: defaults, repair, rereads and writes.
#include "settings/store.h"

#include <gtest/gtest.h>

#include "support/fake_registry.h"

namespace z4 {
namespace {

using test::FakeRegistry;
using Bytes = std::vector<std::uint8_t>;

KeyLayoutCodes Codes() {
  KeyLayoutCodes codes{};
  for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<std::uint8_t>(0x30 + i);
  codes[91] = 0;  // a record the layout left empty
  return codes;
}

Bytes DefaultKeySetting() {
  KeySettingImage image{};
  BuildDefaultKeySetting(image, Codes());
  return Bytes(image.begin(), image.end());
}

Bytes Le32(std::int32_t v) {
  ByteImage<4> b{};
  StoreI32(b.data(), v);
  return Bytes(b.begin(), b.end());
}

const std::vector<std::string> kAllWrites = {"KeySetting", "MacroSetting", "CombSetting",
                                             "RateSetting", "ProSettingSel"};

TEST(KeySettingDefaults, EntryPerLayoutRecordWithTypeOneAndParamZero) {
  KeySettingImage image;
  image.fill(0xEE);
  BuildDefaultKeySetting(image, Codes());
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    const std::uint8_t* r = image.data() + 12 * i;
    EXPECT_EQ(Bytes(r, r + 12),
              (Bytes{Codes()[i], 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0})) << "entry " << i;
  }
}

TEST(LoadSettings, FirstRunCreatesTheKeyWithAllFiveDefaults) {
  FakeRegistry reg;
  reg.keyExists = false;
  auto image = std::make_unique<SettingsImage>();
  image->nRate = 1;
  image->macroSetting.fill(0x11);
  LoadSettings(reg, *image, Codes());

  EXPECT_EQ(reg.Writes(), kAllWrites);
  EXPECT_EQ(reg.values[u"KeySetting"].bytes, DefaultKeySetting());
  EXPECT_EQ(reg.values[u"MacroSetting"].bytes, Bytes(130404, 0));
  EXPECT_EQ(reg.values[u"CombSetting"].bytes, Bytes(52404, 0));
  EXPECT_EQ(reg.values[u"RateSetting"].bytes, Le32(8));
  EXPECT_EQ(reg.values[u"ProSettingSel"].bytes, Le32(0));
  for (const auto& [name, value] : reg.values) EXPECT_EQ(value.type, kRegBinary);
  EXPECT_EQ(image->nRate, 8);
  EXPECT_EQ(image->macroSetting, MacroSettingImage{});
}

TEST(LoadSettings, KeyThatCannotBeCreatedLeavesDefaultsInTheImage) {
  FakeRegistry reg;
  reg.keyExists = false;
  reg.createFails = true;
  auto image = std::make_unique<SettingsImage>();
  image->nProfileSel = 5;
  LoadSettings(reg, *image, Codes());
  EXPECT_TRUE(reg.Writes().empty());
  EXPECT_EQ(image->nProfileSel, 0);
  EXPECT_EQ(Bytes(image->keySetting.begin(), image->keySetting.end()), DefaultKeySetting());
}

Bytes ImagePart(const SettingsImage& image, const std::u16string& name) {
  if (name == u"KeySetting") return Bytes(image.keySetting.begin(), image.keySetting.end());
  if (name == u"MacroSetting") return Bytes(image.macroSetting.begin(), image.macroSetting.end());
  if (name == u"CombSetting") return Bytes(image.combSetting.begin(), image.combSetting.end());
  return Le32(name == u"RateSetting" ? image.nRate : image.nProfileSel);
}

// A registry holding every value well formed.
void StoreGoodValues(FakeRegistry& reg) {
  reg.SetBinary(u"KeySetting", Bytes(1104, 0x55));
  reg.SetBinary(u"MacroSetting", Bytes(130404, 0x66));
  reg.SetBinary(u"CombSetting", Bytes(52404, 0x77));
  reg.SetBinary(u"RateSetting", Le32(2));
  reg.SetBinary(u"ProSettingSel", Le32(3));
}

// The image before the load: KeySetting 0x99 throughout, rate 0x01010108.
std::unique_ptr<SettingsImage> EarlierImage() {
  auto image = std::make_unique<SettingsImage>();
  image->keySetting.fill(0x99);
  image->nRate = 0x01010108;
  return image;
}

// One value damaged as the case says, every other one good.
struct DamageCase {
  const char* what;
  std::u16string name;
  Bytes stored;  // empty: the value is missing
  std::uint32_t type;
  bool repaired;  // its default was written back
  Bytes imageAfter;
};

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(LoadSettings, RepairsMissingOversizedAndMistypedValuesAndAcceptsShortOnes) {
  const DamageCase cases[] = {
      {"RateSetting as REG_DWORD", u"RateSetting", Le32(2), 4, true, Le32(8)},
      {"KeySetting of 2000 bytes", u"KeySetting", Bytes(2000, 7), kRegBinary, true,
       DefaultKeySetting()},
      {"CombSetting of 52405 bytes", u"CombSetting", Bytes(52405, 7), kRegBinary, true,
       Bytes(52404, 0)},
      {"MacroSetting as REG_SZ", u"MacroSetting", Bytes(8, 'a'), 1, true, Bytes(130404, 0)},
      {"ProSettingSel missing", u"ProSettingSel", {}, 0, true, Le32(0)},
      {"KeySetting of 12 bytes", u"KeySetting", Bytes(12, 0x42), kRegBinary, false,
       Concat(Bytes(12, 0x42), Bytes(1092, 0x99))},
      {"RateSetting of 1 byte", u"RateSetting", Bytes{2}, kRegBinary, false, Le32(0x01010102)},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry reg;
    StoreGoodValues(reg);
    if (c.stored.empty())
      reg.values.erase(c.name);
    else
      reg.SetBinary(c.name, c.stored, c.type);
    auto image = EarlierImage();

    LoadSettings(reg, *image, Codes());

    const std::string narrow(c.name.begin(), c.name.end());
    EXPECT_EQ(reg.Writes(), c.repaired ? std::vector<std::string>{narrow} : std::vector<std::string>{});
    EXPECT_EQ(ImagePart(*image, c.name), c.imageAfter);
    if (c.repaired) {
      EXPECT_EQ(reg.values[c.name].bytes, c.imageAfter);
    }
    EXPECT_EQ(reg.values[c.name].type, c.repaired ? kRegBinary : c.type);
    // The good values arrived unchanged.
    if (c.name != u"MacroSetting") {
      EXPECT_EQ(ImagePart(*image, u"MacroSetting"), Bytes(130404, 0x66));
    }
    if (c.name != u"ProSettingSel") {
      EXPECT_EQ(image->nProfileSel, 3);
    }
  }
}

TEST(ReadSettings, RereadsWithoutRepairAndWritesNothing) {
  FakeRegistry reg;
  StoreGoodValues(reg);
  reg.values.erase(u"ProSettingSel");
  reg.SetBinary(u"KeySetting", Bytes(2000, 7));
  reg.SetBinary(u"RateSetting", Le32(1), 4);  // the type is not examined
  auto image = EarlierImage();
  image->nProfileSel = 6;

  ReadSettings(reg, *image);

  EXPECT_TRUE(reg.Writes().empty());
  EXPECT_EQ(image->nProfileSel, 6);  // deleted while running: the selection in memory stays
  EXPECT_EQ(ImagePart(*image, u"KeySetting"), Bytes(1104, 0x99));
  EXPECT_EQ(image->nRate, 1);
  EXPECT_EQ(ImagePart(*image, u"CombSetting"), Bytes(52404, 0x77));
}

TEST(ReadSettings, DeletedKeyLeavesTheImage) {
  FakeRegistry reg;
  reg.keyExists = false;
  auto image = EarlierImage();
  ReadSettings(reg, *image);
  EXPECT_EQ(reg.log, std::vector<std::string>{"open"});
  EXPECT_EQ(ImagePart(*image, u"KeySetting"), Bytes(1104, 0x99));
}

TEST(SaveSettings, RecreatesADeletedKeyAndWritesAllFiveFromTheImage) {
  FakeRegistry reg;
  reg.keyExists = false;
  auto image = EarlierImage();
  image->nProfileSel = 4;
  image->combSetting[52403] = 0xAB;
  SaveSettings(reg, *image);
  EXPECT_EQ(reg.Writes(), kAllWrites);
  EXPECT_EQ(reg.values[u"KeySetting"].bytes, Bytes(1104, 0x99));
  EXPECT_EQ(reg.values[u"CombSetting"].bytes.back(), 0xAB);
  EXPECT_EQ(reg.values[u"RateSetting"].bytes, Le32(0x01010108));
  EXPECT_EQ(reg.values[u"ProSettingSel"].bytes, Le32(4));
}

TEST(SaveProfileSel, WritesOnlyTheSelection) {
  FakeRegistry reg;
  StoreGoodValues(reg);
  auto image = EarlierImage();
  image->nProfileSel = 5;
  SaveProfileSel(reg, *image);
  EXPECT_EQ(reg.Writes(), std::vector<std::string>{"ProSettingSel"});
  EXPECT_EQ(reg.values[u"ProSettingSel"].bytes, Le32(5));
  EXPECT_EQ(reg.values[u"KeySetting"].bytes, Bytes(1104, 0x55));
}

}  // namespace
}  // namespace z4
