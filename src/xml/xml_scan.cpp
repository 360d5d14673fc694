// Node scanner, names under a cursor, name matching and the attribute search.
#include "xml/xml_scan.h"

#include "xml/text_util.h"

namespace z4 {
namespace {

// What ends the node being scanned.
enum class Marker { kNone, kGt, kPiEnd, kCommentEnd, kCdataEnd, kLt };

// Scanner state bits.
enum : std::uint32_t {
  kOpenTag = 1,
  kBang = 2,
  kDash = 4,
  kBracket = 8,
  kTextOrSpace = 16,
  kDocType = 32,
  kSingleQuote = 64,
  kDoubleQuote = 128,
  kAfterEquals = 256,
};

bool IsNameStart(char16_t c) { return (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c > 0x60; }

bool IsNameDelimiter(char16_t c) {
  switch (c) {
    case u' ': case u'\t': case u'\n': case u'\r': case u'<': case u'>': case u'=': case u'\\':
    case u'/': case u'?': case u'!': case u'"': case u'\'': case u';':
      return true;
    default:
      return false;
  }
}

std::u16string OffsetMessage(const char* head, std::int32_t offset, const char* tail) {
  std::u16string m = Ascii16(head);
  m += u" at offset ";
  AppendDecimal(m, offset);
  m += Ascii16(tail);
  return m;
}

const char* UnterminatedKind(std::int32_t type, bool inDocType) {
  if (inDocType || type == kNodeDeclaration) return "Doctype";
  switch (type) {
    case kNodeStartTag: return "Element tag";
    case kNodeEndTag: return "Element end tag";
    case kNodeCdata: return "CDATA Section";
    case kNodeProcessing: return "Processing instruction";
    case kNodeComment: return "Comment";
    default: return "tag";
  }
}

}  // namespace

std::int32_t ScanNode(XmlCursor& c, XmlNodeInfo& node) {
  const std::int32_t start = c.next;
  node.start = start;
  node.flags = 0;
  node.nameStart = start;
  node.nameLength = 0;
  node.message.clear();
  if (c.At(start) == 0) {
    node.type = kNodeEndOfText;
    node.length = 0;
    return kNodeEndOfText;
  }

  std::int32_t type = kNodeBad;
  Marker marker = Marker::kNone;
  std::uint32_t bits = 0;
  std::int32_t nameStart = -1;
  char16_t before1 = 0;  // the remembered characters for the self-closing test
  char16_t before2 = 0;
  std::int32_t lastGt = start;  // offset used in messages inside a document type declaration
  auto bad = [&](const char* what) {
    node.message = OffsetMessage(what, (bits & kDocType) ? lastGt : start, "");
    type = kNodeBad;
    marker = Marker::kGt;
  };

  // The runs that no rule looks into (text, the inside of comments, quoted values) are
  // skipped in tight loops; `skipTo(p, a, b)` returns the last position before a, b or the end.
  const char16_t* const s = c.text.data();
  const std::int32_t size = static_cast<std::int32_t>(c.text.size());
  auto skipTo = [s, size](std::int32_t p, char16_t a, char16_t b) {
    while (p + 1 < size && s[p + 1] != a && s[p + 1] != b && s[p + 1] != 0) ++p;
    return p;
  };

  std::int32_t end = start;
  for (std::int32_t p = start;; ++p) {
    const char16_t ch = p < size ? s[p] : u'\0';
    if (ch == 0) {
      if (type != kNodeText && type != kNodeWhitespace) {
        node.message = OffsetMessage(UnterminatedKind(type, bits & kDocType), start, " unterminated");
        type = kNodeBad;
      }
      end = p - 1;
      break;
    }
    if ((bits & kDocType) && ch == u'>') lastGt = p;

    if (nameStart >= 0) {
      if (!IsXmlSpace(ch) && ch != u'/' && ch != u'>') continue;
      if (type == kNodeEndTag) {
        c.nameFirst = nameStart;
        c.nameLast = p - 1;
      } else {
        node.nameStart = nameStart;
        node.nameLength = p - nameStart;
      }
      nameStart = -1;
      before1 = before2 = 0;
    }

    if (marker != Marker::kNone) {
      if (ch == u'>' && !(bits & (kSingleQuote | kDoubleQuote)) && marker != Marker::kLt) {
        bool found = true;
        if (marker == Marker::kGt) {
          if (type == kNodeStartTag && before1 == u'/' &&
              (before2 == 0 || IsXmlSpace(before2) || before2 == u'\'' || before2 == u'"')) {
            node.flags |= kNodeSelfClosing;
          }
        } else if (marker == Marker::kPiEnd) {
          found = c.At(p - 1) == u'?';
        } else {
          const char16_t m = marker == Marker::kCommentEnd ? u'-' : u']';
          found = c.At(p - 1) == m && c.At(p - 2) == m;
        }
        if (!found) continue;
        if (!(bits & kDocType)) {
          end = p;
          break;
        }
        marker = Marker::kNone;  // a nested declaration ended; the outer one goes on
        bits &= ~kAfterEquals;
        continue;
      }
      if (ch == u'<' && (type == kNodeText || type == kNodeBad)) {
        end = p - 1;
        break;
      }
      if (type == kNodeText) {
        p = skipTo(p, u'<', u'<');
        continue;
      }
      if (type == kNodeComment || type == kNodeCdata || type == kNodeProcessing) {
        p = skipTo(p, u'>', u'>');
        continue;
      }
      if (type == kNodeStartTag || type == kNodeBad) {
        if (bits & (kSingleQuote | kDoubleQuote)) {
          const char16_t quote = (bits & kSingleQuote) ? u'\'' : u'"';
          if (ch == quote) {
            bits &= ~(kSingleQuote | kDoubleQuote);
          } else if (type == kNodeStartTag) {
            // Inside a value only its closing quote counts; what the remembered characters
            // held there cannot make the tag self-closing.
            p = skipTo(p, quote, quote);
            before1 = before2 = 0;
            continue;
          }
        } else if (ch == u'"' || ch == u'\'') {
          if (bits & kAfterEquals) bits = (bits & ~kAfterEquals) | (ch == u'"' ? kDoubleQuote : kSingleQuote);
        } else if (ch == u'=') {
          if (!(bits & kAfterEquals) && before1 != u'=') bits |= kAfterEquals;
        } else if (!IsXmlSpace(ch)) {
          bits &= ~kAfterEquals;
        }
        before2 = before1;
        before1 = ch;
      } else if (type == kNodeDeclaration) {
        if (ch == u'"' && !(bits & kSingleQuote)) bits ^= kDoubleQuote;
        if (ch == u'\'' && !(bits & kDoubleQuote)) bits ^= kSingleQuote;
      }
      continue;
    }

    if (bits & kTextOrSpace) {
      if (ch == u'<') {
        end = p - 1;
        break;
      }
      if (!IsXmlSpace(ch)) {
        bits &= ~kTextOrSpace;
        type = kNodeText;
        marker = Marker::kLt;
        p = skipTo(p, u'<', u'<');
      }
    } else if (bits & kOpenTag) {
      bits &= ~kOpenTag;
      if (IsNameStart(ch)) {
        type = kNodeStartTag;
        marker = Marker::kGt;
        nameStart = p;
      } else if (ch == u'/') {
        type = kNodeEndTag;
        marker = Marker::kGt;
        nameStart = p + 1;
      } else if (ch == u'!') {
        bits |= kBang;
      } else if (ch == u'?') {
        type = kNodeProcessing;
        marker = Marker::kPiEnd;
        nameStart = p + 1;
      } else {
        bad("Incorrect tag name character");
      }
    } else if (bits & kBang) {
      bits &= ~kBang;
      if (ch == u'-') {
        bits |= kDash;
      } else if (ch == u'[' && !(bits & kDocType)) {
        bits |= kBracket;
      } else if (ch == u'D' && !(bits & kDocType)) {
        bits |= kDocType;
      } else if (ch == u'E' || ch == u'A' || ch == u'N') {
        type = kNodeDeclaration;
        marker = Marker::kGt;
      } else {
        bad("Incorrect ! tag");
      }
    } else if (bits & kDash) {
      bits &= ~kDash;
      if (ch == u'-') {
        type = kNodeComment;
        marker = Marker::kCommentEnd;
      } else {
        bad("Incorrect comment tag");
      }
    } else if (bits & kBracket) {
      bits &= ~kBracket;
      if (ch == u'C') {
        type = kNodeCdata;
        marker = Marker::kCdataEnd;
      } else {
        bad("Incorrect tag");
      }
    } else if (bits & kDocType) {
      if (ch == u'<') {
        bits |= kOpenTag;
      } else if (ch == u'>') {
        type = kNodeDeclaration;
        end = p;
        break;
      }
    } else if (ch == u'<') {
      bits |= kOpenTag;
    } else if (IsXmlSpace(ch)) {
      bits |= kTextOrSpace;
      type = kNodeWhitespace;
    } else {
      type = kNodeText;
      marker = Marker::kLt;
      p = skipTo(p, u'<', u'<');
    }
  }
  node.type = type;
  node.length = end + 1 - start;
  c.next = end + 1;
  return type;
}

bool NextName(XmlCursor& c) {
  std::int32_t p = c.next;
  while (IsXmlSpace(c.At(p))) ++p;
  c.nameFirst = p;
  if (c.At(p) == 0) {
    c.nameLast = p - 1;
    c.next = p;
    return false;
  }
  std::int32_t q = p + 1;
  if (!IsNameDelimiter(c.At(p))) {
    while (c.At(q) != 0 && !IsNameDelimiter(c.At(q))) ++q;
  }
  c.nameLast = q - 1;
  c.next = q;
  return true;
}

bool NameMatches(const XmlCursor& c, std::u16string_view name) {
  const std::u16string_view range = c.Name();
  if (range.size() > name.size()) return false;
  bool exact = !(c.flags & kCursorIgnoreCase);
  for (std::size_t i = 0; i < range.size(); ++i) {
    const char16_t a = range[i];
    const char16_t b = name[i];
    if (a == b) {
      if (a > 0x7F) exact = true;  // past a non-ASCII character, letters must match exactly
      continue;
    }
    if (exact || LowerAscii(a) != LowerAscii(b)) return false;
  }
  if (range.size() == name.size()) return true;
  switch (name[range.size()]) {
    case u'\0': case u' ': case u'=': case u'/': case u'[': case u']':
      return true;
    default:
      return false;
  }
}

bool FindAttribute(XmlCursor& c, std::u16string_view name) {
  std::int32_t p = c.next;
  bool afterEquals = false;
  bool tagNamePassed = false;
  bool found = false;
  std::int32_t foundFirst = 0;
  std::int32_t foundLast = -1;
  for (;;) {
    const std::int32_t spaceStart = p;
    while (IsXmlSpace(c.At(p))) ++p;
    const char16_t ch = c.At(p);
    if (ch == 0) break;

    std::int32_t first = p;
    std::int32_t last;
    const bool quoted = ch == u'"' || ch == u'\'';
    if (quoted) {
      first = p + 1;
      std::int32_t q = first;
      while (c.At(q) != 0 && c.At(q) != ch) ++q;
      last = q - 1;
      p = c.At(q) == ch ? q + 1 : q;
    } else {
      std::int32_t q = p;
      for (char16_t t = c.At(q); t != 0 && !IsXmlSpace(t) && t != u'>' &&
                                 (afterEquals || (t != u'=' && t != u'/' && t != u'?'));
           t = c.At(++q)) {
      }
      if (q == p) q = p + 1;
      last = q - 1;
      p = q;
    }

    if (quoted || afterEquals) {
      if (found) {
        c.nameFirst = first;
        c.nameLast = last;
        c.next = p;
        return true;
      }
      afterEquals = false;
      continue;
    }
    if (first == last) {
      const char16_t t = c.At(first);
      if (t == u'=') {
        afterEquals = true;
        continue;
      }
      if (t == u'>' || t == u'/' || t == u'?') {
        p = spaceStart;
        break;
      }
    }
    if (found) break;  // the found attribute had no value: its answer is its own name
    if (!tagNamePassed) {
      tagNamePassed = true;
      continue;
    }
    c.nameFirst = first;
    c.nameLast = last;
    if (NameMatches(c, name)) {
      found = true;
      foundFirst = first;
      foundLast = last;
    }
  }
  c.next = p;
  c.nameFirst = foundFirst;
  c.nameLast = foundLast;
  return found;
}

}  // namespace z4
