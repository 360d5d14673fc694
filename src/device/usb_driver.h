// The driver control channel: one device handle and the six requests of the keyboard's filter
// driver, with their argument tests and buffer layouts. The platform supplies the transport.
#pragma once

#include <cstdint>

#include "device/key_block.h"

namespace z4 {

// What the platform provides: the handle on "\\.\kvkbd" and synchronous control requests.
class DriverTransport {
 public:
  virtual ~DriverTransport() = default;
  // Opens the device (read/write, share read, open existing); false leaves it closed.
  virtual bool OpenDevice() = 0;
  virtual void CloseDevice() = 0;
  virtual bool IsDeviceOpen() const = 0;
  // One METHOD_BUFFERED request; in and out may be the same buffer. The byte count the driver
  // returns is not used by anyone.
  virtual bool Control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize,
                       std::uint8_t* out, std::uint32_t outSize) = 0;
};

using MacroPayload = ByteImage<KVKBD_MACRO_SLOT_SIZE>;
using Combination = ByteImage<KVKBD_COMB_SLOT_SIZE>;

// Every request tests its arguments before the handle, and a refused call sends nothing.
// Callers open only while the driver is closed, so there is never a second handle.
class CUSBDriver {
 public:
  explicit CUSBDriver(DriverTransport& transport) : transport_(transport) {}

  bool Open();
  bool Close();  // always true; closing a closed driver does nothing
  bool IsOpen() const { return transport_.IsDeviceOpen(); }

  bool ReadKeyBlock(DeviceKeyBlock& out);
  bool WriteKeyBlock(const DeviceKeyBlock& block);
  bool WriteMacroSlot(std::uint8_t slot, const MacroPayload& content);  // slot <= 11
  bool WriteCombSlot(std::uint8_t slot, const Combination& content);    // slot <= 8
  // On failure out keeps its previous content.
  bool ReadCombSlot(std::uint8_t slot, Combination& out);                // slot <= 8
  // The rate code is value's low byte; only 1, 2 and 8 are sent.
  bool SetRate(std::uint32_t value);

 private:
  DriverTransport& transport_;
};

}  // namespace z4
