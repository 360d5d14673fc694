// stdio and iconv behind the reader's platform interface, for the native build and tests.
#include "xml/posix/posix_text_platform.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace z4 {
namespace {

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(((0xFF00u >> (extra + 1)) & 0xFF) | (c >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return out;
}

std::u16string SystemErrorText(int code) {
  const std::string text = std::strerror(code);
  return {text.begin(), text.end()};
}

// iconv names of the Windows code pages that differ from "CP<number>".
struct CodePageName {
  std::uint32_t codePage;
  const char* name;
};
constexpr CodePageName kCodePageNames[] = {
    {0, "CP1252"},          {65001, "UTF-8"},         {65000, "UTF-7"},
    {20127, "ASCII"},       {28591, "ISO-8859-1"},    {28592, "ISO-8859-2"},   {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"},    {28596, "ISO-8859-6"},   {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},  {38598, "ISO-8859-8"},    {28599, "ISO-8859-9"},   {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"}, {20866, "KOI8-R"},        {21866, "KOI8-U"},       {51932, "EUC-JP"},
    {51936, "EUC-CN"},      {54936, "GB18030"},       {50220, "ISO-2022-JP"},  {50221, "ISO-2022-JP"},
    {50222, "ISO-2022-JP"}, {50225, "ISO-2022-KR"},   {10000, "MACINTOSH"},    {1361, "JOHAB"},
    {20000, "EUC-TW"},      {37, "IBM037"},           {500, "IBM500"},         {875, "IBM875"},
    {1026, "IBM1026"},      {1047, "IBM1047"},        {20273, "IBM273"},       {20277, "IBM277"},
    {20278, "IBM278"},      {20280, "IBM280"},        {20284, "IBM284"},       {20285, "IBM285"},
    {20290, "IBM290"},      {20297, "IBM297"},        {20420, "IBM420"},       {20423, "IBM423"},
    {20424, "IBM424"},      {20871, "IBM871"},        {20880, "IBM880"},       {20905, "IBM905"},
};

std::string IconvName(std::uint32_t codePage) {
  for (const CodePageName& row : kCodePageNames) {
    if (row.codePage == codePage) return row.name;
  }
  return "CP" + std::to_string(codePage);
}

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

}  // namespace

bool PosixTextPlatform::ReadFileBytes(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                                      std::u16string& error) {
  bytes.clear();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(Utf16ToUtf8(path).c_str(), "rb"), &std::fclose);
  if (!file) {
    error = SystemErrorText(errno);
    return false;
  }
  std::uint8_t chunk[65536];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) break;
    // Positions in the text are 32-bit.
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
      error = SystemErrorText(EFBIG);
      return false;
    }
  }
  if (std::ferror(file.get())) {
    error = SystemErrorText(errno);
    return false;
  }
  return true;
}

std::u16string PosixTextPlatform::MultiByteToUtf16(std::uint32_t codePage, const std::uint8_t* bytes,
                                                   std::size_t count) {
  const iconv_t raw = iconv_open("UTF-16LE", IconvName(codePage).c_str());
  if (raw == reinterpret_cast<iconv_t>(-1)) return {};
  const std::unique_ptr<void, IconvCloser> cd(raw);

  std::u16string out;
  char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes));
  std::size_t inLeft = count;
  char buffer[8192];
  auto flush = [&](const char* end) {
    for (const char* p = buffer; p + 1 < end; p += 2) {
      out += static_cast<char16_t>(static_cast<std::uint8_t>(p[0]) | (static_cast<std::uint8_t>(p[1]) << 8));
    }
  };
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t oLeft = sizeof buffer;
    const std::size_t r = iconv(raw, &in, &inLeft, &o, &oLeft);
    flush(o);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // Like MultiByteToWideChar without MB_ERR_INVALID_CHARS: a bad byte becomes U+FFFD.
      out += u'\uFFFD';
      ++in;
      --inLeft;
      iconv(raw, nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* o = buffer;
  std::size_t oLeft = sizeof buffer;
  iconv(raw, nullptr, nullptr, &o, &oLeft);
  flush(o);
  return out;
}

}  // namespace z4
