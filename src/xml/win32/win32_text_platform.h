// Text platform of the Windows build: CreateFileW/ReadFile and MultiByteToWideChar.
#pragma once

#include "xml/text_platform.h"

namespace z4 {

class Win32TextPlatform final : public TextPlatform {
 public:
  bool ReadFileBytes(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                     std::u16string& error) override;
  // Code page 0 is the system's ANSI code page (CP_ACP).
  std::u16string MultiByteToUtf16(std::uint32_t codePage, const std::uint8_t* bytes,
                                  std::size_t count) override;
};

}  // namespace z4
