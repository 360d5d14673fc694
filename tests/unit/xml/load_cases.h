// Fixture files of the file loading tests with the text and reports each must give; shared by
// the native tests (iconv) and the Windows tests (MultiByteToWideChar).
#pragma once

#include <string>
#include <string_view>

namespace z4::test {

struct LoadCase {
  const char* file;              // under fixtures/
  std::u16string_view report;    // from LoadTextFile
  std::u16string_view text;
  std::u16string_view parsed;    // the document's report after ParseDocument
};

inline constexpr LoadCase kLoadCases[] = {
    {"utf8_bom.xml", u"UTF-8 BOM + length 52 to 51 wide chars ",
     u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00e9</a>",
     u"UTF-8 BOM + length 52 to 51 wide chars "},
    {"utf16le_bom.xml", u"UTF-16LE BOM + length 10 (1 nulls removed) ", u"<a>\u00e9\u20ac</a>",
     u"UTF-16LE BOM + length 10 (1 nulls removed) "},
    {"utf16be_bom.xml", u"UTF-16BE BOM + length 9 endian swap ", u"<a>\u00e9\u20ac</a>",
     u"UTF-16BE BOM + length 9 endian swap "},
    {"latin1_declared.xml", u"ISO-8859-1 length 51 to 51 wide chars ",
     u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00e9</a>",
     u"ISO-8859-1 length 51 to 51 wide chars "},
    {"declared_after_comment.xml", u"windows-1252 length 66 to 66 wide chars ",
     u"<!-- c -->\n  <?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\u20ac</a>",
     u"windows-1252 length 66 to 66 wide chars "},
    // The first name after "xml" is passed over, so this declaration names no encoding.
    {"declared_without_version.xml", u"UTF-8 length 38 to 37 wide chars ",
     u"<?xml encoding=\"ISO-8859-1\"?><a>\u00e9</a>", u"UTF-8 length 38 to 37 wide chars "},
    {"declared_after_element.xml", u"UTF-8 length 52 to 51 wide chars ",
     u"<a>\u00e9</a><?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
     u"UTF-8 length 52 to 51 wide chars "},
    {"html_meta.html", u"gb2312 length 111 to 109 wide chars ",
     u"<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=gb2312\"></head>"
     u"<body>\u4e2d\u6587</body></html>",
     u"gb2312 length 111 to 109 wide chars  End tag 'head' at offset 81 does not match start tag "
     u"'meta' at offset 12"},
    {"detected_utf8.xml", u"UTF-8 length 10 (used UTF-8 detection) to 9 wide chars ", u" <a>\u00e9</a>",
     u"UTF-8 length 10 (used UTF-8 detection) to 9 wide chars "},
    {"detected_ansi.xml", u"ANSI length 9 (used UTF-8 detection) to 9 wide chars ", u" <a>\u00e9</a>",
     u"ANSI length 9 (used UTF-8 detection) to 9 wide chars "},
    {"utf16le_without_bom.xml", u"UTF-8 length 18 (9 nulls removed) to 9 wide chars ", u"<a>hi</a>",
     u"UTF-8 length 18 (9 nulls removed) to 9 wide chars "},
    {"empty.xml", u"ANSI 0 length ", u"", u"ANSI 0 length  Empty document"},
    {"utf16_declared.xml", u"UTF-16 length 43 to 0 wide chars ", u"",
     u"UTF-16 length 43 to 0 wide chars  Empty document"},
    // An 8-bit declaration naming UTF-32: the bytes are decoded as 32-bit units as they stand
    // (the declaration's own bytes are no characters) and the 2 bytes of a partial unit dropped.
    {"utf32_declared.xml", u"UTF-32 length 74 to 19 wide chars ",
     u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD<a>\xD83D\xDE00</a>",
     u"UTF-32 length 74 to 19 wide chars "},
};

// ASCII of a text for comparisons that print readably; other units become '?'.
inline std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The path of a fixture file, relative to the test's working folder, with the platform's
// separator.
inline std::u16string Fixture(const char* name, char separator) {
  const std::string path = std::string("fixtures") + separator + name;
  return {path.begin(), path.end()};
}

}  // namespace z4::test
