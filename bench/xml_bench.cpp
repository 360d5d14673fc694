// Builds the element index of the same UTF-16 text with CXmlDocument::ParseDocument and with
// pugixml's load_buffer, on a generated document of more than 10 MB and on language.xml, and
// prints the times and their ratio.
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "xml/posix/posix_text_platform.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace {

using Clock = std::chrono::steady_clock;

std::u16string Generated(std::size_t minBytes) {
  std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<layout>\n";
  for (int i = 0; text.size() * 2 < minBytes; ++i) {
    const std::string n = std::to_string(i);
    const std::u16string id(n.begin(), n.end());
    text += u"  <group id=\"" + id + u"\">\n";
    text += u"    <key name=\"Key " + id + u"\" vkcode=\"41\" buttontip=\"Tip &amp; more\" CRect=\"10,20,30,40\" kstatus=\"1\"/>\n";
    text += u"    <str_text>Some text &#x4E2D; for " + id + u" <![CDATA[<raw>]]></str_text>\n";
    text += u"    <!-- comment " + id + u" -->\n  </group>\n";
  }
  return text + u"</layout>\n";
}

template <typename F>
double BestSeconds(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

void Compare(const char* title, const std::u16string& text, int runs) {
  z4::CXmlDocument doc;
  doc.SetText(text);
  bool ok = false;
  const double ours = BestSeconds(runs, [&] { ok = doc.ParseDocument(); });

  pugi::xml_document pdoc;
  pugi::xml_parse_result presult;
  const double pugi = BestSeconds(runs, [&] {
    presult = pdoc.load_buffer(text.data(), text.size() * sizeof(char16_t), pugi::parse_default,
                               pugi::encoding_utf16_le);
  });
  std::size_t pugiElements = 0;
  struct Counter : pugi::xml_tree_walker {
    std::size_t* n;
    bool for_each(pugi::xml_node& node) override {
      if (node.type() == pugi::node_element) ++*n;
      return true;
    }
  } counter;
  counter.n = &pugiElements;
  pdoc.traverse(counter);

  const double mb = static_cast<double>(text.size() * 2) / 1e6;
  std::printf("%s: %.2f MB UTF-16, %d elements (pugixml %zu), well formed %d/%d\n", title, mb,
              doc.ElementCount() - 1, pugiElements, ok ? 1 : 0, presult ? 1 : 0);
  std::printf("  ParseDocument      %10.3f ms  %8.1f MB/s\n", ours * 1e3, mb / ours);
  std::printf("  pugixml load_buffer%10.3f ms  %8.1f MB/s\n", pugi * 1e3, mb / pugi);
  std::printf("  ratio pugixml / ParseDocument: %.2f\n", pugi / ours);
}

}  // namespace

int main() {
  Compare("generated document", Generated(10 * 1000 * 1000 + 1), 10);

  z4::PosixTextPlatform platform;
  std::u16string language;
  if (!z4::LoadTextFile(platform, u"" Z4_DATA_DIR "/language.xml", language, nullptr, nullptr)) {
    std::printf("language.xml not found\n");
    return 1;
  }
  Compare("language.xml", language, 2000);
  return 0;
}
