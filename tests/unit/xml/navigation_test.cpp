// Walking the index by name and extracting attributes and element text.
#include <gtest/gtest.h>

#include <string>

#include "xml/xml_document.h"

namespace z4 {
namespace {

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

CXmlDocument Parsed(std::u16string_view text) {
  CXmlDocument doc;
  doc.SetText(std::u16string(text));
  doc.ParseDocument();
  return doc;
}

TEST(Navigation, FindElementOnTheCurrentLevel) {
  CXmlDocument doc = Parsed(u"<a></a><b/><a x='2'/>");  // not well formed, still navigable
  EXPECT_TRUE(doc.FindElement(u"a"));
  EXPECT_EQ(doc.CurrentPosition(), 1);
  EXPECT_TRUE(doc.FindElement(u"a"));
  EXPECT_EQ(doc.CurrentPosition(), 3);
  EXPECT_FALSE(doc.FindElement(u"a"));  // nothing changes on failure
  EXPECT_EQ(doc.CurrentPosition(), 3);
  doc.ResetPosition();
  EXPECT_TRUE(doc.FindElement());
  EXPECT_TRUE(doc.FindElement(u""));
  EXPECT_EQ(doc.CurrentPosition(), 2);
  EXPECT_FALSE(doc.EnterElement() && doc.FindElement());  // b has no children
}

TEST(Navigation, ChildrenByNameInOrder) {
  CXmlDocument doc = Parsed(
      u"<k><key a='1'/><other a='x'/><key a='2'>t</key><g><key a='3'/></g><keys a='y'/></k>");
  std::u16string seen;
  while (doc.FindChildElement(u"key")) seen += doc.GetChildAttribute(u"a");
  EXPECT_EQ(Narrow(seen), "12");
  EXPECT_EQ(doc.CurrentPosition(), 1);

  doc.ResetPosition();
  ASSERT_TRUE(doc.FindChildElement(u"g"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.ParentPosition(), 1);
  ASSERT_TRUE(doc.FindChildElement(u"key"));
  EXPECT_EQ(Narrow(doc.GetChildAttribute(u"a")), "3");
  EXPECT_EQ(doc.CurrentPosition(), doc.Element(doc.ChildPosition()).parent);
}

TEST(Navigation, NothingToFind) {
  CXmlDocument empty;
  EXPECT_FALSE(empty.FindChildElement(u"x"));
  EXPECT_FALSE(empty.EnterElement());
  EXPECT_EQ(Narrow(empty.GetChildAttribute(u"a")), "");
  EXPECT_EQ(Narrow(empty.GetChildText()), "");

  CXmlDocument doc = Parsed(u"<r a='1'><c/></r>");
  EXPECT_EQ(Narrow(doc.GetChildAttribute(u"a")), "");  // no current child
  EXPECT_TRUE(doc.FindChildElement());
  EXPECT_FALSE(doc.FindChildElement());
  EXPECT_EQ(doc.ChildPosition(), 2);
}

TEST(Navigation, ChildAttributesDecoded) {
  CXmlDocument doc = Parsed(u"<r><key name='A&amp;B' vkcode=41 flag tip=\"&#x4E2D;&lt;\"/></r>");
  ASSERT_TRUE(doc.FindChildElement(u"key"));
  struct Case {
    std::u16string_view name;
    std::u16string_view value;
  } cases[] = {
      {u"name", u"A&B"}, {u"vkcode", u"41"}, {u"flag", u"flag"}, {u"tip", u"\u4E2D<"},
      {u"key", u""},     {u"other", u""},    {u"Name", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(doc.GetChildAttribute(c.name), c.value) << Narrow(c.name);
}

TEST(Navigation, ChildText) {
  struct Case {
    std::u16string_view element;
    std::u16string_view text;
  } cases[] = {
      {u"<a>x<!--c-->y</a>", u"xy"},
      {u"<a> <![CDATA[<b>]]> </a>", u"<b>"},
      {u"<a>  </a>", u"  "},
      {u"<a>\n  line &amp; more\n</a>", u"\n  line & more\n"},
      {u"<a><b/></a>", u""},
      {u"<a/>", u""},
      {u"<a></a>", u""},
      {u"<a>&#x4E2D;&amp;</a>", u"\u4E2D&"},
      {u"<a>1 &lt; 2<?p x?> &amp; 3</a>", u"1 < 2 & 3"},
      {u"<a><![CDATA[&amp;]]>&amp;<![CDATA[]]></a>", u"&amp;&"},
      {u"<a>x<!DOCTYPE y>z</a>", u"xz"},
  };
  for (const auto& c : cases) {
    CXmlDocument doc = Parsed(u"<r>" + std::u16string(c.element) + u"</r>");
    ASSERT_TRUE(doc.FindChildElement()) << Narrow(c.element);
    EXPECT_EQ(doc.GetChildText(), c.text) << Narrow(c.element);
  }
}

TEST(Navigation, UnendedChildHasNoText) {
  CXmlDocument doc = Parsed(u"<r><a>text</r>");
  ASSERT_TRUE(doc.FindChildElement(u"a"));
  EXPECT_EQ(Narrow(doc.GetChildText()), "");
}

}  // namespace
}  // namespace z4
