// The key layout loader, its number reading, and the shipped ButtonPos.xml.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "device/key_block.h"
#include "resources/key_layout.h"
#include "xml/posix/posix_text_platform.h"

namespace z4 {
namespace {

std::u16string Path(const std::string& p) { return {p.begin(), p.end()}; }

bool SameRect(const KeyRect& a, const KeyRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ReadNumberText, Bases) {
  struct Case {
    std::u16string_view text;
    int base;
    std::int64_t value;
  } cases[] = {
      {u"41", 16, 0x41},  {u"0x41", 16, 0x41}, {u"0X41", 16, 0x41},  {u"141", 16, 0x141},
      {u"C1", 16, 0xC1},  {u"c1", 16, 0xC1},   {u" \t1Bz", 16, 0x1B}, {u"-1", 16, -1},
      {u"0x", 16, 0},     {u"0xg", 16, 0},     {u"", 16, 0},         {u"zz", 16, 0},
      {u"123456789ABCDEF41", 16, 0x23456789ABCDEF41},  // the low bits of a long number
      {u"10", 10, 10},    {u"+7", 10, 7},      {u" -5", 10, -5},     {u"12ab", 10, 12},
      {u"1A", 10, 1},     {u"", 10, 0},        {u"-", 10, 0},        {u"0x10", 10, 0},
      {u"99999999999999999999", 10, 2147483647}, {u"-99999999999", 10, -2147483648LL},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadNumberText(c.text, c.base), c.value) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(ParseRectText, Parts) {
  struct Case {
    std::u16string_view text;
    KeyRect rect;
  } cases[] = {
      {u"10,20,30,40", {10, 20, 30, 40}},
      {u"10,20,30", {10, 20, 0, 10}},  // no third comma: bottom is read from the start
      {u"10,20", {10, 0, 10, 20}},  // the third search starts over at 0 and finds the first comma
      {u"7", {0, 0, 0, 7}},
      {u"", {0, 0, 0, 0}},
      {u",,,", {0, 0, 0, 0}},
      {u" 1 , -2 ,+3, 4 ,5", {1, -2, 3, 4}},
      {u"10,20,30,", {10, 20, 30, 0}},
  };
  for (const auto& c : cases) {
    const KeyRect r = ParseRectText(c.text);
    EXPECT_TRUE(SameRect(r, c.rect)) << std::string(c.text.begin(), c.text.end()) << ": " << r.left
                                     << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

class LoadKeyLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { g_keyLayout = {}; }
  void Load(const char* fixture) { LoadKeyLayout(platform_, Path(std::string("fixtures/") + fixture)); }
  PosixTextPlatform platform_;
};

TEST_F(LoadKeyLayoutTest, DirectKeyChildrenInOrder) {
  Load("keys_basic.xml");
  struct Case {
    std::u16string_view name;
    std::uint8_t keyCode;
    std::u16string_view tip;
    KeyRect rect;
    std::int32_t status;
  } cases[] = {
      {u"A&B", 0x41, u"tip A", {10, 20, 30, 40}, 1},
      {u"hex", 0x41, u"", {10, 20, 0, 10}, 0},
      {u"", 0x41, u"", {-5, 7, 0, 9}, 0},
      {u"", 0xC1, u"", {0, 0, 0, 0}, 0},
      {u"last", 0, u"", {0, 0, 0, 0}, 0},
      {u"", 0, u"", {0, 0, 0, 0}, 0},  // the rest stays empty
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const KeyLayoutEntry& e = g_keyLayout[i];
    EXPECT_EQ(e.name, cases[i].name) << i;
    EXPECT_EQ(e.keyCode, cases[i].keyCode) << i;
    EXPECT_EQ(e.tip, cases[i].tip) << i;
    EXPECT_TRUE(SameRect(e.rect, cases[i].rect)) << i;
    EXPECT_EQ(e.status, cases[i].status) << i;
  }
  EXPECT_EQ(g_keyLayout[91].keyCode, 0);
}

TEST_F(LoadKeyLayoutTest, KeysPastTheTableAreIgnored) {
  Load("keys_many.xml");  // 100 keys, codes 1..100
  for (std::size_t i = 0; i < kKeyLayoutCount; ++i) EXPECT_EQ(g_keyLayout[i].keyCode, i + 1) << i;
}

TEST_F(LoadKeyLayoutTest, UnreadableFilesLeaveTheTable) {
  for (const char* fixture : {"keys_broken.xml", "missing.xml"}) {
    g_keyLayout[0].keyCode = 0x77;
    Load(fixture);
    EXPECT_EQ(g_keyLayout[0].keyCode, 0x77) << fixture;
  }
}

TEST_F(LoadKeyLayoutTest, ShippedLayoutReachesTheDevice) {
  LoadKeyLayout(platform_, Path(Z4_DATA_DIR "/ButtonPos.xml"));
  DeviceKeyBlock factory{};
  KeyPosMap map;
  BuildFactoryKeyBlock(factory, map);
  std::set<std::uint8_t> codes;
  for (std::size_t i = 0; i < kKeyLayoutCount; ++i) {
    const KeyLayoutEntry& e = g_keyLayout[i];
    EXPECT_FALSE(e.name.empty()) << i;
    EXPECT_FALSE(e.tip.empty()) << i;
    EXPECT_EQ(e.status, 1) << i;
    EXPECT_NE(map.FindEntryForUsage(KeyCodeToUsage(e.keyCode)), -1) << i;
    EXPECT_NE(KeyCodeToUsage(e.keyCode), 0) << i;
    codes.insert(e.keyCode);
    EXPECT_LT(e.rect.left, e.rect.right) << i;
    EXPECT_LT(e.rect.top, e.rect.bottom) << i;
    for (std::size_t j = 0; j < i; ++j) {
      const KeyRect& o = g_keyLayout[j].rect;
      const bool apart = e.rect.right <= o.left || o.right <= e.rect.left || e.rect.bottom <= o.top ||
                         o.bottom <= e.rect.top;
      EXPECT_TRUE(apart) << i << " overlaps " << j;
    }
  }
  EXPECT_EQ(codes.size(), kKeyLayoutCount);
}

}  // namespace
}  // namespace z4
