// apply, rate and reset: one message each to the running agent.
#include "agent_link.h"
#include "commands.h"
#include "console.h"
#include "stored_settings.h"

namespace z4ctl {

int RunApply(const CommandLine& line) {
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  const LPARAM silent = line.flags.count("--silent") ? 1 : 0;
  LRESULT result = 0;
  if (const int code = SendToAgent(agent, WM_APPLY_SETTINGS, 0, silent, result)) return code;
  // The agent answers 1 once the settings are on the keyboard.
  if (result != 1)
    return Fail(kExitNoAnswer, "the agent answered " + std::to_string(result) +
                                   " instead of 1: it did not apply the settings");
  return kExitOk;
}

int RunRate(const CommandLine& line) {
  const std::string& arg = line.operands[0];
  if (arg != "1" && arg != "2" && arg != "8")
    return Fail(kExitFailed, "the rate code is 1, 2 or 8, not \"" + arg + "\"");
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  const int rate = arg[0] - '0';
  // Stored as well, so that the settings values say what the keyboard was told.
  std::string error;
  if (!WriteStoredRate(rate, error)) return Fail(kExitFailed, error);
  LRESULT result = 0;
  return SendToAgent(agent, WM_SET_RATE, static_cast<WPARAM>(rate), 0, result);
}

int RunReset(const CommandLine&) {
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  LRESULT result = 0;
  return SendToAgent(agent, WM_RESET_DEVICE, 0, 0, result);
}

}  // namespace z4ctl
