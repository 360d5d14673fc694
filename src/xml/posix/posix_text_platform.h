// Text platform of the native build: stdio file reading and iconv code-page conversion.
#pragma once

#include "xml/text_platform.h"

namespace z4 {

class PosixTextPlatform final : public TextPlatform {
 public:
  // Paths are taken as UTF-8 file names.
  bool ReadFileBytes(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                     std::u16string& error) override;
  // Code page 0 is taken as windows-1252; bytes that do not convert become U+FFFD.
  std::u16string MultiByteToUtf16(std::uint32_t codePage, const std::uint8_t* bytes,
                                  std::size_t count) override;
};

}  // namespace z4
