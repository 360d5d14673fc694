// The switching decision: which bound profile the foreground program selects.
#include "settings/auto_switch.h"

#include <gtest/gtest.h>

namespace z4 {
namespace {

AutoSwitchTable Table(std::initializer_list<std::pair<std::u16string, std::int32_t>> records) {
  AutoSwitchTable table{};
  std::size_t i = 0;
  for (const auto& [program, profile] : records) {
    std::copy(program.begin(), program.end(), table[i].szProgram.begin());
    table[i++].nProfile = profile;
  }
  return table;
}

struct SwitchCase {
  const char* what;
  std::u16string program;
  std::int32_t selected;
  std::optional<std::int32_t> target;
};

TEST(FindSwitchTarget, ComparesNamesWithoutAsciiCaseAndFirstRecordWins) {
  const AutoSwitchTable table =
      Table({{u"race.exe", 3}, {u"Editor.EXE", 0}, {u"RACE.exe", 1}, {u"\u00e9t\u00e9.exe", 5}});
  const SwitchCase cases[] = {
      {"bound, other selected", u"race.exe", 0, 3},
      {"case of ASCII letters ignored", u"RaCe.ExE", 0, 3},
      {"first equal record wins over a later one", u"RACE.EXE", 1, 3},
      {"the first equal record is selected: nothing, even if a later one differs", u"race.exe", 3,
       std::nullopt},
      {"profile 0 is a profile like the others", u"editor.exe", 6, 0},
      {"non-ASCII letters compare exactly", u"\u00e9t\u00e9.exe", 0, 5},
      {"non-ASCII letters are not folded", u"\u00c9T\u00c9.exe", 0, std::nullopt},
      {"unbound program", u"notepad.exe", 0, std::nullopt},
      {"prefix of a bound name", u"race", 0, std::nullopt},
      {"bound name as a prefix", u"race.exe2", 0, std::nullopt},
      {"empty name never matches the empty records", u"", 0, std::nullopt},
      {"UNKNOW only matches a binding of that name", u"UNKNOW", 0, std::nullopt},
  };
  for (const SwitchCase& c : cases)
    EXPECT_EQ(FindSwitchTarget(c.program, table, c.selected), c.target) << c.what;
}

TEST(FindSwitchTarget, EmptyRecordsNeverMatchAndFoldingIsOnlyAsciiLetters) {
  AutoSwitchTable empty{};
  EXPECT_EQ(FindSwitchTarget(u"", empty, 1), std::nullopt);
  EXPECT_EQ(FindSwitchTarget(u"race.exe", empty, 1), std::nullopt);
  // '@' and '[' sit next to 'A' and 'Z'; '`' and '{' next to 'a' and 'z'.
  const AutoSwitchTable edges = Table({{u"@[.exe", 2}, {u"UNKNOW", 4}});
  EXPECT_EQ(FindSwitchTarget(u"`{.exe", edges, 0), std::nullopt);
  EXPECT_EQ(FindSwitchTarget(u"@[.EXE", edges, 0), 2);
  EXPECT_EQ(FindSwitchTarget(u"UNKNOW", edges, 0), 4);
}

}  // namespace
}  // namespace z4
