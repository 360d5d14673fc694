// The agent's icon in the notification area, its callback and its owner-drawn menu.
#pragma once

#include <string_view>

#include "fw/win32.h"

namespace z4 {

// Menu commands of the tray menu, received by the task window as WM_COMMAND.
constexpr UINT ID_TRAY_CONFIG = 0x6000;
constexpr UINT ID_TRAY_EXIT = 0x6001;

// The registration of one icon: added once, deleted by Remove or when the object goes.
class TrayIcon {
 public:
  static constexpr UINT kIconId = 128;

  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  // NIM_ADD for window with icon and tip (cut to 127 units); the callback is
  // WM_TRAYICON_NOTIFY with wParam the icon id and lParam the mouse message. False when the
  // shell refused it: the agent runs without an icon, and nothing retries.
  bool Add(HWND window, HICON icon, std::u16string_view tip);
  // NIM_DELETE for the window and icon id of Add; nothing after a failed or no Add.
  void Remove();

 private:
  HWND window_ = nullptr;
};

// WM_TRAYICON_NOTIFY for the task window: a double click launches the configuration program,
// a right button press shows the tray menu; every other mouse message does nothing. Returns 0.
LRESULT OnTrayNotify(HWND task, WPARAM wParam, LPARAM lParam);

}  // namespace z4
