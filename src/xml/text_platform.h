// The platform services the reader needs to load a file: its bytes and code-page conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace z4 {

class TextPlatform {
 public:
  virtual ~TextPlatform() = default;

  // Reads the whole file at path (raw bytes, shared reading). On failure returns false with
  // error set to the system's message text for the failure, one line (possibly empty).
  virtual bool ReadFileBytes(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                             std::u16string& error) = 0;

  // Converts bytes from a Windows code page (0: the system's default ANSI code page) to UTF-16,
  // with the platform's default handling of invalid bytes; empty for an unsupported code page.
  virtual std::u16string MultiByteToUtf16(std::uint32_t codePage, const std::uint8_t* bytes,
                                          std::size_t count) = 0;
};

}  // namespace z4
