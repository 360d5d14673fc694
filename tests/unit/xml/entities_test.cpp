// Character and entity references.
#include <gtest/gtest.h>

#include <string>

#include "xml/xml_entities.h"

namespace z4 {
namespace {

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

TEST(DecodeEntities, References) {
  struct Case {
    std::u16string_view text;
    std::u16string_view decoded;
  } cases[] = {
      {u"&#65;", u"A"},          {u"&#x41;", u"A"},           {u"&#X41;", u"A"},
      {u"&AMP;", u"&"},          {u"&Amp;", u"&"},            {u"&amp", u"&amp"},
      {u"&unknown;", u"&unknown;"}, {u"&#0;", u"&#0;"},       {u"&abcdefghij;", u"&abcdefghij;"},
      {u"&#128512;", u"\xD83D\xDE00"},  {u"&#x10FFFF;", u"\xDBFF\xDFFF"},
      {u"&#x110000;", u"&#x110000;"},   {u"&#65abc;", u"A"},  {u"&#xZ;", u"&#xZ;"},
      {u"&;", u"&;"},            {u"&#;", u"&#;"},            {u"a&&amp;b", u"a&&b"},
      {u"&amp;amp;", u"&amp;"},  {u"x&", u"x&"},              {u"&\u00e9;", u"&\u00e9;"},
      {u"&thetasym;", u"\u03D1"}, {u"&apos;&quot;&lt;&gt;", u"'\"<>"},
      {u"&#12345678;", u"&#12345678;"},  // beyond Unicode
      {u"&#x4E2D;&#20013;", u"\u4E2D\u4E2D"},
      {u"no references", u"no references"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeEntities(c.text), c.decoded) << Narrow(c.text);
}

TEST(EntityTable, NamedCharacters) {
  struct Case {
    std::u16string_view name;
    std::uint32_t codePoint;
  } cases[] = {
      {u"quot", 34},      {u"amp", 38},      {u"apos", 39},     {u"lt", 60},
      {u"gt", 62},        {u"nbsp", 160},    {u"copy", 169},    {u"reg", 174},
      {u"euro", 8364},    {u"trade", 8482},  {u"hellip", 8230}, {u"thetasym", 977},
      {u"fnof", 402},     {u"diams", 9830},  {u"sigmaf", 962},  {u"szlig", 223},
      // Names that differ only in case: each spelling its own character, other spellings the
      // capital form.
      {u"eacute", 233},   {u"Eacute", 201},  {u"EACUTE", 201},  {u"omega", 969},
      {u"Omega", 937},    {u"prime", 8242},  {u"Prime", 8243},  {u"PRIME", 8243},
      {u"dagger", 8224},  {u"Dagger", 8225}, {u"darr", 8595},   {u"dArr", 8659},
      {u"yuml", 255},     {u"Yuml", 376},    {u"AElig", 198},   {u"aelig", 230},
      {u"thorn", 254},    {u"THORN", 222},   {u"", 0},          {u"thetasyms", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(EntityCodePoint(c.name), c.codePoint) << Narrow(c.name);
}

}  // namespace
}  // namespace z4
