// Reading and writing the five settings values, and loading the key layout, for z4ctl.
#include "stored_settings.h"

#include <array>
#include <memory>

#include "console.h"
#include "resources/key_layout.h"
#include "settings/store.h"
#include "settings/win32/registry.h"
#include "xml/win32/win32_text_platform.h"

namespace z4ctl {
namespace {

using z4::SettingsImage;

// The five values in the order the agent reads and writes them.
constexpr std::size_t kValueCount = 5;
constexpr const char16_t* kValueNames[kValueCount] = {u"KeySetting", u"MacroSetting", u"CombSetting",
                                                      u"RateSetting", u"ProSettingSel"};

// The bytes of each value: the three tables in place, the two numbers as little-endian copies.
class ValueBytes {
 public:
  explicit ValueBytes(SettingsImage& image) : image_(image) {
    z4::StoreI32(rate_.data(), image.nRate);
    z4::StoreI32(profile_.data(), image.nProfileSel);
  }
  std::uint8_t* data(std::size_t v) {
    switch (v) {
      case 0: return image_.keySetting.data();
      case 1: return image_.macroSetting.data();
      case 2: return image_.combSetting.data();
      case 3: return rate_.data();
      default: return profile_.data();
    }
  }
  static std::size_t size(std::size_t v) {
    constexpr std::size_t kSizes[kValueCount] = {z4::kKeySettingSize, z4::kMacroSettingSize,
                                                 z4::kCombSettingSize, 4, 4};
    return kSizes[v];
  }
  // Copies the two numbers back into the image.
  void Store() {
    image_.nRate = z4::LoadI32(rate_.data());
    image_.nProfileSel = z4::LoadI32(profile_.data());
  }

 private:
  SettingsImage& image_;
  z4::ByteImage<4> rate_{};
  z4::ByteImage<4> profile_{};
};

std::string Name(std::size_t v) {
  const std::u16string_view n = kValueNames[v];
  return Utf8(std::wstring(n.begin(), n.end()));
}

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

}  // namespace

bool LoadLayout(const std::string* path, z4::LayoutKeys& layout, std::string& error) {
  std::wstring file;
  if (path) {
    file = Wide(*path);
  } else {
    std::wstring exe(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) == exe.size())
      exe.resize(exe.size() * 2);
    exe.resize(n);
    file = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"ButtonPos.xml";
  }
  const std::u16string file16(file.begin(), file.end());
  z4::Win32TextPlatform platform;
  std::vector<std::uint8_t> bytes;
  std::u16string readError;
  if (!platform.ReadFileBytes(file16, bytes, readError)) {
    error = "cannot read the key layout " + Utf8(file) + ": " + Utf8(std::wstring(W(readError)));
    return false;
  }
  for (z4::KeyLayoutEntry& e : z4::g_keyLayout) e = {};
  z4::LoadKeyLayout(platform, file16);
  bool any = false;
  for (std::size_t i = 0; i < z4::kKeyLayoutCount; ++i) {
    const z4::KeyLayoutEntry& e = z4::g_keyLayout[i];
    layout[i] = {Utf8(std::wstring(e.name.begin(), e.name.end())), e.keyCode};
    any = any || e.keyCode != 0;
  }
  if (!any) error = "the key layout " + Utf8(file) + " lists no keys";
  return any;
}

bool ReadStoredSettings(const z4::LayoutKeys& layout, SettingsImage& image, std::vector<std::string>& notes) {
  z4::Win32SettingsRegistry registry;
  const auto key = registry.Open();
  if (!key) return false;
  image.keySetting.fill(0);
  image.macroSetting.fill(0);
  image.combSetting.fill(0);
  image.nRate = 0;
  image.nProfileSel = 0;
  ValueBytes values(image);
  for (std::size_t v = 0; v < kValueCount; ++v) {
    std::uint32_t type = 0;
    if (key->Read(kValueNames[v], values.data(v), ValueBytes::size(v), type) && type == z4::kRegBinary)
      continue;
    notes.push_back(Name(v) + " is missing, too long or not binary: the agent's default is shown");
    std::fill_n(values.data(v), ValueBytes::size(v), std::uint8_t{0});
    if (v == 0) {
      z4::KeyLayoutCodes codes{};
      for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = layout[i].keyCode;
      z4::BuildDefaultKeySetting(image.keySetting, codes);
    }
    if (v == 3) z4::StoreI32(values.data(v), z4::kDefaultRate);
  }
  values.Store();
  return true;
}

bool WriteStoredSettings(const SettingsImage& image, std::string& error) {
  z4::Win32SettingsRegistry registry;
  const auto key = registry.Create();
  if (!key) {
    error = std::string("cannot open or create ") + kSettingsKeyText;
    return false;
  }
  auto earlier = std::make_unique<SettingsImage>();
  ValueBytes before(*earlier);
  std::array<bool, kValueCount> had{};
  for (std::size_t v = 0; v < kValueCount; ++v) {
    std::uint32_t type = 0;
    had[v] = key->Read(kValueNames[v], before.data(v), ValueBytes::size(v), type);
  }
  auto copy = std::make_unique<SettingsImage>(image);
  ValueBytes now(*copy);
  for (std::size_t v = 0; v < kValueCount; ++v) {
    if (key->WriteBinary(kValueNames[v], now.data(v), ValueBytes::size(v))) continue;
    for (std::size_t w = 0; w < v; ++w)
      if (had[w]) key->WriteBinary(kValueNames[w], before.data(w), ValueBytes::size(w));
    error = "cannot write " + Name(v) + " under " + kSettingsKeyText +
            (v ? "; the values written before it were put back" : "");
    return false;
  }
  return true;
}

bool WriteStoredRate(std::int32_t rate, std::string& error) {
  z4::Win32SettingsRegistry registry;
  const auto key = registry.Create();
  z4::ByteImage<4> bytes{};
  z4::StoreI32(bytes.data(), rate);
  if (key && key->WriteBinary(kValueNames[3], bytes.data(), bytes.size())) return true;
  error = std::string("cannot write RateSetting under ") + kSettingsKeyText;
  return false;
}

}  // namespace z4ctl
