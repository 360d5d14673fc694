// The HID presence probe's walk over the interface set.
#include "device/hid_match.h"

#include "device/usb_ids.h"

namespace z4 {

bool MatchInterface(HidInterfaceSet& set, HidProbeReport& report) {
  std::u16string path;
  switch (set.DevicePath(path)) {
    case HidInterfaceSet::Detail::NoMemory:
      report.ToDebugger("Error: OpenDeviceInterface: malloc failed\n");
      return false;
    case HidInterfaceSet::Detail::Failed:
      report.ToDebugger("Error: SetupDiGetInterfaceDeviceDetail failed\n");
      return false;
    case HidInterfaceSet::Detail::Read:
      break;
  }
  if (!ContainsKeyboardId(path.data(), path.size())) return false;
  report.ToDebugger("Success:Found Z6 device\n");
  return true;
}

bool FindKeyboardInterface(HidInterfaceSet& set, HidProbeReport& report) {
  for (std::uint32_t index = 0; set.Enumerate(index); ++index)
    if (MatchInterface(set, report)) return true;
  return false;
}

}  // namespace z4
