// Messages of the stand-in agent window used to test the end-to-end fixture.
#pragma once

#include <cstdint>
#include <string>

#include "fw/win32.h"

#include <dbt.h>

namespace z4::e2e::standin {

constexpr UINT kAdd = WM_APP + 1;         // answers wParam + lParam
constexpr UINT kOpenDriver = WM_APP + 2;  // opens \\.\kvkbd and keeps it; answers 1 on success

// What the stand-in answers to a device-interface broadcast of the USB device class: the
// event mixed with a hash of the name, so that the sender sees the structure arrived whole.
inline std::uint32_t BroadcastAnswer(WPARAM event, const wchar_t* name, std::size_t len) {
  std::uint32_t h = 2166136261u;  // FNV-1a over the UTF-16 units
  for (std::size_t i = 0; i < len; ++i) {
    h = (h ^ static_cast<std::uint16_t>(name[i])) * 16777619u;
  }
  return h ^ static_cast<std::uint32_t>(event);
}

inline std::uint32_t BroadcastAnswer(WPARAM event, const std::wstring& name) {
  return BroadcastAnswer(event, name.data(), name.size());
}

}  // namespace z4::e2e::standin
