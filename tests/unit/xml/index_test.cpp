// Building the element index: parse results and reports, links, growth and size limits.
#include <gtest/gtest.h>

#include <string>

#include "xml/xml_document.h"

namespace z4 {
namespace {

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

std::u16string Repeat(std::u16string_view piece, std::size_t n) {
  std::u16string out;
  out.reserve(piece.size() * n);
  for (std::size_t i = 0; i < n; ++i) out += piece;
  return out;
}

TEST(ParseDocument, ResultsAndReports) {
  struct Case {
    std::u16string_view text;
    bool ok;
    std::u16string_view report;
  } cases[] = {
      {u"", false, u"Empty document"},
      {u"<a/>", true, u""},
      {u"<?xml version='1.0'?>\n<!-- c --><!DOCTYPE r><r>t<x a='>'/></r>\n", true, u""},
      {u"<a><b></a>", false, u"End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
      {u"<a>", false, u"Element 'a' at offset 0 not ended"},
      {u"<a></b></c></a>", false, u"No start tag for end tag 'b' at offset 3"},
      {u"<a></A>", false, u"No start tag for end tag 'A' at offset 3"},
      {u"<r><1/></r>", false, u"Incorrect tag name character at offset 3"},
      {u"<r><!-- x", false, u"Comment at offset 3 unterminated"},
      {u"<a></a><b/>", false, u"Root element has sibling"},
      {u"just text", false, u"No root element"},
      {u"</a>", false, u"No root element"},
  };
  for (const auto& c : cases) {
    CXmlDocument doc;
    doc.SetText(std::u16string(c.text));
    EXPECT_EQ(doc.ParseDocument(), c.ok) << Narrow(c.text);
    EXPECT_EQ(Narrow(doc.Report()), Narrow(c.report)) << Narrow(c.text);
  }
}

TEST(ParseDocument, NewDocumentIsEmptyAndParsed) {
  CXmlDocument doc;
  EXPECT_EQ(Narrow(doc.Report()), "Empty document");
  EXPECT_EQ(doc.ElementCount(), 1);
  EXPECT_FALSE(doc.FindElement());
}

struct Links {
  std::int32_t start, length, startTag, endTag;
  std::uint32_t levelFlags;
  std::int32_t parent, firstChild, next, prev;
};

void ExpectLinks(const CXmlDocument& doc, const Links* expected, std::int32_t count) {
  ASSERT_EQ(doc.ElementCount(), count + 1);
  for (std::int32_t n = 1; n <= count; ++n) {
    const XmlElementEntry& e = doc.Element(n);
    const Links& x = expected[n - 1];
    EXPECT_EQ(e.start, x.start) << n;
    EXPECT_EQ(e.length, x.length) << n;
    EXPECT_EQ(e.StartTagLength(), x.startTag) << n;
    EXPECT_EQ(e.EndTagLength(), x.endTag) << n;
    EXPECT_EQ(e.levelFlags, x.levelFlags) << n;
    EXPECT_EQ(e.parent, x.parent) << n;
    EXPECT_EQ(e.firstChild, x.firstChild) << n;
    EXPECT_EQ(e.next, x.next) << n;
    EXPECT_EQ(e.prev, x.prev) << n;
  }
}

TEST(ParseDocument, LinksOfWellFormedTree) {
  CXmlDocument doc;
  doc.SetText(u"<r><a/><b><c/></b><d></d></r>");
  ASSERT_TRUE(doc.ParseDocument());
  const Links expected[] = {
      {0, 29, 3, 4, kElementFirstChild | 0, 0, 2, 0, 1},
      {3, 4, 4, 0, kElementFirstChild | 1, 1, 0, 3, 5},
      {7, 11, 3, 4, 1, 1, 4, 5, 2},
      {10, 4, 4, 0, kElementFirstChild | 2, 3, 0, 0, 4},
      {18, 7, 3, 4, 1, 1, 0, 0, 3},
  };
  ExpectLinks(doc, expected, 5);
  EXPECT_EQ(doc.Element(0).length, 29);
  EXPECT_EQ(doc.Element(0).firstChild, 1);
  EXPECT_EQ(doc.Element(0).levelFlags, 0u);
}

TEST(ParseDocument, UnendedElementHandsItsChildrenToItsParent) {
  CXmlDocument doc;
  doc.SetText(u"<r><a><x/><1/><y/></r>");
  EXPECT_FALSE(doc.ParseDocument());
  // The bad node is reported first; the unended a gives its children x and y to r, and its
  // bad-markup flag moves to r.
  EXPECT_EQ(Narrow(doc.Report()), "Incorrect tag name character at offset 10");
  const Links expected[] = {
      {0, 22, 3, 4, kElementFirstChild | kElementBadInside | 0, 0, 2, 0, 1},
      {3, 3, 3, 0, kElementFirstChild | kElementNotEnded | 1, 1, 0, 3, 4},
      {6, 4, 4, 0, 1, 1, 0, 4, 2},
      {14, 4, 4, 0, 1, 1, 0, 0, 3},
  };
  ExpectLinks(doc, expected, 4);
  EXPECT_TRUE(doc.Element(0).levelFlags & kDocumentIllFormed);
}

TEST(ParseDocument, EndOfTextClosesEveryOpenElement) {
  CXmlDocument doc;
  doc.SetText(u"<r><a><b/><c>");
  EXPECT_FALSE(doc.ParseDocument());
  // All four end up as top-level siblings in document order, so the root has siblings.
  EXPECT_EQ(Narrow(doc.Report()), "Root element has sibling");
  std::int32_t n = doc.Element(0).firstChild;
  for (std::int32_t expected : {1, 2, 3, 4}) {
    ASSERT_EQ(n, expected);
    EXPECT_EQ(doc.Element(n).parent, 0);
    EXPECT_EQ(doc.Element(n).Level(), 0u);
    n = doc.Element(n).next;
  }
  EXPECT_EQ(n, 0);
  EXPECT_EQ(doc.Element(1).prev, 4);
  // The navigation still reaches them.
  EXPECT_TRUE(doc.FindElement(u"c"));
}

TEST(ParseDocument, IndexGrowth) {
  struct Case {
    std::size_t elements;
    std::int32_t capacity;
  } cases[] = {
      {40, 49},          // 167 units: 10 entries at first, then 15, 22, 33, 49
      // ... 126603, 189904; then 1.5 times would reach past the end of the next segment (262144),
      // so growth goes a segment at a time: 262144, 327680, 393216, 458752.
      {400000, 458752},
  };
  for (const auto& c : cases) {
    CXmlDocument doc;
    doc.SetText(u"<r>" + Repeat(u"<a/>", c.elements) + u"</r>");
    EXPECT_TRUE(doc.ParseDocument());
    EXPECT_EQ(doc.ElementCount(), static_cast<std::int32_t>(c.elements) + 2);
    EXPECT_EQ(doc.IndexCapacity(), c.capacity) << c.elements;
    const XmlElementEntry& last = doc.Element(doc.ElementCount() - 1);
    EXPECT_EQ(last.start, static_cast<std::int32_t>(3 + 4 * (c.elements - 1)));
    EXPECT_EQ(last.parent, 1);
  }
}

TEST(ParseDocument, TagsLongerThanTheIndexHoldsAreBadNodes) {
  struct Case {
    std::size_t startTagSpaces;
    std::size_t endTagSpaces;
    bool ok;
    std::u16string_view report;
  } cases[] = {
      {4194300, 0, true, u""},  // "<a" + spaces + ">" is 4,194,303 units: the longest that fits
      {4194301, 0, false, u"Element tag at offset 3 too long"},
      {0, 1019, true, u""},  // "</a" + spaces + ">" is 1,023 units
      {0, 1020, false, u"Element end tag at offset 6 too long"},
  };
  for (const auto& c : cases) {
    CXmlDocument doc;
    const std::u16string text = u"<r><a" + std::u16string(c.startTagSpaces, u' ') + u"></a" +
                                std::u16string(c.endTagSpaces, u' ') + u"></r>";
    doc.SetText(text);
    EXPECT_EQ(doc.ParseDocument(), c.ok) << c.startTagSpaces << " " << c.endTagSpaces;
    EXPECT_EQ(Narrow(doc.Report()), Narrow(c.report));
    if (c.ok) {
      EXPECT_EQ(doc.Element(2).StartTagLength(), static_cast<std::int32_t>(c.startTagSpaces + 3));
      EXPECT_EQ(doc.Element(2).EndTagLength(), static_cast<std::int32_t>(c.endTagSpaces + 4));
    }
  }
}

TEST(ParseDocument, DepthBeyondTheLevelFieldIsHeldAtItsMaximum) {
  constexpr std::size_t kDepth = 70000;
  CXmlDocument doc;
  doc.SetText(Repeat(u"<a>", kDepth) + u"text" + Repeat(u"</a>", kDepth));
  EXPECT_TRUE(doc.ParseDocument());
  EXPECT_EQ(doc.Element(65535).Level(), 65534u);
  EXPECT_EQ(doc.Element(65536).Level(), 65535u);
  EXPECT_EQ(doc.Element(kDepth).Level(), 65535u);
  EXPECT_EQ(doc.Element(kDepth).parent, static_cast<std::int32_t>(kDepth - 1));
  EXPECT_EQ(doc.Element(kDepth).levelFlags & ~kMaxLevel, kElementFirstChild);

  // Unended at any depth: one linear pass flattens them all.
  doc.SetText(Repeat(u"<a>", kDepth));
  EXPECT_FALSE(doc.ParseDocument());
  EXPECT_EQ(Narrow(doc.Report()), "Root element has sibling");
  EXPECT_EQ(doc.Element(kDepth).parent, 0);
  EXPECT_EQ(doc.Element(kDepth - 1).next, static_cast<std::int32_t>(kDepth));
}

}  // namespace
}  // namespace z4
