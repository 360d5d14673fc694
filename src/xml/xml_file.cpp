// Reading a markup file into UTF-16: byte-order marks, declared encodings, UTF-8 detection,
// zero removal, conversion and the load report.
#include "xml/xml_file.h"

#include <algorithm>
#include <vector>

#include "support/bytes.h"
#include "xml/text_platform.h"
#include "xml/text_util.h"
#include "xml/xml_document.h"
#include "xml/xml_scan.h"

namespace z4 {
namespace {

// Only this much of the file is looked at for a mark or a declared encoding.
constexpr std::size_t kPrologueBytes = 1024;

struct ByteOrderMark {
  std::uint8_t bytes[3];
  std::size_t length;
  const char16_t* encoding;
  std::uint32_t flag;
};

constexpr ByteOrderMark kByteOrderMarkTable[] = {
    {{0xEF, 0xBB, 0xBF}, 3, u"UTF-8", kDocUtf8Mark},
    {{0xFF, 0xFE, 0x00}, 2, u"UTF-16LE", kDocUtf16LeMark},
    {{0xFE, 0xFF, 0x00}, 2, u"UTF-16BE", kDocUtf16BeMark},
};

std::u16string ConvertText(TextPlatform& platform, std::u16string_view encoding,
                           const std::uint8_t* bytes, std::size_t count) {
  const std::uint32_t codePage = CodePageOfCharset(encoding);
  if (codePage == kCodePageUtf16) return {};
  if (codePage == kCodePageUtf32) return Utf32LeToUtf16(bytes, count);
  return platform.MultiByteToUtf16(codePage, bytes, count);
}

// Moves the non-zero units to the front, keeping their order, and returns how many remain;
// the units past that count keep what they held.
template <typename Unit>
std::size_t CompactZeros(std::vector<Unit>& units) {
  std::size_t kept = 0;
  for (const Unit u : units) {
    if (u != 0) units[kept++] = u;
  }
  return kept;
}

void AppendCount(std::u16string& out, const char* head, std::size_t n, const char* tail) {
  out += Ascii16(head);
  AppendDecimal(out, static_cast<std::int64_t>(n));
  out += Ascii16(tail);
}

}  // namespace

bool LooksLikeUtf8(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = bytes[i];
    if (b == 0) return true;
    if (b < 0x80) continue;
    std::size_t following;
    if (!(b & 0x20)) {
      following = 1;
    } else if (!(b & 0x10)) {
      following = 2;
    } else if (!(b & 0x08)) {
      following = 3;
    } else {
      return false;
    }
    if (following > count - 1 - i) return false;
    for (std::size_t k = 1; k <= following; ++k) {
      if (!(bytes[i + k] & 0x80)) return false;
    }
    i += following;
  }
  return true;
}

