// Reading, repairing and writing the five settings values.
#include "settings/store.h"

#include <iterator>
#include <type_traits>

namespace z4 {
namespace {

constexpr std::int32_t kDefaultActionType = 1;

// The value names in the order the store visits them; index i is also the image part below.
constexpr const char16_t* kValueNames[] = {u"KeySetting", u"MacroSetting", u"CombSetting",
                                           u"RateSetting", u"ProSettingSel"};
constexpr std::size_t kValueCount = std::size(kValueNames);

// The two numbers travel as four little-endian bytes; a short value replaces only its first bytes.
struct NumberBytes {
  explicit NumberBytes(const SettingsImage& image) {
    StoreI32(rate.data(), image.nRate);
    StoreI32(sel.data(), image.nProfileSel);
  }
  void StoreInto(SettingsImage& image) const {
    image.nRate = LoadI32(rate.data());
    image.nProfileSel = LoadI32(sel.data());
  }
  ByteImage<4> rate{};
  ByteImage<4> sel{};
};

template <class Byte>
struct Bytes {
  Byte* data;
  std::size_t size;
};

// The bytes of each value, const or not as the image and numbers are.
template <class Image, class Numbers>
auto ValueBytes(Image& image, Numbers& numbers) {
  using Byte = std::remove_pointer_t<decltype(image.keySetting.data())>;
  return std::array<Bytes<Byte>, kValueCount>{{
      {image.keySetting.data(), image.keySetting.size()},
      {image.macroSetting.data(), image.macroSetting.size()},
      {image.combSetting.data(), image.combSetting.size()},
      {numbers.rate.data(), numbers.rate.size()},
      {numbers.sel.data(), numbers.sel.size()},
  }};
}

void SetDefault(std::size_t index, SettingsImage& image, NumberBytes& numbers,
                const KeyLayoutCodes& codes) {
  switch (index) {
    case 0: BuildDefaultKeySetting(image.keySetting, codes); break;
    case 1: image.macroSetting.fill(0); break;
    case 2: image.combSetting.fill(0); break;
    case 3: StoreI32(numbers.rate.data(), kDefaultRate); break;
    case 4: StoreI32(numbers.sel.data(), kDefaultProfileSel); break;
  }
}

template <class Values>
void WriteValue(SettingsKey& key, const Values& values, std::size_t i) {
  key.WriteBinary(kValueNames[i], values[i].data, values[i].size);
}

}  // namespace

void BuildDefaultKeySetting(KeySettingImage& keySetting, const KeyLayoutCodes& codes) {
  keySetting.fill(0);
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    KeySettingEntry entry(keySetting, i);
    entry.SetKeyCode(codes[i]);
    entry.SetAction(kDefaultActionType, 0);
  }
}

void LoadSettings(SettingsRegistry& registry, SettingsImage& image, const KeyLayoutCodes& codes) {
  NumberBytes numbers(image);
  const auto values = ValueBytes(image, numbers);
  if (auto key = registry.Open()) {
    for (std::size_t i = 0; i < kValueCount; ++i) {
      std::uint32_t type = 0;
      if (key->Read(kValueNames[i], values[i].data, values[i].size, type) && type == kRegBinary)
        continue;
      SetDefault(i, image, numbers, codes);
      WriteValue(*key, values, i);
    }
  } else {
    for (std::size_t i = 0; i < kValueCount; ++i) SetDefault(i, image, numbers, codes);
    if (auto created = registry.Create())
      for (std::size_t i = 0; i < kValueCount; ++i) WriteValue(*created, values, i);
  }
  numbers.StoreInto(image);
}

void ReadSettings(SettingsRegistry& registry, SettingsImage& image) {
  auto key = registry.Open();
  if (!key) return;
  NumberBytes numbers(image);
  const auto values = ValueBytes(image, numbers);
  for (std::size_t i = 0; i < kValueCount; ++i) {
    std::uint32_t type = 0;
    key->Read(kValueNames[i], values[i].data, values[i].size, type);
  }
  numbers.StoreInto(image);
}

void SaveProfileSel(SettingsRegistry& registry, const SettingsImage& image) {
  auto key = registry.Create();
  if (!key) return;
  const NumberBytes numbers(image);
  WriteValue(*key, ValueBytes(image, numbers), kValueCount - 1);
}

void SaveSettings(SettingsRegistry& registry, const SettingsImage& image) {
  auto key = registry.Create();
  if (!key) return;
  const NumberBytes numbers(image);
  const auto values = ValueBytes(image, numbers);
  for (std::size_t i = 0; i < kValueCount; ++i) WriteValue(*key, values, i);
}

}  // namespace z4
