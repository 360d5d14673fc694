// Screen, input and skin helpers of the skinned-window tests.
#include "harness/screen_harness.h"

#include <cstdlib>
#include <fstream>

#include "ui/gdiplus_api.h"
#include "ui/skin.h"

namespace z4::test {
namespace {

// GDI+ for the windows under test and for writing screenshots, started once per process.
struct GdiplusSession {
  ULONG_PTR token = 0;
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
  }
  ~GdiplusSession() { Gdiplus::GdiplusShutdown(token); }
};
GdiplusSession gdiplus;

// image/png encoder of GDI+.
const CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

Image FromBitmap(HBITMAP bitmap, int width, int height) {
  Image image;
  image.width = width;
  image.height = height;
  image.px.resize(static_cast<size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), image.px.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  for (auto& p : image.px) p &= 0xFFFFFF;
  return image;
}

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

INPUT MouseInput(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return in;
}

}  // namespace

std::filesystem::path ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

Image CaptureScreen(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  ::BitBlt(mem, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  Image image = FromBitmap(bitmap, width, height);
  ::DeleteObject(bitmap);
  image.left = rect.left;
  image.top = rect.top;
  return image;
}

Image CaptureWindow(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return CaptureScreen(rect);
}

Image LoadSkinImage(const wchar_t* fileName) {
  const std::wstring path = SkinPath(fileName);
  if (path.size() > 4 && path.compare(path.size() - 4, 4, L".bmp") == 0) {
    SkinBitmap bitmap;
    if (!LoadSkinBitmap(path, bitmap)) return Image{};
    const SIZE size = BitmapSize(bitmap.get());
    return FromBitmap(bitmap.get(), size.cx, size.cy);
  }
  Gdiplus::Bitmap png(path.c_str());
  if (png.GetLastStatus() != Gdiplus::Ok) return Image{};
  Image image;
  image.width = static_cast<int>(png.GetWidth());
  image.height = static_cast<int>(png.GetHeight());
  image.px.resize(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      Gdiplus::Color c;
      png.GetPixel(x, y, &c);
      image.px[static_cast<size_t>(y) * image.width + x] = c.GetValue() & 0xFFFFFF;
    }
  return image;
}

void SaveScreenshot(const Image& image, const std::string& name) {
  if (image.Empty()) return;
  std::filesystem::path folder;
  if (const char* env = std::getenv("Z4_SCREENSHOT_DIR"); env && *env)
    folder = env;
  else
    folder = ExeFolder() / "screenshots";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::vector<std::uint32_t> pixels = image.px;
  Gdiplus::Bitmap bitmap(image.width, image.height, image.width * 4, PixelFormat32bppRGB,
                         reinterpret_cast<BYTE*>(pixels.data()));
  bitmap.Save((folder / (name + ".png")).wstring().c_str(), &kPngEncoder, nullptr);
}

int CountDifferent(const Image& a, int ax, int ay, const Image& b, int bx, int by, int width,
                   int height, int tolerance) {
  int count = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (!Near(a.At(ax + x, ay + y), b.At(bx + x, by + y), tolerance)) ++count;
  return count;
}

int CountColor(const Image& image, const RECT& rect, std::uint32_t color, int tolerance) {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      if (Near(image.At(x, y), color, tolerance)) ++count;
  return count;
}

void MoveMouse(int x, int y) {
  const int w = ::GetSystemMetrics(SM_CXSCREEN);
  const int h = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT in = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
  in.mi.dx = (x * 65536 + w / 2) / w;
  in.mi.dy = (y * 65536 + h / 2) / h;
  ::SendInput(1, &in, sizeof in);
  Pump(120);
}

void MouseButton(bool down) {
  INPUT in = MouseInput(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  ::SendInput(1, &in, sizeof in);
  Pump(120);
}

void PressKey(WORD vk) {
  INPUT in[2]{};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof in[0]);
  Pump(150);
}

void Pump(int ms) {
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

bool WaitFor(const std::function<bool()>& pred, int ms) {
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
  while (!pred()) {
    if (static_cast<LONG>(end - ::GetTickCount()) <= 0) return false;
    Pump(20);
  }
  return true;
}

HWND FindShown(const wchar_t* title) {
  HWND w = ::FindWindowW(nullptr, title);
  return w && ::IsWindowVisible(w) ? w : nullptr;
}

SkinFolderSwap::SkinFolderSwap(const std::vector<std::pair<std::wstring, std::string>>& files)
    : skins_(ExeFolder() / "skins"), kept_(ExeFolder() / "skins.kept") {
  std::filesystem::rename(skins_, kept_);
  if (files.empty()) return;
  std::filesystem::create_directory(skins_);
  for (const auto& [name, bytes] : files) std::ofstream(skins_ / name, std::ios::binary) << bytes;
}

SkinFolderSwap::~SkinFolderSwap() {
  std::error_code ec;
  std::filesystem::remove_all(skins_, ec);
  std::filesystem::rename(kept_, skins_, ec);
}

}  // namespace z4::test
