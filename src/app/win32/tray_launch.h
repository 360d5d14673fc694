// The launch of the configuration program Z4_Config.exe from the agent's folder.
#pragma once

#include "fw/win32.h"

namespace z4 {

// The version code of the running system (GetVersionEx with the basic structure).
int GetOSVersionCode();

// Starts the configuration program when the keyboard is present; otherwise shows the message
// box str_msg4 owned by owner and starts nothing. The program is not waited for and a failed
// start is not reported by the agent.
void LaunchConfig(HWND owner);

}  // namespace z4
