// The registry settings store: the five binary values under "Software\Korvu\Z4" of the current
// user, read into the settings image (with repair and creation at start-up) and written back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "settings/settings_image.h"

namespace z4 {

constexpr const char16_t* kSettingsKeyPath = u"Software\\Korvu\\Z4";
constexpr std::uint32_t kRegBinary = 3;  // REG_BINARY

// An open settings key; closing it is the owner's destruction.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;
  // Reads value name into buf. False, with buf untouched, when the value is missing or holds more
  // than capacity bytes; otherwise its bytes replace the first bytes of buf and type is set.
  virtual bool Read(const char16_t* name, std::uint8_t* buf, std::size_t capacity,
                    std::uint32_t& type) = 0;
  // Stores value name as REG_BINARY; false when the write fails.
  virtual bool WriteBinary(const char16_t* name, const std::uint8_t* data, std::size_t size) = 0;
};

// The settings key of the current user, opened with read and write access.
class SettingsRegistry {
 public:
  virtual ~SettingsRegistry() = default;
  // Null when the key does not exist or cannot be opened.
  virtual std::unique_ptr<SettingsKey> Open() = 0;
  // Opens the key, creating it when missing (non-volatile); null when neither works.
  virtual std::unique_ptr<SettingsKey> Create() = 0;
};

// Zeroes keySetting, then gives entry i the key code codes[i], action type 1 and parameter 0.
void BuildDefaultKeySetting(KeySettingImage& keySetting, const KeyLayoutCodes& codes);

// Start-up read: a missing, oversized or non-binary value gets its default in the image and in
// the registry; a shorter value replaces only the first bytes. A missing key is created with all
// five defaults. When the key can be neither opened nor created the image holds the defaults.
void LoadSettings(SettingsRegistry& registry, SettingsImage& image, const KeyLayoutCodes& codes);

// Reread without repair: each value that reads replaces the first bytes of its image; missing or
// oversized values and a missing key leave the image as it was. Types are not examined.
void ReadSettings(SettingsRegistry& registry, SettingsImage& image);

// Write ProSettingSel alone, or all five values, creating the key when it is missing.
void SaveProfileSel(SettingsRegistry& registry, const SettingsImage& image);
void SaveSettings(SettingsRegistry& registry, const SettingsImage& image);

}  // namespace z4
