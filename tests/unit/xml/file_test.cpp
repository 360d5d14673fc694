// Loading files: every encoding path on fixture files, the reports, and the helpers behind them.
#include <gtest/gtest.h>

#include <string>

#include "load_cases.h"
#include "xml/posix/posix_text_platform.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace z4 {
namespace {

using test::Narrow;

std::u16string Fixture(const char* name) { return test::Fixture(name, '/'); }

TEST(LoadTextFile, FixtureFiles) {
  PosixTextPlatform platform;
  for (const test::LoadCase& c : test::kLoadCases) {
    std::u16string text = u"old";
    std::u16string report;
    std::uint32_t flags = 0;
    EXPECT_TRUE(LoadTextFile(platform, Fixture(c.file), text, &report, &flags)) << c.file;
    EXPECT_EQ(Narrow(report), Narrow(c.report)) << c.file;
    EXPECT_EQ(text, c.text) << c.file;

    CXmlDocument doc;
    EXPECT_TRUE(doc.LoadFile(platform, Fixture(c.file))) << c.file;
    doc.ParseDocument();
    EXPECT_EQ(Narrow(doc.Report()), Narrow(c.parsed)) << c.file;
  }
}

TEST(LoadTextFile, MarkFlags) {
  PosixTextPlatform platform;
  struct Case {
    const char* file;
    std::uint32_t startFlags;
    std::uint32_t flags;
  } cases[] = {
      {"utf8_bom.xml", 0, kDocUtf8Mark},
      {"utf16le_bom.xml", kDocUtf16BeMark, kDocUtf16LeMark},  // no mark flag of an earlier file stays
      {"utf16be_bom.xml", kDocIgnoreCase, kDocIgnoreCase | kDocUtf16BeMark},
      {"latin1_declared.xml", kDocUtf8Mark | kDocReading, 0},
  };
  for (const auto& c : cases) {
    std::u16string text;
    std::uint32_t flags = c.startFlags;
    EXPECT_TRUE(LoadTextFile(platform, Fixture(c.file), text, nullptr, &flags));
    EXPECT_EQ(flags, c.flags) << c.file;
  }
}

TEST(LoadTextFile, MissingFile) {
  PosixTextPlatform platform;
  std::u16string text = u"old";
  std::u16string report;
  EXPECT_FALSE(LoadTextFile(platform, u"fixtures/missing.xml", text, &report, nullptr));
  EXPECT_EQ(text, u"");
  EXPECT_EQ(Narrow(report), "No such file or directory");

  // A failed load keeps the document's text and index as they were.
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(platform, Fixture("latin1_declared.xml")));
  doc.ParseDocument();
  EXPECT_FALSE(doc.LoadFile(platform, u"fixtures/missing.xml"));
  EXPECT_EQ(Narrow(doc.Report()), "No such file or directory");
  EXPECT_TRUE(doc.FindElement(u"a"));
  EXPECT_EQ(doc.Text().size(), 51u);
}

