// The markup scanner: node scanning, names under a cursor, name matching and attribute search.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace z4 {

// Node types returned by ScanNode.
enum XmlNodeType : std::int32_t {
  kNodeEndOfText = -2,
  kNodeBad = -1,
  kNodeEndTag = 0,
  kNodeStartTag = 1,
  kNodeText = 2,
  kNodeWhitespace = 4,
  kNodeCdata = 8,
  kNodeProcessing = 16,
  kNodeComment = 32,
  kNodeDeclaration = 64,
};

constexpr std::uint32_t kNodeSelfClosing = 0x10000;
constexpr std::uint32_t kCursorIgnoreCase = 8;

// One scanned node. The tag name of a start tag or processing instruction is a range of the
// text (no copy); only a bad node carries a text of its own, its message.
struct XmlNodeInfo {
  std::int32_t type = kNodeBad;
  std::int32_t start = 0;
  std::int32_t length = 0;
  std::uint32_t flags = 0;
  std::int32_t nameStart = 0;
  std::int32_t nameLength = 0;
  std::u16string message;
};

// A reading position over a text. Reads past the end of the view give the terminating zero,
// so a cursor over part of a text stops at the end of that part.
struct XmlCursor {
  std::u16string_view text;
  std::int32_t nameFirst = 0;
  std::int32_t nameLast = -1;  // inclusive; an empty range has nameLast == nameFirst - 1
  std::int32_t next = 0;
  std::uint32_t flags = 0;

  char16_t At(std::int32_t p) const {
    return p >= 0 && static_cast<std::size_t>(p) < text.size() ? text[static_cast<std::size_t>(p)]
                                                               : u'\0';
  }
  std::u16string_view Name() const {
    return nameLast < nameFirst ? std::u16string_view()
                                : text.substr(static_cast<std::size_t>(nameFirst),
                                              static_cast<std::size_t>(nameLast - nameFirst + 1));
  }
};

inline bool IsXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Scans the node that begins at cursor.next, fills node and returns its type; cursor.next then
// lies just past the node. The name of an end tag goes to the cursor's name range.
std::int32_t ScanNode(XmlCursor& cursor, XmlNodeInfo& node);

// Takes the next name (or single delimiter character) after white space into the name range;
// false at the end of the text, with an empty range there.
bool NextName(XmlCursor& cursor);

// Whether the cursor's name range names `name` (see the matching rule in the reader's notes:
// `name` may go on after the range with a space, '=', '/', '[' or ']').
bool NameMatches(const XmlCursor& cursor, std::u16string_view name);

// Searches the attributes of the tag whose name starts at cursor.next; on success the name range
// holds the value (without quotes), or the attribute's own name when it has no value.
bool FindAttribute(XmlCursor& cursor, std::u16string_view name);

}  // namespace z4
