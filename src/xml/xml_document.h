// CXmlDocument: the agent's own read-only markup reader. The text is scanned once into an
// index of elements; lookups walk the index by element name and extract attribute values and
// element text on demand.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/xml_scan.h"

namespace z4 {

class TextPlatform;

// Element flags (XmlElementEntry::levelFlags above the 16-bit depth).
constexpr std::uint32_t kElementFirstChild = 0x80000;
constexpr std::uint32_t kElementNotEnded = 0x100000;
constexpr std::uint32_t kElementBadInside = 0x200000;
constexpr std::uint32_t kDocumentIllFormed = 0x800000;  // on entry 0

// The widths of the tag length fields limit what the index can describe: longer start or end
// tags are taken as bad nodes, and depths beyond kMaxLevel are stored as kMaxLevel.
constexpr std::int32_t kMaxStartTagLength = (1 << 22) - 1;
constexpr std::int32_t kMaxEndTagLength = (1 << 10) - 1;
constexpr std::uint32_t kMaxLevel = 0xFFFF;

// One element of the index: eight 32-bit words.
struct XmlElementEntry {
  std::int32_t start;
  std::int32_t length;
  std::uint32_t tagLengths;  // start tag length in the low 22 bits, end tag length above
  std::uint32_t levelFlags;  // depth in the low 16 bits, kElement... flags above
  std::int32_t parent;
  std::int32_t firstChild;
  std::int32_t next;
  std::int32_t prev;  // the first child's prev is the last child of the same parent

  std::int32_t StartTagLength() const { return static_cast<std::int32_t>(tagLengths & 0x3FFFFF); }
  std::int32_t EndTagLength() const { return static_cast<std::int32_t>(tagLengths >> 22); }
  void SetTagLengths(std::int32_t startTag, std::int32_t endTag) {
    tagLengths = static_cast<std::uint32_t>(startTag) | (static_cast<std::uint32_t>(endTag) << 22);
  }
  std::uint32_t Level() const { return levelFlags & 0xFFFF; }
};
static_assert(sizeof(XmlElementEntry) == 32);

// m_nDocFlags bits.
constexpr std::uint32_t kDocUtf16LeMark = 1;
constexpr std::uint32_t kDocUtf8Mark = 4;
constexpr std::uint32_t kDocIgnoreCase = 8;
constexpr std::uint32_t kDocReading = 0x10;
constexpr std::uint32_t kDocUtf16BeMark = 0x80;

class CXmlDocument {
 public:
  CXmlDocument();

  // Reads the file at path (LoadTextFile). On success its text replaces the document's text
  // and ParseDocument is still to be called; on failure text and index stay as they were, so
  // the index never refers to a text it was not built from. The report and flags are updated
  // either way.
  bool LoadFile(TextPlatform& platform, const std::u16string& path);
  // Replaces the text (and empties the report and the index) without reading a file.
  void SetText(std::u16string text);

  // Builds the element index; true only for a well-formed document with one root element.
  bool ParseDocument();

  void ResetPosition();
  bool FindElement(std::u16string_view name = {});
  bool FindChildElement(std::u16string_view name = {});
  bool EnterElement();
  std::u16string GetChildAttribute(std::u16string_view name) const;
  std::u16string GetChildText() const;

  const std::u16string& Text() const { return m_strText; }
  const std::u16string& Report() const { return m_strReport; }
  std::uint32_t DocFlags() const { return m_nDocFlags; }
  void SetDocFlags(std::uint32_t flags) { m_nDocFlags = flags; }

  // The index: entry 0 is the document; elements are 1 .. ElementCount() - 1 (n must be below
  // ElementCount()).
  std::int32_t ElementCount() const { return m_nNextElement; }
  std::int32_t IndexCapacity() const { return m_nCapacity; }
  const XmlElementEntry& Element(std::int32_t n) const { return Entry(n); }
  std::int32_t ParentPosition() const { return m_nParent; }
  std::int32_t CurrentPosition() const { return m_nCurrent; }
  std::int32_t ChildPosition() const { return m_nChild; }

 private:
  static constexpr std::int32_t kSegmentBits = 16;
  static constexpr std::int32_t kSegmentSize = 1 << kSegmentBits;

  XmlElementEntry& Entry(std::int32_t n) {
    return m_segments[static_cast<std::size_t>(n >> kSegmentBits)][n & (kSegmentSize - 1)];
  }
  const XmlElementEntry& Entry(std::int32_t n) const {
    return m_segments[static_cast<std::size_t>(n >> kSegmentBits)][n & (kSegmentSize - 1)];
  }

  void ClearIndex(std::int32_t capacity);
  void GrowIndex(std::int32_t capacity);
  std::int32_t NewElement();
  std::u16string BuildElementIndex(std::int32_t& firstElement);
  void LinkAsLastChild(std::int32_t parent, std::int32_t element);
  std::int32_t FindFrom(std::int32_t parent, std::int32_t after, std::u16string_view name) const;

  std::u16string m_strText;
  std::u16string m_strReport;
  std::uint32_t m_nDocFlags = 0;
  std::int32_t m_nParent = 0;
  std::int32_t m_nCurrent = 0;
  std::int32_t m_nChild = 0;

  // Segments of up to kSegmentSize entries; only the last may be shorter, so growing copies at
  // most one segment.
  std::vector<std::unique_ptr<XmlElementEntry[]>> m_segments;
  std::int32_t m_nCapacity = 0;
  std::int32_t m_nNextElement = 1;
};

}  // namespace z4
