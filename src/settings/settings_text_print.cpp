// Writing settings text: rate and profile, the carried macros and combinations under generated
// names, then one line for each of the 92 key assignments.
#include <algorithm>

#include "settings/action_words.h"
#include "settings/settings_text.h"
#include "settings/settings_text_syntax.h"
#include "settings/translate.h"

namespace z4 {
namespace {

using namespace text;

constexpr std::size_t kKeyColumn = 16;

std::string Raw(std::int32_t type, std::int32_t param) {
  return std::string(kRaw) + " " + std::to_string(type) + " " + std::to_string(param);
}

std::string Worded(std::string_view action, const ActionWords& words, std::int32_t type,
                   std::int32_t param) {
  const ActionWord* w = words.Find(param);
  return w ? std::string(action) + " " + w->word : Raw(type, param);
}

bool Below(std::int32_t param, std::size_t count) {
  return param >= 0 && static_cast<std::size_t>(param) < count;
}

std::string ActionText(std::int32_t type, std::int32_t param, std::size_t macros, std::size_t combs) {
  switch (type) {
    case kActionDefault:
      return param == 0 ? std::string(kDefault) : Raw(type, param);
    case kActionSystemShortcut:
      return Worded(kSystem, SystemShortcutWords(), type, param);
    case kActionEditShortcut:
      return Worded(kEdit, EditShortcutWords(), type, param);
    case kActionConsumer:
      return Worded(kMedia, ConsumerKeyWords(), type, param);
    case kActionConsumer2:
      return Worded(kMedia2, ConsumerKeyWords(), type, param);
    case kActionMouse: {
      if (param < kFirstMouseFunction || param > kLastMouseFunction) return Raw(type, param);
      const ActionWord* w = MouseWords().Find(param);
      return std::string(kMouse) + " " + (w ? std::string(w->word) : std::to_string(param));
    }
    case kActionMacro:
      return Below(param, macros) ? std::string(kMacro) + " " + MacroRecordName(static_cast<std::size_t>(param))
                                  : Raw(type, param);
    case kActionCombination:
      return Below(param, combs) ? std::string(kCombination) + " " + CombRecordName(static_cast<std::size_t>(param))
                                 : Raw(type, param);
    case kActionSingleKey:
      return param >= 0 && param <= 0xFF
                 ? std::string(kSingle) + " " + KeyCodeText(static_cast<std::uint8_t>(param))
                 : Raw(type, param);
    default:
      return Raw(type, param);
  }
}

void PrintMacro(std::string& out, const SettingsImage& image, std::size_t r) {
  const MacroRecord record(image.macroSetting, r);
  out += std::string(kMacro) + " " + MacroRecordName(r) + " " + std::string(kLoop) + " " +
         std::to_string(record.loopCount()) + "\n";
  const std::size_t steps = std::min<std::size_t>(record.eventCount(), MacroRecord::kMaxEvents);
  for (std::size_t k = 1; k <= steps; ++k) {
    const MacroEvent e = record.event(k);
    out += "  " + std::string(kStep) + " " + KeyCodeText(e.keyCode) + " " + std::to_string(e.delay);
    if (e.flag == 1) out += " " + std::string(kFlag);
    if (e.flag > 1) out += " " + std::string(kFlag) + " " + std::to_string(e.flag);
    out += "\n";
  }
  out += std::string(kEnd) + "\n";
}

void PrintCombination(std::string& out, const SettingsImage& image, std::size_t r) {
  const CombRecord record(image.combSetting, r);
  std::size_t last = CombRecord::kKeyCount;
  while (last > 0 && record.keyCode(last - 1) == 0) --last;
  out += std::string(kCombination) + " " + CombRecordName(r);
  for (std::size_t k = 0; k < last; ++k) {
    const std::uint8_t code = record.keyCode(k);
    out += " " + (code == 0 ? std::string(kNone) : KeyCodeText(code));
  }
  out += "\n";
}

std::string KeyText(const KeyRecord& record, const KeyNames& names, std::size_t i,
                    std::size_t macros, std::size_t combs) {
  const std::string name = names.RecordName(i);
  std::string head;
  if (!name.empty() && record.keyCode == names.layout()[i].keyCode) {
    head = std::string(kKey) + " " + QuoteName(name);
  } else {
    head = std::string(kRecord) + " " + std::to_string(i) + " " + KeyCodeText(record.keyCode);
  }
  if (head.size() < kKeyColumn) head.resize(kKeyColumn, ' ');
  return head + " " + ActionText(record.actionType, record.param, macros, combs);
}

}  // namespace

std::string MacroRecordName(std::size_t r) { return "macro" + std::to_string(r + 1); }
std::string CombRecordName(std::size_t r) { return "comb" + std::to_string(r + 1); }

std::size_t CarriedMacroCount(const SettingsImage& image) {
  const std::int32_t count = MacroCount(image.macroSetting);
  return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, kMacroRecordCount));
}

std::size_t CarriedCombCount(const SettingsImage& image) {
  std::size_t count = 0;
  for (std::size_t r = 0; r < kCombRecordCount; ++r) {
    const CombRecord record(image.combSetting, r);
    for (std::size_t k = 0; k < CombRecord::kKeyCount; ++k)
      if (record.keyCode(k) != 0) count = r + 1;
  }
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    const KeyRecord record = ReadKeyRecord(image.keySetting, i);
    if (record.actionType == kActionCombination && Below(record.param, kCombRecordCount))
      count = std::max(count, static_cast<std::size_t>(record.param) + 1);
  }
  return count;
}

std::string PrintSettingsText(const SettingsImage& image, const KeyNames& names) {
  std::string out =
      "# Z4 keyboard settings: rate, selected profile, macros, combinations, key assignments.\n"
      "# One statement per line; '#' starts a comment.\n";
  out += std::string(kRate) + " " + std::to_string(image.nRate) + "\n";
  out += std::string(kProfile) + " " + std::to_string(image.nProfileSel) + "\n";

  const std::size_t macros = CarriedMacroCount(image);
  if (macros) out += "\n";
  for (std::size_t r = 0; r < macros; ++r) PrintMacro(out, image, r);

  const std::size_t combs = CarriedCombCount(image);
  if (combs) out += "\n";
  for (std::size_t r = 0; r < combs; ++r) PrintCombination(out, image, r);

  out += "\n";
  for (std::size_t i = 0; i < kKeySettingCount; ++i)
    out += KeyText(ReadKeyRecord(image.keySetting, i), names, i, macros, combs) + "\n";
  return out;
}

}  // namespace z4
