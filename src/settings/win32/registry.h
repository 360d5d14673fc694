// The settings key of the current user through the Windows registry.
#pragma once

#include <string>

#include "settings/store.h"

namespace z4 {

class Win32SettingsRegistry : public SettingsRegistry {
 public:
  // keyPath under HKEY_CURRENT_USER; tests pass a key of their own.
  explicit Win32SettingsRegistry(std::u16string keyPath = kSettingsKeyPath)
      : keyPath_(std::move(keyPath)) {}

  std::unique_ptr<SettingsKey> Open() override;
  std::unique_ptr<SettingsKey> Create() override;

 private:
  std::u16string keyPath_;
};

}  // namespace z4
