// The registry adapter against the real registry, in a key of the test's own that it removes.
#include "settings/win32/registry.h"

#include <gtest/gtest.h>

#include <vector>

#include "fw/win32.h"

namespace z4 {
namespace {

using Bytes = std::vector<std::uint8_t>;
const wchar_t* const kTestKey = L"Software\\Korvu\\Z4SettingsTest";

struct Registry : ::testing::Test {
  Win32SettingsRegistry registry{reinterpret_cast<const char16_t*>(kTestKey)};
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

  // A value as the registry holds it: (type, bytes), or type 0 when missing.
  std::pair<DWORD, Bytes> Raw(const wchar_t* name) {
    Bytes b(200000);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(b.size());
    if (RegGetValueW(HKEY_CURRENT_USER, kTestKey, name, RRF_RT_ANY, &type, b.data(), &size) !=
        ERROR_SUCCESS)
      return {0, {}};
    b.resize(size);
    return {type, b};
  }
  void SetRaw(const wchar_t* name, DWORD type, const Bytes& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
};

TEST_F(Registry, KeyOpensOnlyOnceCreated) {
  EXPECT_EQ(registry.Open(), nullptr);
  EXPECT_NE(registry.Create(), nullptr);
  EXPECT_NE(registry.Open(), nullptr);
  EXPECT_NE(registry.Create(), nullptr);  // an existing key opens
}

TEST_F(Registry, ValuesReadAsStoredAndOnlyWhenTheyFit) {
  SetRaw(L"Dword", REG_DWORD, {2, 0, 0, 0});
  SetRaw(L"Big", REG_BINARY, Bytes(9, 7));
  auto key = registry.Open();
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteBinary(u"Bin", Bytes{1, 2, 3}.data(), 3));
  EXPECT_EQ(Raw(L"Bin"), (std::pair<DWORD, Bytes>{REG_BINARY, {1, 2, 3}}));

  Bytes buf(8, 0xEE);
  std::uint32_t type = 0;
  EXPECT_TRUE(key->Read(u"Bin", buf.data(), buf.size(), type));
  EXPECT_EQ(type, static_cast<std::uint32_t>(REG_BINARY));
  EXPECT_EQ(buf, (Bytes{1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_TRUE(key->Read(u"Dword", buf.data(), buf.size(), type));
  EXPECT_EQ(type, static_cast<std::uint32_t>(REG_DWORD));
  buf.assign(8, 0xEE);
  EXPECT_FALSE(key->Read(u"Big", buf.data(), buf.size(), type));
  EXPECT_FALSE(key->Read(u"Missing", buf.data(), buf.size(), type));
  EXPECT_EQ(buf, Bytes(8, 0xEE));
}

TEST_F(Registry, StartUpCreatesAndRepairsTheRealValues) {
  KeyLayoutCodes codes{};
  codes[0] = 0x41;
  auto image = std::make_unique<SettingsImage>();
  LoadSettings(registry, *image, codes);
  for (const wchar_t* name : {L"KeySetting", L"MacroSetting", L"CombSetting", L"RateSetting",
                              L"ProSettingSel"})
    EXPECT_EQ(Raw(name).first, static_cast<DWORD>(REG_BINARY)) << name;
  EXPECT_EQ(Raw(L"KeySetting").second.size(), 1104u);
  EXPECT_EQ(Raw(L"MacroSetting").second.size(), 130404u);
  EXPECT_EQ(Raw(L"CombSetting").second.size(), 52404u);
  EXPECT_EQ(Raw(L"RateSetting").second, (Bytes{8, 0, 0, 0}));

  SetRaw(L"RateSetting", REG_DWORD, {2, 0, 0, 0});
  SetRaw(L"KeySetting", REG_BINARY, Bytes(12, 0x42));
  image = std::make_unique<SettingsImage>();
  LoadSettings(registry, *image, codes);
  EXPECT_EQ(Raw(L"RateSetting"), (std::pair<DWORD, Bytes>{REG_BINARY, {8, 0, 0, 0}}));
  EXPECT_EQ(Raw(L"KeySetting").second, Bytes(12, 0x42));  // short: accepted and kept
  EXPECT_EQ(image->keySetting[11], 0x42);
  EXPECT_EQ(image->keySetting[12], 0x00);
}

}  // namespace
}  // namespace z4
