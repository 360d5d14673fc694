// Settings text: key assignments of every action type, macros, combinations, error lines, the
// bytes an export carries through an import, and the description that show prints.
#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "settings/settings_show.h"
#include "settings/store.h"
#include "settings/translate.h"

namespace z4 {
namespace {

// A layout with the awkward cases: names used twice, names that need quoting, a name that is
// also another code's key-code name, and records the layout leaves empty.
LayoutKeys TestLayout() {
  LayoutKeys layout{};
  const LayoutKey keys[] = {
      {"Esc", 0x1B},   {"F1", 0x70},      {"Shift", 0xA0}, {"Shift", 0xA1},  {"-", 0xBD},
      {"-", 0x6D},     {"Num Lock", 0x90}, {"#", 0xC1},     {"A", 0x41},      {"Mute", 0xAD},
      {"Q", 0x51},     {"Tab", 0x14},     {"Say \"hi\"", 0x09}, {"\\", 0xDC}, {"C", 0x43},
  };
  std::copy(std::begin(keys), std::end(keys), layout.begin());
  return layout;
}

struct SettingsText : ::testing::Test {
  KeyNames names{TestLayout()};
  std::unique_ptr<SettingsImage> image = std::make_unique<SettingsImage>();

  TextReport Parse(const std::string& text) { return ParseSettingsText(text, names, *image); }
  KeySettingEntry Entry(std::size_t i) { return KeySettingEntry(image->keySetting, i); }
};

std::string Messages(const TextReport& r) {
  std::string out;
  for (const TextIssue& e : r.errors) out += std::to_string(e.line) + ": " + e.message + "\n";
  return out;
}

TEST_F(SettingsText, EmptyTextGivesTheDefaults) {
  image->macroSetting.fill(0xEE);
  image->combSetting.fill(0xEE);
  image->nRate = 1;
  image->nProfileSel = 5;
  ASSERT_TRUE(Parse("# nothing but a comment\n\n   \t\n").ok());
  KeySettingImage expected{};
  KeyLayoutCodes codes{};
  for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = TestLayout()[i].keyCode;
  BuildDefaultKeySetting(expected, codes);
  EXPECT_EQ(image->keySetting, expected);
  EXPECT_EQ(image->macroSetting, MacroSettingImage{});
  EXPECT_EQ(image->combSetting, CombSettingImage{});
  EXPECT_EQ(image->nRate, 8);
  EXPECT_EQ(image->nProfileSel, 0);
}

struct AssignmentCase {
  const char* line;
  std::size_t record;
  std::uint8_t keyCode;
  std::int32_t type;
  std::int32_t param;
};

TEST_F(SettingsText, KeyAssignmentsOfEveryActionType) {
  const AssignmentCase cases[] = {
      {"key Esc default", 0, 0x1B, 1, 0},
      {"key F1 system switch-window", 1, 0x70, 2, 9},
      {"key F1 system desktop", 1, 0x70, 2, 13},
      {"key F1 mouse left", 1, 0x70, 3, 1},
      {"key F1 mouse double-click", 1, 0x70, 3, 10},
      {"key F1 mouse forward", 1, 0x70, 3, 16},
      {"key F1 mouse 7", 1, 0x70, 3, 7},
      {"key F1 macro second", 1, 0x70, 4, 1},
      {"key F1 media media-player", 1, 0x70, 5, 0},
      {"key F1 media calculator", 1, 0x70, 5, 17},
      {"key F1 edit cut", 1, 0x70, 6, 0},
      {"key F1 edit undo", 1, 0x70, 6, 8},
      {"key F1 media2 mute", 1, 0x70, 7, 7},
      {"key F1 combination copy", 1, 0x70, 8, 0},
      {"key F1 single LCtrl", 1, 0x70, 9, 0xA2},
      {"key F1 single 0x00", 1, 0x70, 9, 0},
      {"key F1 raw 12 -5", 1, 0x70, 12, -5},
      {"key F1 raw 0x1 0xFFFFFFFF", 1, 0x70, 1, -1},
      {"KEY f1 MEDIA Play-Pause", 1, 0x70, 5, 1},  // words regardless of case
      {"key LShift default", 2, 0xA0, 1, 0},        // a name used twice, by its code name
      {"key rshift default", 3, 0xA1, 1, 0},
      {"key NumSub default", 5, 0x6D, 1, 0},
      {"key \"Num Lock\" default", 6, 0x90, 1, 0},
      {"key \"#\" default", 7, 0xC1, 1, 0},
      {"key \"Say \\\"hi\\\"\" default", 12, 0x09, 1, 0},
      {"key \\ default", 13, 0xDC, 1, 0},
      {"key Tab default", 11, 0x14, 1, 0},  // the layout's name wins over the code name
      {"key 0x41 default", 8, 0x41, 1, 0},
      {"record 90 0x41 single B", 90, 0x41, 9, 0x42},
      {"record 0 Esc raw 1 7", 0, 0x1B, 1, 7},
  };
  const std::string defs = "macro first\nend\nmacro second\nend\ncombination copy LCtrl C\n";
  for (const AssignmentCase& c : cases) {
    const TextReport r = Parse(defs + c.line + "   # comment\n");
    ASSERT_TRUE(r.ok()) << c.line << "\n" << Messages(r);
    EXPECT_EQ(Entry(c.record).keyCode(), c.keyCode) << c.line;
    EXPECT_EQ(Entry(c.record).actionType(), c.type) << c.line;
    EXPECT_EQ(Entry(c.record).param(), c.param) << c.line;
  }
}

struct ErrorCase {
  const char* text;
  std::size_t line;
  const char* message;  // part of the message
};

TEST_F(SettingsText, ErrorsNameTheLineAndTheFault) {
  std::string macros101, steps162 = "macro long\n", combs101;
  for (int i = 0; i < 101; ++i) macros101 += "macro m" + std::to_string(i) + "\nend\n";
  for (int i = 0; i < 162; ++i) steps162 += "step A 0\n";
  steps162 += "end\n";
  for (int i = 0; i < 101; ++i) combs101 += "combination c" + std::to_string(i) + " A\n";
  const ErrorCase cases[] = {
      {"key Nope default", 1, "unknown key \"Nope\""},
      {"key Shift default", 1, "names more than one key of the layout: write LShift or RShift"},
      {"key - default", 1, "write Minus or NumSub"},
      {"\nkey Esc jump", 2, "unknown action \"jump\""},
      {"key Esc", 1, "missing words"},
      {"key Esc default now", 1, "unexpected \"now\""},
      {"key Esc system reboot", 1, "unknown system shortcut \"reboot\""},
      {"key Esc edit redo", 1, "unknown editing shortcut"},
      {"key Esc media louder", 1, "unknown media key"},
      {"key Esc mouse 17", 1, "unknown mouse function \"17\""},
      {"key Esc mouse 0", 1, "unknown mouse function"},
      {"key Esc single Hyper", 1, "unknown key \"Hyper\""},
      {"key Esc single 0x100", 1, "unknown key"},
      {"key Esc raw 1 2x", 1, "bad number \"2x\""},
      {"key Esc raw 4294967296 0", 1, "bad number"},
      {"key Esc macro none", 1, "macro \"none\" is not defined"},
      {"key Esc combination none", 1, "combination \"none\" is not defined"},
      {"key Esc default\nkey Esc edit cut", 2, "is assigned twice (first on line 1)"},
      {"key Esc default\nrecord 0 Esc default", 2, "assigned twice"},
      {"record 92 A default", 1, "bad record index \"92\""},
      {"record 1 Nope default", 1, "unknown key \"Nope\""},
      {"rate fast", 1, "bad number \"fast\" for rate"},
      {"rate 8\nrate 2", 2, "rate is given twice"},
      {"profile", 1, "missing words"},
      {"profile 1 2", 1, "unexpected \"2\""},
      {"macro a\nend\nmacro a\nend", 3, "macro \"a\" is defined twice (first on line 1)"},
      {"combination c A\ncombination c B", 2, "combination \"c\" is defined twice"},
      {"macro a loop -1\nend", 1, "bad loop count"},
      {"macro a loops 2\nend", 1, "unexpected \"loops\""},
      {"macro a\nstep Nope 0\nend", 2, "unknown key \"Nope\""},
      {"macro a\nstep A soon\nend", 2, "bad delay \"soon\""},
      {"macro a\nstep A 0 flag 256\nend", 2, "bad flag"},
      {"macro a\nstep A 0 up\nend", 2, "unexpected \"up\""},
      {"macro a\nkey Esc default\nend", 2, "expected step or end in macro \"a\""},
      {"\n\nmacro a\nstep A 0", 3, "macro \"a\" has no end"},
      {"step A 0", 1, "\"step\" outside a macro"},
      {"end", 1, "\"end\" outside a macro"},
      {"combination c A B C D E", 1, "too many keys in combination \"c\""},
      {"combination c A Nope", 1, "unknown key \"Nope\""},
      {"key \"Esc default", 1, "quoted name is not closed"},
      {"keys Esc default", 1, "unknown statement \"keys\""},
      {macros101.c_str(), 201, "too many macros"},
      {steps162.c_str(), 163, "too many steps in macro \"long\": a macro holds at most 161"},
      {combs101.c_str(), 101, "too many combinations"},
  };
  for (const ErrorCase& c : cases) {
    const TextReport r = Parse(c.text);
    ASSERT_EQ(r.errors.size(), 1u) << c.text << "\n" << Messages(r);
    EXPECT_EQ(r.errors[0].line, c.line) << c.text;
    EXPECT_NE(r.errors[0].message.find(c.message), std::string::npos)
        << c.text << "\n" << r.errors[0].message;
  }
}

TEST_F(SettingsText, EveryFaultyLineIsReportedInOnePass) {
  const TextReport r = Parse("key F1 macro gone\nrate x\nkey Esc default\nkey Nope default\n");
  ASSERT_EQ(r.errors.size(), 3u) << Messages(r);
  EXPECT_EQ(r.errors[0].line, 1u);  // found once the whole text was read, reported in line order
  EXPECT_EQ(r.errors[1].line, 2u);
  EXPECT_EQ(r.errors[2].line, 4u);
}

TEST_F(SettingsText, MacrosFillTheirRecordsInOrderWithStepsFlagsDelaysAndLoops) {
  const TextReport r = Parse(
      "key F1 macro burst      # used before it is defined\n"
      "macro idle\nend\n"
      "macro burst loop 300\n"
      "  step A 100 flag\n"
      "  step LCtrl 6400\n"
      "  step 0xE8 4294967295 flag 128\n"
      "end\n");
  ASSERT_TRUE(r.ok()) << Messages(r);
  EXPECT_TRUE(r.warnings.empty());
  EXPECT_EQ(MacroCount(image->macroSetting), 2);
  EXPECT_EQ(Entry(1).param(), 1);
  const MacroRecord idle(image->macroSetting, 0);
  EXPECT_EQ(idle.loopCount(), 1u);
  EXPECT_EQ(idle.eventCount(), 0u);
  const MacroRecord burst(image->macroSetting, 1);
  EXPECT_EQ(burst.loopCount(), 300u);
  ASSERT_EQ(burst.eventCount(), 3u);
  const MacroEvent expected[] = {{0x41, 1, 100}, {0xA2, 0, 6400}, {0xE8, 128, 4294967295u}};
  for (std::size_t k = 1; k <= 3; ++k) {
    EXPECT_EQ(burst.event(k).keyCode, expected[k - 1].keyCode) << k;
    EXPECT_EQ(burst.event(k).flag, expected[k - 1].flag) << k;
    EXPECT_EQ(burst.event(k).delay, expected[k - 1].delay) << k;
  }
  EXPECT_EQ(burst.event(4).keyCode, 0);
}

TEST_F(SettingsText, MacroLengthsAtTheLimits) {
  auto macro = [](std::size_t steps) {
    std::string t = "macro m\n";
    for (std::size_t k = 0; k < steps; ++k) t += "step B " + std::to_string(k) + "\n";
    return t + "end\n";
  };
  TextReport r = Parse(macro(95));
  EXPECT_TRUE(r.ok() && r.warnings.empty());
  r = Parse(macro(96));
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0].line, 1u);
  EXPECT_NE(r.warnings[0].message.find("receives the first 95"), std::string::npos);
  r = Parse(macro(161));
  ASSERT_TRUE(r.ok());
  const MacroRecord record(image->macroSetting, 0);
  EXPECT_EQ(record.eventCount(), 161u);
  EXPECT_EQ(record.event(161).delay, 160u);  // the last event ends the record
  EXPECT_EQ(image->macroSetting[kMacroRecordSize], 0);

  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "macro m" + std::to_string(i) + " loop " + std::to_string(i) + "\nend\n";
  ASSERT_TRUE(Parse(hundred + "key Esc macro m99\n").ok());
  EXPECT_EQ(MacroCount(image->macroSetting), 100);
  EXPECT_EQ(MacroRecord(image->macroSetting, 99).loopCount(), 99u);
  EXPECT_EQ(Entry(0).param(), 99);
}

