// Loading the key layout file and reading its numbers.
#include "resources/key_layout.h"

#include <algorithm>
#include <limits>

#include "xml/xml_document.h"

namespace z4 {

std::array<KeyLayoutEntry, kKeyLayoutCount> g_keyLayout;

namespace {

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 99;
}

// The part of text from a up to b; empty when b is not greater than a.
std::u16string_view Part(std::u16string_view text, std::int64_t a, std::int64_t b) {
  if (b <= a) return {};
  return text.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
}

std::int64_t CommaAtOrAfter(std::u16string_view text, std::int64_t s) {
  if (s < 0 || s >= static_cast<std::int64_t>(text.size())) return -1;
  const std::size_t c = text.find(u',', static_cast<std::size_t>(s));
  return c == std::u16string_view::npos ? -1 : static_cast<std::int64_t>(c);
}

std::int32_t ReadInt(std::u16string_view text) { return static_cast<std::int32_t>(ReadNumberText(text, 10)); }

}  // namespace

std::int64_t ReadNumberText(std::u16string_view text, int base) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (base == 16 && i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
      DigitValue(text[i + 2]) < 16) {
    i += 2;
  }
  constexpr std::uint64_t kDecimalLimit = std::uint64_t{1} << 32;
  std::uint64_t value = 0;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(DigitValue(text[i]));
    if (base == 10) value = std::min(value, kDecimalLimit);
  }
  if (base == 16) return static_cast<std::int64_t>(negative ? 0 - value : value);
  const std::int64_t signedValue = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  return std::clamp<std::int64_t>(signedValue, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
}

KeyRect ParseRectText(std::u16string_view text) {
  KeyRect r;
  const std::int64_t c1 = text.empty() ? -1 : CommaAtOrAfter(text, 0);
  r.left = ReadInt(Part(text, 0, c1));
  const std::int64_t c2 = CommaAtOrAfter(text, c1 + 1);
  r.top = ReadInt(Part(text, c1 + 1, c2));
  const std::int64_t c3 = CommaAtOrAfter(text, c2 + 1);
  r.right = ReadInt(Part(text, c2 + 1, c3));
  r.bottom = ReadInt(text.substr(static_cast<std::size_t>(c3 + 1)));
  return r;
}

void LoadKeyLayout(TextPlatform& platform, const std::u16string& path) {
  CXmlDocument doc;
  if (!doc.LoadFile(platform, path) || !doc.ParseDocument()) return;
  doc.ResetPosition();
  doc.FindElement();
  for (std::size_t record = 0; record < kKeyLayoutCount && doc.FindChildElement(u"key"); ++record) {
    KeyLayoutEntry& e = g_keyLayout[record];
    e.name = doc.GetChildAttribute(u"name");
    e.keyCode = static_cast<std::uint8_t>(ReadNumberText(doc.GetChildAttribute(u"vkcode"), 16) & 0xFF);
    e.tip = doc.GetChildAttribute(u"buttontip");
    e.rect = ParseRectText(doc.GetChildAttribute(u"CRect"));
    e.status = ReadNumberText(doc.GetChildAttribute(u"kstatus"), 10) == 1 ? 1 : 0;
  }
}

}  // namespace z4
