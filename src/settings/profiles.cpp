// Profile files, their index and the program-to-profile table.
#include "settings/profiles.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace z4 {
namespace {

using ProfileFile = ByteImage<kProfileFileSize>;

const std::u16string kSection = u"Profiles";

std::u16string Number(std::size_t n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  return digits;
}

std::u16string KeyName(std::size_t i) { return u"Profile" + Number(i + 1); }

// A zero-terminated UTF-16 field of at most kMaxPath units.
std::u16string LoadText(const std::uint8_t* p) {
  std::u16string text;
  for (std::size_t k = 0; k < kMaxPath; ++k) {
    const char16_t c = LoadU16(p + 2 * k);
    if (!c) break;
    text.push_back(c);
  }
  return text;
}

void StoreText(std::uint8_t* p, const std::u16string& text) {
  const std::size_t n = std::min(text.size(), kMaxPath - 1);
  for (std::size_t k = 0; k < n; ++k) StoreU16(p + 2 * k, text[k]);
}

// File name and extension of a path: what follows the last separator or drive colon.
std::u16string FileNamePart(const std::u16string& path) {
  std::size_t start = path.find_last_of(u"\\/");
  if (start != std::u16string::npos)
    ++start;
  else
    start = path.size() >= 2 && path[1] == u':' ? 2 : 0;
  return path.substr(start);
}

}  // namespace

std::u16string ProfileStore::IndexPath() const { return agentFolder_ + u"Profile.ini"; }
std::u16string ProfileStore::ProfileFolder() const { return agentFolder_ + u"Profile\\"; }
std::u16string ProfileStore::DefaultName(std::size_t i) const { return title_ + u" " + Number(i + 1); }
std::u16string ProfileStore::DefaultFile(std::size_t i) const {
  return ProfileFolder() + DefaultName(i) + u".pro";
}

ProfilePath ProfileStore::FindProfileFile(std::size_t i) const {
  std::u16string value = storage_.GetIniString(IndexPath(), kSection, KeyName(i));
  if (value.empty()) return {DefaultFile(i), true};
  return {std::move(value), false};
}

void ProfileStore::SetProfilePath(std::size_t i, const std::u16string& path) {
  storage_.SetIniString(IndexPath(), kSection, KeyName(i), path);
}

void ProfileStore::CreateDefaultProfile(const std::u16string& path, std::size_t i) {
  auto file = std::make_unique<ProfileFile>();
  StoreText(file->data() + kProfileNameOffset, DefaultName(i));
  KeySettingImage keys;
  BuildDefaultKeySetting(keys, codes_);
  std::copy(keys.begin(), keys.end(), file->begin() + kProfileKeyOffset);
  storage_.WriteFile(path, file->data(), file->size());
  SetProfilePath(i, path);
}

void ProfileStore::EnsureProfileFolder() {
  // The folder without its trailing backslash, as folder functions want it.
  const std::u16string folder = agentFolder_ + u"Profile";
  if (!storage_.FolderExists(folder)) storage_.CreateFolder(folder);
}

void ProfileStore::RefreshProfiles(AutoSwitchTable& autoSwitch) {
  if (!storage_.FolderExists(agentFolder_)) return;
  autoSwitch.fill(AutoSwitchEntry{});
  std::size_t next = 0;
  // Only the part up to the binding flag decides the table.
  std::vector<std::uint8_t> head(kProfileCombOffset);
  for (std::size_t i = 0; i < kProfileCount; ++i) {
    ProfilePath found = FindProfileFile(i);
    if (found.isDefault) EnsureProfileFolder();
    if (found.path.size() >= kMaxPath || !storage_.FileExists(found.path)) {
      EnsureProfileFolder();
      found.path = DefaultFile(i);
      CreateDefaultProfile(found.path, i);
    }
    std::fill(head.begin(), head.end(), 0);
    storage_.ReadFile(found.path, head.data(), head.size());
    if (LoadU32(head.data() + kProfileBindingOffset) == 0) continue;
    const std::u16string program = FileNamePart(LoadText(head.data() + kProfileProgramOffset));
    AutoSwitchEntry& entry = autoSwitch[next++];
    std::copy_n(program.begin(), std::min(program.size(), kMaxPath - 1), entry.szProgram.begin());
    entry.nProfile = static_cast<std::int32_t>(i);
  }
}

bool ProfileStore::LoadProfile(std::size_t i, SettingsImage& image, SettingsRegistry& registry) {
  if (!storage_.FolderExists(agentFolder_)) return false;
  auto file = std::make_unique<ProfileFile>();
  if (storage_.ReadFile(FindProfileFile(i).path, file->data(), file->size()) < file->size())
    return false;
  const auto from = [&](std::size_t offset) { return file->begin() + static_cast<std::ptrdiff_t>(offset); };
  std::copy(from(kProfileCombOffset), from(kProfileCombOffset + kCombSettingSize), image.combSetting.begin());
  std::copy(from(kProfileMacroOffset), from(kProfileMacroOffset + kMacroSettingSize), image.macroSetting.begin());
  std::copy(from(kProfileKeyOffset), from(kProfileKeyOffset + kKeySettingSize), image.keySetting.begin());
  SaveSettings(registry, image);
  return true;
}

}  // namespace z4
