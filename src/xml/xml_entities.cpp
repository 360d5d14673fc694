// The named character references of HTML 4.01 plus "apos", and the decoding of references.
#include "xml/xml_entities.h"

#include <array>

#include "xml/text_util.h"

namespace z4 {
namespace {

struct EntityRow {
  std::u16string_view name;
  std::uint32_t codePoint;
};

// Names as HTML writes them. Lookups ignore letter case; of the 64 names that differ only in
// case, the exact spelling wins, and any other spelling gives the capital form, listed first.
constexpr EntityRow kEntityTable[] = {
    {u"quot", 34}, {u"amp", 38}, {u"lt", 60}, {u"gt", 62},
    {u"OElig", 338}, {u"oelig", 339}, {u"Scaron", 352}, {u"scaron", 353},
    {u"Yuml", 376}, {u"yuml", 255}, {u"circ", 710}, {u"tilde", 732},
    {u"ensp", 8194}, {u"emsp", 8195}, {u"thinsp", 8201}, {u"zwnj", 8204},
    {u"zwj", 8205}, {u"lrm", 8206}, {u"rlm", 8207}, {u"ndash", 8211},
    {u"mdash", 8212}, {u"lsquo", 8216}, {u"rsquo", 8217}, {u"sbquo", 8218},
    {u"ldquo", 8220}, {u"rdquo", 8221}, {u"bdquo", 8222}, {u"Dagger", 8225},
    {u"dagger", 8224}, {u"permil", 8240}, {u"lsaquo", 8249}, {u"rsaquo", 8250},
    {u"euro", 8364}, {u"apos", 39}, {u"nbsp", 160}, {u"iexcl", 161},
    {u"cent", 162}, {u"pound", 163}, {u"curren", 164}, {u"yen", 165},
    {u"brvbar", 166}, {u"sect", 167}, {u"uml", 168}, {u"copy", 169},
    {u"ordf", 170}, {u"laquo", 171}, {u"not", 172}, {u"shy", 173},
    {u"reg", 174}, {u"macr", 175}, {u"deg", 176}, {u"plusmn", 177},
    {u"sup2", 178}, {u"sup3", 179}, {u"acute", 180}, {u"micro", 181},
    {u"para", 182}, {u"middot", 183}, {u"cedil", 184}, {u"sup1", 185},
    {u"ordm", 186}, {u"raquo", 187}, {u"frac14", 188}, {u"frac12", 189},
    {u"frac34", 190}, {u"iquest", 191}, {u"Agrave", 192}, {u"agrave", 224},
    {u"Aacute", 193}, {u"aacute", 225}, {u"Acirc", 194}, {u"acirc", 226},
    {u"Atilde", 195}, {u"atilde", 227}, {u"Auml", 196}, {u"auml", 228},
    {u"Aring", 197}, {u"aring", 229}, {u"AElig", 198}, {u"aelig", 230},
    {u"Ccedil", 199}, {u"ccedil", 231}, {u"Egrave", 200}, {u"egrave", 232},
    {u"Eacute", 201}, {u"eacute", 233}, {u"Ecirc", 202}, {u"ecirc", 234},
    {u"Euml", 203}, {u"euml", 235}, {u"Igrave", 204}, {u"igrave", 236},
    {u"Iacute", 205}, {u"iacute", 237}, {u"Icirc", 206}, {u"icirc", 238},
    {u"Iuml", 207}, {u"iuml", 239}, {u"ETH", 208}, {u"eth", 240},
    {u"Ntilde", 209}, {u"ntilde", 241}, {u"Ograve", 210}, {u"ograve", 242},
    {u"Oacute", 211}, {u"oacute", 243}, {u"Ocirc", 212}, {u"ocirc", 244},
    {u"Otilde", 213}, {u"otilde", 245}, {u"Ouml", 214}, {u"ouml", 246},
    {u"times", 215}, {u"Oslash", 216}, {u"oslash", 248}, {u"Ugrave", 217},
    {u"ugrave", 249}, {u"Uacute", 218}, {u"uacute", 250}, {u"Ucirc", 219},
    {u"ucirc", 251}, {u"Uuml", 220}, {u"uuml", 252}, {u"Yacute", 221},
    {u"yacute", 253}, {u"THORN", 222}, {u"thorn", 254}, {u"szlig", 223},
    {u"divide", 247}, {u"fnof", 402}, {u"Alpha", 913}, {u"alpha", 945},
    {u"Beta", 914}, {u"beta", 946}, {u"Gamma", 915}, {u"gamma", 947},
    {u"Delta", 916}, {u"delta", 948}, {u"Epsilon", 917}, {u"epsilon", 949},
    {u"Zeta", 918}, {u"zeta", 950}, {u"Eta", 919}, {u"eta", 951},
    {u"Theta", 920}, {u"theta", 952}, {u"Iota", 921}, {u"iota", 953},
    {u"Kappa", 922}, {u"kappa", 954}, {u"Lambda", 923}, {u"lambda", 955},
    {u"Mu", 924}, {u"mu", 956}, {u"Nu", 925}, {u"nu", 957},
    {u"Xi", 926}, {u"xi", 958}, {u"Omicron", 927}, {u"omicron", 959},
    {u"Pi", 928}, {u"pi", 960}, {u"Rho", 929}, {u"rho", 961},
    {u"Sigma", 931}, {u"sigma", 963}, {u"Tau", 932}, {u"tau", 964},
    {u"Upsilon", 933}, {u"upsilon", 965}, {u"Phi", 934}, {u"phi", 966},
    {u"Chi", 935}, {u"chi", 967}, {u"Psi", 936}, {u"psi", 968},
    {u"Omega", 937}, {u"omega", 969}, {u"sigmaf", 962}, {u"thetasym", 977},
    {u"upsih", 978}, {u"piv", 982}, {u"bull", 8226}, {u"hellip", 8230},
    {u"Prime", 8243}, {u"prime", 8242}, {u"oline", 8254}, {u"frasl", 8260},
    {u"weierp", 8472}, {u"image", 8465}, {u"real", 8476}, {u"trade", 8482},
    {u"alefsym", 8501}, {u"lArr", 8656}, {u"larr", 8592}, {u"uArr", 8657},
    {u"uarr", 8593}, {u"rArr", 8658}, {u"rarr", 8594}, {u"dArr", 8659},
    {u"darr", 8595}, {u"hArr", 8660}, {u"harr", 8596}, {u"crarr", 8629},
    {u"forall", 8704}, {u"part", 8706}, {u"exist", 8707}, {u"empty", 8709},
    {u"nabla", 8711}, {u"isin", 8712}, {u"notin", 8713}, {u"ni", 8715},
    {u"prod", 8719}, {u"sum", 8721}, {u"minus", 8722}, {u"lowast", 8727},
    {u"radic", 8730}, {u"prop", 8733}, {u"infin", 8734}, {u"ang", 8736},
    {u"and", 8743}, {u"or", 8744}, {u"cap", 8745}, {u"cup", 8746},
    {u"int", 8747}, {u"there4", 8756}, {u"sim", 8764}, {u"cong", 8773},
    {u"asymp", 8776}, {u"ne", 8800}, {u"equiv", 8801}, {u"le", 8804},
    {u"ge", 8805}, {u"sub", 8834}, {u"sup", 8835}, {u"nsub", 8836},
    {u"sube", 8838}, {u"supe", 8839}, {u"oplus", 8853}, {u"otimes", 8855},
    {u"perp", 8869}, {u"sdot", 8901}, {u"lceil", 8968}, {u"rceil", 8969},
    {u"lfloor", 8970}, {u"rfloor", 8971}, {u"lang", 9001}, {u"rang", 9002},
    {u"loz", 9674}, {u"spades", 9824}, {u"clubs", 9827}, {u"hearts", 9829},
    {u"diams", 9830},
};
constexpr std::size_t kEntityCount = std::size(kEntityTable);
static_assert(kEntityCount == 253);

constexpr std::size_t kEntityBuckets = 130;
constexpr std::size_t kLongestEntityName = 8;  // "thetasym"

constexpr std::size_t BucketOf(std::u16string_view name) {
  std::size_t sum = 0;
  for (char16_t c : name) sum += LowerAscii(c);
  return sum % kEntityBuckets;
}

// Chains of table rows per bucket, in table order, built at compile time.
struct EntityChains {
  std::array<std::int16_t, kEntityBuckets> head{};
  std::array<std::int16_t, kEntityCount> next{};
};

constexpr EntityChains BuildChains() {
  EntityChains chains{};
  std::array<std::int16_t, kEntityBuckets> tail{};
  for (auto& h : chains.head) h = -1;
  for (std::size_t i = 0; i < kEntityCount; ++i) {
    const std::size_t b = BucketOf(kEntityTable[i].name);
    chains.next[i] = -1;
    if (chains.head[b] < 0) {
      chains.head[b] = static_cast<std::int16_t>(i);
    } else {
      chains.next[static_cast<std::size_t>(tail[b])] = static_cast<std::int16_t>(i);
    }
    tail[b] = static_cast<std::int16_t>(i);
  }
  return chains;
}

constexpr EntityChains kChains = BuildChains();

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::uint32_t ReadNumber(std::u16string_view digits, std::uint32_t base) {
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    std::uint32_t d;
    if (c >= u'0' && c <= u'9') {
      d = c - u'0';
    } else if (base == 16 && LowerAscii(c) >= u'a' && LowerAscii(c) <= u'f') {
      d = LowerAscii(c) - u'a' + 10u;
    } else {
      break;
    }
    value = value * base + d;  // at most 8 digits: no overflow
  }
  return value;
}

}  // namespace

