#include "ui/skin.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <cstdlib>

#include "support/bytes.h"
#include "ui/memory_dc.h"

namespace z4 {
namespace {

// Skins are small pictures; anything larger is not one of ours and is not read into memory.
constexpr LONGLONG kMaxSkinFileBytes = 32 * 1024 * 1024;

// Releases a COM interface pointer on scope exit.
template <typename T>
struct ComRef {
  T* p = nullptr;
  ~ComRef() {
    if (p) p->Release();
  }
};

// The OLE picture loader trusts a bitmap file's header: an uncompressed picture whose rows would
// run past the end of the file is refused before it is decoded. Other formats are left to it.
bool BitmapFileIsComplete(const std::uint8_t* bytes, std::uint64_t size) {
  constexpr std::uint64_t kFileHeader = 14;
  if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M') return true;
  if (size < kFileHeader + 12) return false;
  const std::uint64_t pixelOffset = LoadU32(bytes + 10);
  const std::uint8_t* info = bytes + kFileHeader;
  const std::uint32_t infoSize = LoadU32(info);
  std::int64_t width = 0, height = 0;
  std::uint32_t bitCount = 0, compression = 0;
  if (infoSize == 12) {  // BITMAPCOREHEADER
    width = LoadU16(info + 4);
    height = LoadU16(info + 6);
    bitCount = LoadU16(info + 10);
  } else {
    if (infoSize < 40 || size < kFileHeader + 40) return false;
    width = LoadI32(info + 4);
    height = LoadI32(info + 8);
    bitCount = LoadU16(info + 14);
    compression = LoadU32(info + 16);
  }
  if (compression != BI_RGB && compression != BI_BITFIELDS) return true;
  if (width <= 0 || height == 0 || bitCount == 0 || bitCount > 32) return false;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  return pixelOffset <= size && stride * rows <= size - pixelOffset;
}

// Global memory block holding the whole file, or null.
HGLOBAL ReadFileToGlobal(const std::wstring& path, LONGLONG& size) {
  fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER length{};
  if (!file || !::GetFileSizeEx(file.get(), &length)) return nullptr;
  if (length.QuadPart <= 0 || length.QuadPart > kMaxSkinFileBytes) return nullptr;
  size = length.QuadPart;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
  if (!block) return nullptr;
  void* bytes = ::GlobalLock(block);
  DWORD read = 0;
  const bool ok = bytes &&
                  ::ReadFile(file.get(), bytes, static_cast<DWORD>(size), &read, nullptr) &&
                  read == size;
  const bool complete = ok && BitmapFileIsComplete(static_cast<const std::uint8_t*>(bytes),
                                                   static_cast<std::uint64_t>(size));
  if (bytes) ::GlobalUnlock(block);
  if (!complete) {
    ::GlobalFree(block);
    return nullptr;
  }
  return block;
}

// A copy of bitmap that the caller owns, so that it outlives the picture it came from.
HBITMAP CopyBitmap(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP copy = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
  if (copy) {
    MemoryDC from(screen, bitmap);
    MemoryDC to(screen, copy);
    ::BitBlt(to.get(), 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY);
  }
  ::ReleaseDC(nullptr, screen);
  return copy;
}

}  // namespace

std::wstring GetProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD len = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (len == 0 || len >= MAX_PATH) return std::wstring();
  wchar_t drive[_MAX_DRIVE] = {};
  wchar_t dir[_MAX_DIR] = {};
  if (_wsplitpath_s(path, drive, _MAX_DRIVE, dir, _MAX_DIR, nullptr, 0, nullptr, 0) != 0)
    return std::wstring();
  return std::wstring(drive) + dir;
}

std::wstring SkinPath(const wchar_t* fileName) {
  return GetProgramFolder() + L"skins\\" + fileName;
}

bool LoadSkinBitmap(const std::wstring& path, SkinBitmap& dest) {
  dest.reset();
  LONGLONG size = 0;
  HGLOBAL block = ReadFileToGlobal(path, size);
  if (!block) return false;
  ComRef<IStream> stream;
  // The stream frees the block when it is released.
  if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream.p))) {
    ::GlobalFree(block);
    return false;
  }
  ComRef<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.p, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture.p))) ||
      !picture.p)
    return false;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (FAILED(picture.p->get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture.p->get_Handle(&handle)))
    return false;
  // The picture deletes its bitmap when released; the holder gets its own copy.
  dest.reset(CopyBitmap(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle))));
  return static_cast<bool>(dest);
}

void CutBitmap(SkinBitmap& dest, HDC referenceDC, const SkinBitmap& source, const RECT& rect) {
  if (!source) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  dest.reset(::CreateCompatibleBitmap(referenceDC, width, height));
  if (!dest) return;
  MemoryDC from(referenceDC, source.get());
  MemoryDC to(referenceDC, dest.get());
  ::StretchBlt(to.get(), 0, 0, width, height, from.get(), rect.left, rect.top, width, height,
               SRCCOPY);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace z4
