// The settings image described for people: every key's assignment in words, then the macros
// and combinations that the keys use, with their steps and keys.
#pragma once

#include <string>

#include "settings/key_names.h"
#include "settings/settings_image.h"

namespace z4 {

// Macros and combinations carry the names that settings text gives them (macro1, comb1, ...).
std::string DescribeSettings(const SettingsImage& image, const KeyNames& names);

}  // namespace z4
