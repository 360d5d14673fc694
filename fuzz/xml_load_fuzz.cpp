// Fuzzes the file decoding: the input is the file's bytes; the loaders then read the result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/key_layout.h"
#include "resources/language_strings.h"
#include "xml/posix/posix_text_platform.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"

namespace {

// Serves the fuzz input as every file; converts through iconv.
class InputPlatform final : public z4::TextPlatform {
 public:
  InputPlatform(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}
  bool ReadFileBytes(const std::u16string&, std::vector<std::uint8_t>& bytes, std::u16string&) override {
    bytes = bytes_;
    return true;
  }
  std::u16string MultiByteToUtf16(std::uint32_t codePage, const std::uint8_t* bytes, std::size_t count) override {
    return posix_.MultiByteToUtf16(codePage, bytes, count);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  z4::PosixTextPlatform posix_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputPlatform platform(data, size);
  std::u16string text;
  std::u16string report;
  std::uint32_t flags = size > 0 ? data[0] : 0;
  z4::LoadTextFile(platform, u"input.xml", text, &report, &flags);
  z4::LoadLanguage(platform, u"language.xml");
  z4::LoadKeyLayout(platform, u"ButtonPos.xml");
  return 0;
}
