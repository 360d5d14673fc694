// Registry access for the settings store: one owned key handle per open.
#include "settings/win32/registry.h"

#include "fw/wide.h"
#include "fw/win32.h"

namespace z4 {
namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;  // 0x2001F

using fw::Wide;

class Win32SettingsKey : public SettingsKey {
 public:
  explicit Win32SettingsKey(HKEY key) : key_(key) {}
  ~Win32SettingsKey() override { RegCloseKey(key_); }
  Win32SettingsKey(const Win32SettingsKey&) = delete;
  Win32SettingsKey& operator=(const Win32SettingsKey&) = delete;

  bool Read(const char16_t* name, std::uint8_t* buf, std::size_t capacity,
            std::uint32_t& type) override {
    // Asking for the size first keeps a value that does not fit from touching the image: a
    // query into a too-small buffer leaves its content undefined.
    DWORD valueType = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_, Wide(name), nullptr, &valueType, nullptr, &size) != ERROR_SUCCESS ||
        size > capacity)
      return false;
    if (RegQueryValueExW(key_, Wide(name), nullptr, &valueType, buf, &size) != ERROR_SUCCESS)
      return false;
    type = valueType;
    return true;
  }

  bool WriteBinary(const char16_t* name, const std::uint8_t* data, std::size_t size) override {
    return RegSetValueExW(key_, Wide(name), 0, REG_BINARY, data, static_cast<DWORD>(size)) ==
           ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<SettingsKey> Win32SettingsRegistry::Open() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath_.c_str()), 0, kAccess, &key) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32SettingsKey>(key);
}

std::unique_ptr<SettingsKey> Win32SettingsRegistry::Create() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(keyPath_.c_str()), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      kAccess, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32SettingsKey>(key);
}

}  // namespace z4
