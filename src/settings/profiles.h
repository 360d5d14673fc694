// Profiles: the seven profile files, their index "Profile.ini", the creation of default
// profiles, the program-to-profile table and the load of a profile into the settings image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/settings_image.h"
#include "settings/store.h"

namespace z4 {

constexpr std::size_t kProfileCount = 7;
constexpr std::size_t kMaxPath = 260;  // UTF-16 units, terminator included

// The profile file, little-endian.
constexpr std::size_t kProfileNameOffset = 0;
constexpr std::size_t kProfileProgramOffset = 520;
constexpr std::size_t kProfileBindingOffset = 1560;
constexpr std::size_t kProfileCombOffset = 1564;
constexpr std::size_t kProfileMacroOffset = 53968;
constexpr std::size_t kProfileKeyOffset = 184372;
constexpr std::size_t kProfileFileSize = 185476;
static_assert(kProfileProgramOffset == kProfileNameOffset + 2 * kMaxPath);
static_assert(kProfileBindingOffset == kProfileProgramOffset + 2 * 2 * kMaxPath);
static_assert(kProfileCombOffset == kProfileBindingOffset + 4);
static_assert(kProfileMacroOffset == kProfileCombOffset + kCombSettingSize);
static_assert(kProfileKeyOffset == kProfileMacroOffset + kMacroSettingSize);
static_assert(kProfileFileSize == kProfileKeyOffset + kKeySettingSize);

// One record of the program-to-profile table; a record not filled is all zero.
struct AutoSwitchEntry {
  std::array<char16_t, kMaxPath> szProgram{};  // file name and extension, zero-terminated
  std::int32_t nProfile = 0;

  std::u16string_view Program() const {
    return {szProgram.data(), std::char_traits<char16_t>::length(szProgram.data())};
  }
  friend bool operator==(const AutoSwitchEntry& a, const AutoSwitchEntry& b) {
    return a.szProgram == b.szProgram && a.nProfile == b.nProfile;
  }
};
using AutoSwitchTable = std::array<AutoSwitchEntry, kProfileCount>;

// A file that cannot be opened, created or written.
class FileError : public std::runtime_error {
 public:
  explicit FileError(std::u16string path) : std::runtime_error("file error"), path_(std::move(path)) {}
  const std::u16string& path() const { return path_; }

 private:
  std::u16string path_;
};

// Files, folders and the initialisation file, as the profiles use them.
class ProfileStorage {
 public:
  virtual ~ProfileStorage() = default;
  virtual bool FolderExists(const std::u16string& path) = 0;
  virtual void CreateFolder(const std::u16string& path) = 0;
  // True only for a file, not for a folder.
  virtual bool FileExists(const std::u16string& path) = 0;
  // Reads up to size bytes from the start of the file, opened so that others may read and write
  // it meanwhile; returns the count read. Throws FileError when it cannot be opened.
  virtual std::size_t ReadFile(const std::u16string& path, std::uint8_t* buf, std::size_t size) = 0;
  // Creates or replaces the file with these bytes. Throws FileError when that fails.
  virtual void WriteFile(const std::u16string& path, const std::uint8_t* data, std::size_t size) = 0;
  // The value of key in section, empty when the file, section or key is missing. Values of
  // kMaxPath units or more may come back cut, but never shorter than kMaxPath.
  virtual std::u16string GetIniString(const std::u16string& file, const std::u16string& section,
                                      const std::u16string& key) = 0;
  // Writes key = value, creating the file when missing.
  virtual void SetIniString(const std::u16string& file, const std::u16string& section,
                            const std::u16string& key, const std::u16string& value) = 0;
};

struct ProfilePath {
  std::u16string path;
  bool isDefault;  // the index named no file for the profile
};

class ProfileStore {
 public:
  // agentFolder: drive and folder of the agent's program file, ending in a backslash. title:
  // the language string str_profile_title. codes: the key layout's key codes.
  ProfileStore(ProfileStorage& storage, std::u16string agentFolder, std::u16string title,
               const KeyLayoutCodes& codes)
      : storage_(storage), agentFolder_(std::move(agentFolder)), title_(std::move(title)),
        codes_(codes) {}

  std::u16string IndexPath() const;     // agent folder + "Profile.ini"
  std::u16string ProfileFolder() const; // agent folder + "Profile\"
  std::u16string DefaultName(std::size_t i) const;
  std::u16string DefaultFile(std::size_t i) const;

  // The index's entry for profile i (0..6), or its default file when the entry is missing or empty.
  ProfilePath FindProfileFile(std::size_t i) const;

  // Writes a default, unbound profile i at path and records path in the index.
  void CreateDefaultProfile(const std::u16string& path, std::size_t i);
  void SetProfilePath(std::size_t i, const std::u16string& path);

  // Gives every profile a file (a default one where the index names none that exists, or names
  // a path of kMaxPath units or more) and rebuilds autoSwitch from the binding flags. A file
  // shorter than a profile reads as zero beyond its end. Nothing changes when the agent's
  // folder does not exist. Throws FileError when a file cannot be created or opened.
  void RefreshProfiles(AutoSwitchTable& autoSwitch);

  // Copies profile i's three tables into image and saves all five values. A file shorter than a
  // profile is refused: false, with image and registry unchanged. Throws FileError when the
  // file cannot be opened.
  bool LoadProfile(std::size_t i, SettingsImage& image, SettingsRegistry& registry);

 private:
  void EnsureProfileFolder();

  ProfileStorage& storage_;
  std::u16string agentFolder_;
  std::u16string title_;
  KeyLayoutCodes codes_;
};

}  // namespace z4
