// What the skinned-window tests need to act and look as a user: screen captures, skin images
// as pixels, mouse and keys through SendInput, message pumping, and a swappable skin folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fw/win32.h"

namespace z4::test {

// 32-bit pixels, top row first; origin is where the image sits on the screen (0, 0 for skins).
struct Image {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint32_t> px;  // 0x00RRGGBB
  bool Empty() const { return px.empty(); }
  // Pixel at screen (or skin) coordinates x, y as 0xRRGGBB; kOutside outside the image.
  static constexpr std::uint32_t kOutside = 0xFF000000;
  std::uint32_t At(int x, int y) const {
    if (x < left || y < top || x >= left + width || y >= top + height) return kOutside;
    return px[static_cast<size_t>(y - top) * width + (x - left)];
  }
};

// The screen's pixels of rect (screen coordinates).
Image CaptureScreen(const RECT& rect);
// The screen's pixels of a window's rectangle.
Image CaptureWindow(HWND window);
// Decodes a skin file of the test's skins folder (BMP through OLE, PNG through GDI+).
Image LoadSkinImage(const wchar_t* fileName);
// Saves as PNG in the screenshot folder ($Z4_SCREENSHOT_DIR, else "screenshots" beside the
// test executable).
void SaveScreenshot(const Image& image, const std::string& name);

// Pixels of a and b (both placed on the screen) that differ inside rect, with a tolerance per
// channel.
int CountDifferent(const Image& a, int ax, int ay, const Image& b, int bx, int by, int width,
                   int height, int tolerance = 8);
// Pixels inside rect of image within tolerance of colour.
int CountColor(const Image& image, const RECT& rect, std::uint32_t color, int tolerance = 8);

void MoveMouse(int x, int y);
void MouseButton(bool down);
void PressKey(WORD vk);

// Dispatches this thread's messages for ms milliseconds.
void Pump(int ms);
// Polls pred every 20 ms (pumping this thread's messages) until it holds or ms have passed.
bool WaitFor(const std::function<bool()>& pred, int ms = 3000);
// A visible top-level window of this process titled title, or null.
HWND FindShown(const wchar_t* title);

// Replaces the skins folder beside the executable for the life of the object: with no files
// (missing skins) or with the given name -> content files.
class SkinFolderSwap {
 public:
  explicit SkinFolderSwap(const std::vector<std::pair<std::wstring, std::string>>& files);
  ~SkinFolderSwap();
  SkinFolderSwap(const SkinFolderSwap&) = delete;
  SkinFolderSwap& operator=(const SkinFolderSwap&) = delete;

 private:
  std::filesystem::path skins_, kept_;
};

std::filesystem::path ExeFolder();

}  // namespace z4::test
