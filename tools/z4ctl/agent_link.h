// The agent as the configuration program meets it: its task window, found by title, and the
// private messages sent to it or received from it.
#pragma once

#include <cstdint>

#include "fw/win32.h"

namespace z4ctl {

constexpr const wchar_t* kAgentWindowTitle = L"KorvuZ4_Setting";

// To the agent.
constexpr UINT WM_APPLY_SETTINGS = 0x601;  // lParam 1: without the progress window
constexpr UINT WM_SET_CONFIG_WND = 0x602;  // wParam: the window to notify
constexpr UINT WM_SET_RATE = 0x613;        // wParam: the rate code
constexpr UINT WM_RESET_DEVICE = 0x653;
// From the agent, posted to the registered window (and WM_CLOSE).
constexpr UINT WM_PROFILE_CHANGED = 0x610;  // lParam: the new profile
constexpr UINT WM_KEY_RESET = 0x614;        // lParam: the key code that was reset

// An apply with the progress window takes about 5 s; the bound leaves room for a slow machine
// and for the combination warning dialog, which waits on the user.
constexpr DWORD kSendTimeoutMs = 60000;

// The agent's task window, or null after reporting on stderr that the agent is not running.
HWND FindAgent();

// SendMessageTimeout to the agent. On failure reports why on stderr and returns the exit code
// (not running, or no answer); on success returns 0 with the agent's result in result.
int SendToAgent(HWND agent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace z4ctl
