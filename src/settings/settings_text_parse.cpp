// Reading settings text: statements are checked line by line, names are resolved once the whole
// text is read, and only a text without errors fills the image.
#include <algorithm>
#include <array>
#include <limits>
#include <map>

#include "settings/action_words.h"
#include "settings/settings_text.h"
#include "settings/settings_text_syntax.h"
#include "settings/store.h"
#include "settings/translate.h"

namespace z4 {
namespace {

using namespace text;

// Steps that the keyboard receives of a macro: the 192-byte payload holds 95.
constexpr std::size_t kSentMacroSteps = 95;
constexpr std::size_t kAnyCount = std::numeric_limits<std::size_t>::max();

struct Step {
  std::uint8_t keyCode = 0;
  std::uint8_t flag = 0;
  std::uint32_t delay = 0;
};

struct MacroDef {
  std::string name;
  std::size_t line = 0;
  std::uint32_t loop = 1;
  std::vector<Step> steps;
  bool tooManySteps = false;
};

struct CombDef {
  std::string name;
  std::size_t line = 0;
  std::array<std::uint8_t, CombRecord::kKeyCount> keys{};
};

// A key assignment; a macro or combination named by it is looked up at the end.
struct Assignment {
  enum class Ref { None, Macro, Combination };

  std::size_t line = 0;
  std::size_t record = 0;
  std::uint8_t keyCode = 0;
  std::int32_t actionType = 0;
  std::int32_t param = 0;
  Ref ref = Ref::None;
  std::string refName;
};

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string WordList(const ActionWords& words) {
  std::string out;
  for (const ActionWord* w = words.begin; w != words.end; ++w) {
    if (!out.empty()) out += w + 1 == words.end ? " or " : ", ";
    out += w->word;
  }
  return out;
}

class Parser {
 public:
  Parser(const KeyNames& names, TextReport& report) : names_(names), report_(report) {}

  void Line(std::size_t number, std::string_view line) {
    line_ = number;
    if (!Tokenize(line, tokens_)) return Error("a quoted name is not closed");
    if (tokens_.empty()) return;
    const std::string& word = tokens_[0];
    if (open_) return MacroLine();
    if (SameName(word, kRate)) return NumberStatement(rate_, rateLine_, kRate);
    if (SameName(word, kProfile)) return NumberStatement(profile_, profileLine_, kProfile);
    if (SameName(word, kMacro)) return MacroStatement();
    if (SameName(word, kCombination)) return CombinationStatement();
    if (SameName(word, kKey) || SameName(word, kRecord)) return AssignmentStatement();
    if (SameName(word, kEnd) || SameName(word, kStep)) return Error(Quoted(word) + " outside a macro");
    Error("unknown statement " + Quoted(word) +
          " (expected rate, profile, macro, combination, key or record)");
  }

  void Finish(SettingsImage& image) {
    if (open_) {
      line_ = macros_.back().line;
      Error("macro " + Quoted(macros_.back().name) + " has no end");
    }
    for (const MacroDef& m : macros_) {
      if (m.steps.size() > kSentMacroSteps)
        Warn(m.line, "macro " + Quoted(m.name) + " has " + std::to_string(m.steps.size()) +
                         " steps; the keyboard receives the first " + std::to_string(kSentMacroSteps));
    }
    if (rateLine_ && rate_ != 1 && rate_ != 2 && rate_ != 8)
      Warn(rateLine_, "rate " + std::to_string(rate_) + " is not a rate code the keyboard takes (1, 2 or 8)");
    for (Assignment& a : assignments_) Resolve(a);
    // Names are resolved last; the report still reads from the top of the text down.
    auto byLine = [](const TextIssue& a, const TextIssue& b) { return a.line < b.line; };
    std::stable_sort(report_.errors.begin(), report_.errors.end(), byLine);
    std::stable_sort(report_.warnings.begin(), report_.warnings.end(), byLine);
    if (!report_.ok()) return;
    Fill(image);
  }

 private:
  void Error(std::string message) { report_.errors.push_back({line_, std::move(message)}); }
  void Warn(std::size_t line, std::string message) {
    report_.warnings.push_back({line, std::move(message)});
  }

  bool ExpectCount(std::size_t min, std::size_t max, std::string_view usage) {
    if (tokens_.size() >= min && tokens_.size() <= max) return true;
    Error(tokens_.size() < min ? "missing words: write " + std::string(usage)
                               : "unexpected " + Quoted(tokens_[max]) + ": write " + std::string(usage));
    return false;
  }

  void NumberStatement(std::int32_t& value, std::size_t& seenLine, std::string_view word) {
    const std::string usage = std::string(word) + " NUMBER";
    if (!ExpectCount(2, 2, usage)) return;
    if (seenLine) return Error(std::string(word) + " is given twice (first on line " +
                               std::to_string(seenLine) + ")");
    const auto number = ParseInt32(tokens_[1]);
    if (!number) return Error("bad number " + Quoted(tokens_[1]) + " for " + std::string(word));
    value = *number;
    seenLine = line_;
  }

