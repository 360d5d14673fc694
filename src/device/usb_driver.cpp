// Request envelopes of the driver control channel.
#include "device/usb_driver.h"

#include <algorithm>

namespace z4 {

bool CUSBDriver::Open() { return transport_.OpenDevice(); }

bool CUSBDriver::Close() {
  if (transport_.IsDeviceOpen()) transport_.CloseDevice();
  return true;
}

bool CUSBDriver::ReadKeyBlock(DeviceKeyBlock& out) {
  if (!IsOpen()) return false;
  return transport_.Control(IOCTL_KVKBD_READ_KEYS, nullptr, 0, out.data(), KVKBD_KEY_BLOCK_SIZE);
}

bool CUSBDriver::WriteKeyBlock(const DeviceKeyBlock& block) {
  if (!IsOpen()) return false;
  return transport_.Control(IOCTL_KVKBD_WRITE_KEYS, block.data(), KVKBD_KEY_BLOCK_SIZE, nullptr, 0);
}

bool CUSBDriver::WriteMacroSlot(std::uint8_t slot, const MacroPayload& content) {
  if (slot > KVKBD_MAX_MACRO_SLOT || !IsOpen()) return false;
  ByteImage<KVKBD_MACRO_REQ_SIZE> buffer{};
  buffer[0] = slot;
  std::copy(content.begin(), content.end(), buffer.begin() + 1);
  // The driver answers into the same buffer; what it returns is discarded.
  return transport_.Control(IOCTL_KVKBD_WRITE_MACRO, buffer.data(), KVKBD_MACRO_REQ_SIZE,
                            buffer.data(), KVKBD_MACRO_REQ_SIZE);
}

bool CUSBDriver::WriteCombSlot(std::uint8_t slot, const Combination& content) {
  if (slot > KVKBD_MAX_COMB_SLOT || !IsOpen()) return false;
  ByteImage<KVKBD_COMB_REQ_SIZE> buffer{};
  buffer[0] = slot;
  std::copy(content.begin(), content.end(), buffer.begin() + 1);
  return transport_.Control(IOCTL_KVKBD_WRITE_COMB, buffer.data(), KVKBD_COMB_REQ_SIZE, nullptr, 0);
}

bool CUSBDriver::ReadCombSlot(std::uint8_t slot, Combination& out) {
  if (slot > KVKBD_MAX_COMB_SLOT || !IsOpen()) return false;
  ByteImage<KVKBD_COMB_REQ_SIZE> buffer{};
  buffer[0] = slot;
  if (!transport_.Control(IOCTL_KVKBD_READ_COMB, buffer.data(), KVKBD_COMB_REQ_SIZE, buffer.data(),
                          KVKBD_COMB_REQ_SIZE))
    return false;
  // Bytes 0..7 of the answer are the slot's content (the driver does not echo the index).
  std::copy(buffer.begin(), buffer.begin() + KVKBD_COMB_SLOT_SIZE, out.begin());
  return true;
}

bool CUSBDriver::SetRate(std::uint32_t value) {
  const std::uint8_t code = static_cast<std::uint8_t>(value & 0xFF);
  if ((code != 1 && code != 2 && code != 8) || !IsOpen()) return false;
  return transport_.Control(IOCTL_KVKBD_SET_RATE, &code, KVKBD_RATE_SIZE, nullptr, 0);
}

}  // namespace z4
