// Loading the language strings: each key's text from the first "config" child of the root.
#include "resources/language_strings.h"

#include <iterator>
#include <string_view>

#include "xml/xml_document.h"

namespace z4 {

#define Z4_DEFINE_LANGUAGE_STRING(key) std::u16string key;
Z4_LANGUAGE_KEYS(Z4_DEFINE_LANGUAGE_STRING)
#undef Z4_DEFINE_LANGUAGE_STRING

namespace {

struct LanguageKey {
  std::u16string_view key;
  std::u16string* text;
};

#define Z4_LANGUAGE_ROW(key) {u## #key, &key},
const LanguageKey kLanguageKeys[] = {Z4_LANGUAGE_KEYS(Z4_LANGUAGE_ROW)};
#undef Z4_LANGUAGE_ROW
static_assert(std::size(kLanguageKeys) == kLanguageStringCount);

// The parsed language file stays in memory for the life of the process.
CXmlDocument& LanguageDocument() {
  static CXmlDocument doc;
  return doc;
}

std::u16string LookUp(CXmlDocument& doc, std::u16string_view key) {
  doc.ResetPosition();
  // Each round goes one "config" deeper, so the loop ends with the nesting.
  while (doc.FindChildElement(u"config")) {
    doc.EnterElement();
    if (doc.FindChildElement(key)) return doc.GetChildText();
  }
  return {};
}

}  // namespace

void LoadLanguage(TextPlatform& platform, const std::u16string& path) {
  CXmlDocument& doc = LanguageDocument();
  doc = CXmlDocument();
  if (doc.LoadFile(platform, path)) doc.ParseDocument();
  for (const LanguageKey& k : kLanguageKeys) *k.text = LookUp(doc, k.key);
}

}  // namespace z4
