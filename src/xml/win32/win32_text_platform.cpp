// Reading files and converting code pages through the Windows API for the XML reader.
#include "xml/win32/win32_text_platform.h"

#include <limits>

#include "fw/handles.h"
#include "fw/wide.h"

namespace z4 {
namespace {

// The system's message for the last error: at most 100 characters, cut at the first line break,
// empty when there is none.
std::u16string SystemErrorText() {
  wchar_t text[100];
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 GetLastError(), 0, text, 100, nullptr);
  std::u16string out = fw::FromWide(text, n);
  const std::size_t cut = out.find_first_of(u"\r\n");
  if (cut != std::u16string::npos) out.resize(cut);
  return out;
}

}  // namespace

bool Win32TextPlatform::ReadFileBytes(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                                      std::u16string& error) {
  bytes.clear();
  const fw::FileHandle file(CreateFileW(fw::Wide(path), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = SystemErrorText();
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    error = SystemErrorText();
    return false;
  }
  // Positions in the text are 32-bit.
  if (size.QuadPart > std::numeric_limits<std::int32_t>::max()) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    error = SystemErrorText();
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
      error = SystemErrorText();
      return false;
    }
    if (got == 0) break;  // the file shrank while being read
    done += got;
  }
  bytes.resize(done);
  return true;
}

std::u16string Win32TextPlatform::MultiByteToUtf16(std::uint32_t codePage, const std::uint8_t* bytes,
                                                   std::size_t count) {
  if (count == 0 || count > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
  const char* in = reinterpret_cast<const char*>(bytes);
  const int n = static_cast<int>(count);
  // Two passes: the length first, then the text.
  const int length = MultiByteToWideChar(codePage, 0, in, n, nullptr, 0);
  if (length <= 0) return {};
  std::u16string out(static_cast<std::size_t>(length), u'\0');
  const int written = MultiByteToWideChar(codePage, 0, in, n, reinterpret_cast<wchar_t*>(out.data()), length);
  out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return out;
}

}  // namespace z4