  // A name that is new among the definitions of one kind; reports the clash otherwise.
  bool NewName(std::map<std::string, std::size_t>& defined, const std::string& name,
               std::string_view kind) {
    if (name.empty()) {
      Error(std::string(kind) + " name is empty");
      return false;
    }
    const auto [it, added] = defined.emplace(name, line_);
    if (!added)
      Error(std::string(kind) + " " + Quoted(name) + " is defined twice (first on line " +
            std::to_string(it->second) + ")");
    return added;
  }

  void MacroStatement() {
    constexpr std::string_view usage = "macro NAME [loop NUMBER]";
    // The block opens even when its first line has a fault, so that its steps are checked.
    MacroDef def;
    def.line = line_;
    if (tokens_.size() >= 2) def.name = tokens_[1];
    if (tokens_.size() != 2 && tokens_.size() != 4) {
      ExpectCount(4, 4, usage);
    } else if (tokens_.size() == 4) {
      const auto loop = ParseInteger(tokens_[3], 0, std::numeric_limits<std::uint32_t>::max());
      if (!SameName(tokens_[2], kLoop))
        Error("unexpected " + Quoted(tokens_[2]) + ": write " + std::string(usage));
      else if (!loop)
        Error("bad loop count " + Quoted(tokens_[3]) + " (0..4294967295)");
      else
        def.loop = static_cast<std::uint32_t>(*loop);
    }
    if (tokens_.size() >= 2 && NewName(macroNames_, def.name, "macro") &&
        macroNames_.size() == kMacroRecordCount + 1)
      Error("too many macros: a settings file holds at most " + std::to_string(kMacroRecordCount));
    macros_.push_back(std::move(def));
    open_ = true;
  }

  void MacroLine() {
    MacroDef& macro = macros_.back();
    const std::string& word = tokens_[0];
    if (SameName(word, kEnd)) {
      open_ = false;
      ExpectCount(1, 1, "end");
      return;
    }
    if (!SameName(word, kStep))
      return Error("expected step or end in macro " + Quoted(macro.name) + ", not " + Quoted(word));
    constexpr std::string_view usage = "step KEY DELAY [flag [NUMBER]]";
    if (!ExpectCount(3, 5, usage)) return;
    Step step;
    const auto code = ParseKeyCode(tokens_[1]);
    if (!code) return Error(UnknownKeyCode(tokens_[1]));
    step.keyCode = *code;
    const auto delay = ParseInteger(tokens_[2], 0, std::numeric_limits<std::uint32_t>::max());
    if (!delay) return Error("bad delay " + Quoted(tokens_[2]) + " (milliseconds, 0..4294967295)");
    step.delay = static_cast<std::uint32_t>(*delay);
    if (tokens_.size() >= 4) {
      if (!SameName(tokens_[3], kFlag)) return Error("unexpected " + Quoted(tokens_[3]) + ": write " + std::string(usage));
      step.flag = 1;
      if (tokens_.size() == 5) {
        const auto flag = ParseInteger(tokens_[4], 0, 255);
        if (!flag) return Error("bad flag " + Quoted(tokens_[4]) + " (0..255)");
        step.flag = static_cast<std::uint8_t>(*flag);
      }
    }
    if (macro.steps.size() == MacroRecord::kMaxEvents) {
      if (!macro.tooManySteps)
        Error("too many steps in macro " + Quoted(macro.name) + ": a macro holds at most " +
              std::to_string(MacroRecord::kMaxEvents));
      macro.tooManySteps = true;
      return;
    }
    macro.steps.push_back(step);
  }

  void CombinationStatement() {
    if (tokens_.size() < 2) return Error("missing words: write combination NAME [KEY|none]...");
    CombDef def;
    def.name = tokens_[1];
    def.line = line_;
    if (tokens_.size() > 2 + CombRecord::kKeyCount)
      return Error("too many keys in combination " + Quoted(def.name) + ": a combination has at most " +
                   std::to_string(CombRecord::kKeyCount));
    for (std::size_t k = 0; k + 2 < tokens_.size(); ++k) {
      if (SameName(tokens_[k + 2], kNone)) continue;
      const auto code = ParseKeyCode(tokens_[k + 2]);
      if (!code) return Error(UnknownKeyCode(tokens_[k + 2]));
      def.keys[k] = *code;
    }
    if (!NewName(combNames_, def.name, "combination")) return;
    if (combNames_.size() == kCombRecordCount + 1)
      Error("too many combinations: a settings file holds at most " + std::to_string(kCombRecordCount));
    combs_.push_back(std::move(def));
  }

