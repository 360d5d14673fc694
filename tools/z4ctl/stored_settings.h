// The settings values and the key layout as z4ctl reads and writes them: the registry through
// the settings store's Windows adapter, the layout from ButtonPos.xml.
#pragma once

#include <string>
#include <vector>

#include "settings/key_names.h"
#include "settings/settings_image.h"

namespace z4ctl {

// The path shown for the settings key in messages.
constexpr const char* kSettingsKeyText = "HKEY_CURRENT_USER\\Software\\Korvu\\Z4";

// Loads the key layout from `path`, or from ButtonPos.xml beside z4ctl.exe when path is null.
// False, with error set, when the file cannot be read or lists no keys.
bool LoadLayout(const std::string* path, z4::LayoutKeys& layout, std::string& error);

// Reads the five values without writing anything. A value that is missing, too long or not
// binary takes the default the agent gives it at start-up, and is named in notes; a shorter
// value fills only its first bytes (the rest reads as zero). False when the key is missing.
bool ReadStoredSettings(const z4::LayoutKeys& layout, z4::SettingsImage& image,
                        std::vector<std::string>& notes);

// Writes the five values, creating the key when it is missing. When a write fails, the values
// already written get their earlier contents back as far as they could be read; false, with
// error set, in that case.
bool WriteStoredSettings(const z4::SettingsImage& image, std::string& error);

// Writes RateSetting alone.
bool WriteStoredRate(std::int32_t rate, std::string& error);

}  // namespace z4ctl
