// Loading a markup file into UTF-16 text: byte-order marks, declared and detected encodings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace z4 {

class TextPlatform;

constexpr std::uint32_t kCodePageUtf16 = 1200;
constexpr std::uint32_t kCodePageUtf32 = 65005;

// Reads the file at path into text (cleared first) and writes the load report. flags gives the
// starting document flags and receives the byte-order-mark flags found. False when the file
// cannot be read; the report then holds the system's message.
bool LoadTextFile(TextPlatform& platform, const std::u16string& path, std::u16string& text,
                  std::u16string* report, std::uint32_t* flags);

// The encoding named by an XML declaration or an HTML meta tag at the start of text, or "".
std::u16string FindDeclaredEncoding(std::u16string_view text);

// The UTF-8 plausibility check over count bytes (stops with success at a zero byte).
bool LooksLikeUtf8(const std::uint8_t* bytes, std::size_t count);

// Windows code page of an encoding name; 0 for the empty name and for unknown names.
std::uint32_t CodePageOfCharset(std::u16string_view name);

// 32-bit little-endian units to UTF-16; a trailing partial unit is ignored, zero units are
// dropped and values that are no character become U+FFFD.
std::u16string Utf32LeToUtf16(const std::uint8_t* bytes, std::size_t count);

}  // namespace z4
