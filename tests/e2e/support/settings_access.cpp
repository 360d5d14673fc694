#include "support/settings_access.h"

#include <stdexcept>

namespace z4::e2e {
namespace {
constexpr wchar_t kKey[] = L"Software\\Korvu\\Z4";
}

void DeleteSettingsKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

std::optional<RegistryValue> ReadSetting(const wchar_t* name) {
  DWORD size = 0, type = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  RegistryValue v{type, std::vector<std::uint8_t>(size)};
  if (::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, &type, v.bytes.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  v.bytes.resize(size);
  return v;
}

void WriteSetting(const wchar_t* name, const std::uint8_t* data, std::size_t size) {
  if (::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, REG_BINARY, data,
                        static_cast<DWORD>(size)) != ERROR_SUCCESS)
    throw std::runtime_error("cannot write a settings value");
}

void WriteTables(const SettingsImage& image) {
  WriteSetting(L"KeySetting", image.keySetting);
  WriteSetting(L"MacroSetting", image.macroSetting);
  WriteSetting(L"CombSetting", image.combSetting);
}

void SetMacro(MacroSettingImage& image, std::size_t r, std::uint32_t loops,
              const std::vector<MacroStep>& steps) {
  std::uint8_t* record = image.data() + r * kMacroRecordSize;
  StoreU32(record + MacroRecord::kLoopCount, loops);
  StoreU16(record + MacroRecord::kEventCount, static_cast<std::uint16_t>(steps.size()));
  for (std::size_t k = 0; k < steps.size(); ++k) {
    std::uint8_t* e = record + 8 + 8 * (k + 1);
    e[MacroEvent::kKeyCode] = steps[k].keyCode;
    e[MacroEvent::kFlag] = steps[k].flag ? 1 : 0;
    StoreU32(e + MacroEvent::kDelay, steps[k].delay);
  }
}

void SetMacroCount(MacroSettingImage& image, std::int32_t count) {
  StoreI32(image.data() + kMacroCountOffset, count);
}

void SetCombination(CombSettingImage& image, std::size_t r, std::vector<std::uint8_t> keyCodes) {
  keyCodes.resize(CombRecord::kKeyCount);
  for (std::size_t k = 0; k < keyCodes.size(); ++k) image[r * kCombRecordSize + k] = keyCodes[k];
}

}  // namespace z4::e2e
