// Standard stream output and text conversion.
#include "console.h"

namespace z4ctl {
namespace {

void Write(DWORD which, std::string_view text) {
  HANDLE h = ::GetStdHandle(which);
  if (h == nullptr || h == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (::GetConsoleMode(h, &mode)) {
    // A console shows UTF-16 correctly whatever its code page.
    const std::wstring wide = Wide(text);
    DWORD written = 0;
    ::WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  while (!text.empty()) {
    DWORD written = 0;
    if (!::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written == 0)
      return;
    text.remove_prefix(written);
  }
}

}  // namespace

void Out(std::string_view text) { Write(STD_OUTPUT_HANDLE, text); }
void Err(std::string_view text) { Write(STD_ERROR_HANDLE, text); }

int Fail(int code, std::string_view message) {
  Err("z4ctl: " + std::string(message) + "\n");
  return code;
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : L"error " + std::to_wstring(error);
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return Utf8(text);
}

long long Positive(const std::string& text, long long max) {
  if (text.empty() || text.size() > 10) return -1;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v >= 1 && v <= max ? v : -1;
}

}  // namespace z4ctl
