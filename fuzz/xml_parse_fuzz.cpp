// Fuzzes the index build and every lookup on it: the input's bytes are taken as UTF-16 units.
#include <cstddef>
#include <cstdint>
#include <string>

#include "xml/xml_document.h"
#include "xml/xml_entities.h"
#include "xml/xml_file.h"

namespace {

// Reads every child of each level, going down through the last (or first) child of each.
void Walk(z4::CXmlDocument& doc, bool throughFirst) {
  static const char16_t* const kNames[] = {u"name", u"vkcode", u"a", u"", u"x"};
  doc.ResetPosition();
  for (;;) {
    bool any = false;
    while (doc.FindChildElement()) {
      any = true;
      for (const char16_t* n : kNames) doc.GetChildAttribute(n);
      doc.GetChildText();
      if (throughFirst) break;
    }
    if (!any || !doc.EnterElement()) return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  z4::FindDeclaredEncoding(text);
  z4::DecodeEntities(text);

  z4::CXmlDocument doc;
  doc.SetText(std::move(text));
  doc.SetDocFlags(size % 2 ? z4::kDocIgnoreCase : 0);
  doc.ParseDocument();
  doc.ResetPosition();
  while (doc.FindElement()) {
  }
  Walk(doc, false);
  Walk(doc, true);
  doc.ResetPosition();
  while (doc.FindChildElement(u"config") && doc.EnterElement()) doc.FindChildElement(u"str_title");
  return 0;
}
