// The XML file loading through the Win32 text platform: the same fixtures give the same texts
// and reports as natively, and the loaders read through it.
#include <gtest/gtest.h>

#include <string>

#include "load_cases.h"
#include "resources/key_layout.h"
#include "resources/language_strings.h"
#include "xml/win32/win32_text_platform.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace z4 {
namespace {

using test::Narrow;

std::u16string Fixture(const char* name) { return test::Fixture(name, '\\'); }

TEST(Win32LoadTextFile, FixtureFiles) {
  Win32TextPlatform platform;
  for (const test::LoadCase& c : test::kLoadCases) {
    std::u16string text;
    std::u16string report;
    EXPECT_TRUE(LoadTextFile(platform, Fixture(c.file), text, &report, nullptr)) << c.file;
    EXPECT_EQ(Narrow(report), Narrow(c.report)) << c.file;
    EXPECT_EQ(text, c.text) << c.file;

    CXmlDocument doc;
    EXPECT_TRUE(doc.LoadFile(platform, Fixture(c.file))) << c.file;
    doc.ParseDocument();
    EXPECT_EQ(Narrow(doc.Report()), Narrow(c.parsed)) << c.file;
  }
}

TEST(Win32LoadTextFile, MissingFileReportsTheSystemMessage) {
  Win32TextPlatform platform;
  std::u16string text;
  std::u16string report;
  EXPECT_FALSE(LoadTextFile(platform, u"fixtures\\missing.xml", text, &report, nullptr));
  EXPECT_FALSE(report.empty());
  EXPECT_EQ(report.find_first_of(u"\r\n"), std::u16string::npos);
}

TEST(Win32Loaders, LanguageAndKeyLayout) {
  Win32TextPlatform platform;
  for (const char* file : {"lang_utf16.xml", "lang_cp1252.xml"}) {
    LoadLanguage(platform, Fixture(file));
    EXPECT_EQ(str_title, u"\u00dcn\u00efcode \u20ac") << file;
  }
  LoadKeyLayout(platform, Fixture("keys_basic.xml"));
  EXPECT_EQ(g_keyLayout[0].name, u"A&B");
  EXPECT_EQ(g_keyLayout[0].keyCode, 0x41);
  EXPECT_EQ(g_keyLayout[3].keyCode, 0xC1);
  EXPECT_EQ(g_keyLayout[4].name, u"last");
}

}  // namespace
}  // namespace z4
