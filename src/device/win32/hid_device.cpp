// SetupAPI side of the HID presence probe: the interface set and each interface's device path.
#include "device/win32/hid_device.h"

#include <setupapi.h>

extern "C" {
#include <hidsdi.h>
}

#include <cstddef>
#include <cstdio>
#include <memory>
#include <new>

#include "device/hid_match.h"
#include "fw/handles.h"
#include "fw/wide.h"

namespace z4 {
namespace {

static_assert(sizeof(void*) != 4 || sizeof(SP_DEVICE_INTERFACE_DATA) == 28,
              "the interface data is 28 bytes in the 32-bit build");
static_assert(sizeof(void*) != 4 || sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == 6,
              "the detail's fixed part is 6 bytes in the 32-bit build");

struct DeviceInfoTraits {
  using Handle = HDEVINFO;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { ::SetupDiDestroyDeviceInfoList(h); }
};
using DeviceInfoSet = fw::Owned<DeviceInfoTraits>;

class DebuggerReport : public HidProbeReport {
 public:
  void ToDebugger(const char* text) override { ::OutputDebugStringA(text); }
};

class Win32HidSet : public HidInterfaceSet {
 public:
  Win32HidSet(HDEVINFO set, const GUID& hidClass) : set_(set), hidClass_(hidClass) {}

  bool Enumerate(std::uint32_t index) override {
    iface_ = SP_DEVICE_INTERFACE_DATA{};
    iface_.cbSize = sizeof iface_;
    return ::SetupDiEnumDeviceInterfaces(set_, nullptr, &hidClass_, index, &iface_) != FALSE;
  }

  Detail DevicePath(std::u16string& path) override {
    DWORD required = 0;
    ::SetupDiGetDeviceInterfaceDetailW(set_, &iface_, nullptr, 0, &required, nullptr);
    // A size that cannot even hold the fixed part is a failed query; the buffer is never
    // smaller than the structure whose size field is written.
    const std::size_t size = required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)
                                 ? sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)
                                 : required;
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]());
    if (!buffer) return Detail::NoMemory;
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.get());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!::SetupDiGetDeviceInterfaceDetailW(set_, &iface_, detail, static_cast<DWORD>(size),
                                            nullptr, nullptr))
      return Detail::Failed;
    // The path ends at its terminator or at the end of the buffer, whichever comes first.
    constexpr std::size_t pathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
    const std::size_t capacity = (size - pathOffset) / sizeof(wchar_t);
    std::size_t len = 0;
    while (len < capacity && detail->DevicePath[len] != L'\0') ++len;
    path = fw::FromWide(detail->DevicePath, len);
    return Detail::Read;
  }

 private:
  HDEVINFO set_;
  GUID hidClass_;
  SP_DEVICE_INTERFACE_DATA iface_{};
};

}  // namespace

BOOL CHidDevice::IsPresent() {
  GUID hidClass{};
  ::HidD_GetHidGuid(&hidClass);
  DeviceInfoSet set(
      ::SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) {
    std::printf("SetupDiGetClassDevs failed: %x\n", static_cast<unsigned>(::GetLastError()));
    return FALSE;
  }
  Win32HidSet interfaces(set.get(), hidClass);
  DebuggerReport report;
  return FindKeyboardInterface(interfaces, report) ? TRUE : FALSE;
}

}  // namespace z4
