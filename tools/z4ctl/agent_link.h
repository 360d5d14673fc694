// The agent as the configuration program meets it: its task window, found by title, and the
// private messages sent to it or received from it.
#pragma once

#include <cstdint>

#include "app/task_messages.h"
#include "fw/win32.h"

namespace z4ctl {

constexpr const wchar_t* kAgentWindowTitle = L"KorvuZ4_Setting";

using z4::WM_APPLY_SETTINGS;
using z4::WM_KEY_RESET;
using z4::WM_PROFILE_CHANGED;
using z4::WM_RESET_DEVICE;
using z4::WM_SET_CONFIG_WND;
using z4::WM_SET_RATE;

// An apply with the progress window takes about 5 s; the bound leaves room for a slow machine
// and for the combination warning dialog, which waits on the user.
constexpr DWORD kSendTimeoutMs = 60000;

// The agent's task window, or null after reporting on stderr that the agent is not running.
HWND FindAgent();

// SendMessageTimeout to the agent. On failure reports why on stderr and returns the exit code
// (not running, or no answer); on success returns 0 with the agent's result in result.
int SendToAgent(HWND agent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace z4ctl
