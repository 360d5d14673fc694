// The agent's application object: prepares the process, keeps the agent single-instance and
// creates the hidden task window.
#pragma once

#include <memory>

#include "app/win32/korvu_task.h"
#include "device/win32/driver_transport.h"
#include "fw/application.h"
#include "fw/handles.h"
#include "settings/win32/profile_storage.h"
#include "settings/win32/registry.h"

namespace z4 {

class CZ2_SettingApp : public fw::Application {
 protected:
  bool InitInstance() override;
  int ExitInstance() override;

 private:
  Win32DriverTransport driverTransport_;
  CUSBDriver driver_{driverTransport_};
  Win32SettingsRegistry registry_;
  Win32ProfileStorage profileStorage_;
  std::unique_ptr<CKorvuTask> m_pTask;
  fw::KernelHandle m_hMutex;
  ULONG_PTR m_gdiplusToken = 0;
};

}  // namespace z4
