// The driver channel's transport over the Win32 device API: the handle on "\\.\kvkbd".
#pragma once

#include "device/usb_driver.h"
#include "fw/handles.h"

namespace z4 {

class Win32DriverTransport : public DriverTransport {
 public:
  bool OpenDevice() override;
  void CloseDevice() override { m_hDevice.reset(); }
  bool IsDeviceOpen() const override { return static_cast<bool>(m_hDevice); }
  bool Control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize,
               std::uint8_t* out, std::uint32_t outSize) override;

 private:
  fw::FileHandle m_hDevice;
};

}  // namespace z4
