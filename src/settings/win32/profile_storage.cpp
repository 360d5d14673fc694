// Files opened through CreateFileW with an owning handle, the index through the
// initialisation-file functions.
#include "settings/win32/profile_storage.h"

#include "fw/handles.h"
#include "fw/wide.h"

namespace z4 {
namespace {

using fw::Wide;

DWORD Attributes(const std::u16string& path) { return GetFileAttributesW(Wide(path)); }

}  // namespace

bool Win32ProfileStorage::FolderExists(const std::u16string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32ProfileStorage::CreateFolder(const std::u16string& path) {
  CreateDirectoryW(Wide(path), nullptr);  // a failure shows when the file in it is created
}

bool Win32ProfileStorage::FileExists(const std::u16string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::size_t Win32ProfileStorage::ReadFile(const std::u16string& path, std::uint8_t* buf,
                                          std::size_t size) {
  // The configuration program may have the file open for writing meanwhile.
  fw::FileHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(path);
  std::size_t total = 0;
  while (total < size) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buf + total, static_cast<DWORD>(size - total), &got, nullptr) || !got)
      break;
    total += got;
  }
  return total;
}

void Win32ProfileStorage::WriteFile(const std::u16string& path, const std::uint8_t* data,
                                    std::size_t size) {
  fw::FileHandle file(CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(path);
  std::size_t total = 0;
  while (total < size) {
    DWORD put = 0;
    if (!::WriteFile(file.get(), data + total, static_cast<DWORD>(size - total), &put, nullptr) || !put)
      throw FileError(path);
    total += put;
  }
}

std::u16string Win32ProfileStorage::GetIniString(const std::u16string& file,
                                                 const std::u16string& section,
                                                 const std::u16string& key) {
  // One unit more than a path may have, so that a longer value comes back with kMaxPath units.
  wchar_t value[kMaxPath + 1] = {};
  const DWORD n = GetPrivateProfileStringW(Wide(section), Wide(key), L"", value, kMaxPath + 1,
                                           Wide(file));
  return fw::FromWide(value, n);
}

void Win32ProfileStorage::SetIniString(const std::u16string& file, const std::u16string& section,
                                       const std::u16string& key, const std::u16string& value) {
  // WritePrivateProfileStringW creates a missing file in the ANSI code page, which would turn
  // paths outside it into question marks; a file that starts with a UTF-16 byte order mark is
  // kept in UTF-16.
  {
    fw::FileHandle created(CreateFileW(Wide(file), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (created) {
      const std::uint8_t bom[] = {0xFF, 0xFE};
      DWORD put = 0;
      ::WriteFile(created.get(), bom, sizeof bom, &put, nullptr);
    }
  }
  WritePrivateProfileStringW(Wide(section), Wide(key), Wide(value), Wide(file));
}

}  // namespace z4
