// The tray icon's registration, its callback and the menu it opens.
#include "app/win32/tray_icon.h"

#include <shellapi.h>

#include <algorithm>

#include "app/task_core.h"
#include "app/win32/tray_launch.h"
#include "fw/wide.h"
#include "res/resource_ids.h"
#include "resources/language_strings.h"
#include "ui/korvu_menu.h"

namespace z4 {
namespace {

static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAW) == 956,
              "the registration is 956 bytes in the 32-bit build");

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = TrayIcon::kIconId;
  return data;
}

void ShowTrayMenu(HWND task) {
  ::SetForegroundWindow(task);
  // The records outlive the tracking: the menu's entries point at them.
  TrayMenuItem config{IDI_CONFIG_NORMAL, IDI_CONFIG_SELECTED, fw::ToWide(str_configuration)};
  TrayMenuItem exit{IDI_EXIT_NORMAL, IDI_EXIT_SELECTED, fw::ToWide(str_exit)};
  CKorvuMenu menu;
  menu.m_crIconColumn = RGB(219, 216, 209);
  menu.m_crSelection = RGB(177, 185, 207);
  if (!menu.CreatePopupMenu()) return;
  menu.AppendMenu(MF_OWNERDRAW, ID_TRAY_CONFIG, &config);
  menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
  menu.AppendMenu(MF_OWNERDRAW, ID_TRAY_EXIT, &exit);
  POINT at{};
  ::GetCursorPos(&at);
  menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, task);
}  // the menu is destroyed here; a chosen command arrives as WM_COMMAND afterwards

}  // namespace

bool TrayIcon::Add(HWND window, HICON icon, std::u16string_view tip) {
  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYICON_NOTIFY;
  data.hIcon = icon;
  constexpr std::size_t kTipMax = sizeof data.szTip / sizeof data.szTip[0] - 1;
  const std::wstring text = fw::ToWide(tip.substr(0, std::min(tip.size(), kTipMax)));
  std::copy(text.begin(), text.end(), data.szTip);  // zero-initialised: stays terminated
  if (!::Shell_NotifyIconW(NIM_ADD, &data)) return false;
  window_ = window;
  return true;
}

void TrayIcon::Remove() {
  if (!window_) return;
  NOTIFYICONDATAW data = IconData(window_);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  window_ = nullptr;
}

LRESULT OnTrayNotify(HWND task, WPARAM, LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDBLCLK:
      LaunchConfig(task);
      break;
    case WM_RBUTTONDOWN:
      ShowTrayMenu(task);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace z4
