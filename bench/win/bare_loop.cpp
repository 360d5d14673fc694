// The baseline of the idle benchmark: a hidden window and a message loop, nothing else.
#include "fw/win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"z4.BareLoop";
  ::RegisterClassW(&wc);
  if (!::CreateWindowExW(0, wc.lpszClassName, L"z4 bare loop", WS_POPUP, 0, 0, 1, 1, nullptr,
                         nullptr, instance, nullptr))
    return 1;
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
