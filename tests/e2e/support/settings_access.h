// The agent's registry values as the configuration program reads and writes them, for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fw/win32.h"
#include "settings/settings_image.h"

namespace z4::e2e {

struct RegistryValue {
  DWORD type = 0;
  std::vector<std::uint8_t> bytes;
};

// HKCU\Software\Korvu\Z4 and everything below it.
void DeleteSettingsKey();
std::optional<RegistryValue> ReadSetting(const wchar_t* name);
void WriteSetting(const wchar_t* name, const std::uint8_t* data, std::size_t size);

template <std::size_t N>
void WriteSetting(const wchar_t* name, const ByteImage<N>& image) {
  WriteSetting(name, image.data(), image.size());
}

// Writes the three tables of image.
void WriteTables(const SettingsImage& image);

// Fills macro record r with steps of (key code, flag, delay) and the loop count.
struct MacroStep {
  std::uint8_t keyCode;
  bool flag;
  std::uint32_t delay;
};
void SetMacro(MacroSettingImage& image, std::size_t r, std::uint32_t loops,
              const std::vector<MacroStep>& steps);
void SetMacroCount(MacroSettingImage& image, std::int32_t count);
// Combination record r holds up to four key codes.
void SetCombination(CombSettingImage& image, std::size_t r, std::vector<std::uint8_t> keyCodes);

}  // namespace z4::e2e
