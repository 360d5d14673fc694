// Building the element index of a CXmlDocument: storage in segments, linking, error reports.
#include <algorithm>
#include <limits>

#include "xml/text_platform.h"
#include "xml/text_util.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace z4 {
namespace {

// Positions are 32-bit; longer texts are not indexed.
constexpr std::size_t kMaxTextLength = std::numeric_limits<std::int32_t>::max() - 1;

struct OpenTag {
  std::int32_t element;
  std::int32_t nameStart;
  std::int32_t nameLength;
};

}  // namespace

CXmlDocument::CXmlDocument() { ParseDocument(); }

bool CXmlDocument::LoadFile(TextPlatform& platform, const std::u16string& path) {
  std::u16string text;
  if (!LoadTextFile(platform, path, text, &m_strReport, &m_nDocFlags)) return false;
  m_strText = std::move(text);
  ClearIndex(8);
  ResetPosition();
  return true;
}

void CXmlDocument::SetText(std::u16string text) {
  m_strText = std::move(text);
  m_strReport.clear();
  ClearIndex(8);
  ResetPosition();
}

void CXmlDocument::ClearIndex(std::int32_t capacity) {
  m_segments.clear();
  m_nCapacity = 0;
  m_nNextElement = 1;
  GrowIndex(capacity);
}

void CXmlDocument::GrowIndex(std::int32_t capacity) {
  while (m_nCapacity < capacity) {
    const std::int32_t segment = m_nCapacity >> kSegmentBits;
    const std::int32_t base = segment << kSegmentBits;
    const std::int32_t size = std::min(kSegmentSize, capacity - base);
    auto fresh = std::make_unique<XmlElementEntry[]>(static_cast<std::size_t>(size));
    if (static_cast<std::size_t>(segment) < m_segments.size()) {
      // Only the last segment is ever short: copy it into its longer replacement.
      std::copy_n(m_segments.back().get(), m_nCapacity - base, fresh.get());
      m_segments.back() = std::move(fresh);
    } else {
      if (m_segments.size() == m_segments.capacity()) {
        m_segments.reserve(4 + 2 * static_cast<std::size_t>(segment));
      }
      m_segments.push_back(std::move(fresh));
    }
    m_nCapacity = base + size;
  }
}

std::int32_t CXmlDocument::NewElement() {
  if (m_nNextElement == m_nCapacity) {
    const std::int64_t used = m_nNextElement;
    const std::int64_t nextSegmentEnd = ((m_nCapacity - 1) / kSegmentSize + 2) * std::int64_t{kSegmentSize};
    GrowIndex(static_cast<std::int32_t>(std::min(std::max(used + used / 2, used + 1), nextSegmentEnd)));
  }
  return m_nNextElement++;
}

void CXmlDocument::LinkAsLastChild(std::int32_t parent, std::int32_t element) {
  XmlElementEntry& e = Entry(element);
  e.parent = parent;
  e.firstChild = 0;
  e.next = 0;
  const std::int32_t first = Entry(parent).firstChild;
  if (first == 0) {
    Entry(parent).firstChild = element;
    e.levelFlags = kElementFirstChild;
    e.prev = element;
  } else {
    const std::int32_t last = Entry(first).prev;
    Entry(last).next = element;
    e.prev = last;
    e.levelFlags = 0;
    Entry(first).prev = element;
  }
}

