#include "device/win32/driver_transport.h"

namespace z4 {

bool Win32DriverTransport::OpenDevice() {
  m_hDevice.reset(::CreateFileW(KVKBD_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  return static_cast<bool>(m_hDevice);
}

bool Win32DriverTransport::Control(std::uint32_t code, const std::uint8_t* in,
                                   std::uint32_t inSize, std::uint8_t* out,
                                   std::uint32_t outSize) {
  if (!m_hDevice) return false;
  DWORD returned = 0;  // required when there is no overlapped structure; never examined
  return ::DeviceIoControl(m_hDevice.get(), code, const_cast<std::uint8_t*>(in), inSize, out,
                           outSize, &returned, nullptr) != FALSE;
}

}  // namespace z4
