// The task window's run-time state and every handler that does not depend on the window
// system: creation, the driver link (arrival, removal, reopen), the apply sequence, automatic
// profile switching, the device reset and the rate. The Win32 task window decodes messages and
// calls these; what they need of the window system they ask of a TaskHost.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/task_messages.h"
#include "device/key_block.h"
#include "device/usb_driver.h"
#include "settings/profiles.h"
#include "settings/settings_image.h"
#include "settings/slots.h"
#include "settings/store.h"
#include "settings/translate.h"

namespace z4 {

constexpr std::uint32_t kWmClose = 0x0010;
constexpr unsigned kReopenPeriodMs = 100;
constexpr unsigned kAutoSwitchPeriodMs = 500;

// A window, as an opaque value (an HWND on Windows); 0 is none.
using WindowRef = std::uintptr_t;

// The progress window of one apply; destroying the object closes the window.
class ApplyProgress {
 public:
  virtual ~ApplyProgress() = default;
  virtual void SetProgress(int percent) = 0;
};

// What the task window does for the core on the window system.
class TaskHost {
 public:
  virtual ~TaskHost() = default;
  virtual WindowRef Self() const = 0;
  virtual void StartTimer(TaskTimer id, unsigned periodMs) = 0;
  virtual void StopTimer(TaskTimer id) = 0;
  virtual void Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;
  // Creation's registrations: session notifications, the tray icon, device notifications.
  virtual void RegisterNotifications() = 0;
  // The modal combination warning dialog (runs a message loop).
  virtual void ShowCombWarning(WarningOwner owner) = 0;
  // Creates and shows a progress window; null when it cannot be created.
  virtual std::unique_ptr<ApplyProgress> OpenProgress() = 0;
  // Blocks the thread; no messages are processed meanwhile.
  virtual void Pause(unsigned ms) = 0;
  // The framework's standard message for a file that cannot be created or opened.
  virtual void ReportFileError(const FileError& error) = 0;
  // WM_APPLY_SETTINGS with lParam 1, sent to the task window itself (runs at once).
  virtual void SendSilentApply() = 0;
  // Main module base name of the program owning the foreground window, "UNKNOW" otherwise.
  virtual std::u16string ForegroundProgramName() = 0;
};

// The platform services the core reaches through small interfaces.
struct TaskServices {
  CUSBDriver& driver;
  SettingsRegistry& registry;
  ProfileStorage& profileStorage;
  TaskHost& host;
};

// What creation learns from the agent's files before it starts.
struct TaskStartup {
  std::u16string agentFolder;   // drive and folder of the program file, ending in '\'
  std::u16string profileTitle;  // the language string str_profile_title
  KeyLayoutCodes keyCodes{};    // key codes of the key layout table, in table order
};

class KorvuTaskCore : private TranslateHost {
 public:
  explicit KorvuTaskCore(const TaskServices& services)
      : driver_(services.driver), registry_(services.registry),
        profileStorage_(services.profileStorage), host_(services.host) {}

  // Creation after the window exists: settings, driver, registrations, the driver's block and
  // slots, profiles, the switching timer. False when a profile file cannot be created or
  // opened: the window must not be created then. Writes nothing to the driver.
  bool Create(const TaskStartup& startup);

  // Reads the block, repairs a missing signature once, rereads it and the slots it names.
  void RefreshFromDevice();

  // Device-change broadcast for a device interface named name (len UTF-16 units).
  void OnDeviceArrival(const char16_t* name, std::size_t len);
  void OnDeviceRemoval(const char16_t* name, std::size_t len);
  void OnReopenTimer();

  // WM_APPLY_SETTINGS: returns 1.
  std::intptr_t OnApplySettings(std::intptr_t lParam);
  // One tick of TIMER_AUTOSWITCH.
  void OnAutoSwitchTick();

  // WM_RESET_DEVICE: factory block to the driver, then clear combinations and blank macros.
  void ResetDevice();
  void SetRate(std::uintptr_t wParam) { driver_.SetRate(static_cast<std::uint32_t>(wParam)); }
  void SetConfigWnd(WindowRef w) { m_hConfigWnd = w; }

  // Destruction: WM_CLOSE to the configuration window, close the driver, stop both timers.
  void OnDestroy();

  CUSBDriver& Driver() { return driver_; }
  bool DriverOpen() const { return driver_.IsOpen(); }
  const ApplyProgress* ProgressWindow() const { return m_pProgressDlg.get(); }

  SettingsImage m_settings;  // g_keySetting, g_macroSetting, g_combSetting, rate, profile
  AutoSwitchTable m_autoSwitch{};
  WindowRef m_hConfigWnd = 0;
  CombSlotTable m_combSlots{};
  DeviceKeyBlock m_keyBlock{};
  DeviceKeyBlock m_defKeyBlock{};
  KeyPosMap m_keyPosMap;

 private:
  void ReadBack();
  void SwitchToProfile(std::int32_t profile);
  // TranslateHost
  void ShowCombWarning(WarningOwner owner) override { host_.ShowCombWarning(owner); }
  void PostKeyReset(std::uint8_t keyCode) override;

  CUSBDriver& driver_;
  SettingsRegistry& registry_;
  ProfileStorage& profileStorage_;
  TaskHost& host_;
  std::optional<ProfileStore> profiles_;
  std::unique_ptr<ApplyProgress> m_pProgressDlg;
};

}  // namespace z4