  static std::string UnknownKeyCode(const std::string& text) {
    return "unknown key " + Quoted(text) + " (a key-code name such as A, F1, LCtrl, Num0 or Mute, or 0x00..0xFF)";
  }

  void AssignmentStatement() {
    Assignment a;
    a.line = line_;
    std::size_t actionAt = 0;
    if (SameName(tokens_[0], kKey)) {
      if (!ExpectCount(3, kAnyCount, "key NAME ACTION")) return;
      bool ambiguous = false;
      const auto record = names_.FindRecord(tokens_[1], ambiguous);
      if (!record) return Error(ambiguous ? AmbiguousKey(tokens_[1])
                                          : "unknown key " + Quoted(tokens_[1]) + ": not a key of the layout");
      a.record = *record;
      a.keyCode = names_.layout()[*record].keyCode;
      actionAt = 2;
    } else {
      if (!ExpectCount(4, kAnyCount, "record INDEX KEY ACTION")) return;
      const auto index = ParseInteger(tokens_[1], 0, kKeySettingCount - 1);
      if (!index) return Error("bad record index " + Quoted(tokens_[1]) + " (0.." +
                               std::to_string(kKeySettingCount - 1) + ")");
      const auto code = ParseKeyCode(tokens_[2]);
      if (!code) return Error(UnknownKeyCode(tokens_[2]));
      a.record = static_cast<std::size_t>(*index);
      a.keyCode = *code;
      actionAt = 3;
    }
    if (!Action(actionAt, a)) return;
    std::size_t& first = recordLines_[a.record];
    if (first) return Error(std::string(SameName(tokens_[0], kKey) ? "key " : "record ") + Quoted(tokens_[1]) +
                            " is assigned twice (first on line " + std::to_string(first) + ")");
    first = line_;
    assignments_.push_back(std::move(a));
  }

  std::string AmbiguousKey(const std::string& name) const {
    std::string alternatives;
    for (const LayoutKey& k : names_.layout()) {
      if (!SameName(k.name, name)) continue;
      if (!alternatives.empty()) alternatives += " or ";
      alternatives += KeyCodeText(k.keyCode);
    }
    return "key name " + Quoted(name) + " names more than one key of the layout: write " + alternatives;
  }

  // Reads the action that starts at token `at` into a.
  bool Action(std::size_t at, Assignment& a) {
    const std::string& word = tokens_[at];
    const std::size_t args = tokens_.size() - at - 1;
    auto argCount = [&](std::size_t n, std::string_view usage) {
      if (args == n) return true;
      Error(args < n ? "missing words: write " + std::string(usage)
                     : "unexpected " + Quoted(tokens_[at + 1 + n]) + ": write " + std::string(usage));
      return false;
    };
    auto fromWords = [&](ActionType type, const ActionWords& words, std::string_view kind) {
      if (!argCount(1, std::string(word) + " WORD")) return false;
      const ActionWord* w = words.Find(std::string_view(tokens_[at + 1]));
      if (!w) {
        Error("unknown " + std::string(kind) + " " + Quoted(tokens_[at + 1]) + " (expected " +
              WordList(words) + ")");
        return false;
      }
      a.actionType = type;
      a.param = w->param;
      return true;
    };
    auto named = [&](ActionType type, Assignment::Ref ref) {
      if (!argCount(1, std::string(word) + " NAME")) return false;
      a.actionType = type;
      a.ref = ref;
      a.refName = tokens_[at + 1];
      return true;
    };

    if (SameName(word, kDefault)) {
      if (!argCount(0, kDefault)) return false;
      a.actionType = kActionDefault;
      return true;
    }
    if (SameName(word, kSystem)) return fromWords(kActionSystemShortcut, SystemShortcutWords(), "system shortcut");
    if (SameName(word, kEdit)) return fromWords(kActionEditShortcut, EditShortcutWords(), "editing shortcut");
    if (SameName(word, kMedia)) return fromWords(kActionConsumer, ConsumerKeyWords(), "media key");
    if (SameName(word, kMedia2)) return fromWords(kActionConsumer2, ConsumerKeyWords(), "media key");
    if (SameName(word, kMacro)) return named(kActionMacro, Assignment::Ref::Macro);
    if (SameName(word, kCombination)) return named(kActionCombination, Assignment::Ref::Combination);
    if (SameName(word, kMouse)) {
      if (!argCount(1, "mouse WORD|NUMBER")) return false;
      const std::string& arg = tokens_[at + 1];
      const ActionWord* w = MouseWords().Find(std::string_view(arg));
      const auto number = w ? std::optional<std::int64_t>(w->param)
                            : ParseInteger(arg, kFirstMouseFunction, kLastMouseFunction);
      if (!number) {
        Error("unknown mouse function " + Quoted(arg) + " (expected " + WordList(MouseWords()) +
              ", or a number 1..16)");
        return false;
      }
      a.actionType = kActionMouse;
      a.param = static_cast<std::int32_t>(*number);
      return true;
    }
    if (SameName(word, kSingle)) {
      if (!argCount(1, "single KEY")) return false;
      const auto code = ParseKeyCode(tokens_[at + 1]);
      if (!code) {
        Error(UnknownKeyCode(tokens_[at + 1]));
        return false;
      }
      a.actionType = kActionSingleKey;
      a.param = *code;
      return true;
    }
    if (SameName(word, kRaw)) {
      if (!argCount(2, "raw TYPE PARAMETER")) return false;
      const auto type = ParseInt32(tokens_[at + 1]);
      const auto param = ParseInt32(tokens_[at + 2]);
      if (!type || !param) {
        Error("bad number " + Quoted(tokens_[type ? at + 2 : at + 1]) + " for raw");
        return false;
      }
      a.actionType = *type;
      a.param = *param;
      return true;
    }
    Error("unknown action " + Quoted(word) +
          " (expected default, system, edit, media, media2, mouse, macro, combination, single or raw)");
    return false;
  }

