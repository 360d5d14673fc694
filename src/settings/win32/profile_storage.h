// Profile files, folders and "Profile.ini" through the Windows file and initialisation-file API.
#pragma once

#include "settings/profiles.h"

namespace z4 {

class Win32ProfileStorage : public ProfileStorage {
 public:
  bool FolderExists(const std::u16string& path) override;
  void CreateFolder(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override;
  std::size_t ReadFile(const std::u16string& path, std::uint8_t* buf, std::size_t size) override;
  void WriteFile(const std::u16string& path, const std::uint8_t* data, std::size_t size) override;
  std::u16string GetIniString(const std::u16string& file, const std::u16string& section,
                              const std::u16string& key) override;
  void SetIniString(const std::u16string& file, const std::u16string& section,
                    const std::u16string& key, const std::u16string& value) override;
};

}  // namespace z4
