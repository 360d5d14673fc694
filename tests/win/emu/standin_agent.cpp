// A stand-in for the agent: a hidden window titled "KorvuZ4_Setting" that answers a few test
// messages and device broadcasts and exits with code 0 on WM_CLOSE.
#include <cstddef>
#include <cstring>
#include <cwchar>

#include "kvkbd_test_ioctl.h"
#include "standin_protocol.h"

namespace {

using namespace z4::e2e::standin;

HANDLE g_driver = INVALID_HANDLE_VALUE;

// GUID_DEVINTERFACE_USB_DEVICE
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

LRESULT AnswerBroadcast(WPARAM event, LPARAM lParam) {
  const auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  const std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  if (hdr == nullptr || hdr->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
      hdr->dbch_size < nameOffset + sizeof(wchar_t)) {
    return 0;
  }
  const auto* dbi = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
  if (std::memcmp(&dbi->dbcc_classguid, &kUsbDeviceInterface, sizeof(GUID)) != 0) return 0;
  const std::size_t maxLen = (hdr->dbch_size - nameOffset) / sizeof(wchar_t);
  std::size_t len = 0;
  while (len < maxLen && dbi->dbcc_name[len] != 0) ++len;
  return static_cast<LRESULT>(BroadcastAnswer(event, dbi->dbcc_name, len));
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kAdd:
      return static_cast<LRESULT>(wParam) + lParam;
    case kOpenDriver:
      if (g_driver == INVALID_HANDLE_VALUE) {
        g_driver = CreateFileW(KVKBD_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, OPEN_EXISTING, 0, nullptr);
      }
      return g_driver != INVALID_HANDLE_VALUE;
    case WM_DEVICECHANGE:
      return AnswerBroadcast(wParam, lParam);
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"Z4StandInAgent";
  if (!RegisterClassW(&wc)) return 2;
  if (!CreateWindowExW(0, wc.lpszClassName, L"KorvuZ4_Setting", WS_POPUP, 0, 0, 0, 0, nullptr,
                       nullptr, instance, nullptr)) {
    return 3;
  }
  // Like the agent's first run, start-up ends with a complete profile index beside the
  // program: that is how the fixture knows start-up is over.
  wchar_t index[MAX_PATH] = {};
  const DWORD len = GetModuleFileNameW(nullptr, index, MAX_PATH);
  wchar_t* slash = wcsrchr(index, L'\\');
  if (len && len < MAX_PATH && slash && slash + 12 < index + MAX_PATH) {
    wcscpy(slash + 1, L"Profile.ini");
    WritePrivateProfileStringW(L"Profiles", L"Profile7", L"stand-in", index);
  }
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  if (g_driver != INVALID_HANDLE_VALUE) CloseHandle(g_driver);
  return static_cast<int>(m.wParam);
}