  void Resolve(Assignment& a) {
    if (a.ref == Assignment::Ref::None) return;
    const bool macro = a.ref == Assignment::Ref::Macro;
    const auto& defined = macro ? macroNames_ : combNames_;
    const auto it = defined.find(a.refName);
    if (it == defined.end()) {
      report_.errors.push_back({a.line, std::string(macro ? "macro " : "combination ") +
                                            Quoted(a.refName) + " is not defined"});
      return;
    }
    // Definitions are numbered in the order they appear: the first is record 0.
    std::size_t index = 0;
    if (macro) {
      while (macros_[index].name != a.refName) ++index;
    } else {
      while (combs_[index].name != a.refName) ++index;
    }
    a.param = static_cast<std::int32_t>(index);
  }

  void Fill(SettingsImage& image) const {
    KeyLayoutCodes codes{};
    for (std::size_t i = 0; i < kKeySettingCount; ++i) codes[i] = names_.layout()[i].keyCode;
    BuildDefaultKeySetting(image.keySetting, codes);
    for (const Assignment& a : assignments_) {
      KeySettingEntry entry(image.keySetting, a.record);
      entry.SetKeyCode(a.keyCode);
      entry.SetAction(a.actionType, a.param);
    }

    image.macroSetting.fill(0);
    for (std::size_t r = 0; r < macros_.size(); ++r) {
      std::uint8_t* record = image.macroSetting.data() + MacroRecordOffset(r);
      const MacroDef& m = macros_[r];
      StoreU32(record + MacroRecord::kLoopCount, m.loop);
      StoreU16(record + MacroRecord::kEventCount, static_cast<std::uint16_t>(m.steps.size()));
      for (std::size_t k = 1; k <= m.steps.size(); ++k) {
        std::uint8_t* e = record + MacroEventOffset(k);
        e[MacroEvent::kKeyCode] = m.steps[k - 1].keyCode;
        e[MacroEvent::kFlag] = m.steps[k - 1].flag;
        StoreU32(e + MacroEvent::kDelay, m.steps[k - 1].delay);
      }
    }
    StoreI32(image.macroSetting.data() + kMacroCountOffset, static_cast<std::int32_t>(macros_.size()));

    image.combSetting.fill(0);
    for (std::size_t r = 0; r < combs_.size(); ++r) {
      std::uint8_t* record = image.combSetting.data() + CombRecordOffset(r);
      for (std::size_t k = 0; k < CombRecord::kKeyCount; ++k) record[k] = combs_[r].keys[k];
    }

    image.nRate = rate_;
    image.nProfileSel = profile_;
  }

  const KeyNames& names_;
  TextReport& report_;
  std::size_t line_ = 0;
  std::vector<std::string> tokens_;

  std::int32_t rate_ = kDefaultRate;
  std::size_t rateLine_ = 0;
  std::int32_t profile_ = kDefaultProfileSel;
  std::size_t profileLine_ = 0;
  std::vector<MacroDef> macros_;
  std::map<std::string, std::size_t> macroNames_;
  bool open_ = false;  // inside the last macro's block
  std::vector<CombDef> combs_;
  std::map<std::string, std::size_t> combNames_;
  std::vector<Assignment> assignments_;
  std::array<std::size_t, kKeySettingCount> recordLines_{};
};

}  // namespace

TextReport ParseSettingsText(std::string_view text, const KeyNames& names, SettingsImage& image) {
  TextReport report;
  Parser parser(names, report);
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  std::size_t number = 1;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    parser.Line(number++, line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  parser.Finish(image);
  return report;
}

}  // namespace z4
