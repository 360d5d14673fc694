// A program that takes the foreground for the switching tests: a visible window titled by its
// command line ("z4 fg" when none), brought to the front at start and again on WM_APP.
#include "fw/win32.h"

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) {
    ::SetForegroundWindow(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"z4.Foreground";
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowExW(0, wc.lpszClassName, *cmdLine ? cmdLine : L"z4 fg",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300, 200, nullptr,
                             nullptr, instance, nullptr);
  if (!w) return 1;
  ::SetForegroundWindow(w);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