TEST_F(SettingsText, CombinationsHoldUpToFourKeysInPlace) {
  const TextReport r = Parse(
      "combination empty\n"
      "combination four LCtrl LAlt Del 0xC3\n"
      "combination gap LCtrl none C\n"
      "key Esc combination gap\nkey F1 combination gap\nkey A combination four\n");
  ASSERT_TRUE(r.ok()) << Messages(r);
  const std::uint8_t* c = image->combSetting.data();
  EXPECT_EQ(std::vector<std::uint8_t>(c, c + 4), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(c + 524, c + 528), (std::vector<std::uint8_t>{0xA2, 0xA4, 0x2E, 0xC3}));
  EXPECT_EQ(std::vector<std::uint8_t>(c + 1048, c + 1052), (std::vector<std::uint8_t>{0xA2, 0, 0x43, 0}));
  EXPECT_EQ(Entry(0).param(), 2);
  EXPECT_EQ(Entry(1).param(), 2);
  EXPECT_EQ(Entry(8).param(), 1);
}

TEST_F(SettingsText, RateOtherThanTheKeyboardsCodesIsKeptWithAWarning) {
  TextReport r = Parse("rate 2\nprofile -3\n");
  EXPECT_TRUE(r.ok() && r.warnings.empty());
  EXPECT_EQ(image->nRate, 2);
  EXPECT_EQ(image->nProfileSel, -3);
  r = Parse("\nrate 4\n");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0].line, 2u);
  EXPECT_EQ(image->nRate, 4);
}

