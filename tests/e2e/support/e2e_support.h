// Helpers shared by the end-to-end tests: waiting while pumping this thread's messages, a
// window that stands in for the configuration program, and expected request sequences.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "fixture/emu_keyboard.h"
#include "fw/win32.h"

namespace z4::e2e {

// Pumps this thread's messages until done() holds or timeoutMs passes; returns done().
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Pumps messages for ms milliseconds.
void PumpFor(DWORD ms);

// A hidden top-level window of the test process that records the messages it receives and
// never closes by itself (WM_CLOSE is only recorded).
class RecordingWindow {
 public:
  struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  explicit RecordingWindow(const wchar_t* title = L"z4 test window");
  ~RecordingWindow();
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::vector<Message> Received(UINT msg) const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::vector<Message> messages_;
};

// Codes of a run of n equal requests.
std::vector<std::uint32_t> Repeat(std::uint32_t code, std::size_t n);
std::vector<std::uint32_t> operator+(std::vector<std::uint32_t> a, const std::vector<std::uint32_t>& b);

}  // namespace z4::e2e
