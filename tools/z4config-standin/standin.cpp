// A stand-in "Z4_Config.exe" for the tests: appends its command line, as one UTF-8 line, to
// "z4config-standin.log" beside itself, then exits.
#include <string>

#include "fw/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  wchar_t path[MAX_PATH] = {};
  const DWORD len = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (len == 0 || len >= MAX_PATH) return 1;
  std::wstring log(path, len);
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"z4config-standin.log";

  const wchar_t* line = ::GetCommandLineW();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
  text.back() = '\n';  // in place of the terminator

  fw::FileHandle file(::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return 0;
}
