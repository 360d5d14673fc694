// The HID presence probe over SetupAPI and the HID library: is the keyboard attached?
#pragma once

#include "fw/win32.h"

namespace z4 {

// Stateless: every call enumerates the system's present HID device interfaces afresh; each
// step (MatchInterface) is the portable core's, over the set adapter here.
class CHidDevice {
 public:
  // TRUE when a present HID device interface has a device path containing
  // "VID_04D9&PID_A059" (any case); FALSE otherwise and on any enumeration failure.
  static BOOL IsPresent();
};

}  // namespace z4
