// The private window messages between the configuration program and the task window
// "KorvuZ4_Setting", and the task window's timers: one definition for the agent, its tools
// and its tests.
#pragma once

#include <cstdint>

namespace z4 {

enum TaskMessage : std::uint32_t {
  WM_TRAYICON_NOTIFY = 0x600,
  WM_APPLY_SETTINGS = 0x601,  // lParam kSilentApply: without the progress window
  WM_SET_CONFIG_WND = 0x602,  // wParam: the configuration program's window
  WM_PROFILE_CHANGED = 0x610,  // posted; lParam: the new profile
  WM_SET_RATE = 0x613,        // wParam: the rate code in its low byte
  WM_KEY_RESET = 0x614,       // posted; wParam: the task window, lParam: the key code
  WM_RESET_DEVICE = 0x653,
};
constexpr std::intptr_t kSilentApply = 1;

enum TaskTimer : std::uintptr_t {
  TIMER_REOPEN = 100,
  TIMER_AUTOSWITCH = 101,
};

}  // namespace z4
