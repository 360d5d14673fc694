// Node scanner, names, name matching and attribute search on small texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/xml_scan.h"

namespace z4 {
namespace {

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

TEST(ScanNode, FirstNodeOfText) {
  struct Case {
    std::u16string_view text;
    std::int32_t type;
    std::int32_t length;
    bool selfClosing;
    std::u16string_view message;
  } cases[] = {
      {u"", kNodeEndOfText, 0, false, u""},
      {u"<a>", kNodeStartTag, 3, false, u""},
      {u"<a b='x>y'>rest", kNodeStartTag, 11, false, u""},
      {u"<a x=1 y\"z>", kNodeStartTag, 11, false, u""},  // a quote not after '=' is ordinary
      {u"<a/>", kNodeStartTag, 4, true, u""},
      {u"<a />", kNodeStartTag, 5, true, u""},
      {u"<a x=\"1\"/>", kNodeStartTag, 10, true, u""},
      {u"<a b/>", kNodeStartTag, 6, false, u""},
      {u"</a >x", kNodeEndTag, 5, false, u""},
      {u"text<a>", kNodeText, 4, false, u""},
      {u"a > b", kNodeText, 5, false, u""},
      {u"  \n<a>", kNodeWhitespace, 3, false, u""},
      {u"  x <a>", kNodeText, 4, false, u""},
      {u"<!-- a > b -->x", kNodeComment, 14, false, u""},
      {u"<![CDATA[<b>]]>x", kNodeCdata, 15, false, u""},
      {u"<?xml version='1.0'?>x", kNodeProcessing, 21, false, u""},
      {u"<!ENTITY a 'x>y'>x", kNodeDeclaration, 17, false, u""},
      {u"<!DOCTYPE r [<!ELEMENT r (#PCDATA)><!-- > --><?p x?>]>x", kNodeDeclaration, 54, false, u""},
      {u"<1/>x", kNodeBad, 4, false, u"Incorrect tag name character at offset 0"},
      {u"<!x>", kNodeBad, 4, false, u"Incorrect ! tag at offset 0"},
      {u"<!-x>", kNodeBad, 5, false, u"Incorrect comment tag at offset 0"},
      {u"<![x>", kNodeBad, 5, false, u"Incorrect tag at offset 0"},
      {u"<1 <a>", kNodeBad, 3, false, u"Incorrect tag name character at offset 0"},
      {u"<a", kNodeBad, 2, false, u"Element tag at offset 0 unterminated"},
      {u"<a x=\"1>", kNodeBad, 8, false, u"Element tag at offset 0 unterminated"},
      {u"</a", kNodeBad, 3, false, u"Element end tag at offset 0 unterminated"},
      {u"<!-- x", kNodeBad, 6, false, u"Comment at offset 0 unterminated"},
      {u"<![CDATA[x]]", kNodeBad, 12, false, u"CDATA Section at offset 0 unterminated"},
      {u"<?pi x", kNodeBad, 6, false, u"Processing instruction at offset 0 unterminated"},
      {u"<!DOCTYPE x", kNodeBad, 11, false, u"Doctype at offset 0 unterminated"},
      {u"<", kNodeBad, 1, false, u"tag at offset 0 unterminated"},
      {u"<!x", kNodeBad, 3, false, u"tag at offset 0 unterminated"},
      {u"<!DOCTYPE r [<!x>]>", kNodeDeclaration, 19, false, u"Incorrect ! tag at offset 0"},
      {u"<!DOCTYPE r [<!-- --> <!x>]>", kNodeDeclaration, 28, false, u"Incorrect ! tag at offset 20"},
  };
  for (const auto& c : cases) {
    XmlCursor cursor{c.text};
    XmlNodeInfo node;
    EXPECT_EQ(ScanNode(cursor, node), c.type) << Narrow(c.text);
    EXPECT_EQ(node.type, c.type) << Narrow(c.text);
    EXPECT_EQ(node.length, c.length) << Narrow(c.text);
    EXPECT_EQ(cursor.next, c.length) << Narrow(c.text);
    EXPECT_EQ((node.flags & kNodeSelfClosing) != 0, c.selfClosing) << Narrow(c.text);
    EXPECT_EQ(Narrow(node.message), Narrow(c.message)) << Narrow(c.text);
  }
}

TEST(ScanNode, SequenceWithNamesAndOffsets) {
  const std::u16string_view text = u"<?xml v='1'?>\n<root a='1'>t&amp;<![CDATA[c]]><x/></root >";
  struct Expect {
    std::int32_t type, start, length;
    std::u16string_view name;
  } expected[] = {
      {kNodeProcessing, 0, 13, u"xml"}, {kNodeWhitespace, 13, 1, u""}, {kNodeStartTag, 14, 12, u"root"},
      {kNodeText, 26, 6, u""},          {kNodeCdata, 32, 13, u""},     {kNodeStartTag, 45, 4, u"x"},
      {kNodeEndTag, 49, 8, u"root"},    {kNodeEndOfText, 57, 0, u""},
  };
  XmlCursor cursor{text};
  XmlNodeInfo node;
  for (const auto& e : expected) {
    ASSERT_EQ(ScanNode(cursor, node), e.type) << e.start;
    EXPECT_EQ(node.start, e.start);
    EXPECT_EQ(node.length, e.length) << e.start;
    if (e.type == kNodeEndTag) {
      EXPECT_EQ(Narrow(cursor.Name()), Narrow(e.name));
    } else if (!e.name.empty()) {
      EXPECT_EQ(Narrow(text.substr(node.nameStart, node.nameLength)), Narrow(e.name));
    }
  }
}

TEST(NextName, NamesAndDelimiters) {
  struct Case {
    std::u16string_view text;
    bool result;
    std::u16string_view name;
    std::int32_t next;
  } cases[] = {
      {u"  abc def", true, u"abc", 5}, {u"=x", true, u"=", 1},   {u"a;b", true, u"a", 1},
      {u"\\x", true, u"\\", 1},        {u"\t\r\n", false, u"", 3}, {u"", false, u"", 0},
      {u"ab\"c", true, u"ab", 2},      {u"x<y", true, u"x", 1},
  };
  for (const auto& c : cases) {
    XmlCursor cursor{c.text};
    EXPECT_EQ(NextName(cursor), c.result) << Narrow(c.text);
    EXPECT_EQ(Narrow(cursor.Name()), Narrow(c.name)) << Narrow(c.text);
    EXPECT_EQ(cursor.next, c.next) << Narrow(c.text);
    if (!c.result) {
      EXPECT_EQ(cursor.nameLast, cursor.nameFirst - 1);
    }
  }
}

TEST(NameMatches, RangeAgainstName) {
  struct Case {
    std::u16string_view range;
    std::u16string_view name;
    bool ignoreCase;
    bool matches;
  } cases[] = {
      {u"a", u"a", false, true},       {u"a", u"ab", false, false},    {u"ab", u"a", false, false},
      {u"a", u"a b", false, true},     {u"a", u"a=x", false, true},    {u"a", u"a/", false, true},
      {u"a", u"a[", false, true},      {u"a", u"a]", false, true},     {u"a", u"a-", false, false},
      {u"A", u"a", false, false},      {u"A", u"a", true, true},       {u"xmL", u"XML", true, true},
      {u"\u00e9A", u"\u00e9a", true, false},  // past a non-ASCII character case counts again
      {u"A\u00e9", u"a\u00e9", true, true},   {u"", u"", false, true}, {u"", u"x", false, false},
      {u"config", u"config", false, true},    {u"STR_TITLE", u"str_title", false, false},
  };
  for (const auto& c : cases) {
    XmlCursor cursor{c.range, 0, static_cast<std::int32_t>(c.range.size()) - 1, 0,
                     c.ignoreCase ? kCursorIgnoreCase : 0};
    EXPECT_EQ(NameMatches(cursor, c.name), c.matches) << Narrow(c.range) << " / " << Narrow(c.name);
  }
}

TEST(FindAttribute, ValuesOfTag) {
  struct Case {
    std::u16string_view tag;
    std::u16string_view name;
    bool found;
    std::u16string_view value;
  } cases[] = {
      {u"<key name='A&amp;B' vkcode=41 flag>", u"name", true, u"A&amp;B"},
      {u"<key name='A&amp;B' vkcode=41 flag>", u"vkcode", true, u"41"},
      {u"<key name='A&amp;B' vkcode=41 flag>", u"flag", true, u"flag"},
      {u"<key name='A&amp;B' vkcode=41 flag>", u"key", false, u""},  // the tag's own name
      {u"<key name='A&amp;B' vkcode=41 flag>", u"other", false, u""},
      {u"<a x = \"1\" y>", u"x", true, u"1"},
      {u"<a x = \"1\" y>", u"y", true, u"y"},
      {u"<a x=1/>", u"x", true, u"1/"},
      {u"<a b='x>y' c=2>", u"c", true, u"2"},
      {u"<a b='x>y' c=2>", u"b", true, u"x>y"},
      {u"<a x=\"abc", u"x", true, u"abc"},
      {u"<a x/> y=2", u"y", false, u""},  // the tag ends at '/'
  };
  for (const auto& c : cases) {
    XmlCursor cursor{c.tag, 0, -1, 1, 0};
    EXPECT_EQ(FindAttribute(cursor, c.name), c.found) << Narrow(c.tag) << " " << Narrow(c.name);
    EXPECT_EQ(Narrow(cursor.Name()), Narrow(c.value)) << Narrow(c.tag) << " " << Narrow(c.name);
  }
}

}  // namespace
}  // namespace z4
