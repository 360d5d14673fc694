// Describing the settings image in words.
#include "settings/settings_show.h"

#include <algorithm>
#include <set>

#include "settings/action_words.h"
#include "settings/settings_text.h"
#include "settings/settings_text_syntax.h"
#include "settings/translate.h"

namespace z4 {
namespace {

using text::KeyRecord;

constexpr std::size_t kNameColumn = 14;
constexpr std::size_t kSentMacroSteps = 95;

std::string Worded(const char* kind, const ActionWords& words, std::int32_t param,
                   const char* otherwise) {
  const ActionWord* w = words.Find(param);
  if (w) return std::string(kind) + ": " + w->description;
  return std::string(kind) + ", unknown parameter " + std::to_string(param) + " (" + otherwise + ")";
}

std::string CombinationKeys(const SettingsImage& image, std::size_t r) {
  const CombRecord record(image.combSetting, r);
  std::size_t last = CombRecord::kKeyCount;
  while (last > 0 && record.keyCode(last - 1) == 0) --last;
  if (last == 0) return "(no keys)";
  std::string out;
  for (std::size_t k = 0; k < last; ++k) {
    if (k) out += " + ";
    out += record.keyCode(k) ? KeyCodeText(record.keyCode(k)) : "(none)";
  }
  return out;
}

bool ValidIndex(std::int32_t param, std::size_t count) {
  return param >= 0 && static_cast<std::size_t>(param) < count;
}

class Describer {
 public:
  Describer(const SettingsImage& image, const KeyNames& names)
      : image_(image), names_(names), macros_(CarriedMacroCount(image)) {}

  std::string Run() {
    out_ += "Rate code: " + std::to_string(image_.nRate) + "\n";
    out_ += "Selected profile: " + std::to_string(image_.nProfileSel) + "\n\nKeys:\n";
    for (std::size_t i = 0; i < kKeySettingCount; ++i) Key(i);
    Macros();
    Combinations();
    return out_;
  }

 private:
  void Key(std::size_t i) {
    const KeyRecord record = text::ReadKeyRecord(image_.keySetting, i);
    std::string name = names_.RecordName(i);
    if (name.empty() || record.keyCode != names_.layout()[i].keyCode)
      name = "record " + std::to_string(i) + " (" + KeyCodeText(record.keyCode) + ")";
    if (name.size() < kNameColumn) name.resize(kNameColumn, ' ');
    out_ += "  " + name + " " + Action(record) + "\n";
  }

  std::string Action(const KeyRecord& r) {
    const std::int32_t p = r.param;
    switch (r.actionType) {
      case kActionDefault:
        return "Default";
      case kActionSystemShortcut:
        return Worded("System shortcut", SystemShortcutWords(), p, "an empty combination");
      case kActionEditShortcut:
        return Worded("Editing shortcut", EditShortcutWords(), p, "an empty combination");
      case kActionConsumer:
      case kActionConsumer2:
        return Worded("Media key", ConsumerKeyWords(), p, "sends nothing");
      case kActionMouse: {
        if (p < kFirstMouseFunction || p > kLastMouseFunction)
          return "Mouse, unknown function " + std::to_string(p);
        const ActionWord* w = MouseWords().Find(p);
        return std::string("Mouse: ") + (w ? w->description : "function " + std::to_string(p));
      }
      case kActionMacro:
        if (!ValidIndex(p, macros_))
          return "Macro, index " + std::to_string(p) +
                 " not defined (the agent resets the key and plays macro slot 1)";
        usedMacros_.insert(static_cast<std::size_t>(p));
        return "Macro " + MacroRecordName(static_cast<std::size_t>(p));
      case kActionCombination:
        if (!ValidIndex(p, kCombRecordCount))
          return "Combination, index " + std::to_string(p) + " out of range (the agent leaves the key as it is)";
        usedCombs_.insert(static_cast<std::size_t>(p));
        return "Combination " + CombRecordName(static_cast<std::size_t>(p)) + ": " +
               CombinationKeys(image_, static_cast<std::size_t>(p));
      case kActionSingleKey:
        return "Single key: " + KeyCodeText(static_cast<std::uint8_t>(p & 0xFF));
      default:
        return "Action type " + std::to_string(r.actionType) + ", parameter " + std::to_string(p) +
               " (unknown: the agent leaves the key as it is)";
    }
  }

  void Macros() {
    if (usedMacros_.empty()) return;
    out_ += "\nMacros used:\n";
    for (std::size_t r : usedMacros_) {
      const MacroRecord record(image_.macroSetting, r);
      const std::size_t steps = std::min<std::size_t>(record.eventCount(), MacroRecord::kMaxEvents);
      out_ += "  " + MacroRecordName(r) + " (macro slot " + std::to_string(r + 1) + "): loop " +
              std::to_string(record.loopCount()) + ", " + std::to_string(steps) + " steps";
      if (steps > kSentMacroSteps)
        out_ += " (the keyboard receives the first " + std::to_string(kSentMacroSteps) + ")";
      out_ += "\n";
      for (std::size_t k = 1; k <= steps; ++k) {
        const MacroEvent e = record.event(k);
        out_ += "    " + std::to_string(k) + ". " + KeyCodeText(e.keyCode) + ", " +
                std::to_string(e.delay) + " ms";
        if (e.flag) out_ += ", flag " + std::to_string(e.flag);
        out_ += "\n";
      }
    }
  }

  void Combinations() {
    if (usedCombs_.empty()) return;
    out_ += "\nCombinations used:\n";
    for (std::size_t r : usedCombs_)
      out_ += "  " + CombRecordName(r) + ": " + CombinationKeys(image_, r) + "\n";
  }

  const SettingsImage& image_;
  const KeyNames& names_;
  const std::size_t macros_;
  std::set<std::size_t> usedMacros_;
  std::set<std::size_t> usedCombs_;
  std::string out_;
};

}  // namespace

std::string DescribeSettings(const SettingsImage& image, const KeyNames& names) {
  return Describer(image, names).Run();
}

}  // namespace z4
