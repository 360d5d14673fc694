// Encoding names (registered character-set names and their usual aliases) with the Windows
// code page of each, and the lookup of a name's code page.
#include <array>

#include "xml/text_util.h"
#include "xml/xml_file.h"

namespace z4 {
namespace {

struct CharsetRow {
  std::u16string_view name;  // lower case
  std::uint32_t codePage;
};

constexpr CharsetRow kCharsetTable[] = {
    // Unicode
    {u"utf-8", 65001}, {u"unicode-1-1-utf-8", 65001}, {u"unicode-2-0-utf-8", 65001},
    {u"x-unicode-2-0-utf-8", 65001}, {u"utf-7", 65000}, {u"unicode-1-1-utf-7", 65000},
    {u"unicode-2-0-utf-7", 65000}, {u"x-unicode-2-0-utf-7", 65000}, {u"utf-16", 1200},
    {u"unicode", 1200}, {u"utf-16le", 1200}, {u"ucs-2", 1200}, {u"iso-10646-ucs-2", 1200},
    {u"csunicode", 1200}, {u"unicodefffe", 1201}, {u"utf-16be", 1201},
    // ASCII
    {u"us-ascii", 20127}, {u"ascii", 20127}, {u"ansi_x3.4-1968", 20127}, {u"ansi_x3.4-1986", 20127},
    {u"iso646-us", 20127}, {u"iso-ir-6", 20127}, {u"iso_646.irv:1991", 20127}, {u"cp367", 20127},
    {u"ibm367", 20127}, {u"csascii", 20127},
    // ISO 8859
    {u"iso-8859-1", 28591}, {u"iso_8859-1", 28591}, {u"iso-ir-100", 28591}, {u"latin1", 28591},
    {u"l1", 28591}, {u"ibm819", 28591}, {u"cp819", 28591}, {u"csisolatin1", 28591},
    {u"iso-8859-2", 28592}, {u"iso_8859-2", 28592}, {u"iso-ir-101", 28592}, {u"latin2", 28592},
    {u"l2", 28592}, {u"csisolatin2", 28592}, {u"iso-8859-3", 28593}, {u"iso-ir-109", 28593},
    {u"latin3", 28593}, {u"l3", 28593}, {u"iso-8859-4", 28594}, {u"iso-ir-110", 28594},
    {u"latin4", 28594}, {u"l4", 28594}, {u"iso-8859-5", 28595}, {u"iso_8859-5", 28595},
    {u"iso-ir-144", 28595}, {u"cyrillic", 28595}, {u"csisolatincyrillic", 28595},
    {u"iso-8859-6", 28596}, {u"iso-ir-127", 28596}, {u"arabic", 28596},
    {u"csisolatinarabic", 28596}, {u"iso-8859-7", 28597}, {u"iso-ir-126", 28597}, {u"greek", 28597},
    {u"csisolatingreek", 28597}, {u"iso-8859-8", 28598}, {u"iso-ir-138", 28598}, {u"hebrew", 28598},
    {u"visual", 28598}, {u"csisolatinhebrew", 28598}, {u"iso-8859-8-i", 38598}, {u"logical", 38598},
    {u"iso-8859-9", 28599}, {u"iso-ir-148", 28599}, {u"latin5", 28599}, {u"l5", 28599},
    {u"csisolatin5", 28599}, {u"iso-8859-13", 28603}, {u"iso-8859-15", 28605},
    {u"iso_8859-15", 28605}, {u"latin9", 28605}, {u"latin-9", 28605},
    // Windows
    {u"windows-1250", 1250}, {u"windows-1251", 1251}, {u"windows-1252", 1252},
    {u"windows-1253", 1253}, {u"windows-1254", 1254}, {u"windows-1255", 1255},
    {u"windows-1256", 1256}, {u"windows-1257", 1257}, {u"windows-1258", 1258}, {u"x-cp1250", 1250},
    {u"x-cp1251", 1251}, {u"x-ansi", 1252}, {u"us", 1252}, {u"asmo-708", 708}, {u"dos-720", 720},
    {u"dos-862", 862}, {u"dos-874", 874},
    // Japanese
    {u"shift_jis", 932}, {u"shift-jis", 932}, {u"x-sjis", 932}, {u"ms_kanji", 932},
    {u"csshiftjis", 932}, {u"sjis", 932}, {u"windows-31j", 932}, {u"euc-jp", 51932},
    {u"x-euc-jp", 51932}, {u"x-euc", 51932}, {u"iso-2022-jp", 50220}, {u"csiso2022jp", 50221},
    {u"_iso-2022-jp$sio", 50222},
    // Chinese
    {u"gb2312", 936}, {u"gbk", 936}, {u"chinese", 936}, {u"gb_2312-80", 936}, {u"iso-ir-58", 936},
    {u"csgb2312", 936}, {u"cp936", 936}, {u"ms936", 936}, {u"windows-936", 936},
    {u"gb18030", 54936}, {u"euc-cn", 51936}, {u"x-euc-cn", 51936}, {u"hz-gb-2312", 52936},
    {u"x-cp20936", 20936}, {u"big5", 950}, {u"csbig5", 950}, {u"x-x-big5", 950}, {u"cn-big5", 950},
    {u"big5-hkscs", 950}, {u"x-chinese-cns", 20000}, {u"x-chinese-eten", 20002},
    // Korean
    {u"ks_c_5601-1987", 949}, {u"korean", 949}, {u"euc-kr", 949}, {u"ks_c_5601", 949},
    {u"ks_c_5601-1989", 949}, {u"ksc_5601", 949}, {u"ksc5601", 949}, {u"iso-ir-149", 949},
    {u"csksc56011987", 949}, {u"cseuckr", 949}, {u"iso-2022-kr", 50225}, {u"csiso2022kr", 50225},
    {u"johab", 1361}, {u"x-cp20949", 20949},
    // Cyrillic
    {u"koi8-r", 20866}, {u"cskoi8r", 20866}, {u"koi", 20866}, {u"koi8", 20866}, {u"koi8-ru", 21866},
    {u"koi8-u", 21866},
    // DOS
    {u"ibm437", 437}, {u"cp437", 437}, {u"437", 437}, {u"ibm850", 850}, {u"cp850", 850},
    {u"ibm852", 852}, {u"cp852", 852}, {u"ibm855", 855}, {u"cp855", 855}, {u"ibm857", 857},
    {u"cp857", 857}, {u"ibm00858", 858}, {u"cp00858", 858}, {u"ibm860", 860}, {u"cp860", 860},
    {u"ibm861", 861}, {u"cp861", 861}, {u"ibm862", 862}, {u"cp862", 862}, {u"ibm863", 863},
    {u"cp863", 863}, {u"ibm864", 864}, {u"cp864", 864}, {u"ibm865", 865}, {u"cp865", 865},
    {u"ibm866", 866}, {u"cp866", 866}, {u"ibm869", 869}, {u"cp869", 869},
    // Thai
    {u"tis-620", 874}, {u"windows-874", 874}, {u"iso-8859-11", 874},
    // Macintosh
    {u"macintosh", 10000}, {u"mac", 10000}, {u"csmacintosh", 10000}, {u"x-mac-japanese", 10001},
    {u"x-mac-chinesetrad", 10002}, {u"x-mac-korean", 10003}, {u"x-mac-arabic", 10004},
    {u"x-mac-hebrew", 10005}, {u"x-mac-greek", 10006}, {u"x-mac-cyrillic", 10007},
    {u"x-mac-chinesesimp", 10008}, {u"x-mac-thai", 10021}, {u"x-mac-ce", 10029},
    {u"x-mac-icelandic", 10079}, {u"x-mac-turkish", 10081},
    // EBCDIC
    {u"ibm037", 37}, {u"cp037", 37}, {u"ebcdic-cp-us", 37}, {u"ibm500", 500}, {u"cp500", 500},
    {u"ebcdic-cp-be", 500}, {u"ibm1026", 1026}, {u"ibm870", 870}, {u"ibm1047", 1047},
    {u"x-ebcdic-arabic", 20420}, {u"x-ebcdic-cyrillicrussian", 20880},
    {u"x-ebcdic-cyrillicserbianbulgarian", 21025}, {u"x-ebcdic-denmarknorway", 20277},
    {u"x-ebcdic-denmarknorway-euro", 1142}, {u"x-ebcdic-finlandsweden", 20278},
    {u"x-ebcdic-finlandsweden-euro", 1143}, {u"x-ebcdic-france", 20297},
    {u"x-ebcdic-france-euro", 1147}, {u"x-ebcdic-germany", 20273}, {u"x-ebcdic-germany-euro", 1141},
    {u"x-ebcdic-greek", 20423}, {u"x-ebcdic-greekmodern", 875}, {u"x-ebcdic-hebrew", 20424},
    {u"x-ebcdic-icelandic", 20871}, {u"x-ebcdic-icelandic-euro", 1149},
    {u"x-ebcdic-international-euro", 1148}, {u"x-ebcdic-italy", 20280},
    {u"x-ebcdic-italy-euro", 1144}, {u"x-ebcdic-japaneseandjapaneselatin", 50939},
    {u"x-ebcdic-japaneseandkana", 50930}, {u"x-ebcdic-japaneseandusccsid", 50931},
    {u"x-ebcdic-japanesekatakana", 20290}, {u"x-ebcdic-koreanandkoreanextended", 50933},
    {u"x-ebcdic-koreanextended", 20833}, {u"x-ebcdic-simplifiedchinese", 50935},
    {u"x-ebcdic-spain", 20284}, {u"x-ebcdic-spain-euro", 1145}, {u"x-ebcdic-thai", 20838},
    {u"x-ebcdic-traditionalchinese", 50937}, {u"x-ebcdic-turkish", 20905}, {u"x-ebcdic-uk", 20285},
    {u"x-ebcdic-uk-euro", 1146}, {u"x-ebcdic-cp-us-euro", 1140},
    // ISCII
    {u"x-iscii-de", 57002}, {u"x-iscii-be", 57003}, {u"x-iscii-ta", 57004}, {u"x-iscii-te", 57005},
    {u"x-iscii-as", 57006}, {u"x-iscii-or", 57007}, {u"x-iscii-ka", 57008}, {u"x-iscii-ma", 57009},
    {u"x-iscii-gu", 57010}, {u"x-iscii-pa", 57011},
    // Other
    {u"x-ia5", 20105}, {u"x-ia5-german", 20106}, {u"x-ia5-swedish", 20107},
    {u"x-ia5-norwegian", 20108}, {u"x-europa", 29001},
};
constexpr std::size_t kCharsetCount = std::size(kCharsetTable);
static_assert(kCharsetCount == 254);

constexpr std::size_t kCharsetBuckets = 150;
constexpr std::size_t kMaxCharsetName = 100;

constexpr std::size_t BucketOf(std::u16string_view lowerName) {
  std::size_t sum = 0;
  for (char16_t c : lowerName) sum += c;
  return sum % kCharsetBuckets;
}

struct CharsetChains {
  std::array<std::int16_t, kCharsetBuckets> head{};
  std::array<std::int16_t, kCharsetCount> next{};
};

constexpr CharsetChains BuildChains() {
  CharsetChains chains{};
  for (auto& h : chains.head) h = -1;
  // Prepending in reverse keeps each chain in table order.
  for (std::size_t i = kCharsetCount; i-- > 0;) {
    const std::size_t b = BucketOf(kCharsetTable[i].name);
    chains.next[i] = chains.head[b];
    chains.head[b] = static_cast<std::int16_t>(i);
  }
  return chains;
}

constexpr CharsetChains kChains = BuildChains();

}  // namespace

std::uint32_t CodePageOfCharset(std::u16string_view name) {
  if (name.empty()) return 0;
  if (name.substr(0, 6) == u"UTF-32") return kCodePageUtf32;
  if (name.size() >= kMaxCharsetName) return 0;
  std::u16string lower(name);
  for (char16_t& c : lower) c = LowerAscii(c);
  for (std::int16_t i = kChains.head[BucketOf(lower)]; i >= 0; i = kChains.next[static_cast<std::size_t>(i)]) {
    const CharsetRow& row = kCharsetTable[static_cast<std::size_t>(i)];
    if (row.name == lower) return row.codePage;
  }
  return 0;
}

}  // namespace z4
