// The program that owns the foreground window, as automatic switching compares it.
#pragma once

#include <string>

#include "fw/win32.h"

namespace z4 {

// Enables "SeDebugPrivilege" in the agent's own token; failures are ignored (the agent runs
// elevated, so the privilege is normally there to enable).
void EnableDebugPrivilege();

// Base name of the main module of process processId (race.exe), at most 259 units, or "UNKNOW"
// when the process cannot be opened or its modules cannot be read.
std::u16string ForegroundProgramName(DWORD processId);

// The same for the process that created the foreground window (none: "UNKNOW").
std::u16string ForegroundProgramName();

}  // namespace z4