TEST_F(SettingsText, ByteOrderMarkAndWindowsLineEndsAreAccepted) {
  ASSERT_TRUE(Parse("\xEF\xBB\xBFrate 1\r\nkey Esc edit copy\r\n").ok());
  EXPECT_EQ(image->nRate, 1);
  EXPECT_EQ(Entry(0).actionType(), 6);
}

// What an export followed by an import gives back: the image with every byte that the text
// does not carry set to zero.
std::unique_ptr<SettingsImage> Carried(const SettingsImage& in) {
  auto out = std::make_unique<SettingsImage>();
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    const std::size_t o = i * kKeySettingEntrySize;
    out->keySetting[o] = in.keySetting[o];
    std::copy_n(&in.keySetting[o + 4], 8, &out->keySetting[o + 4]);
  }
  const std::size_t macros = CarriedMacroCount(in);
  for (std::size_t r = 0; r < macros; ++r) {
    const std::size_t o = r * kMacroRecordSize;
    std::copy_n(&in.macroSetting[o + 8], 4, &out->macroSetting[o + 8]);
    const std::size_t n = std::min<std::size_t>(MacroRecord(in.macroSetting, r).eventCount(), 161);
    StoreU16(&out->macroSetting[o + 12], static_cast<std::uint16_t>(n));
    for (std::size_t k = 1; k <= n; ++k) {
      const std::size_t e = o + 8 + 8 * k;
      out->macroSetting[e] = in.macroSetting[e];
      out->macroSetting[e + 1] = in.macroSetting[e + 1];
      std::copy_n(&in.macroSetting[e + 4], 4, &out->macroSetting[e + 4]);
    }
  }
  StoreI32(&out->macroSetting[kMacroCountOffset], static_cast<std::int32_t>(macros));
  for (std::size_t r = 0; r < kCombRecordCount; ++r)
    std::copy_n(&in.combSetting[r * kCombRecordSize], 4, &out->combSetting[r * kCombRecordSize]);
  out->nRate = in.nRate;
  out->nProfileSel = in.nProfileSel;
  return out;
}