std::u16string Utf32LeToUtf16(const std::uint8_t* bytes, std::size_t count) {
  std::u16string out;
  out.reserve(count / 4);
  for (std::size_t i = 0; i + 4 <= count; i += 4) {
    std::uint32_t v = LoadU32(bytes + i);
    if (v == 0) continue;
    if (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) v = 0xFFFD;
    if (v < 0x10000) {
      out += static_cast<char16_t>(v);
    } else {
      out += static_cast<char16_t>(0xD800 | ((v - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 | (v & 0x3FF));
    }
  }
  return out;
}

std::u16string FindDeclaredEncoding(std::u16string_view text) {
  XmlCursor cursor{text, 0, -1, 0, kCursorIgnoreCase};
  XmlNodeInfo node;
  bool nameTaken = false;
  bool htmlSeen = false;
  for (std::int32_t type; (type = ScanNode(cursor, node)) >= 0;) {
    const std::int32_t after = cursor.next;
    if (type == kNodeProcessing && !nameTaken) {
      nameTaken = true;
      cursor.next = node.start + 2;
      NextName(cursor);
      if (NameMatches(cursor, u"xml")) {
        if (!FindAttribute(cursor, u"encoding")) return {};
        return std::u16string(cursor.Name());
      }
    } else if (type == kNodeEndTag) {
      nameTaken = true;
      if (NameMatches(cursor, u"head")) return {};
    } else if (type == kNodeStartTag) {
      nameTaken = true;
      cursor.nameFirst = node.nameStart;
      cursor.nameLast = node.nameStart + node.nameLength - 1;
      if (!htmlSeen) {
        if (!NameMatches(cursor, u"html")) return {};
        htmlSeen = true;
      } else if (NameMatches(cursor, u"meta")) {
        cursor.next = node.start + 1;
        if (FindAttribute(cursor, u"http-equiv") && NameMatches(cursor, u"Content-Type")) {
          cursor.next = node.start + 1;
          if (!FindAttribute(cursor, u"content")) return {};
          const std::int32_t valueEnd = cursor.nameLast + 1;
          cursor.next = cursor.nameFirst;
          while (cursor.next < valueEnd && NextName(cursor)) {
            if (!NameMatches(cursor, u"charset")) continue;
            if (NextName(cursor) && cursor.Name() == u"=" && NextName(cursor)) {
              return std::u16string(cursor.Name());
            }
          }
          return {};
        }
      }
    }
    cursor.next = after;
  }
  return {};
}

bool LoadTextFile(TextPlatform& platform, const std::u16string& path, std::u16string& text,
                  std::u16string* report, std::uint32_t* flags) {
  text.clear();
  // The mark flags describe this file only; a flag left from an earlier load would make a
  // little-endian file be byte-swapped.
  std::uint32_t docFlags = ((flags ? *flags : 0) & ~(kDocUtf16LeMark | kDocUtf8Mark | kDocUtf16BeMark)) | kDocReading;
  auto finish = [&](std::u16string r, bool ok) {
    if (report) *report = std::move(r);
    if (flags) *flags = docFlags & ~kDocReading;
    return ok;
  };

  std::vector<std::uint8_t> bytes;
  std::u16string error;
  if (!platform.ReadFileBytes(path, bytes, error)) return finish(std::move(error), false);

  std::u16string encoding;
  bool fromMark = false;
  std::size_t markLength = 0;
  std::size_t unitSize = 1;
  if (!bytes.empty()) {
    for (const ByteOrderMark& mark : kByteOrderMarkTable) {
      if (bytes.size() >= mark.length && std::equal(mark.bytes, mark.bytes + mark.length, bytes.begin())) {
        docFlags |= mark.flag;
        markLength = mark.length;
        encoding = mark.encoding;
        fromMark = true;
        unitSize = mark.length == 2 ? 2 : 1;
        break;
      }
    }
    if (!fromMark) {
      const std::size_t prologue = std::min(bytes.size(), kPrologueBytes);
      encoding = FindDeclaredEncoding(platform.MultiByteToUtf16(65001, bytes.data(), prologue));
      if (encoding.empty() && bytes[0] == '<') encoding = u"UTF-8";
    }
  }
  std::u16string opening;
  if (!encoding.empty()) opening = encoding + (fromMark ? u" BOM + " : u" ");

  std::u16string reading;
  const std::size_t body = bytes.size() - markLength;
  bool detected = false;
  if (body == 0) {
    reading = u"0 length ";
  } else if (unitSize == 2) {
    std::vector<char16_t> units(body / 2);
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(LoadU16(&bytes[markLength + 2 * i]));
    AppendCount(reading, "length ", units.size(), " ");
    const std::size_t kept = CompactZeros(units);
    if (kept != units.size()) AppendCount(reading, "(", units.size() - kept, " nulls removed) ");
    units.resize(kept);
    if (docFlags & kDocUtf16BeMark) {
      for (char16_t& u : units) u = static_cast<char16_t>((u >> 8) | (u << 8));
      reading += u"endian swap ";
    }
    text.assign(units.begin(), units.end());
  } else if (CodePageOfCharset(encoding) == kCodePageUtf32) {
    // Zero removal would destroy 32-bit units: they are decoded as they stand.
    AppendCount(reading, "length ", body, " ");
    text = Utf32LeToUtf16(bytes.data() + markLength, body);
    AppendCount(reading, "to ", text.size(), " wide chars ");
  } else {
    std::vector<std::uint8_t> buffer(bytes.begin() + static_cast<std::ptrdiff_t>(markLength), bytes.end());
    AppendCount(reading, "length ", body, " ");
    const std::size_t kept = CompactZeros(buffer);
    if (kept != body) AppendCount(reading, "(", body - kept, " nulls removed) ");
    if (encoding.empty()) {
      // The check runs over as many bytes as were read: the compacted ones and the old tail.
      if (LooksLikeUtf8(buffer.data(), body)) {
        encoding = u"UTF-8";
        detected = true;
      }
      reading += u"(used UTF-8 detection) ";
    }
    text = ConvertText(platform, encoding, buffer.data(), kept);
    AppendCount(reading, "to ", text.size(), " wide chars ");
  }

  if (opening.empty()) opening = detected ? encoding + u" " : u"ANSI ";
  return finish(opening + reading, true);
}

}  // namespace z4
