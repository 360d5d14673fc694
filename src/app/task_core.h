// The task window's run-time state and the handlers that do not depend on the window system:
// the driver link's state machine (creation, arrival, removal, reopen), the device reset and the
// rate. The Win32 task window decodes messages and calls these.
#pragma once

#include <cstdint>

#include "device/key_block.h"
#include "device/usb_driver.h"
#include "settings/slots.h"

namespace z4 {

// Private messages between the configuration program and the task window.
enum TaskMessage : std::uint32_t {
  WM_TRAYICON_NOTIFY = 0x600,
  WM_APPLY_SETTINGS = 0x601,
  WM_SET_CONFIG_WND = 0x602,
  WM_PROFILE_CHANGED = 0x610,
  WM_SET_RATE = 0x613,
  WM_KEY_RESET = 0x614,
  WM_RESET_DEVICE = 0x653,
};
constexpr std::uint32_t kWmClose = 0x0010;

enum TaskTimer : std::uintptr_t {
  TIMER_REOPEN = 100,
  TIMER_AUTOSWITCH = 101,
};
constexpr unsigned kReopenPeriodMs = 100;
constexpr unsigned kAutoSwitchPeriodMs = 500;

// A window of another program, as an opaque value (an HWND on Windows); 0 is none.
using WindowRef = std::uintptr_t;

// What the task window does for the core on the window system.
class TaskHost {
 public:
  virtual ~TaskHost() = default;
  virtual void StartTimer(TaskTimer id, unsigned periodMs) = 0;
  virtual void StopTimer(TaskTimer id) = 0;
  virtual void Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;
};

class KorvuTaskCore {
 public:
  KorvuTaskCore(CUSBDriver& driver, TaskHost& host) : driver_(driver), host_(host) {}

  // Creation steps 5 and 9..11: open the driver (no retry timer), read its block whatever the
  // open gave, read back the combination slots it names, build the factory block and index.
  void OpenAtCreation();
  void ReadDeviceAtCreation();

  // Reads the block, repairs a missing signature once, rereads it and the slots it names.
  void RefreshFromDevice();

  // Device-change broadcast for a device interface named name.
  void OnDeviceArrival(const char16_t* name, std::size_t len);
  void OnDeviceRemoval(const char16_t* name, std::size_t len);
  void OnReopenTimer();

  // WM_RESET_DEVICE: factory block to the driver, then clear combinations and blank macros.
  void ResetDevice();
  void SetRate(std::uintptr_t wParam) { driver_.SetRate(static_cast<std::uint32_t>(wParam)); }
  void SetConfigWnd(WindowRef w) { m_hConfigWnd = w; }

  // Destruction steps 2..4: WM_CLOSE to the configuration window, close, stop both timers.
  void OnDestroy();

  CUSBDriver& Driver() { return driver_; }

  std::int32_t m_nRate = 8;
  std::int32_t m_nProfileSel = 0;
  WindowRef m_hConfigWnd = 0;
  CombSlotTable m_combSlots{};
  DeviceKeyBlock m_keyBlock{};
  DeviceKeyBlock m_defKeyBlock{};
  KeyPosMap m_keyPosMap;

 private:
  void ReadBack();

  CUSBDriver& driver_;
  TaskHost& host_;
};

}  // namespace z4
