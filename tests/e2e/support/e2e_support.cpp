#include "support/e2e_support.h"

namespace z4::e2e {

RecordingWindow::RecordingWindow(const wchar_t* title) {
  static const ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingWindow::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"z4.RecordingWindow";
    return ::RegisterClassW(&wc);
  }();
  (void)cls;
  hwnd_ = ::CreateWindowExW(0, L"z4.RecordingWindow", title, WS_POPUP, 0, 0, 10, 10, nullptr,
                            nullptr, ::GetModuleHandleW(nullptr), this);
}

RecordingWindow::~RecordingWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

std::vector<RecordingWindow::Message> RecordingWindow::Received(UINT msg) const {
  std::vector<Message> found;
  for (const Message& m : messages_)
    if (m.msg == msg) found.push_back(m);
  return found;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<RecordingWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg >= WM_USER) self->messages_.push_back({msg, wParam, lParam});
  if (msg == WM_CLOSE) {
    if (self) self->messages_.push_back({msg, wParam, lParam});
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<std::uint32_t> Repeat(std::uint32_t code, std::size_t n) {
  return std::vector<std::uint32_t>(n, code);
}

std::vector<std::uint32_t> operator+(std::vector<std::uint32_t> a, const std::vector<std::uint32_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace z4::e2e
