// Fuzz target: settings text as z4ctl import reads it, and the printed text read back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "settings/key_names.h"
#include "settings/settings_text.h"

namespace {

const z4::KeyNames& Names() {
  static const z4::LayoutKeys layout = [] {
    z4::LayoutKeys keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const auto code = static_cast<std::uint8_t>(0x30 + i);  // digits, letters and more
      keys[i] = {std::string(z4::KeyCodeText(code)), code};
    }
    return keys;
  }();
  static const z4::KeyNames names(layout);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto image = std::make_unique<z4::SettingsImage>();
  const z4::TextReport report = z4::ParseSettingsText(text, Names(), *image);
  if (report.ok()) {
    // What parsed prints as text that parses back to the same image.
    const std::string printed = z4::PrintSettingsText(*image, Names());
    auto again = std::make_unique<z4::SettingsImage>();
    if (!z4::ParseSettingsText(printed, Names(), *again).ok()) __builtin_trap();
    if (again->keySetting != image->keySetting || again->macroSetting != image->macroSetting ||
        again->combSetting != image->combSetting || again->nRate != image->nRate ||
        again->nProfileSel != image->nProfileSel)
      __builtin_trap();
  }
  return 0;
}