std::u16string CXmlDocument::BuildElementIndex(std::int32_t& firstElement) {
  const std::u16string_view text = m_strText;
  std::u16string error;
  std::vector<OpenTag> open;
  open.reserve(6);
  std::int32_t innermost = 0;
  XmlCursor cursor{text, 0, -1, 0, m_nDocFlags & kCursorIgnoreCase};
  XmlNodeInfo node;
  firstElement = 0;

  auto tagName = [&](const OpenTag& t) {
    return text.substr(static_cast<std::size_t>(t.nameStart), static_cast<std::size_t>(t.nameLength));
  };
  auto markBad = [&](std::u16string message) {
    Entry(0).levelFlags |= kDocumentIllFormed;
    Entry(innermost).levelFlags |= kElementBadInside;
    if (error.empty()) error = std::move(message);
  };
  // Closes open[from..] as not ended. Done as one pass with the effect of closing them one by one,
  // innermost first: each loses its children, which follow it as siblings, so that all end up
  // under the parent of open[from] in document order.
  auto closeNotEnded = [&](std::size_t from, const std::u16string& endTagName, std::int32_t endSlash) {
    const std::int32_t parent = from == 0 ? 0 : open[from - 1].element;
    Entry(0).levelFlags |= kDocumentIllFormed;
    if (error.empty()) {
      const OpenTag& inner = open.back();
      const std::int32_t innerStart = Entry(inner.element).start;
      if (endSlash >= 0) {
        error = u"End tag '" + endTagName + u"' at offset ";
        AppendDecimal(error, endSlash);
        error += u" does not match start tag '" + std::u16string(tagName(inner)) + u"' at offset ";
      } else {
        error = u"Element '" + std::u16string(tagName(inner)) + u"' at offset ";
      }
      AppendDecimal(error, innerStart);
      if (endSlash < 0) error += u" not ended";
    }
    std::int32_t tail = open[from].element;
    const std::uint32_t level = Entry(tail).Level();
    bool badInside = false;
    for (std::size_t i = from; i < open.size(); ++i) {
      XmlElementEntry& e = Entry(open[i].element);
      badInside |= (e.levelFlags & kElementBadInside) != 0;
      e.levelFlags = (e.levelFlags & ~kElementBadInside) | kElementNotEnded;
      e.SetTagLengths(e.StartTagLength(), 0);
      e.length = e.StartTagLength();
      std::int32_t child = e.firstChild;
      e.firstChild = 0;
      while (child != 0) {
        XmlElementEntry& c = Entry(child);
        const std::int32_t after = c.next;
        Entry(tail).next = child;
        c.prev = tail;
        c.parent = parent;
        c.levelFlags = (c.levelFlags & ~(kMaxLevel | kElementFirstChild)) | level;
        tail = child;
        child = after;
      }
    }
    Entry(tail).next = 0;
    Entry(Entry(parent).firstChild).prev = tail;
    if (badInside) Entry(parent).levelFlags |= kElementBadInside;
    open.resize(from);
    innermost = parent;
  };

  for (;;) {
    std::int32_t type = ScanNode(cursor, node);
    if ((type == kNodeStartTag && node.length > kMaxStartTagLength) ||
        (type == kNodeEndTag && node.length > kMaxEndTagLength)) {
      node.message = Ascii16(type == kNodeStartTag ? "Element tag" : "Element end tag");
      node.message += u" at offset ";
      AppendDecimal(node.message, node.start);
      node.message += u" too long";
      type = kNodeBad;
    }
    switch (type) {
      case kNodeStartTag: {
        const std::int32_t element = NewElement();
        if (firstElement == 0) firstElement = element;
        LinkAsLastChild(innermost, element);
        XmlElementEntry& e = Entry(element);
        e.levelFlags |= std::min(static_cast<std::uint32_t>(open.size()), kMaxLevel);
        e.start = node.start;
        e.length = node.length;
        e.SetTagLengths(node.length, 0);
        if (!(node.flags & kNodeSelfClosing)) {
          if (open.size() == open.capacity()) open.reserve(2 * open.capacity() + 6);
          open.push_back({element, node.nameStart, node.nameLength});
          innermost = element;
        }
        break;
      }
      case kNodeEndTag: {
        std::size_t match = open.size();
        while (match > 0 && !NameMatches(cursor, tagName(open[match - 1]))) --match;
        if (match == 0) {
          std::u16string message = u"No start tag for end tag '" + std::u16string(cursor.Name()) + u"' at offset ";
          AppendDecimal(message, node.start);
          markBad(std::move(message));
          break;
        }
        const std::size_t matched = match - 1;
        XmlElementEntry& m = Entry(open[matched].element);
        m.length = node.start - m.start + node.length;
        m.SetTagLengths(m.StartTagLength(), node.length);
        if (matched + 1 < open.size()) closeNotEnded(matched + 1, std::u16string(cursor.Name()), node.start + 1);
        open.pop_back();
        innermost = matched == 0 ? 0 : open.back().element;
        break;
      }
      case kNodeBad:
        markBad(std::move(node.message));
        break;
      case kNodeEndOfText:
        if (!open.empty()) closeNotEnded(0, {}, -1);
        return error;
      default:
        break;
    }
  }
}

bool CXmlDocument::ParseDocument() {
  const std::u16string kept = std::move(m_strReport);
  ResetPosition();
  const std::size_t length = std::min(m_strText.size(), kMaxTextLength);
  ClearIndex(static_cast<std::int32_t>(length / 64 + 8));
  XmlElementEntry& doc = Entry(0);
  doc = XmlElementEntry{};

  std::u16string error;
  if (m_strText.empty()) {
    error = u"Empty document";
  } else if (m_strText.size() > kMaxTextLength) {
    error = u"Document too large";
  } else {
    std::int32_t first = 0;
    error = BuildElementIndex(first);
    Entry(0).length = static_cast<std::int32_t>(length);
    if (first == 0) {
      error = u"No root element";
    } else {
      Entry(0).firstChild = first;
      if (Entry(first).next != 0) error = u"Root element has sibling";
    }
  }
  ResetPosition();
  if (kept.empty()) {
    m_strReport = error;
  } else if (error.empty()) {
    m_strReport = kept;
  } else {
    m_strReport = kept + u" " + error;
  }
  const XmlElementEntry& d = Entry(0);
  return !(d.levelFlags & kDocumentIllFormed) && d.firstChild != 0 && Entry(d.firstChild).next == 0;
}

}  // namespace z4
