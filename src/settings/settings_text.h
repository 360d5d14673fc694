// Settings text: the five settings values as a readable file (rate, profile, macros and
// combinations by name, one line per key assignment, '#' comments) and back again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/key_names.h"
#include "settings/settings_image.h"

namespace z4 {

// A problem found on a line of settings text (lines count from 1).
struct TextIssue {
  std::size_t line = 0;
  std::string message;
};

struct TextReport {
  std::vector<TextIssue> errors;    // the text was not read; nothing may be stored from it
  std::vector<TextIssue> warnings;  // read, but something will not work as written
  bool ok() const { return errors.empty(); }
};

// Reads settings text into image. The image first takes what an empty text gives: every
// KeySetting record the default of its layout key, no macros and no combinations, rate 8,
// profile 0, and zero in every byte that the text does not describe. Then the statements fill
// it; a key assignment names its record through the key layout. Every error is reported with
// its line; when there is any, the image holds a partial result that the caller must drop.
TextReport ParseSettingsText(std::string_view text, const KeyNames& names, SettingsImage& image);

// Writes image as settings text that ParseSettingsText reads back to the same bytes, except the
// bytes it does not carry (tools/z4ctl/README.md lists them).
std::string PrintSettingsText(const SettingsImage& image, const KeyNames& names);

// The macro records settings text carries: those below the macro count, at most 100.
std::size_t CarriedMacroCount(const SettingsImage& image);
// The combination records settings text carries: up to the last one that holds a key or that a
// key assignment names.
std::size_t CarriedCombCount(const SettingsImage& image);

// The names settings text gives records that have none: "macro1" for macro record 0, "comb1"
// for combination record 0, and so on.
std::string MacroRecordName(std::size_t r);
std::string CombRecordName(std::size_t r);

}  // namespace z4
