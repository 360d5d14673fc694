// The language loader on small fixture files and on the shipped language.xml.
#include <gtest/gtest.h>

#include <string>

#include "resources/language_strings.h"
#include "xml/posix/posix_text_platform.h"

namespace z4 {
namespace {

std::u16string Path(const std::string& p) { return {p.begin(), p.end()}; }

std::u16string Loaded(const char* fixture) {
  PosixTextPlatform platform;
  LoadLanguage(platform, Path(std::string("fixtures/") + fixture));
  return str_title;
}

TEST(LoadLanguage, KeysInsideTheFirstConfig) {
  PosixTextPlatform platform;
  LoadLanguage(platform, u"fixtures/lang_basic.xml");
  struct Case {
    const std::u16string& text;
    std::u16string_view expected;
  } cases[] = {
      {str_title, u"Tom & Jerry \u4E2D"},
      {str_exit, u"\n      Exit now\n    "},  // whitespace inside the element stays
      {str_OK, u"first"},                    // the first of two wins
      {str_Cancel, u""},                     // STR_CANCEL is another name
      {str_msg1, u""},                       // has a child element
      {str_msg4, u""},                       // closes itself
      {str_tip, u"<tip> and  text"},
      {str_update_tip, u"nested"},           // a config inside the first is searched too
      {str_update_msg, u""},                 // a second config is not
      {str_restore, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST(LoadLanguage, FilesThatGiveNothingOrSomething) {
  struct Case {
    const char* fixture;
    std::u16string_view title;
  } cases[] = {
      {"lang_root_config.xml", u""},  // "config" is looked for among the root's children
      {"lang_broken.xml", u"kept"},   // not well formed: what was recognised is searched
      {"missing.xml", u""},
      {"lang_utf16.xml", u"\u00dcn\u00efcode \u20ac"},
      {"lang_utf8.xml", u"\u00dcn\u00efcode \u20ac"},
      {"lang_cp1252.xml", u"\u00dcn\u00efcode \u20ac"},
  };
  for (const auto& c : cases) {
    Loaded("lang_basic.xml");
    EXPECT_EQ(Loaded(c.fixture), c.title) << c.fixture;
    EXPECT_EQ(str_OK, u"") << c.fixture;  // every string is replaced
  }
}

TEST(LoadLanguage, ShippedFileHasEveryKey) {
  PosixTextPlatform platform;
  LoadLanguage(platform, Path(Z4_DATA_DIR "/language.xml"));
#define Z4_EXPECT_TEXT(key)                                   \
  EXPECT_FALSE(key.empty()) << #key;                          \
  EXPECT_EQ(key.find_first_of(u"\n\t"), std::u16string::npos) << #key;
  Z4_LANGUAGE_KEYS(Z4_EXPECT_TEXT)
#undef Z4_EXPECT_TEXT
  EXPECT_EQ(str_OK, u"OK");
  EXPECT_EQ(str_Cancel, u"Cancel");
}

}  // namespace
}  // namespace z4
