// show, export and import: the stored settings in words, to a settings text file, and back.
#include <memory>

#include "commands.h"
#include "console.h"
#include "fw/handles.h"
#include "settings/settings_show.h"
#include "settings/settings_text.h"
#include "stored_settings.h"
#include "xml/win32/win32_text_platform.h"

namespace z4ctl {
namespace {

// A settings file larger than this is not settings text.
constexpr std::size_t kMaxTextSize = 16 * 1024 * 1024;

struct Loaded {
  z4::LayoutKeys layout;
  std::unique_ptr<z4::SettingsImage> image = std::make_unique<z4::SettingsImage>();
};

// The layout and the stored settings, with the notes on stderr; an exit code on failure.
int LoadStored(const CommandLine& line, Loaded& loaded) {
  std::string error;
  if (!LoadLayout(line.Value("--layout"), loaded.layout, error)) return Fail(kExitFailed, error);
  std::vector<std::string> notes;
  if (!ReadStoredSettings(loaded.layout, *loaded.image, notes))
    return Fail(kExitFailed, std::string("no settings are stored under ") + kSettingsKeyText +
                                 " (the agent creates them when it starts)");
  for (const std::string& note : notes) Err("z4ctl: note: " + note + "\n");
  return kExitOk;
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
  fw::FileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file && ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size())
    return true;
  error = "cannot write " + path + ": " + SystemMessage(::GetLastError());
  return false;
}

}  // namespace

int RunShow(const CommandLine& line) {
  Loaded loaded;
  if (const int code = LoadStored(line, loaded)) return code;
  Out(z4::DescribeSettings(*loaded.image, z4::KeyNames(loaded.layout)));
  return kExitOk;
}

int RunExport(const CommandLine& line) {
  Loaded loaded;
  if (const int code = LoadStored(line, loaded)) return code;
  std::string error;
  if (!WriteTextFile(line.operands[0], z4::PrintSettingsText(*loaded.image, z4::KeyNames(loaded.layout)), error))
    return Fail(kExitFailed, error);
  return kExitOk;
}

int RunImport(const CommandLine& line) {
  const std::string& path = line.operands[0];
  z4::LayoutKeys layout;
  std::string error;
  if (!LoadLayout(line.Value("--layout"), layout, error)) return Fail(kExitFailed, error);

  const std::wstring wide = Wide(path);
  z4::Win32TextPlatform platform;
  std::vector<std::uint8_t> bytes;
  std::u16string readError;
  if (!platform.ReadFileBytes(std::u16string(wide.begin(), wide.end()), bytes, readError))
    return Fail(kExitFailed, "cannot read " + path + ": " + Utf8(std::wstring(readError.begin(), readError.end())));
  if (bytes.size() > kMaxTextSize) return Fail(kExitFailed, path + " is too large for settings text");

  auto image = std::make_unique<z4::SettingsImage>();
  const z4::TextReport report = z4::ParseSettingsText(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), z4::KeyNames(layout), *image);
  for (const z4::TextIssue& w : report.warnings)
    Err(path + ":" + std::to_string(w.line) + ": warning: " + w.message + "\n");
  for (const z4::TextIssue& e : report.errors)
    Err(path + ":" + std::to_string(e.line) + ": " + e.message + "\n");
  if (!report.ok())
    return Fail(kExitFailed, std::to_string(report.errors.size()) + " error(s) in " + path + "; nothing was stored");
  if (!WriteStoredSettings(*image, error)) return Fail(kExitFailed, error);
  return kExitOk;
}

}  // namespace z4ctl
