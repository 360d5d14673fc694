// The HID presence probe's walk over the present HID device interfaces, looking for the
// keyboard's USB ids in their device paths. The platform supplies the interfaces.
#pragma once

#include <cstdint>
#include <string>

namespace z4 {

// The present HID device interfaces of the system, one enumerated at a time.
class HidInterfaceSet {
 public:
  enum class Detail { Read, NoMemory, Failed };

  virtual ~HidInterfaceSet() = default;
  // Enumerates the interface at index; false at the end of the set and on any failure.
  virtual bool Enumerate(std::uint32_t index) = 0;
  // The device path of the interface enumerated last, into path when Read.
  virtual Detail DevicePath(std::u16string& path) = 0;
};

// Where the probe's diagnostic texts go.
class HidProbeReport {
 public:
  virtual ~HidProbeReport() = default;
  virtual void ToDebugger(const char* text) = 0;
};

// One step: true when the interface enumerated last has a device path that contains the
// keyboard's ids. A detail that cannot be read counts as no match.
bool MatchInterface(HidInterfaceSet& set, HidProbeReport& report);

// Enumerates from index 0 until the set ends; true at the first interface that matches (the
// rest are not examined).
bool FindKeyboardInterface(HidInterfaceSet& set, HidProbeReport& report);

}  // namespace z4