// Images from random bytes, with the counts, action types and parameters drawn mostly from
// their meaningful ranges so that every way of writing a record is taken.
std::unique_ptr<SettingsImage> RandomImage(std::mt19937& rng, const LayoutKeys& layout) {
  auto image = std::make_unique<SettingsImage>();
  auto byte = [&] { return static_cast<std::uint8_t>(rng()); };
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (auto& b : image->keySetting) b = byte();
  for (auto& b : image->macroSetting) b = byte();
  for (auto& b : image->combSetting) b = byte();
  const bool sparse = pick(0, 1) == 0;
  if (sparse) image->combSetting.fill(0);
  for (std::size_t r = 0; r < kCombRecordCount && sparse; r += static_cast<std::size_t>(pick(1, 40)))
    image->combSetting[r * kCombRecordSize + static_cast<std::size_t>(pick(0, 3))] = byte();
  for (std::size_t r = 0; r < kMacroRecordCount; ++r)
    if (pick(0, 3)) StoreU16(&image->macroSetting[r * kMacroRecordSize + 12], static_cast<std::uint16_t>(pick(0, 170)));
  if (pick(0, 4)) StoreI32(&image->macroSetting[kMacroCountOffset], pick(0, 100));
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    KeySettingEntry e(image->keySetting, i);
    if (pick(0, 4)) e.SetKeyCode(layout[i].keyCode);
    if (pick(0, 5)) e.SetAction(pick(0, 10), pick(-2, pick(0, 1) ? 20 : 300));
  }
  image->nRate = static_cast<std::int32_t>(rng());
  image->nProfileSel = pick(-1, 7);
  return image;
}

