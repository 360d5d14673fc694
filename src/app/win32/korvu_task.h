// The hidden task window "KorvuZ4_Setting": receives every event of the agent and hands it to
// the portable task core.
#pragma once

#include "app/task_core.h"
#include "fw/handles.h"
#include "fw/window.h"

namespace z4 {

class CKorvuTask : public fw::Window, private TaskHost {
 public:
  explicit CKorvuTask(CUSBDriver& driver) : core_(driver, *this) {}

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
  void StartTimer(TaskTimer id, unsigned periodMs) override;
  void StopTimer(TaskTimer id) override;
  void Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override;

  KorvuTaskCore core_;
  HICON m_hIcon = nullptr;  // a resource icon: shared, never destroyed
  fw::DeviceNotifyHandle deviceNotify_;
  bool sessionNotify_ = false;
};

}  // namespace z4