TEST(FindDeclaredEncoding, DeclarationsAndMetaTags) {
  struct Case {
    std::u16string_view text;
    std::u16string_view encoding;
  } cases[] = {
      {u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", u"ISO-8859-1"},
      {u"<?XML Version='1.0' Encoding='koi8-r'?>", u"koi8-r"},  // names compared ignoring case
      {u"<?xml encoding=\"UTF-8\"?>", u""},
      {u"<?xml version=\"1.0\"?><?xml version='1' encoding='x'?>", u""},
      {u"  <!-- c --><?xml version='1.0' encoding=latin1 ?>", u"latin1"},
      {u"<?other x?><?xml version='1.0' encoding='latin1'?>", u""},  // only the first one counts
      {u"<a/><?xml version='1.0' encoding='latin1'?>", u""},
      {u"<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=gb2312\">", u"gb2312"},
      {u"<HTML><META HTTP-EQUIV='Content-Type' CONTENT='text/html;charset = big5'>", u"big5"},
      {u"<html><head><meta name='x'><meta http-equiv='Content-Type' content='text/html; charset=koi8-r'>", u"koi8-r"},
      {u"<html><head><meta http-equiv='Content-Type'>", u""},
      {u"<html><head></head><meta http-equiv='Content-Type' content='charset=x'>", u""},
      {u"<html><head><meta http-equiv='Content-Type' content='text/html'><meta http-equiv='Content-Type' content='charset=x'>", u""},
      {u"<body><meta http-equiv='Content-Type' content='charset=x'>", u""},
      {u"<?xml version='1.0' encoding='ISO-8859-1", u""},  // cut off: unterminated
  };
  for (const auto& c : cases) EXPECT_EQ(FindDeclaredEncoding(c.text), c.encoding) << Narrow(c.text);
}

TEST(LooksLikeUtf8, Sequences) {
  struct Case {
    std::string bytes;
    bool utf8;
  } cases[] = {
      {"plain", true},           {"\xC3\xA9", true},         {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true}, {"\xC3", false},            {"\xE2\x82", false},
      {"\xF8\x80\x80\x80", false}, {"\xC3(", false},          {"\x80\x80", true},  // 10xxxxxx leads 2
      {std::string("\xC3\0\x41", 3), false},  // a zero where a following byte belongs fails
      {std::string("a\0\xFF", 3), true},      // a zero ends the check with success
      {"", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LooksLikeUtf8(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()), c.utf8)
        << c.bytes;
  }
}

TEST(CodePageOfCharset, Names) {
  struct Case {
    std::u16string_view name;
    std::uint32_t codePage;
  } cases[] = {
      {u"", 0},                  {u"UTF-8", 65001},          {u"unicode-2-0-utf-8", 65001},
      {u"x-unicode-2-0-utf-8", 65001}, {u"utf-7", 65000},    {u"UTF-16", 1200},
      {u"unicode", 1200},        {u"unicodeFFFE", 1201},     {u"US-ASCII", 20127},
      {u"ansi_x3.4-1968", 20127}, {u"Latin1", 28591},        {u"l1", 28591},
      {u"iso-8859-2", 28592},    {u"cyrillic", 28595},       {u"latin9", 28605},
      {u"windows-1250", 1250},   {u"WINDOWS-1258", 1258},    {u"x-ansi", 1252},
      {u"us", 1252},             {u"shift-jis", 932},        {u"MS_Kanji", 932},
      {u"gbk", 936},             {u"chinese", 936},          {u"ks_c_5601-1987", 949},
      {u"euc-kr", 949},          {u"big5", 950},             {u"euc-jp", 51932},
      {u"euc-cn", 51936},        {u"hz-gb-2312", 52936},     {u"iso-2022-jp", 50220},
      {u"iso-2022-kr", 50225},   {u"koi8-r", 20866},         {u"koi8-u", 21866},
      {u"437", 437},             {u"cp437", 437},            {u"ibm850", 850},
      {u"ibm866", 866},          {u"dos-862", 862},          {u"tis-620", 874},
      {u"windows-874", 874},     {u"macintosh", 10000},      {u"johab", 1361},
      {u"x-ebcdic-germany", 20273}, {u"x-iscii-de", 57002},  {u"x-iscii-pa", 57011},
      {u"UTF-32", kCodePageUtf32}, {u"UTF-32LE", kCodePageUtf32},
      {u"utf-32", 0},            // the UTF-32 prefix is compared with its case
      {u"no-such-charset", 0},   {u"utf-8 ", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageOfCharset(c.name), c.codePage) << Narrow(c.name);
  EXPECT_EQ(CodePageOfCharset(std::u16string(99, u'a')), 0u);
  EXPECT_EQ(CodePageOfCharset(std::u16string(100, u'a')), 0u);
}

TEST(Utf32LeToUtf16, Units) {
  struct Case {
    std::string bytes;
    std::u16string_view text;
  } cases[] = {
      {std::string("A\0\0\0", 4), u"A"},
      {std::string("\xAC\x20\0\0", 4), u"\u20AC"},
      {std::string("\0\xF6\x01\0", 4), u"\xD83D\xDE00"},
      {std::string("\0\0\0\0B\0\0\0", 8), u"B"},       // zero units dropped
      {std::string("\0\0\x11\0", 4), u"\uFFFD"},       // beyond U+10FFFF
      {std::string("\0\xD8\0\0", 4), u"\uFFFD"},       // a surrogate is no character
      {std::string("C\0\0\0D\0\0", 7), u"C"},          // partial unit ignored
      {std::string("abc", 3), u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf32LeToUtf16(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()), c.text);
  }
}

}  // namespace
}  // namespace z4