TEST_F(SettingsText, ExportThenImportKeepsEveryCarriedByteAndZeroesTheRest) {
  std::mt19937 rng(4711);
  for (int round = 0; round < 40; ++round) {
    const auto original = RandomImage(rng, names.layout());
    const std::string text = PrintSettingsText(*original, names);
    image->keySetting.fill(0x5A);
    const TextReport r = Parse(text);
    ASSERT_TRUE(r.ok()) << "round " << round << "\n" << Messages(r) << text;
    const auto expected = Carried(*original);
    ASSERT_EQ(image->keySetting, expected->keySetting) << "round " << round;
    ASSERT_EQ(image->macroSetting, expected->macroSetting) << "round " << round;
    ASSERT_EQ(image->combSetting, expected->combSetting) << "round " << round;
    ASSERT_EQ(image->nRate, expected->nRate);
    ASSERT_EQ(image->nProfileSel, expected->nProfileSel);
    ASSERT_EQ(PrintSettingsText(*image, names), text) << "round " << round;
  }
}

TEST_F(SettingsText, ExportIsReadable) {
  ASSERT_TRUE(Parse("rate 2\nmacro go loop 2\nstep A 50 flag\nend\n"
                    "combination copy LCtrl none C\n"
                    "key F1 macro go\nkey Esc combination copy\nkey \"Num Lock\" media mute\n"
                    "key RShift mouse 3\nrecord 91 0x41 single 0xE8\n")
                  .ok());
  const std::string text = PrintSettingsText(*image, names);
  for (const char* line : {"\nrate 2\n", "\nprofile 0\n", "\nmacro macro1 loop 2\n  step A 50 flag\nend\n",
                           "\ncombination comb1 LCtrl none C\n", "\nkey Esc          combination comb1\n",
                           "\nkey F1           macro macro1\n", "\nkey \"Num Lock\"   media mute\n",
                           "\nkey RShift       mouse 3\n", "\nkey \"#\"          default\n",
                           "\nrecord 91 A      single 0xE8\n", "\nrecord 20 0x00   default\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(SettingsText, ShowDescribesKeysAndTheMacrosAndCombinationsTheyUse) {
  ASSERT_TRUE(Parse("macro unused\nend\nmacro go loop 3\nstep A 50 flag\nstep B 0\nend\n"
                    "combination copy LCtrl C\ncombination spare A\n"
                    "key Esc macro go\nkey F1 combination copy\nkey A system lock\nkey Q media2 calculator\n"
                    "key C mouse double-click\nkey Mute edit paste\nkey Tab single LWin\n"
                    "key LShift raw 12 5\nkey RShift raw 4 9\nkey \"Num Lock\" raw 2 3\n")
                  .ok());
  const std::string shown = DescribeSettings(*image, names);
  for (const char* part : {"Rate code: 8\n", "  Esc            Macro macro2\n",
                           "  F1             Combination comb1: LCtrl + C\n",
                           "System shortcut: Lock computer (Win+L)", "Media key: Calculator",
                           "Mouse: Double click", "Editing shortcut: Paste (Ctrl+V)", "Single key: LWin",
                           "Action type 12, parameter 5 (unknown", "Macro, index 9 not defined",
                           "System shortcut, unknown parameter 3",
                           "\nMacros used:\n  macro2 (macro slot 2): loop 3, 2 steps\n    1. A, 50 ms, flag 1\n    2. B, 0 ms\n",
                           "\nCombinations used:\n  comb1: LCtrl + C\n"})
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
  EXPECT_EQ(shown.find("macro1"), std::string::npos);
  EXPECT_EQ(shown.find("comb2"), std::string::npos);
}

}  // namespace
}  // namespace z4
