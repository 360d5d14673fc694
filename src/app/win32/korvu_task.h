// The hidden task window "KorvuZ4_Setting": receives every event of the agent and hands it to
// the portable task core, doing for the core what needs the window system.
#pragma once

#include "app/task_core.h"
#include "app/win32/tray_icon.h"
#include "fw/handles.h"
#include "fw/window.h"

namespace z4 {

class CKorvuTask : public fw::Window, private TaskHost {
 public:
  CKorvuTask(CUSBDriver& driver, SettingsRegistry& registry, ProfileStorage& profileStorage)
      : core_({driver, registry, profileStorage, *this}) {}

  // Registration for USB device-interface notifications; true when registered.
  bool RegisterDeviceNotify(HWND window);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnDestroy();
  void OnDeviceChange(WPARAM event, LPARAM broadcast);

  // TaskHost
  WindowRef Self() const override { return reinterpret_cast<WindowRef>(hwnd()); }
  void StartTimer(TaskTimer id, unsigned periodMs) override;
  void StopTimer(TaskTimer id) override;
  void Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override;
  void RegisterNotifications() override;
  void ShowCombWarning(WarningOwner owner) override;
  std::unique_ptr<ApplyProgress> OpenProgress() override;
  void Pause(unsigned ms) override { ::Sleep(ms); }
  void ReportFileError(const FileError& error) override;
  void SendSilentApply() override;
  std::u16string ForegroundProgramName() override;

  KorvuTaskCore core_;
  HICON m_hIcon = nullptr;  // a resource icon: shared, never destroyed
  fw::DeviceNotifyHandle deviceNotify_;
  bool sessionNotify_ = false;
  TrayIcon trayIcon_;
};

}  // namespace z4
