// The key-code name table and the lookups of key names in settings text.
#include "settings/key_names.h"

#include <algorithm>
#include <iterator>

namespace z4 {
namespace {

struct KeyCodeNameRow {
  std::uint8_t keyCode;
  const char* name;
};

// One name per key code that a key of the keyboard or a macro step can carry.
constexpr KeyCodeNameRow kKeyCodeNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},      {0x0D, "Enter"},     {0x13, "Pause"},
    {0x14, "CapsLock"},  {0x1B, "Esc"},      {0x20, "Space"},     {0x21, "PgUp"},
    {0x22, "PgDn"},      {0x23, "End"},      {0x24, "Home"},      {0x25, "Left"},
    {0x26, "Up"},        {0x27, "Right"},    {0x28, "Down"},      {0x2C, "PrtSc"},
    {0x2D, "Ins"},       {0x2E, "Del"},
    {0x30, "0"},         {0x31, "1"},        {0x32, "2"},         {0x33, "3"},
    {0x34, "4"},         {0x35, "5"},        {0x36, "6"},         {0x37, "7"},
    {0x38, "8"},         {0x39, "9"},
    {0x41, "A"},         {0x42, "B"},        {0x43, "C"},         {0x44, "D"},
    {0x45, "E"},         {0x46, "F"},        {0x47, "G"},         {0x48, "H"},
    {0x49, "I"},         {0x4A, "J"},        {0x4B, "K"},         {0x4C, "L"},
    {0x4D, "M"},         {0x4E, "N"},        {0x4F, "O"},         {0x50, "P"},
    {0x51, "Q"},         {0x52, "R"},        {0x53, "S"},         {0x54, "T"},
    {0x55, "U"},         {0x56, "V"},        {0x57, "W"},         {0x58, "X"},
    {0x59, "Y"},         {0x5A, "Z"},
    {0x5B, "LWin"},      {0x5C, "RWin"},     {0x5D, "Menu"},
    {0x60, "Num0"},      {0x61, "Num1"},     {0x62, "Num2"},      {0x63, "Num3"},
    {0x64, "Num4"},      {0x65, "Num5"},     {0x66, "Num6"},      {0x67, "Num7"},
    {0x68, "Num8"},      {0x69, "Num9"},     {0x6A, "NumMul"},    {0x6B, "NumAdd"},
    {0x6D, "NumSub"},    {0x6E, "NumDot"},   {0x6F, "NumDiv"},
    {0x70, "F1"},        {0x71, "F2"},       {0x72, "F3"},        {0x73, "F4"},
    {0x74, "F5"},        {0x75, "F6"},       {0x76, "F7"},        {0x77, "F8"},
    {0x78, "F9"},        {0x79, "F10"},      {0x7A, "F11"},       {0x7B, "F12"},
    {0x90, "NumLock"},   {0x91, "ScrLk"},
    {0xA0, "LShift"},    {0xA1, "RShift"},   {0xA2, "LCtrl"},     {0xA3, "RCtrl"},
    {0xA4, "LAlt"},      {0xA5, "RAlt"},
    {0xAD, "Mute"},      {0xAE, "VolDown"},  {0xAF, "VolUp"},     {0xB5, "MediaSelect"},
    {0xBA, "Semicolon"}, {0xBB, "Equals"},   {0xBC, "Comma"},     {0xBD, "Minus"},
    {0xBE, "Period"},    {0xBF, "Slash"},    {0xC0, "Grave"},     {0xDA, "NumEnter"},
    {0xDB, "LBracket"},  {0xDC, "Backslash"}, {0xDD, "RBracket"}, {0xDE, "Quote"},
};

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view KeyCodeName(std::uint8_t keyCode) {
  const auto* row = std::find_if(std::begin(kKeyCodeNames), std::end(kKeyCodeNames),
                                 [keyCode](const KeyCodeNameRow& r) { return r.keyCode == keyCode; });
  return row == std::end(kKeyCodeNames) ? std::string_view{} : std::string_view{row->name};
}

std::optional<std::uint8_t> ParseKeyCode(std::string_view text) {
  const auto* row = std::find_if(std::begin(kKeyCodeNames), std::end(kKeyCodeNames),
                                 [text](const KeyCodeNameRow& r) { return SameName(r.name, text); });
  if (row != std::end(kKeyCodeNames)) return row->keyCode;
  if (text.size() < 3 || text.size() > 4 || text[0] != '0' || LowerAscii(text[1]) != 'x')
    return std::nullopt;
  unsigned value = 0;
  for (char c : text.substr(2)) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(d);
  }
  return static_cast<std::uint8_t>(value);
}

std::string KeyCodeText(std::uint8_t keyCode) {
  const std::string_view name = KeyCodeName(keyCode);
  if (!name.empty()) return std::string(name);
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {'0', 'x', kDigits[keyCode >> 4], kDigits[keyCode & 0xF]};
}

std::size_t KeyNames::CountName(std::string_view name) const {
  return static_cast<std::size_t>(std::count_if(
      layout_.begin(), layout_.end(), [name](const LayoutKey& k) { return SameName(k.name, name); }));
}

std::optional<std::size_t> KeyNames::FindRecord(std::string_view text, bool& ambiguous) const {
  ambiguous = false;
  if (text.empty()) return std::nullopt;
  const std::size_t count = CountName(text);
  if (count == 1) {
    const auto it = std::find_if(layout_.begin(), layout_.end(),
                                 [text](const LayoutKey& k) { return SameName(k.name, text); });
    return static_cast<std::size_t>(it - layout_.begin());
  }
  // Code 0 stands for no key, so it names no record.
  const std::optional<std::uint8_t> code = ParseKeyCode(text);
  if (code && *code != 0) {
    const auto it = std::find_if(layout_.begin(), layout_.end(),
                                 [&](const LayoutKey& k) { return k.keyCode == *code; });
    if (it != layout_.end()) return static_cast<std::size_t>(it - layout_.begin());
  }
  ambiguous = count > 1;
  return std::nullopt;
}

std::string KeyNames::RecordName(std::size_t i) const {
  const LayoutKey& key = layout_.at(i);
  bool ambiguous = false;
  for (const std::string& candidate : {key.name, KeyCodeText(key.keyCode)}) {
    if (FindRecord(candidate, ambiguous) == i) return candidate;
  }
  return {};
}

}  // namespace z4
