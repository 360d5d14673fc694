// Tokens, quoting and numbers of settings text.
#include "settings/settings_text_syntax.h"

#include <limits>

namespace z4::text {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

}  // namespace

bool Tokenize(std::string_view line, std::vector<std::string>& tokens) {
  tokens.clear();
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size() || line[i] == kCommentMark) return true;
    std::string token;
    if (line[i] == '"') {
      ++i;
      while (true) {
        if (i == line.size()) return false;
        char c = line[i++];
        if (c == '"') break;
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) c = line[i++];
        token.push_back(c);
      }
    } else {
      while (i < line.size() && !IsBlank(line[i])) token.push_back(line[i++]);
    }
    tokens.push_back(std::move(token));
  }
}

std::string QuoteName(std::string_view name) {
  bool quote = name.empty() || name[0] == kCommentMark;
  for (char c : name) quote = quote || IsBlank(c) || c == '"';
  if (!quote) return std::string(name);
  std::string out = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max) {
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Every value in range fits well below this bound, so the digits cannot overflow.
  constexpr std::int64_t kBound = std::int64_t{1} << 40;
  std::int64_t value = 0;
  for (char c : text) {
    const int d = DigitValue(c, base);
    if (d < 0) return std::nullopt;
    value = value * base + d;
    if (value > kBound) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hex) {
    const auto bits = ParseInteger(text, 0, std::numeric_limits<std::uint32_t>::max());
    if (!bits) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*bits));
  }
  const auto value = ParseInteger(text, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

}  // namespace z4::text
