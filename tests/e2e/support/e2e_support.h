// Helpers shared by the end-to-end tests: a window that stands in for the configuration
// program, and expected request sequences. Waiting and the screen come from the Windows test
// harness.
#pragma once

#include <cstdint>
#include <vector>

#include "fw/win32.h"
#include "harness/screen_harness.h"

namespace z4::e2e {

using test::Pump;
using test::WaitFor;

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