std::uint32_t EntityCodePoint(std::u16string_view name) {
  if (name.empty() || name.size() > kLongestEntityName) return 0;
  std::uint32_t first = 0;
  for (std::int16_t i = kChains.head[BucketOf(name)]; i >= 0; i = kChains.next[static_cast<std::size_t>(i)]) {
    const EntityRow& row = kEntityTable[static_cast<std::size_t>(i)];
    if (!EqualIgnoringCase(row.name, name)) continue;
    if (row.name == name) return row.codePoint;
    if (first == 0) first = row.codePoint;
  }
  return first;
}

std::u16string DecodeEntities(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'&') {
      out += c;
      continue;
    }
    // The name: up to 9 characters before a ';', all below U+0080.
    std::size_t semicolon = 0;
    for (std::size_t k = i + 1; k < text.size() && k <= i + 10 && text[k] < 0x80; ++k) {
      if (text[k] == u';') {
        semicolon = k;
        break;
      }
    }
    std::uint32_t value = 0;
    if (semicolon != 0) {
      const std::u16string_view name = text.substr(i + 1, semicolon - i - 1);
      if (!name.empty() && name[0] == u'#') {
        const bool hex = name.size() > 1 && LowerAscii(name[1]) == u'x';
        value = ReadNumber(name.substr(hex ? 2 : 1), hex ? 16 : 10);
      } else {
        value = EntityCodePoint(name);
      }
    }
    // Values beyond Unicode are no reference either.
    if (value == 0 || value > 0x10FFFF) {
      out += c;
      continue;
    }
    if (value <= 0xFFFF) {
      out += static_cast<char16_t>(value);
    } else {
      out += static_cast<char16_t>(0xD800 | (((value - 0x10000) >> 10) & 0x3FF));
      out += static_cast<char16_t>(0xDC00 | (value & 0x3FF));
    }
    i = semicolon;
  }
  return out;
}

}  // namespace z4
